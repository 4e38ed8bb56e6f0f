#include "djvu/FileSync.h"

#include <QFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

namespace FileSync {

bool syncFile(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool syncPath(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && syncFile(file);
}

void syncFolder(const QString& path)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

bool renameReplacing(const QString& from, const QString& to, QString* why)
{
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    if (ec && why)
        *why = QString::fromStdString(ec.message());
    return !ec;
}

} // namespace FileSync
