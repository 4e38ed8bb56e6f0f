#include "links/BackupCopy.h"

#include <QFile>
#include <QSaveFile>

namespace BackupCopy {

QString pathFor(const QString& document)
{
    return document + QStringLiteral(".backup");
}

bool make(const QString& document, QString* error)
{
    QFile source(document);
    QSaveFile copy(pathFor(document));
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(document, source.errorString());
        return false;
    }
    if (!copy.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write the backup copy %1: %2")
                     .arg(pathFor(document), copy.errorString());
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFile::NoError)
            break;
        if (copy.write(chunk) != chunk.size())
            break;
    }
    if (source.error() != QFile::NoError || !copy.commit()) {
        *error = QStringLiteral("Cannot write the backup copy %1 (is the disk full?): %2")
                     .arg(pathFor(document), copy.errorString());
        return false;
    }
    return true;
}

} // namespace BackupCopy
