#pragma once

#include "djvu/BackupCopy.h"
#include "jobs/CreateRow.h"
#include "links/PassControl.h"
#include "links/PassOutcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

class LogSink;
class NoticeSink;
class MessageTexts;
class ToolRunner;

struct FixOptions
{
    bool backup = true; // back each file up beside it (BackupCopy) before its change
    int keepBackups = BackupCopy::kKeepDefault; // numbered backups kept besides the original
    bool keepLog = false;                       // add to the log instead of starting it afresh

    // The backups a change makes: none when negative.
    int backups() const { return backup ? keepBackups : -1; }
};

// Aligns the rectangle and oval hyperlinks that the documents of the Fix list already
// have, and writes them back.
//
// For each file: djvused prints the annotations as a script, which is read strictly and
// written afresh block by block (nothing of the document runs as a command), the left
// edges and widths of the areas are rewritten page by page, and djvused runs the script on a copy
// that replaces the document only when the tool succeeded. The first failure stops the pass; files
// before it stay done, the failed file and those after it stay as they were.
class FixPass
{
public:
    // notices: told of each notice as the pass meets it; the outcome holds them too.
    FixPass(ToolRunner& tools, const MessageTexts& texts, LogSink& log, NoticeSink& notices);
    PassOutcome run(const QList<FixRow>& rows, const FixOptions& options);
    // Progress reports and the cancel token; the tool runner is given the same token.
    void setControl(const PassControl& control) { control_ = control; }

    // Work files, inside the tool runner's work folder.
    static const char* const kCaptureFile; // the annotations, later the final script
    static const char* const kLeftEdgesFile;
    static const char* const kSpareFile;

private:
    enum class FileResult
    {
        Done,
        Unchanged, // read whole; nothing needed aligning, and not a byte was written
        Failed,
        ToolMissing,
        Cancelled
    };
    PassOutcome runRows(const QList<FixRow>& rows, const FixOptions& options);
    FileResult runFile(const QString& path, const FixOptions& options);
    FileResult fail(const QString& path, const QString& reason);
    FileResult stopped();
    void removeWorkFiles() const;

    ToolRunner& tools_;
    const MessageTexts& texts_;
    LogSink& log_;
    RunNotices notices_; // of this run
    PassControl control_;
    QString lastFailure_; // the reason the last failed document gave
};
