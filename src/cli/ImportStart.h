#pragma once

#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "djvu/BackupCopy.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What both import commands do before their own work: "FILE TEXT" with --no-backup and
// --keep-backups N read, the tools made, and TEXT read whole ("-": standard input).
class ImportStart
{
public:
    // Declares the options both commands take, with the words of each in the command's help.
    ImportStart(Command& command, OptionHelp noBackup, OptionHelp keepBackups);
    // No value when the command is to go on; else its exit status.
    std::optional<int> begin(const QStringList& args);

    QString file;
    QString textName;
    QByteArray text;
    CommandTools& tools() { return *tools_; }
    // The backups a change makes: none when negative.
    int backups() const { return backup_ ? keepBackups_ : -1; }
    // TEXT did not read: its faults, and the document left as it was; 1.
    int refuseText(const QStringList& errors);

private:
    Command& command_;
    std::optional<CommandTools> tools_;
    bool backup_ = true;
    int keepBackups_ = BackupCopy::kKeepDefault;
};
