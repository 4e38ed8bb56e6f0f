#pragma once

#include "cli/CliWorkFolder.h"
#include "cli/ConsoleSinks.h"
#include "tools/ToolRunner.h"

#include <QByteArray>
#include <QString>

// What the one-document commands run the tools with: a private, locked work folder for their
// work files, removed at the end (or by a later run, should this one be killed), log lines to
// standard output and messages to standard error.
class CommandTools
{
public:
    CommandTools();
    bool ready() const { return folder_.isValid(); }
    ToolRunner& runner() { return runner_; }
    ConsoleLogSink log;
    ConsoleMessageSink messages{&log};

private:
    CliWorkFolder folder_;
    ToolRunner runner_;
};

// The whole of a text file named on the command line, "-" for standard input.
bool readTextArgument(const QString& name, QByteArray* text, QString* error);
