#include "tools/LockedFolder.h"
#include "tools/EngineTexts.h"

#include <QDir>
#include <QFileInfo>

LockedFolder::LockedFolder(const QString& templatePath) : dir_(templatePath)
{
    if (!dir_.isValid())
        return;
    lock_ = std::make_unique<QLockFile>(QDir(dir_.path()).filePath(lockName()));
    lock_->setStaleLockTime(0); // only a dead owner makes it stale
    if (!lock_->tryLock(0))
        lock_.reset();
}

QString LockedFolder::errorString() const
{
    return dir_.isValid() ? EngineTexts::say("e_lock_no_write") : dir_.errorString();
}

bool LockedFolder::removeIfDead(const QString& folder, const QString& lockFile)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir() || !QFileInfo::exists(QDir(folder).filePath(lockFile)))
        return false;
    QLockFile lock(QDir(folder).filePath(lockFile));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return false; // its owner is still at work
    lock.unlock();
    return QDir(folder).removeRecursively();
}

void LockedFolder::removeDead(const QString& parent, const QString& nameFilter)
{
    const QDir dir(parent);
    const QStringList folders =
        dir.entryList({nameFilter}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : folders)
        removeIfDead(dir.filePath(name));
}
