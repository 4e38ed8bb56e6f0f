#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

class CancelToken;
class NoticeSink;

// What one run of a tool came to.
struct ToolRun
{
    bool started = false; // the program could be started at all
    bool crashed = false; // it died from a signal
    int exitCode = -1;
    QString errorText;         // the system's words when it could not start
    QByteArray standardOutput; // what a capture read from standard output, kept apart
    QByteArray standardError;  // what the tool said on standard error
    bool outputLost = false;   // the capture could not be written into its work file
    bool cancelled = false;    // stopped by the cancel token: killed, or never started

    // Ran and exited with status 0, and a capture file holds all it printed.
    bool succeeded() const
    {
        return started && !crashed && exitCode == 0 && !outputLost && !cancelled;
    }
    // Succeeded and said nothing on standard error: the bar for a run that changes a document.
    bool clean() const { return succeeded() && standardError.trimmed().isEmpty(); }
    // The tool's own words for a failure, for logs and message boxes: the sentences it said,
    // without the source positions and function signatures DjVuLibre adds to them, and with
    // its file URLs written as plain paths. Everything it said goes to the detailed log.
    QString failureText() const;
};

// Runs one DjVuLibre tool as a child process and waits for it. No shell is involved:
// every argument reaches the tool as its own argv element.
class ToolRunner
{
public:
    // exeFolder: where "bin/<tool>" is looked for first. workFolder: the child's current
    // folder, against which relative capture and work-file names resolve.
    // notices: told of a tool that could not be started (none: nobody is told).
    ToolRunner(QString exeFolder, QString workFolder, NoticeSink* notices);

    // Standard output is read through a pipe into standardOutput, as it comes, so a full
    // disk can never cut it short.
    ToolRun capture(const QString& tool, const QStringList& args);
    // As above, and the bytes are also written into captureFile (emptied first; relative
    // names live in the work folder) for the user to see, written whole or outputLost set.
    ToolRun capture(const QString& tool, const QStringList& args, const QString& captureFile);
    // Standard output is handed to onOutput piece by piece while the tool runs (and the rest
    // once it ended), never kept: standardOutput stays empty. The pieces, joined, are all it
    // printed; whether that was all it meant to print only the run's outcome tells.
    using OutputSink = std::function<void(QByteArrayView)>;
    ToolRun stream(const QString& tool, const QStringList& args, const OutputSink& onOutput);
    // Standard output is thrown away.
    ToolRun discard(const QString& tool, const QStringList& args);

    // Writes a work file (a script djvused is given, a capture kept for the user): written,
    // flushed and its size checked. False with *error naming the file otherwise.
    bool writeWorkFile(const QString& name, const QByteArray& bytes, QString* error) const;

    // "<exe folder>/bin/<tool>" when that file exists, else the program of that name on
    // PATH; "djvuparsexml" and "djvuxmlparser" name the same program. Empty when neither.
    QString resolve(const QString& tool) const;
    bool available(const QString& tool) const { return !resolve(tool).isEmpty(); }

    QString exeFolder() const { return exeFolder_; }
    // The environment every tool runs in.
    static QProcessEnvironment environment();
    // Receives each tool's command and everything it said on standard error, for a run
    // that failed or complained: the detailed log (the command line's --verbose).
    static void setDetailedLog(std::function<void(const QString&)> log);
    static bool hasDetailedLog();
    QString workFolder() const { return workFolder_; }
    QString workPath(const QString& name) const;
    // While a tool runs, the token is looked at every few milliseconds; once it is set, the
    // tool is killed at once and no other starts. Nothing else ever ends a tool early.
    void setCancelToken(const CancelToken* token) { cancel_ = token; }
    bool cancelled() const;

private:
    // onOutput null and keepOutput set: standard output is read whole at the end.
    ToolRun run(const QString& tool, const QStringList& args, bool keepOutput,
                const OutputSink& onOutput = {});

    QString exeFolder_;
    QString workFolder_;
    NoticeSink* notices_;
    const CancelToken* cancel_ = nullptr;
};
