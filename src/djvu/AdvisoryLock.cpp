#include "djvu/AdvisoryLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

AdvisoryLock::AdvisoryLock(QString path) : path_(std::move(path)) {}

AdvisoryLock::~AdvisoryLock()
{
    release();
}

AdvisoryLock::Result AdvisoryLock::lock(int waitMs)
{
    if (isLocked())
        return Result::Locked;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const Result result = attempt();
        if (result != Result::Busy || deadline.hasExpired())
            return result;
        QThread::msleep(25);
    }
}

#ifdef _WIN32

AdvisoryLock::Result AdvisoryLock::attempt()
{
    const std::wstring name = path_.toStdWString();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? Result::Busy : Result::NoAccess;
    OVERLAPPED whole = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        CloseHandle(file);
        return Result::Busy;
    }
    handle_ = file;
    return Result::Locked;
}

void AdvisoryLock::release(bool keepFile)
{
    if (!isLocked())
        return;
    if (!keepFile) {
        FILE_DISPOSITION_INFO gone = {TRUE};
        SetFileInformationByHandle(handle_, FileDispositionInfo, &gone, sizeof gone);
    }
    CloseHandle(handle_);
    handle_ = kNone;
}

#else

AdvisoryLock::Result AdvisoryLock::attempt()
{
    const QByteArray name = QFile::encodeName(path_);
    for (int tries = 0; tries < 100; ++tries) {
        const Result result = attemptOnce(name);
        if (result != Gone)
            return result;
    }
    return Result::Busy;
}

AdvisoryLock::Result AdvisoryLock::attemptOnce(const QByteArray& name)
{
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // someone else's lock file
    if (fd < 0)
        return Result::NoAccess;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        ::close(fd);
        return why == EWOULDBLOCK ? Result::Busy : Result::NoAccess;
    }
    // Its last holder may have removed the file between our open and our lock: a lock on a
    // file no longer there guards nothing, so take the one that is there now.
    struct stat held;
    struct stat there;
    if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &there) != 0 ||
        held.st_ino != there.st_ino || held.st_dev != there.st_dev) {
        ::close(fd);
        return Gone;
    }
    handle_ = fd;
    return Result::Locked;
}

void AdvisoryLock::release(bool keepFile)
{
    if (!isLocked())
        return;
    if (!keepFile)
        ::unlink(QFile::encodeName(path_).constData());
    ::close(handle_);
    handle_ = kNone;
}

#endif
