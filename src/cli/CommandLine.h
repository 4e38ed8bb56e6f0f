#pragma once

#include "base/EngineTexts.h"
#include "cli/HelpTexts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Where the help tells of an option: a block of its own ("create --pages"), printed in the
// order of the declarations, or a text that tells of it among others (CommandLine::describedIn).
struct OptionHelp
{
    consteval OptionHelp(const char* block) : key(block) {}
    constexpr OptionHelp(HelpKey block) : key(block) {}
    constexpr OptionHelp(HelpKey text, bool toldIn) : key(text), toldIn(toldIn) {}

    HelpKey key;
    bool toldIn = false;
};

// The one reader of a command's arguments. A command declares its options, then the
// arguments are read in order: "--name VALUE" or "--name=VALUE" for an option that takes a
// value (the next argument is its value, even when it begins with "-"), "--" ends the options
// (so that a file may be named "-x.djvu"), "-" is a name (standard input), and "-h" or
// "--help" asks for the help. The first problem stops the reading.
//
// QCommandLineParser is not used: it cannot take an option whose value may be left out
// ("--outline" and "--outline merge"), it words its own refusals (the commands' refusals are
// part of what they print, in the user's language), and it reads every argument before it
// says which one is wrong, where a command refuses the first.
class CommandLine
{
public:
    // Reads an option's value; false with *problem set when the value will not do.
    using Take = std::function<bool(const QString& value, QString* problem)>;
    // The refusal of an argument that is no option of the command (given whole).
    using Unknown = std::function<QString(const QString& argument)>;

    explicit CommandLine(Unknown unknown) : unknown_(std::move(unknown)) {}

    // Each option names its words in the help (see OptionHelp).
    // An option without a value; take is given an empty value.
    void flag(const QString& name, OptionHelp help, Take take);
    void flag(const QString& name, OptionHelp help, std::function<void()> set);
    void flag(const QString& name, OptionHelp help, bool* set, bool value = true);
    // An option with a value; missingKey: the refusal (a sentence of EngineTexts, "%1" the
    // option's name) when the arguments end before its value.
    void value(const QString& name, OptionHelp help, Take take,
               EngineKey missingKey = "e_opt_needs_value");
    void value(const QString& name, OptionHelp help, QString* out,
               EngineKey missingKey = "e_opt_needs_value");
    // An option whose value may be left out, given as the next argument only when that is one
    // of `words` ("--outline", "--outline merge"); "--name=VALUE" gives any value.
    void optionalWord(const QString& name, OptionHelp help, const QStringList& words, Take take);
    // The option is not handed on (see handedOn): the runs of --jobs get their own.
    void keepOut(const QString& name);
    // The help is put together in the order of the declarations: each option's own block of
    // HelpTexts, and the texts described here between them.
    void describe(HelpKey text, bool keptOut = false);
    // An option told of in that text (which names it, and is described in its place) instead
    // of a block of its own.
    static constexpr OptionHelp describedIn(HelpKey text) { return {text, true}; }
    // The help of the command, the texts and options kept out left out unless asked for.
    // undescribed: the options whose words do not name them (none, unless a key is wrong).
    QString help(bool withKeptOut, QStringList* undescribed) const;

    // A flag given "=VALUE" is refused with e_opt_no_value; without this, as an unknown
    // argument.
    void refuseFlagValues() { flagValueSaid_ = true; }

    enum class Outcome
    {
        Read,
        Help,
        Refused
    };
    Outcome read(const QStringList& args);

    const QStringList& names() const { return names_; }
    // The arguments without the options kept out, for the runs of --jobs.
    const QStringList& handedOn() const { return handedOn_; }
    const QString& problem() const { return problem_; }
    // The options given, by name, in the order given (once for each time).
    const QStringList& given() const { return given_; }
    bool given(const QString& name) const { return given_.contains(name); }

private:
    enum class Kind
    {
        Flag,
        Value,
        OptionalWord
    };
    struct Option
    {
        QString name;
        OptionHelp help;
        Kind kind;
        Take take;
        EngineKey missingKey = "e_opt_needs_value";
        QStringList words;
        bool keptOut = false;
    };
    // A text of the help, or (no text) the option of that index.
    struct HelpItem
    {
        std::optional<HelpKey> text;
        std::size_t option = 0;
        bool keptOut = false;
    };
    void add(Option option);
    Option* find(const QString& name);
    Outcome refuse(const QString& problem);

    Unknown unknown_;
    bool flagValueSaid_ = false;
    std::vector<Option> options_;
    std::vector<HelpItem> help_;
    QStringList names_;
    QStringList handedOn_;
    QString problem_;
    QStringList given_;
};
