#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A new folder that holds a lock for as long as this object lives, so that a later run can
// tell the folder of a process that died (and left it for good) from one still in use.
class LockedFolder
{
public:
    // The lock file inside every such folder.
    static QString lockName() { return QStringLiteral(".tocsmith-lock"); }

    explicit LockedFolder(const QString& templatePath);
    bool isValid() const { return lock_ != nullptr; }
    QString errorString() const;
    QString path() const { return dir_.path(); }

    // Removes the folder when it holds a lock file named lockFile whose owner is dead; a
    // live owner, a folder without that lock, or a symbolic link is left alone.
    static bool removeIfDead(const QString& folder, const QString& lockFile = lockName());
    // The same for every folder of parent matching nameFilter (e.g. "app-*").
    static void removeDead(const QString& parent, const QString& nameFilter);

private:
    QTemporaryDir dir_;
    std::unique_ptr<QLockFile> lock_; // released before the folder goes
};
