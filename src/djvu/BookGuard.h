#pragma once

#include <QList>
#include <QString>

#include <memory>

#include "djvu/FileState.h"

class LogSink;
class AdvisoryLock;
class ToolRunner;

// Held by a pass for the whole turn of one document, from its first read to the rename of
// its change:
//  - one change of a book at a time: a lock beside the book (".<name>.tocsmith-lock"); a
//    second run waits a few seconds for it, then gives up with a clear message;
//  - a change that a dead process left half done is settled before anything reads the book;
//  - what every file of the book was when it was read is kept, and a change is only
//    renamed in while the book is still exactly that (see SafeChange).
// A book that is a symbolic link is guarded (and changed) as its real file.
class BookGuard
{
public:
    BookGuard(const QString& documentPath, const ToolRunner* tools, LogSink* log = nullptr);
    ~BookGuard();
    BookGuard(const BookGuard&) = delete;
    BookGuard& operator=(const BookGuard&) = delete;

    // Takes the lock, settles an interrupted change and records the book's files.
    bool open(QString* error);
    // The real file of the document.
    QString path() const { return path_; }
    // The file a symbolic link leads to; any other path as it is.
    static QString realFile(const QString& path);
    // The book is as it was recorded; *error says which file is not.
    bool unchanged(QString* error) const;
    // Records the book's files again (after this run changed them).
    void record();
    // What every file of the book was when last recorded.
    using Files = QList<QPair<QString, FileState>>;
    Files files() const { return files_; }

    // The name of the lock file beside a book of this file name; it always fits a folder.
    static QString lockName(const QString& bookName);

    // How long a second run waits for the lock.
    static constexpr int kWaitMs = 3000;

private:
    QString path_;
    const ToolRunner* tools_;
    LogSink* log_;
    std::unique_ptr<AdvisoryLock> lock_;
    Files files_;
};
