#pragma once

#include "base/EngineTexts.h"
#include "cli/CommandLine.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What every command of tocsmith-cli shares: its name, its options read by one CommandLine,
// its help put together from them, and how it refuses a command line (exit status 2) or
// reports that it cannot begin.
class Command
{
public:
    using Text = std::function<QString()>;
    // The help opens with the text of HelpTexts under the command's name, which is its key.
    // afterRefusal: what follows a refusal on standard error (when none is given, the help
    // without the options kept out).
    Command(HelpKey name, CommandLine::Unknown unknown, Text afterRefusal = {});
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    CommandLine options;

    // The help printed on standard output for --help.
    QString help() const;

    // Reads the arguments: no value when the command is to run; else the exit status, the
    // help or the refusal printed.
    std::optional<int> read(const QStringList& args);
    // The same, for a command of one document: its name in *document.
    std::optional<int> readOne(const QStringList& args, QString* document);
    // "tocsmith-cli NAME: PROBLEM", a blank line and the help on standard error; 2.
    int refuse(const QString& problem) const;
    // "tocsmith-cli NAME: TEXT" on standard error; the status given.
    int complain(const QString& text, int status) const;
    // The command cannot make its private work folder: 1.
    int noWorkFolder() const;

    // The ways a command words an argument that is none of its options.
    static CommandLine::Unknown unknownSaid(EngineKey key); // the sentence, %1 the argument
    static CommandLine::Unknown unknownPlain();             // "unknown option"

private:
    const char* name_;
    Text afterRefusal_;
};

// "--format text|json" of the outline commands.
void declareFormat(CommandLine& line, HelpKey help, bool* json);
