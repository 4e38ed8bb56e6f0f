#include "cli/Command.h"

#include "base/EngineTexts.h"

#include <cstdio>

Command::Command(HelpKey name, CommandLine::Unknown unknown, Text afterRefusal)
    : options(std::move(unknown)), name_(name.name()), afterRefusal_(std::move(afterRefusal))
{
    options.describe(name);
    if (!afterRefusal_)
        afterRefusal_ = [this] {
            QStringList undescribed;
            return options.help(false, &undescribed);
        };
}

QString Command::help() const
{
    QStringList undescribed;
    const QString text = options.help(true, &undescribed);
    // A fault of the program: an option whose words do not name it (a wrong key).
    if (!undescribed.isEmpty())
        complain(QStringLiteral("no help for ") + undescribed.join(QStringLiteral(", ")), 0);
    return text;
}

std::optional<int> Command::read(const QStringList& args)
{
    switch (options.read(args)) {
    case CommandLine::Outcome::Read:
        return std::nullopt;
    case CommandLine::Outcome::Help:
        std::fputs(help().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Outcome::Refused:
        break;
    }
    return refuse(options.problem());
}

std::optional<int> Command::readOne(const QStringList& args, QString* document)
{
    if (const std::optional<int> status = read(args))
        return status;
    const QStringList& names = options.names();
    if (names.size() != 1)
        return refuse(names.isEmpty() ? EngineTexts::say("e_cli_no_document")
                                      : EngineTexts::say("e_cli_one_document"));
    *document = names.first();
    return std::nullopt;
}

int Command::refuse(const QString& problem) const
{
    std::fprintf(stderr, "tocsmith-cli %s: %s\n\n%s", name_, problem.toLocal8Bit().constData(),
                 afterRefusal_().toLocal8Bit().constData());
    return 2;
}

int Command::complain(const QString& text, int status) const
{
    std::fprintf(stderr, "tocsmith-cli %s: %s\n", name_, text.toLocal8Bit().constData());
    return status;
}

int Command::noWorkFolder() const
{
    return complain(EngineTexts::say("e_cli_no_work"), 1);
}

CommandLine::Unknown Command::unknownSaid(EngineKey key)
{
    return [key](const QString& argument) { return EngineTexts::say(key).arg(argument); };
}

CommandLine::Unknown Command::unknownPlain()
{
    return [](const QString&) { return EngineTexts::say("e_cli_unknown_option"); };
}

void declareFormat(CommandLine& line, HelpKey help, bool* json)
{
    line.value(QStringLiteral("--format"), help, [json](const QString& v, QString* problem) {
        if (v != QLatin1String("text") && v != QLatin1String("json")) {
            *problem = EngineTexts::say("e_opt_not_one_of")
                           .arg(QStringLiteral("--format"), v, "text|json");
            return false;
        }
        *json = v == QLatin1String("json");
        return true;
    });
}
