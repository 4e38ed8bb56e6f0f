#include "djvu/FileState.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

FileState FileState::of(const QString& path)
{
    FileState state;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return state;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return state;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return state;
    state.plain = true;
    state.size = file.size();
    state.sha256 = hash.result().toHex();
    state.modified = info.lastModified().toMSecsSinceEpoch();
#ifndef Q_OS_WIN
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        state.inode = st.st_ino;
#endif
    return state;
}
