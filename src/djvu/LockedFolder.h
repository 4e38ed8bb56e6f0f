#pragma once

#include "djvu/AdvisoryLock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A new folder that holds a lock for as long as this object lives, so that a later run can
// tell the folder of a process that died (and left it for good) from one still in use.
// Folders are made, and dead ones removed, under a short lock on their parent folder, so a
// folder without a lock file is never one that a live run is just making: it is dead too.
class LockedFolder
{
public:
    // The lock file inside every such folder.
    static QString lockName() { return QStringLiteral(".tocsmith-lock"); }

    // templatePath ends in "XXXXXX" (as QTemporaryDir's).
    explicit LockedFolder(const QString& templatePath, const QString& lockFile = lockName());
    // Removes the folder and what it holds, unless kept.
    ~LockedFolder();
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

    bool isValid() const { return lock_ && lock_->isLocked(); }
    QString errorString() const { return error_; }
    QString path() const { return path_; }
    // Lets go of the folder: it stays with what it holds (its lock file too).
    void keep();

    // Removes the folders of parent matching nameFilter (e.g. "app-*") whose owner is dead:
    // none of the lock files named holds a live lock, or there is none. Symbolic links and
    // folders `spare` says to keep are left alone.
    using Spare = std::function<bool(const QString& folder)>;
    static void removeDead(const QString& parent, const QString& nameFilter,
                           const QStringList& lockFiles = {lockName()}, const Spare& spare = {});

private:
    QString path_;
    QString error_;
    std::unique_ptr<AdvisoryLock> lock_;
};
