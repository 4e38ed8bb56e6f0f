#include "djvu/ToolRunner.h"

#include "base/CancelToken.h"
#include "base/EngineTexts.h"
#include "base/Sinks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString executableName(const QString& name)
{
#ifdef Q_OS_WIN
    return name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? name : name + ".exe";
#else
    return name;
#endif
}

QStringList aliasesOf(const QString& tool)
{
    if (tool == QLatin1String("djvuparsexml") || tool == QLatin1String("djvuxmlparser"))
        return {tool, tool == QLatin1String("djvuparsexml") ? QStringLiteral("djvuxmlparser")
                                                            : QStringLiteral("djvuparsexml")};
    return {tool};
}

std::function<void(const QString&)>& detailedLog()
{
    static std::function<void(const QString&)> log;
    return log;
}

// DjVuLibre reports "*** [1-12311] Failed to open document 'file://localhost/a%20b.djvu'"
// followed by lines naming its own source file and function.
QString plainWords(const QString& said)
{
    static const QRegularExpression code(
        QStringLiteral("^\\*\\*\\*\\s*(\\[[0-9-]+\\]\\s*)?|^\\[[0-9-]+\\]\\s*"));
    static const QRegularExpression url(QStringLiteral("file://localhost(/[^'\"\\s]*)"));
    QStringList kept;
    for (QString line : said.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("*** (")) || line.startsWith(QLatin1String("*** '")))
            continue;
        line.remove(code);
        for (auto m = url.match(line); m.hasMatch(); m = url.match(line))
            line.replace(m.capturedStart(), m.capturedLength(),
                         QUrl::fromPercentEncoding(m.captured(1).toUtf8()));
        if (!line.isEmpty() && !kept.contains(line))
            kept << line;
    }
    return kept.isEmpty() ? said : kept.join(QLatin1Char('\n'));
}

} // namespace

void ToolRunner::setDetailedLog(std::function<void(const QString&)> log)
{
    detailedLog() = std::move(log);
}

bool ToolRunner::hasDetailedLog()
{
    return bool(detailedLog());
}

QString ToolRun::failureText() const
{
    if (!started || outputLost || cancelled)
        return errorText;
    QString said = plainWords(QString::fromLocal8Bit(standardError).trimmed());
    if (crashed)
        return said.isEmpty() ? EngineTexts::say("e_tool_crashed") : said;
    if (said.isEmpty() && exitCode != 0)
        return EngineTexts::say("e_tool_status").arg(exitCode);
    return said;
}

ToolRunner::ToolRunner(QString exeFolder, QString workFolder, NoticeSink* notices)
    : exeFolder_(std::move(exeFolder)), workFolder_(std::move(workFolder)), notices_(notices)
{
}

QString ToolRunner::workPath(const QString& name) const
{
    return QFileInfo(name).isAbsolute() ? name : QDir(workFolder_).filePath(name);
}

QString ToolRunner::resolve(const QString& tool) const
{
    const QStringList names = aliasesOf(tool);
    for (const QString& name : names) {
        QFileInfo local(QDir(exeFolder_).filePath(QStringLiteral("bin/") + executableName(name)));
        if (local.isFile())
            return local.absoluteFilePath();
    }
    for (const QString& name : names) {
        QString onPath = QStandardPaths::findExecutable(name);
        if (!onPath.isEmpty())
            return onPath;
    }
    return {};
}

ToolRun ToolRunner::capture(const QString& tool, const QStringList& args)
{
    return run(tool, args, true);
}

ToolRun ToolRunner::capture(const QString& tool, const QStringList& args,
                            const QString& captureFile)
{
    // The file is emptied first, so a caller never reads an older one.
    QFile::remove(workPath(captureFile));
    ToolRun result = run(tool, args, true);
    QString error;
    if (!writeWorkFile(captureFile, result.standardOutput, &error) && result.started) {
        result.outputLost = true;
        result.errorText = error;
    }
    return result;
}

ToolRun ToolRunner::stream(const QString& tool, const QStringList& args, const OutputSink& onOutput)
{
    return run(tool, args, true, onOutput);
}

ToolRun ToolRunner::discard(const QString& tool, const QStringList& args)
{
    return run(tool, args, false);
}

bool ToolRunner::writeWorkFile(const QString& name, const QByteArray& bytes, QString* error) const
{
    const QString path = workPath(name);
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes) == bytes.size() && file.flush() &&
                         QFileInfo(path).size() == bytes.size();
    if (!written) {
        *error = EngineTexts::say("e_no_work_file")
                     .arg(QDir::toNativeSeparators(path), file.errorString())
                     .trimmed();
        file.close();
        QFile::remove(path);
    }
    return written;
}

bool ToolRunner::cancelled() const
{
    return cancel_ && cancel_->isCancelled();
}

ToolRun ToolRunner::run(const QString& tool, const QStringList& args, bool keepOutput,
                        const OutputSink& onOutput)
{
    ToolRun result;
    if (cancelled()) {
        result.cancelled = true;
        result.errorText = EngineTexts::say("e_not_started").arg(tool);
        return result;
    }
    QString program = resolve(tool);
    if (program.isEmpty())
        program = executableName(tool); // let the system say why it cannot start

    // Both pipes are drained while the tool runs, so neither can fill and stall it.
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setWorkingDirectory(workFolder_);
    process.setProcessEnvironment(environment());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!keepOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    if (!process.waitForStarted(-1)) {
        result.errorText = QStringLiteral("%1: %2").arg(tool, process.errorString());
        if (notices_)
            notices_->notice({PassNotice::Kind::ToolNotStarted, tool, result.errorText});
        return result;
    }
    result.started = true;
    // Waits in short slices so that a cancel ends the tool at once; a tool that is slow or
    // silent is otherwise left to finish. A streamed run hands on what arrived after each slice.
    const auto handOn = [&process, &onOutput] {
        const QByteArray piece = process.readAllStandardOutput();
        if (!piece.isEmpty())
            onOutput(piece);
    };
    constexpr int kSliceMs = 50;
    for (;;) {
        if (onOutput)
            handOn();
        if (process.state() == QProcess::NotRunning)
            break;
        if (cancelled()) {
            process.kill();
            process.waitForFinished(-1);
            result.cancelled = true;
            result.errorText = EngineTexts::say("e_tool_stopped").arg(tool);
            break;
        }
        // waitForReadyRead returns at once when the tool closed its output early: the wait
        // for its end then keeps the loop from spinning.
        if (!onOutput || !process.waitForReadyRead(kSliceMs / 2))
            process.waitForFinished(onOutput ? kSliceMs / 2 : kSliceMs);
    }
    if (onOutput)
        handOn();
    else if (keepOutput)
        result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    if (detailedLog() && !result.clean())
        detailedLog()(
            QStringLiteral("%1 %2 (%3)\n%4")
                .arg(tool, args.join(QLatin1Char(' ')))
                .arg(result.crashed ? QStringLiteral("crashed") : QString::number(result.exitCode))
                .arg(QString::fromLocal8Bit(result.standardError).trimmed()));
    return result;
}

QProcessEnvironment ToolRunner::environment()
{
    // The tools read file names and print text in UTF-8, whatever language the user's locale
    // asks for; a locale the system lacks would make them misread every non-ASCII name.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#ifndef Q_OS_WIN
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
#endif
    return env;
}
