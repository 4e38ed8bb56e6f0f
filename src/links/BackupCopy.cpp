#include "links/BackupCopy.h"

#include "tools/EngineTexts.h"
#include "tools/FileSync.h"
#include "tools/IndirectDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace BackupCopy {

QString pathFor(const QString& document)
{
    return document + QStringLiteral(".backup");
}

namespace {

bool sameFile(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

bool copyOne(const QString& document, QString* error)
{
    const QString target = pathFor(document);
    QFile source(document);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = EngineTexts::say("e_backup_no_read").arg(document, source.errorString());
        return false;
    }
    QTemporaryFile copy(target + QStringLiteral(".XXXXXX"));
    if (!copy.open()) {
        *error = EngineTexts::say("e_backup_no_write").arg(target, copy.errorString());
        return false;
    }
    bool written = true;
    while (written && !source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        written = !chunk.isEmpty() && copy.write(chunk) == chunk.size();
    }
    // A full disk may only show when the data reaches it, so the copy is synced and its
    // size checked before it replaces an older backup.
    written =
        written && FileSync::syncFile(copy) && QFileInfo(copy.fileName()).size() == source.size();
    if (!written) {
        *error = EngineTexts::say("e_backup_full").arg(target);
        return false;
    }
    copy.close();
    QString why;
    if (!FileSync::renameReplacing(copy.fileName(), target, &why)) {
        *error = EngineTexts::say("e_backup_no_write").arg(target, why);
        return false;
    }
    copy.setAutoRemove(false);
    QFile::setPermissions(target, source.permissions() | QFile::WriteOwner);
    return true;
}

} // namespace

bool make(const QString& document, QString* error, const QString& djvused)
{
    // An indirect document keeps its pages in files of their own: each gets its backup
    // beside it, or the index's backup alone could not give the book back.
    QStringList names;
    const bool indirect = IndirectDocument::isIndirect(document);
    if (indirect && !IndirectDocument::components(document, djvused, &names, error))
        return false;
    const QDir folder = QFileInfo(document).absoluteDir();
    QStringList files{QFileInfo(document).absoluteFilePath()};
    for (const QString& name : std::as_const(names))
        files << folder.filePath(name);
    // A file of the document may itself be named like another one's backup; writing that
    // backup would destroy a page. Nothing is copied then.
    for (const QString& file : std::as_const(files)) {
        const QString target = pathFor(file);
        for (const QString& other : std::as_const(files)) {
            if (sameFile(target, other)) {
                *error = EngineTexts::say("e_backup_over")
                             .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(other));
                return false;
            }
        }
    }
    for (const QString& file : std::as_const(files))
        if (!copyOne(file, error))
            return false;
    return true;
}

} // namespace BackupCopy
