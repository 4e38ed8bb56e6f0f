#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRunner.h"
#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/CreateJobOptions.h"
#include "cli/CreatePlanFiles.h"
#include "cli/DocumentLoop.h"
#include "cli/HelpTexts.h"
#include "cli/StopSignals.h"
#include "links/CreatePass.h"
#include "outline/OutlineText.h"

#include <cstdio>

namespace {

// One job as a document of a batch: run alone, timed, and what was found recorded.
DocumentRecord runRecorded(CreatePass& pass, const CreateJob& job, const CreateOptions& options,
                           LastMessageSink& messages, const ContentsPlan* const& lastPlan)
{
    DocumentRecord record =
        DocumentLoop::record(job.path, messages, [&] { return pass.run({job}, options); });
    if (lastPlan && lastPlan->path == job.path) {
        record.planned = true;
        record.offset = lastPlan->offset;
        for (const PlanPage& page : lastPlan->pages)
            for (const PlanEntry& e : page.entries)
                record.entries.append({e.title,
                                       QString::fromUtf8(e.printed),
                                       e.targetPage,
                                       e.level,
                                       e.checked,
                                       e.correctedFrom,
                                       e.contentsPage,
                                       {e.area.x, e.area.y, e.area.width, e.area.height}});
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

// A dry run prints each document's plan, one line per entry, then the script made from it.
void printDryRun(CreatePass& pass, ConsoleLogSink& log)
{
    pass.setPlanSink([&log](const ContentsPlan& plan) {
        log.finishLine();
        std::printf("# %s\n",
                    EngineTexts::say("e_dry_entries").arg(plan.path).toLocal8Bit().constData());
        for (const QString& line : plan.describeEntries())
            std::printf("%s\n", line.toLocal8Bit().constData());
        if (plan.writesOutline) {
            std::printf("# %s\n%s",
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

// Each document run and recorded on its own; each one's plan is kept for its record, after
// whatever the dry run prints.
int runEach(CreatePass& pass, const CreateJobOptions& parsed, const BatchOptions& batch,
            LastMessageSink& messages)
{
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

} // namespace

int runCreateCommand(const QStringList& args)
{
    Command command("create", Command::unknownSaid("e_opt_unknown"),
                    [] { return HelpTexts::text("create:hint"); });
    CreateJobOptions parsed;
    parsed.declare(command.options);
    BatchOptions batch;
    batch.declare(command.options);
    if (const std::optional<int> status = command.read(args))
        return *status;
    QString error;
    if (!parsed.finish(command.options, &error))
        return command.refuse(error);
    if (batch.jobs > 1) {
        QStringList paths;
        for (const CreateJob& job : parsed.jobs())
            paths << job.path;
        return BatchRunner(QStringLiteral("create"), command.options.handedOn(), paths, batch)
            .run();
    }

    MessageTexts texts;
    if (!CliLanguage::choose(parsed.languageFile(), &texts))
        return command.complain(EngineTexts::say("e_cli_no_language").arg(parsed.languageFile()),
                                2);
    CommandTools tools(texts);
    if (!tools.ready())
        return command.complain(EngineTexts::say("e_cli_no_work_because").arg(tools.folderError()),
                                1);
    CreatePass pass(tools.runner(), tools.texts, tools.log, tools.messages);
    CreatePlanFiles planFiles;
    if (!planFiles.prepare(parsed, pass, &error))
        return command.complain(error, 2);
    if (parsed.options().dryRun && parsed.planFile().isEmpty())
        printDryRun(pass, tools.log);
    pass.setControl(PassControl(nullptr, &StopSignals::install()));
    if (batch.perDocument())
        return runEach(pass, parsed, batch, tools.messages);
    const CreateOutcome outcome = pass.run(parsed.jobs(), parsed.options());
    tools.log.finishLine();
    DocumentLoop::printSummary(outcome, int(parsed.jobs().size()));
    if (!outcome.cancelled && outcome.ranToEnd && !planFiles.finish(&error))
        return command.complain(error, 1);
    return DocumentLoop::statusOf(outcome);
}
