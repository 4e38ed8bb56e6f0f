#include "cli/ImportStart.h"

#include "base/EngineTexts.h"

ImportStart::ImportStart(Command& command, OptionHelp noBackup, OptionHelp keepBackups)
    : command_(command)
{
    command.options.flag(QStringLiteral("--no-backup"), noBackup, &backup_, false);
    command.options.value(
        QStringLiteral("--keep-backups"), keepBackups,
        [this](const QString& v, QString* problem) {
            return readKeepBackups(v, &keepBackups_, problem);
        },
        "e_cli_keep_backups");
}

std::optional<int> ImportStart::begin(const QStringList& args)
{
    if (const std::optional<int> status = command_.read(args))
        return status;
    const QStringList& names = command_.options.names();
    if (names.size() != 2)
        return command_.refuse(EngineTexts::say("e_cli_document_and_text"));
    file = names[0];
    textName = names[1];
    tools_.emplace();
    if (!tools_->ready())
        return command_.noWorkFolder();
    QString error;
    if (!readTextArgument(textName, &text, &error))
        return tools_->fail(error);
    return std::nullopt;
}

int ImportStart::refuseText(const QStringList& errors)
{
    return tools_->fail((QStringLiteral("%1: %2\n") + EngineTexts::say("e_not_changed"))
                            .arg(textName, errors.join(u'\n')));
}
