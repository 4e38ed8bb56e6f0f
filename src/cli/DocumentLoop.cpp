#include "cli/DocumentLoop.h"
#include "tools/EngineTexts.h"

#include "cli/StopSignals.h"

#include <cstdio>

namespace DocumentLoop {

QString outcomeOf(int changed, int failed, bool cancelled, bool ranToEnd)
{
    if (cancelled)
        return QStringLiteral("cancelled");
    if (failed > 0 || !ranToEnd)
        return QStringLiteral("failed");
    return changed > 0 ? QStringLiteral("changed") : QStringLiteral("unchanged");
}

int run(const QString& command, int count, const BatchOptions& options, const RunOne& runOne)
{
    if (options.only > count) {
        std::fprintf(
            stderr, "tocsmith-cli %s: %s\n", command.toLocal8Bit().constData(),
            EngineTexts::say("e_cli_only").arg(options.only).arg(count).toLocal8Bit().constData());
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
