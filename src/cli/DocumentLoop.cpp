#include "cli/DocumentLoop.h"
#include "base/EngineTexts.h"

#include "base/Plural.h"
#include "cli/StopSignals.h"
#include "links/PassSummary.h"

#include <QElapsedTimer>

#include <cstdio>

namespace DocumentLoop {

namespace {

// The outcome word of a pass over one document.
QString outcomeOf(const PassOutcome& outcome)
{
    if (outcome.cancelled)
        return QStringLiteral("cancelled");
    if (outcome.filesFailed > 0 || !outcome.ranToEnd)
        return QStringLiteral("failed");
    return outcome.filesChanged > 0 ? QStringLiteral("changed") : QStringLiteral("unchanged");
}

} // namespace

DocumentRecord record(const QString& path, LastMessageSink& messages,
                      const std::function<PassOutcome()>& pass)
{
    DocumentRecord record;
    record.path = path;
    messages.last.clear();
    QElapsedTimer timer;
    timer.start();
    const PassOutcome outcome = pass();
    record.seconds = double(timer.elapsed()) / 1000;
    record.outcome = outcomeOf(outcome);
    if (record.outcome != QLatin1String("changed"))
        record.message = messages.last;
    return record;
}

int statusOf(const PassOutcome& outcome)
{
    if (outcome.cancelled)
        return StopSignals::kExitStatus;
    return outcome.ranToEnd && outcome.filesFailed == 0 ? 0 : 1;
}

void printSummary(const PassOutcome& outcome, int total)
{
    std::fprintf(stdout, "%s\n", PassSummary::line(outcome, total).toLocal8Bit().constData());
    std::fflush(stdout);
}

void printSummary(const QList<QJsonObject>& records, int total)
{
    PassOutcome outcome;
    for (const QJsonObject& record : records) {
        const QString word = record.value("outcome").toString();
        const QString message = record.value("message").toString();
        if (word == QLatin1String("changed"))
            outcome.rowDone();
        else if (word == QLatin1String("unchanged"))
            outcome.rowUnchanged();
        else if (word == QLatin1String("skipped"))
            outcome.rowSkipped(message);
        else if (word == QLatin1String("failed"))
            outcome.rowFailed(message);
        else
            outcome.rowNotReached();
    }
    printSummary(outcome, total);
}

int run(const QString& command, int count, const BatchOptions& options, const RunOne& runOne)
{
    if (options.only > count) {
        std::fprintf(stderr, "tocsmith-cli %s: %s\n", command.toLocal8Bit().constData(),
                     EngineTexts::say("e_cli_only")
                         .arg(options.only)
                         .arg(Plural::count("e_n_documents", count))
                         .toLocal8Bit()
                         .constData());
        return 2;
    }
    QList<int> indexes;
    for (int i = 0; i < count; ++i)
        if (options.only == 0 || options.only == i + 1)
            indexes << i;
    QList<QJsonObject> records;
    bool failed = false, cancelled = false;
    for (int i : std::as_const(indexes)) {
        const DocumentRecord record = runOne(i);
        records << record.toJson();
        if (record.outcome == QLatin1String("cancelled")) {
            cancelled = true;
            break;
        }
        if (record.outcome == QLatin1String("failed")) {
            failed = true;
            if (!options.triesEvery())
                break;
        }
    }
    // A run of --jobs does one document; the run that started it sums the batch up.
    if (options.only == 0)
        printSummary(records, count);
    QString error;
    if (!options.report.isEmpty() &&
        !DocumentReport::write(options.report, command, records, &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        failed = true;
    }
    if (cancelled)
        return StopSignals::kExitStatus;
    return failed ? 1 : 0;
}

} // namespace DocumentLoop
