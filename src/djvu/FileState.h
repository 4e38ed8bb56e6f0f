#pragma once

#include <QByteArray>
#include <QString>

// What a file is at one moment: enough to tell it from any other content (size and a
// SHA-256 of its bytes) and to notice a rewrite in place (modification time and inode).
struct FileState
{
    bool plain = false; // an existing regular file, not a symbolic link
    qint64 size = -1;
    qint64 modified = 0; // milliseconds since the epoch
    quint64 inode = 0;
    QByteArray sha256; // hex

    static FileState of(const QString& path);
    // Same bytes: size and hash.
    bool sameContent(qint64 otherSize, const QByteArray& otherSha256) const
    {
        return plain && size == otherSize && sha256 == otherSha256;
    }
    bool operator==(const FileState& other) const = default;
};
