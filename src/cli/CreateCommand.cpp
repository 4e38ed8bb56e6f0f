#include "app/MessageTexts.h"
#include "cli/CliLanguage.h"
#include "cli/CliWorkFolder.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "cli/CreateJobOptions.h"
#include "cli/CreatePlanFiles.h"
#include "cli/StopSignals.h"
#include "links/CreatePass.h"
#include "links/OutlineText.h"
#include "tools/ToolRunner.h"

#include <QCoreApplication>

#include <cstdio>

int runCreateCommand(const QStringList& args)
{
    CreateJobOptions parsed;
    QString error;
    if (!parsed.parse(args, &error)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n\n%s", error.toLocal8Bit().constData(),
                     CreateJobOptions::usageHint());
        return 2;
    }
    if (parsed.helpRequested()) {
        std::fputs(CreateJobOptions::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    MessageTexts texts;
    if (!CliLanguage::choose(parsed.languageFile(), &texts)) {
        std::fprintf(stderr, "tocsmith-cli create: no language file %s\n",
                     parsed.languageFile().toLocal8Bit().constData());
        return 2;
    }

    CliWorkFolder workFolder;
    if (!workFolder.isValid()) {
        std::fprintf(stderr, "tocsmith-cli create: cannot create a work folder: %s\n",
                     workFolder.errorString().toLocal8Bit().constData());
        return 1;
    }
    ConsoleLogSink log;
    ConsoleMessageSink messages(&log);
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
            std::printf("# Entries of %s\n", plan.path.toLocal8Bit().constData());
            for (const QString& line : plan.describeEntries())
                std::printf("%s\n", line.toLocal8Bit().constData());
            if (plan.writesOutline) {
                std::printf("# Outline of %s\n%s", plan.path.toLocal8Bit().constData(),
                            OutlineText::write(plan.outline, plan.pageCount).constData());
            }
            std::fflush(stdout);
        });
        pass.setScriptSink([&log](const QString& path, const QByteArray& script) {
            log.finishLine();
            QByteArray text = script;
            text.replace("\r\n", "\n");
            std::printf("# Hyperlink script for %s\n%s", path.toLocal8Bit().constData(),
                        text.constData());
            std::fflush(stdout);
        });
    }
    pass.setControl(PassControl(nullptr, &StopSignals::install()));
    const CreateOutcome outcome = pass.run(parsed.jobs(), parsed.options());
    log.finishLine();
    if (outcome.cancelled)
        return StopSignals::kExitStatus;
    if (outcome.ranToEnd && !planFiles.finish(&error)) {
        std::fprintf(stderr, "tocsmith-cli create: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return outcome.ranToEnd && outcome.filesFailed == 0 ? 0 : 1;
}
