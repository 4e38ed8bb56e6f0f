#pragma once

#include "base/MessageTexts.h"
#include "cli/CliWorkFolder.h"
#include "cli/ConsoleSinks.h"
#include "cli/LastMessageSink.h"
#include "djvu/BackupCopy.h"
#include "djvu/ToolRunner.h"

#include <QByteArray>
#include <QString>

// What the commands run the tools with: a private, locked work folder for their work files,
// removed at the end (or by a later run, should this one be killed), log lines to standard
// output and messages to standard error, the last message kept for a document's record.
class CommandTools
{
public:
    CommandTools(); // in the locale's language (see CliLanguage)
    explicit CommandTools(const MessageTexts& chosen);
    MessageTexts texts;
    bool ready() const { return folder_.isValid(); }
    QString folderError() const { return folder_.errorString(); }
    ToolRunner& runner() { return runner_; }
    // Says the failure on standard error; 1, the exit status of a failed command.
    int fail(const QString& text);
    ConsoleLogSink log;
    ConsoleMessageSink console{&log, &texts};
    LastMessageSink messages{console, texts};

private:
    CliWorkFolder folder_;
    ToolRunner runner_;
};

// "--keep-backups N": how many numbered backups a change keeps besides the original. False
// with *problem on a bad number.
bool readKeepBackups(const QString& value, int* keep, QString* problem);

// The whole of a text file named on the command line, "-" for standard input.
bool readTextArgument(const QString& name, QByteArray* text, QString* error);
