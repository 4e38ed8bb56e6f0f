#include "cli/CommandLine.h"

#include "base/EngineTexts.h"

namespace {

QString sentence(EngineKey key, const QString& option)
{
    const QString text = EngineTexts::say(key);
    return text.contains(QLatin1String("%1")) ? text.arg(option) : text;
}

} // namespace

void CommandLine::add(Option option)
{
    help_.push_back({std::nullopt, options_.size()});
    options_.push_back(std::move(option));
}

void CommandLine::describe(HelpKey text, bool keptOut)
{
    help_.push_back({text, 0, keptOut});
}

QString CommandLine::help(bool withKeptOut, QStringList* undescribed) const
{
    QString help;
    for (const HelpItem& item : help_) {
        if (item.text) {
            if (withKeptOut || !item.keptOut)
                help += HelpTexts::text(*item.text);
            continue;
        }
        const Option& option = options_[item.option];
        const QString words = HelpTexts::text(option.help.key);
        if (!words.contains(option.name))
            *undescribed << option.name;
        if (!option.help.toldIn && (withKeptOut || !option.keptOut))
            help += words;
    }
    return help;
}

void CommandLine::flag(const QString& name, OptionHelp help, Take take)
{
    add({name, help, Kind::Flag, std::move(take)});
}

void CommandLine::flag(const QString& name, OptionHelp help, std::function<void()> set)
{
    flag(name, help, [set = std::move(set)](const QString&, QString*) {
        set();
        return true;
    });
}

void CommandLine::flag(const QString& name, OptionHelp help, bool* set, bool value)
{
    flag(name, help, [set, value] { *set = value; });
}

void CommandLine::value(const QString& name, OptionHelp help, Take take, EngineKey missingKey)
{
    add({name, help, Kind::Value, std::move(take), missingKey});
}

void CommandLine::value(const QString& name, OptionHelp help, QString* out, EngineKey missingKey)
{
    value(
        name, help,
        [out](const QString& v, QString*) {
            *out = v;
            return true;
        },
        missingKey);
}

void CommandLine::optionalWord(const QString& name, OptionHelp help, const QStringList& words,
                               Take take)
{
    add({name, help, Kind::OptionalWord, std::move(take), "e_opt_needs_value", words});
}

void CommandLine::keepOut(const QString& name)
{
    if (Option* option = find(name))
        option->keptOut = true;
}

CommandLine::Option* CommandLine::find(const QString& name)
{
    for (Option& option : options_)
        if (option.name == name)
            return &option;
    return nullptr;
}

CommandLine::Outcome CommandLine::refuse(const QString& problem)
{
    problem_ = problem;
    return Outcome::Refused;
}

CommandLine::Outcome CommandLine::read(const QStringList& args)
{
    names_.clear();
    handedOn_.clear();
    problem_.clear();
    given_.clear();
    bool onlyNames = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (onlyNames || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            names_ << arg;
            handedOn_ << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyNames = true;
            handedOn_ << arg;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            return Outcome::Help;
        const qsizetype eq = arg.indexOf(u'=');
        const bool inlineValue = eq > 0;
        const QString name = inlineValue ? arg.left(eq) : arg;
        const Option* option = find(name);
        if (!option)
            return refuse(unknown_(arg));
        QString value = inlineValue ? arg.mid(eq + 1) : QString();
        qsizetype used = 1;
        switch (option->kind) {
        case Kind::Flag:
            if (inlineValue)
                return refuse(flagValueSaid_ ? sentence("e_opt_no_value", name) : unknown_(arg));
            break;
        case Kind::Value:
            if (!inlineValue && i + 1 >= args.size())
                return refuse(sentence(option->missingKey, name));
            if (!inlineValue) {
                value = args[i + 1];
                used = 2;
            }
            break;
        case Kind::OptionalWord:
            if (!inlineValue && i + 1 < args.size() && option->words.contains(args[i + 1])) {
                value = args[i + 1];
                used = 2;
            }
            break;
        }
        if (!option->take(value, &problem_))
            return Outcome::Refused;
        given_ << name;
        if (!option->keptOut)
            handedOn_ << args.mid(i, used);
        i += used - 1;
    }
    return Outcome::Read;
}
