#pragma once

#include "base/MessageTexts.h"
#include "cli/CliWorkFolder.h"
#include "cli/ConsoleSinks.h"
#include "djvu/BackupCopy.h"
#include "djvu/ToolRunner.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the one-document commands run the tools with: a private, locked work folder for their
// work files, removed at the end (or by a later run, should this one be killed), log lines to
// standard output and messages to standard error.
class CommandTools
{
public:
    CommandTools();
    MessageTexts texts; // in the run's language (see CliLanguage)
    bool ready() const { return folder_.isValid(); }
    ToolRunner& runner() { return runner_; }
    ConsoleLogSink log;
    ConsoleMessageSink messages{&log, &texts};

private:
    CliWorkFolder folder_;
    ToolRunner runner_;
};

// A command's arguments: the options (words beginning with "-") apart from the names. "-"
// is a name (standard input), and "--" ends the options, so that a file may be named
// "-x.djvu".
struct CommandArguments
{
    QStringList options;
    QStringList names;
    static CommandArguments split(const QStringList& args);
    bool has(const char* option) const { return options.contains(QLatin1String(option)); }
};

// The arguments of an import command: "FILE TEXT [--no-backup]", or help asked for. False,
// with the refusal in *problem, when they do not read so.
struct ImportArguments
{
    QString file;
    QString text;
    bool backup = true;
    int keepBackups = BackupCopy::kKeepDefault;
    bool help = false;
    int backups() const { return backup ? keepBackups : -1; }
    static bool read(const QStringList& args, ImportArguments* read, QString* problem);
};

// "--keep-backups N" or "--keep-backups=N" (before any "--"), taken out of args: how many
// numbered backups a change keeps besides the original. False with *problem on a bad number.
bool takeKeepBackups(QStringList* args, int* keep, QString* problem);
// Takes "--format text|json" (or "--format=json") out of the arguments, before any "--";
// false, with the refusal in *problem, for another format or none given.
bool takeFormat(QStringList* args, bool* json, QString* problem);

// The whole of a text file named on the command line, "-" for standard input.
bool readTextArgument(const QString& name, QByteArray* text, QString* error);
