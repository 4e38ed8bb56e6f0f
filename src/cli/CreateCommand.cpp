#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRunner.h"
#include "cli/CliLanguage.h"
#include "cli/CliWorkFolder.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "cli/CreateJobOptions.h"
#include "cli/CreatePlanFiles.h"
#include "cli/DocumentLoop.h"
#include "cli/LastMessageSink.h"
#include "cli/StopSignals.h"
#include "djvu/ToolRunner.h"
#include "links/CreatePass.h"
#include "outline/OutlineText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

// One job as a document of a batch: run alone, timed, and what was found recorded.
DocumentRecord runRecorded(CreatePass& pass, const CreateJob& job, const CreateOptions& options,
                           LastMessageSink& messages, const ContentsPlan* const& lastPlan)
{
    DocumentRecord record;
    record.path = job.path;
    messages.last.clear();
    QElapsedTimer timer;
    timer.start();
    const CreateOutcome outcome = pass.run({job}, options);
    record.seconds = double(timer.elapsed()) / 1000;
    record.outcome = DocumentLoop::outcomeOf(outcome.filesChanged, outcome.filesFailed,
                                             outcome.cancelled, outcome.ranToEnd);
    if (record.outcome != QLatin1String("changed"))
        record.message = messages.last;
    if (lastPlan && lastPlan->path == job.path) {
        record.planned = true;
        record.offset = lastPlan->offset;
        for (const PlanPage& page : lastPlan->pages)
            for (const PlanEntry& e : page.entries)
                record.entries.append({e.title, QString::fromUtf8(e.printed), e.targetPage, e.level,
                                       e.checked, e.correctedFrom});
        if (!lastPlan->lines.lines.isEmpty()) {
            record.linesCounted = lastPlan->lines.countable();
            record.linesLinked = lastPlan->lines.linkedCount();
            for (const LineAccount::Line& l : lastPlan->lines.unlinked())
                record.linesNotLinked.append(
                    {l.page, l.text, QString::fromLatin1(LineAccount::reasonName(l.reason))});
        }
    }
    return record;
}

} // namespace

int runCreateCommand(const QStringList& arguments)
{
    QStringList args = arguments;
    BatchOptions batch;
    CreateJobOptions parsed;
    QString error;
    if (!BatchOptions::take(&args, &batch, &error) || !parsed.parse(args, &error)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n\n%s", error.toLocal8Bit().constData(),
                     CreateJobOptions::usageHint());
        return 2;
    }
    if (parsed.helpRequested()) {
        std::fputs(CreateJobOptions::helpText().toLocal8Bit().constData(), stdout);
        std::fputs(BatchOptions::helpText(), stdout);
        return 0;
    }
    if (batch.jobs > 1) {
        QStringList paths;
        for (const CreateJob& job : parsed.jobs())
            paths << job.path;
        return BatchRunner(QStringLiteral("create"), args, paths, batch).run();
    }

    MessageTexts texts;
    if (!CliLanguage::choose(parsed.languageFile(), &texts)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n",
                     EngineTexts::say("e_cli_no_language")
                         .arg(parsed.languageFile())
                         .toLocal8Bit()
                         .constData());
        return 2;
    }

    CliWorkFolder workFolder;
    if (!workFolder.isValid()) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n",
                     EngineTexts::say("e_cli_no_work_because")
                         .arg(workFolder.errorString())
                         .toLocal8Bit()
                         .constData());
        return 1;
    }
    ConsoleLogSink log;
    ConsoleMessageSink console(&log);
    LastMessageSink messages(console, texts);
    ToolRunner tools(QCoreApplication::applicationDirPath(), workFolder.path(), &messages,
                     texts.text("mes3"));
    CreatePass pass(tools, texts, log, messages);
    CreatePlanFiles planFiles;
    if (!planFiles.prepare(parsed, pass, &error)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    if (parsed.options().dryRun && parsed.planFile().isEmpty()) {
        // The plan first, one line per entry, then the script made from it.
        pass.setPlanSink([&log](const ContentsPlan& plan) {
            log.finishLine();
            std::printf("# %s\n",
                        EngineTexts::say("e_dry_entries").arg(plan.path).toLocal8Bit().constData());
            for (const QString& line : plan.describeEntries())
                std::printf("%s\n", line.toLocal8Bit().constData());
            if (plan.writesOutline) {
                std::printf(
                    "# %s\n%s",
                    EngineTexts::say("e_dry_outline").arg(plan.path).toLocal8Bit().constData(),
                    OutlineText::write(plan.outline, plan.pageCount).constData());
            }
            std::fflush(stdout);
        });
        pass.setScriptSink([&log](const QString& path, const QByteArray& script) {
            log.finishLine();
            QByteArray text = script;
            text.replace("\r\n", "\n");
            std::printf("# %s\n%s",
                        EngineTexts::say("e_dry_script").arg(path).toLocal8Bit().constData(),
                        text.constData());
            std::fflush(stdout);
        });
    }
    pass.setControl(PassControl(nullptr, &StopSignals::install()));
    if (batch.perDocument()) {
        // Each document's plan is kept for its record, after whatever the dry run prints.
        std::optional<ContentsPlan> lastPlan;
        const ContentsPlan* planSeen = nullptr;
        pass.setPlanSink([&, print = pass.planSink()](const ContentsPlan& plan) {
            if (print)
                print(plan);
            lastPlan = plan;
            planSeen = &*lastPlan;
        });
        return DocumentLoop::run(
            QStringLiteral("create"), int(parsed.jobs().size()), batch, [&](int i) {
                planSeen = nullptr;
                return runRecorded(pass, parsed.jobs()[i], parsed.options(), messages, planSeen);
            });
    }
    const CreateOutcome outcome = pass.run(parsed.jobs(), parsed.options());
    log.finishLine();
    DocumentLoop::printSummary(outcome, int(parsed.jobs().size()));
    if (outcome.cancelled)
        return StopSignals::kExitStatus;
    if (outcome.ranToEnd && !planFiles.finish(&error)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return outcome.ranToEnd && outcome.filesFailed == 0 ? 0 : 1;
}
