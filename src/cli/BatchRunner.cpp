#include "cli/BatchRunner.h"
#include "base/EngineTexts.h"

#include "base/CancelToken.h"
#include "cli/CliWorkFolder.h"
#include "cli/DocumentLoop.h"
#include "cli/DocumentReport.h"
#include "cli/StopSignals.h"
#include "djvu/ToolRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>

#include <cstdio>
#include <map>
#include <memory>

namespace {

void printBlock(const QString& name, const QByteArray& output)
{
    QList<QByteArray> lines = output.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QByteArray prefix = '[' + name.toLocal8Bit() + "] ";
    QByteArray block;
    for (const QByteArray& line : std::as_const(lines))
        block += prefix + line + '\n';
    std::fwrite(block.constData(), 1, size_t(block.size()), stdout);
    std::fflush(stdout);
}

QJsonObject lostRecord(const QString& path, const QString& outcome, const QString& message)
{
    return QJsonObject{{"path", path}, {"outcome", outcome}, {"message", message}, {"seconds", 0}};
}

} // namespace

BatchRunner::BatchRunner(QString command, QStringList args, QStringList paths, BatchOptions options)
    : command_(std::move(command)), args_(std::move(args)), paths_(std::move(paths)),
      options_(std::move(options))
{
}

int BatchRunner::run()
{
    const CancelToken& stop = StopSignals::install();
    // Locked as every work folder of a run, so that the runs it starts, clearing the folders
    // of dead runs, leave it alone.
    CliWorkFolder reports;
    if (!reports.isValid()) {
        std::fprintf(stderr, "tocsmith-cli %s: %s\n", command_.toLocal8Bit().constData(),
                     EngineTexts::say("e_cli_no_report_folder").toLocal8Bit().constData());
        return 1;
    }
    const int count = int(paths_.size());
    QList<QJsonObject> records(count);
    std::map<int, std::unique_ptr<QProcess>> running;
    int next = 0;
    bool failed = false;
    auto reportOf = [&](int i) {
        return QDir(reports.path()).filePath(QString::number(i + 1) + ".json");
    };
    auto finish = [&](int i, QProcess& process) {
        printBlock(QFileInfo(paths_[i]).fileName(), process.readAll());
        QList<QJsonObject> read;
        if (DocumentReport::read(reportOf(i), &read) && read.size() == 1)
            records[i] = read.first();
        else
            records[i] = lostRecord(paths_[i], QStringLiteral("failed"),
                                    EngineTexts::say("e_batch_no_record").arg(process.exitCode()));
        if (records[i].value("outcome").toString() == QLatin1String("failed"))
            failed = true;
    };
    while (true) {
        while (!stop.isCancelled() && int(running.size()) < options_.jobs && next < count) {
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::MergedChannels);
            process->start(
                QCoreApplication::applicationFilePath(),
                QStringList{command_, QStringLiteral("--only"), QString::number(next + 1),
                            QStringLiteral("--report"), reportOf(next)} +
                    (ToolRunner::hasDetailedLog() ? QStringList{"--verbose"} : QStringList{}) +
                    args_);
            running.emplace(next++, std::move(process));
        }
        if (running.empty())
            break;
        if (stop.isCancelled())
            for (auto& [i, process] : running)
                process->terminate();
        for (auto it = running.begin(); it != running.end();) {
            QProcess& process = *it->second;
            if (process.state() != QProcess::NotRunning && !process.waitForFinished(20)) {
                ++it;
                continue;
            }
            finish(it->first, process);
            it = running.erase(it);
        }
    }
    for (int i = next; i < count; ++i)
        records[i] = lostRecord(paths_[i], QStringLiteral("cancelled"),
                                EngineTexts::say("e_batch_not_begun"));
    DocumentLoop::printSummary(records, count);
    if (!options_.report.isEmpty()) {
        QString error;
        if (!DocumentReport::write(options_.report, command_, records, &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            failed = true;
        }
    }
    if (stop.isCancelled())
        return StopSignals::kExitStatus;
    return failed ? 1 : 0;
}
