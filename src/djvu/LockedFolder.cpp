#include "djvu/LockedFolder.h"
#include "base/EngineTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <list>

namespace {

// Held while a folder is made and its lock taken, and while dead folders are removed.
constexpr int kGateWaitMs = 3000;

QString gateOf(const QString& parent)
{
    return QDir(parent).filePath(QStringLiteral(".tocsmith-folders-lock"));
}

// Removes what the folder holds, except its lock files, then the lock files, then itself.
void removeFolder(const QString& folder, const QStringList& lockFiles)
{
    QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (lockFiles.contains(name))
            continue;
        const QFileInfo entry(dir.filePath(name));
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            dir.remove(name);
    }
}

} // namespace

LockedFolder::LockedFolder(const QString& templatePath, const QString& lockFile)
{
    const QString parent = QFileInfo(templatePath).absolutePath();
    AdvisoryLock gate(gateOf(parent));
    if (gate.lock(kGateWaitMs) == AdvisoryLock::Result::Busy) {
        error_ = EngineTexts::say("e_lock_no_write");
        return;
    }
    QTemporaryDir dir(templatePath);
    if (!dir.isValid()) {
        error_ = dir.errorString();
        return;
    }
    lock_ = std::make_unique<AdvisoryLock>(QDir(dir.path()).filePath(lockFile));
    if (lock_->lock() != AdvisoryLock::Result::Locked) {
        error_ = EngineTexts::say("e_lock_no_write");
        lock_.reset();
        return;
    }
    dir.setAutoRemove(false);
    path_ = dir.path();
}

LockedFolder::~LockedFolder()
{
    if (!isValid())
        return;
    // The lock goes last, so that the folder is never without it while it holds copies.
    removeFolder(path_, {QFileInfo(lock_->path()).fileName()});
    lock_->release();
    QDir(QFileInfo(path_).absolutePath()).rmdir(QFileInfo(path_).fileName());
}

void LockedFolder::keep()
{
    if (lock_)
        lock_->release(true);
    lock_.reset();
}

void LockedFolder::removeDead(const QString& parent, const QString& nameFilter,
                              const QStringList& lockFiles, const Spare& spare)
{
    const QDir dir(parent);
    const QStringList folders =
        dir.entryList({nameFilter}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    // A gate file a killed run left goes too (taken, it is removed on release).
    if (folders.isEmpty() && !QFileInfo::exists(gateOf(parent)))
        return;
    AdvisoryLock gate(gateOf(parent));
    if (gate.lock(kGateWaitMs) != AdvisoryLock::Result::Locked)
        return; // not proven dead: left for a later run
    for (const QString& name : folders) {
        const QString folder = dir.filePath(name);
        if (QFileInfo(folder).isSymLink() || (spare && spare(folder)))
            continue;
        std::list<AdvisoryLock> held;
        bool alive = false;
        for (const QString& lockFile : lockFiles) {
            const QString lockPath = QDir(folder).filePath(lockFile);
            if (!QFileInfo::exists(lockPath))
                continue;
            if (held.emplace_back(lockPath).lock() != AdvisoryLock::Result::Locked)
                alive = true;
        }
        if (alive)
            continue; // its owner is still at work (or the lock is not ours to take)
        removeFolder(folder, lockFiles);
        for (AdvisoryLock& lock : held)
            lock.release();
        dir.rmdir(name);
    }
}
