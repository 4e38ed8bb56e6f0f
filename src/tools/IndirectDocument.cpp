#include "tools/IndirectDocument.h"

#include "tools/EngineTexts.h"
#include "tools/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

bool IndirectDocument::isIndirect(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(25); // the directory's flags follow its chunk size
    return head.size() == 25 && head.startsWith("AT&TFORM") && head.mid(12, 8) == "DJVMDIRM" &&
           (static_cast<unsigned char>(head[24]) & 0x80) == 0;
}

QStringList IndirectDocument::candidateNames(const QString& rest)
{
    QList<qsizetype> cuts;
    QList<qsizetype> nameStarts;
    for (const QString& suffix : {QStringLiteral(" F="), QStringLiteral(" T=")}) {
        for (qsizetype at = rest.indexOf(suffix); at >= 0; at = rest.indexOf(suffix, at + 1)) {
            cuts << at;
            if (suffix.at(1) == QLatin1Char('F'))
                nameStarts << at + 3;
        }
    }
    cuts << rest.size();
    std::sort(cuts.begin(), cuts.end());
    QStringList names;
    for (qsizetype start : QList<qsizetype>{0} + nameStarts) {
        for (qsizetype cut : cuts) {
            if (cut > start)
                names << rest.mid(start, cut - start);
        }
    }
    names.removeDuplicates();
    return names;
}

bool IndirectDocument::components(const QString& indexPath, const QString& djvused,
                                  QStringList* names, QString* error)
{
    names->clear();
    if (djvused.isEmpty()) {
        *error = EngineTexts::say("e_indirect_no_tool").arg(indexPath);
        return false;
    }
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(djvused, {indexPath, QStringLiteral("-e"), QStringLiteral("ls")});
    if (!process.waitForStarted(-1)) {
        *error = QStringLiteral("djvused: %1").arg(process.errorString());
        return false;
    }
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        *error = EngineTexts::say("e_indirect_no_list")
                     .arg(indexPath, said.isEmpty() ? EngineTexts::say("e_it_failed") : said);
        return false;
    }

    // "%4d P %8d  %s" for pages; included files, shared annotations and thumbnails have a
    // blank number column and the letters I, A and T.
    static const QRegularExpression line(
        QStringLiteral("^\\s*(?:\\d+\\s+)?[PIAT?]\\s+\\d+ {1,2}(.+)$"));
    const QDir folder = QFileInfo(indexPath).absoluteDir();
    const QString indexName = QFileInfo(indexPath).fileName();
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    for (QByteArray text : lines) {
        if (text.endsWith('\r'))
            text.chop(1);
        const auto match = line.match(QString::fromLocal8Bit(text));
        if (!match.hasMatch())
            continue;
        bool found = false;
        const QStringList candidates = candidateNames(match.captured(1));
        for (const QString& name : candidates) {
            if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                name == QLatin1String(".") || name == QLatin1String("..") || name == indexName)
                continue;
            if (!QFileInfo(folder.filePath(name)).isFile())
                continue;
            found = true;
            if (!names->contains(name))
                names->append(name);
        }
        if (!found) {
            *error = EngineTexts::say("e_indirect_stray").arg(indexPath, candidates.value(0));
            return false;
        }
    }
    return true;
}
