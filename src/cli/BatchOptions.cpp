#include "cli/BatchOptions.h"
#include "base/EngineTexts.h"
#include "cli/CommandLine.h"

namespace {

bool readCount(const QString& name, const QString& text, int* out, QString* error)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > 256) {
        *error = EngineTexts::say("e_opt_not_whole").arg(name, text);
        return false;
    }
    *out = n;
    return true;
}

} // namespace

void BatchOptions::declare(CommandLine& line)
{
    // All told of in one text, left out of the help that follows a refusal.
    constexpr OptionHelp help = CommandLine::describedIn("batch");
    line.flag(QStringLiteral("--keep-going"), help, &keepGoing);
    line.value(QStringLiteral("--jobs"), help, [this](const QString& v, QString* error) {
        return readCount(QStringLiteral("--jobs"), v, &jobs, error);
    });
    line.value(QStringLiteral("--only"), help, [this](const QString& v, QString* error) {
        return readCount(QStringLiteral("--only"), v, &only, error);
    });
    line.value(QStringLiteral("--report"), help, [this](const QString& v, QString* error) {
        if (v.isEmpty())
            *error = EngineTexts::say("e_opt_report_name");
        report = v;
        return !v.isEmpty();
    });
    line.describe(help.key, true);
    for (const char* name : {"--keep-going", "--jobs", "--only", "--report"})
        line.keepOut(QLatin1String(name));
}
