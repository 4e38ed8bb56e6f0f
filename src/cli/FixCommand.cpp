#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRunner.h"
#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/DocumentLoop.h"
#include "cli/StopSignals.h"
#include "links/FixPass.h"

#include <QFileInfo>

int runFixCommand(const QStringList& args)
{
    Command command("fix", Command::unknownSaid("e_opt_unknown_quoted"));
    FixOptions options;
    QString language;
    command.options.flag(QStringLiteral("--no-backup"), "fix --no-backup", &options.backup, false);
    command.options.value(
        QStringLiteral("--keep-backups"), "fix --keep-backups",
        [&options](const QString& v, QString* problem) {
            return readKeepBackups(v, &options.keepBackups, problem);
        },
        "e_cli_keep_backups");
    command.options.value(QStringLiteral("--language"), "fix --language", &language,
                          "e_opt_language_name");
    command.options.describe("fix:end");
    BatchOptions batch;
    batch.declare(command.options);
    if (const std::optional<int> status = command.read(args))
        return *status;
    const QStringList& files = command.options.names();
    if (files.isEmpty())
        return command.refuse(EngineTexts::say("e_opt_no_file"));

    MessageTexts texts;
    if (!CliLanguage::choose(language, &texts))
        return command.refuse(EngineTexts::say("e_opt_no_language").arg(language));

    QList<FixRow> rows;
    QStringList paths;
    for (const QString& file : files) {
        const QFileInfo info(file);
        rows.append({info.absolutePath() + QLatin1Char('/'), info.fileName()});
        paths << info.absoluteFilePath();
    }
    if (batch.jobs > 1)
        return BatchRunner(QStringLiteral("fix"), command.options.handedOn(), paths, batch).run();

    // A private work folder, so that two runs at once never mix their work files.
    CommandTools tools(texts);
    if (!tools.ready())
        return command.complain(EngineTexts::say("e_cli_no_work_because").arg(tools.folderError()),
                                1);
    FixPass pass(tools.runner(), tools.texts, tools.log, tools.messages);
    pass.setControl(PassControl(nullptr, &StopSignals::install()));
    if (batch.perDocument())
        return DocumentLoop::run(QStringLiteral("fix"), int(rows.size()), batch, [&](int i) {
            return DocumentLoop::record(paths[i], tools.messages, [&] {
                const PassOutcome outcome = pass.run({rows[i]}, options);
                tools.log.finishLine();
                return outcome;
            });
        });
    const PassOutcome outcome = pass.run(rows, options);
    tools.log.finishLine();
    DocumentLoop::printSummary(outcome, int(rows.size()));
    return DocumentLoop::statusOf(outcome);
}
