#pragma once

#include <QByteArray>
#include <QString>

// A lock held through the operating system's advisory lock on a file (flock on Unix,
// LockFileEx on Windows). The kernel lets go of it when its process dies in any way, so a
// lock file left behind, empty or not, never blocks a later run: only a live holder does.
// The file itself carries nothing; it is removed by its holder on release.
class AdvisoryLock
{
public:
    enum class Result
    {
        Locked,
        Busy,     // another live process holds it
        NoAccess, // the file cannot be made or opened (a folder this program may not write in)
    };

    explicit AdvisoryLock(QString path);
    ~AdvisoryLock();
    AdvisoryLock(const AdvisoryLock&) = delete;
    AdvisoryLock& operator=(const AdvisoryLock&) = delete;

    // Takes the lock, waiting up to waitMs for a holder to let go.
    Result lock(int waitMs = 0);
    bool isLocked() const { return handle_ != kNone; }
    // Lets go; the file is removed first (while still held) unless keepFile.
    void release(bool keepFile = false);
    QString path() const { return path_; }

private:
#ifdef _WIN32
    using Handle = void*;
    static inline const Handle kNone = nullptr;
#else
    using Handle = int;
    static constexpr Handle kNone = -1;
#endif
    Result attempt();
#ifndef _WIN32
    // Gone: the file was removed while being locked; try again.
    static constexpr Result Gone = Result(-1);
    Result attemptOnce(const QByteArray& name);
#endif

    QString path_;
    Handle handle_ = kNone;
};
