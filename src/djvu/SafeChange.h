#pragma once

#include "djvu/BackupCopy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class BookGuard;
class LockedFolder;
class ToolRunner;

// Changes a document without ever leaving it half-written. The tools rewrite a document
// in place with no temporary file, so a killed tool or a full disk would truncate the
// user's book. Instead: copy the document into a new folder beside it (same file name),
// let the tool change the copy, check the copy, and rename it over the original.
//
//   SafeChange change(path, &tools);
//   if (!change.prepare(&error)) ...
//   run the tool on change.workingCopy(); it must exit 0 with nothing on stderr
//   if (!change.commit(&error)) ...      // the original is untouched on any failure
//
// An indirect document (an index file and its page files beside it) is copied whole: the
// index copy is the working copy and its components sit beside it. commit() then moves in
// every file the tool changed or added, after setting each original aside, and puts all
// the originals back if any step fails: the set is either wholly new or wholly as it was.
// The swap keeps a journal (see SwapJournal) and records itself committed before it cleans
// up, so that a swap a dead process left is settled later: undone whole, or its clean-up
// finished. A pass settles it before it reads the book, through the BookGuard it holds;
// without a guard prepare() settles it and then refuses, as what the caller read of the
// half-swapped set cannot be trusted.
//
// With a guard, commit() renames nothing unless the book is still as the guard recorded it
// when the pass first read it. A book that is a symbolic link is changed as its real file.
//
// Dropping the object without commit() removes the copies and leaves the original as it was.
// A working folder holds a lock while its change lives; prepare() removes the working folders
// of changes whose process died (copies only), so a crash leaves no hidden copy for good.
class SafeChange
{
public:
    explicit SafeChange(QString documentPath);
    // The runner's djvused lists the files of an indirect document.
    SafeChange(QString documentPath, const ToolRunner* tools, BookGuard* guard = nullptr);
    ~SafeChange();
    SafeChange(const SafeChange&) = delete;
    SafeChange& operator=(const SafeChange&) = delete;

    // Before its rename the change backs up every file of the book (BackupCopy), keeping
    // `keep` numbered backups besides the original; none when negative (the default).
    void setBackups(int keep) { keepBackups_ = keep; }

    bool prepare(QString* error);
    QString workingCopy() const { return copyPath_; }
    QString workingFolder() const;
    // Verifies the copy, flushes it to disk and renames it over the original, keeping the
    // original's permissions.
    bool commit(QString* error);
    // After a commit that succeeded: the copy held every byte of the document as it was, so
    // nothing was renamed and the document was left untouched.
    bool changedNothing() const { return changedNothing_; }

    // The document is an indirect one; its component files (names beside the index) were
    // copied into the working folder too. Known after prepare().
    bool isIndirect() const { return indirect_; }
    QStringList components() const { return components_; }

    // The file's whole IFF structure holds together (DjvuFileCheck): no decoding, and it
    // catches a truncated file even when its header length was rewritten to match.
    static bool looksComplete(const QString& path, QString* error);

    // Removes what killed runs left beside a book: working and swap folders whose owner is
    // dead (a folder with a journal is for the settling of its swap) and, given the book's
    // files while its lock is held, their half-written backup copies.
    static void removeLeftovers(const QString& documentPath, const QStringList& lockedFiles = {});

    // Tests only: asked before every rename, and before each removal of a set-aside original
    // (with an empty `to`); returning false makes that step fail.
    using RenameFilter = std::function<bool(const QString& from, const QString& to)>;
    static void setRenameFilterForTests(RenameFilter filter);

private:
    bool prepareIndirect(QString* error);
    QStringList bookFiles() const;
    bool commitIndirect(QString* error);

    QString documentPath_;
    const ToolRunner* tools_ = nullptr;
    BookGuard* guard_ = nullptr;
    QString copyPath_;
    std::unique_ptr<LockedFolder> folder_;
    bool indirect_ = false;
    bool changedNothing_ = false;
    QStringList components_;
    int keepBackups_ = -1;
    BackupCopy::Change backups_;
};
