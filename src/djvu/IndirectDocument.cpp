#include "djvu/IndirectDocument.h"

#include "base/EngineTexts.h"
#include "djvu/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

bool IndirectDocument::components(const QString& indexPath, const ToolRunner& tools,
                                  QStringList* names, QString* error)
{
    names->clear();
    const QString djvused = QStringLiteral("djvused");
    if (!tools.available(djvused)) {
        *error = EngineTexts::say("e_indirect_no_tool").arg(indexPath);
        return false;
    }
    // The directory as "dump" prints it: a count of files, then one "<id> -> <name>" line for
    // each. Page titles are not part of it, so no title can pass for a file of the book.
    ToolRunner runner = tools; // the same tools and cancel token; capturing needs its own
    const ToolRun dumped =
        runner.capture(djvused, {indexPath, QStringLiteral("-e"), QStringLiteral("dump")});
    if (!dumped.succeeded()) {
        const QString said = dumped.failureText().trimmed();
        *error = EngineTexts::say("e_indirect_no_list")
                     .arg(indexPath, said.isEmpty() ? EngineTexts::say("e_it_failed") : said);
        return false;
    }
    QList<QStringList> entries;
    if (!directoryEntries(dumped.standardOutput, &entries)) {
        *error = EngineTexts::say("e_indirect_no_list")
                     .arg(indexPath, EngineTexts::say("e_directory_unclear"));
        return false;
    }

    const QDir folder = QFileInfo(indexPath).absoluteDir();
    const QString indexName = QFileInfo(indexPath).fileName();
    for (const QStringList& candidates : entries) {
        bool found = false;
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

bool IndirectDocument::directoryEntries(const QByteArray& dump, QList<QStringList>* entries)
{
    entries->clear();
    static const QRegularExpression header(QStringLiteral(
        "^\\s*DIRM \\[\\d+\\]\\s+Document directory \\(indirect, (\\d+) files \\d+ pages\\)\\s*$"));
    static const QRegularExpression entry(QStringLiteral("^      (\\S.*) -> (.+)$"));
    // A chunk line of the index after the directory, or nothing: what must follow the files.
    static const QRegularExpression chunk(QStringLiteral("^ {0,4}\\S"));
    QList<QByteArray> lines = dump.split('\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    qsizetype at = 0;
    QRegularExpressionMatch counted;
    while (at < lines.size() &&
           !(counted = header.match(QString::fromLocal8Bit(lines[at]))).hasMatch())
        ++at;
    if (at == lines.size())
        return false;
    bool ok = false;
    const qsizetype count = counted.captured(1).toLongLong(&ok);
    if (!ok || count > lines.size() - at - 1)
        return false;
    for (qsizetype i = 1; i <= count; ++i) {
        const QString line = QString::fromLocal8Bit(lines[at + i]);
        const auto m = entry.match(line);
        // A second arrow would make the line read two ways.
        if (!m.hasMatch() || line.count(QStringLiteral(" -> ")) != 1)
            return false;
        QStringList names{m.captured(1)};
        if (m.captured(2) != m.captured(1))
            names << m.captured(2);
        entries->append(names);
    }
    const qsizetype next = at + count + 1;
    return next == lines.size() || chunk.match(QString::fromLocal8Bit(lines[next])).hasMatch();
}
