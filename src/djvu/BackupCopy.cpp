#include "djvu/BackupCopy.h"

#include "base/EngineTexts.h"
#include "djvu/FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>

namespace BackupCopy {

QString pathFor(const QString& file, int generation)
{
    const QString original = file + QStringLiteral(".backup");
    return generation <= 1 ? original : original + u'.' + QString::number(generation);
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

// The generations of the backups beside a file: 1 for "<file>.backup", n for ".backup.n".
QList<int> generations(const QString& file)
{
    const QFileInfo info(file);
    const QString prefix = info.fileName() + QStringLiteral(".backup");
    QList<int> found;
    const QStringList names =
        info.absoluteDir().entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(prefix))
            continue;
        if (name == prefix) {
            found << 1;
            continue;
        }
        bool number = false;
        const int n = name.mid(prefix.size() + 1).toInt(&number);
        if (name.at(prefix.size()) == u'.' && number && n >= 2)
            found << n;
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool copyOne(const QString& document, const QString& target, QString* error)
{
    QFile source(document);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = EngineTexts::say("e_backup_no_read").arg(document, source.errorString());
        return false;
    }
    QTemporaryFile copy(pathFor(document) + QStringLiteral(".XXXXXX"));
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
    // size checked before it takes its name.
    written =
        written && FileSync::syncFile(copy) && QFileInfo(copy.fileName()).size() == source.size();
    if (!written) {
        *error = EngineTexts::say("e_backup_full").arg(target);
        return false;
    }
    copy.close();
    QString why;
    if (QFileInfo::exists(target) || !FileSync::renameReplacing(copy.fileName(), target, &why)) {
        *error = EngineTexts::say("e_backup_no_write").arg(target, why);
        return false;
    }
    copy.setAutoRemove(false);
    QFile::setPermissions(target, source.permissions() | QFile::WriteOwner);
    return true;
}

} // namespace

bool Change::make(const QStringList& files, int keep, QString* error)
{
    files_ = files;
    keep_ = keep;
    made_.clear();
    if (keep < 0)
        return true;
    // A file of the document may itself be named like another one's backup; writing that
    // backup would destroy a page. Nothing is copied then.
    QStringList targets;
    for (const QString& file : files) {
        const QList<int> had = generations(file);
        const int next = had.isEmpty() ? 1 : std::max(had.last() + 1, 2);
        if (next > 1 && keep == 0) {
            targets << QString();
            continue;
        }
        targets << pathFor(file, next);
        for (const QString& other : files) {
            if (sameFile(targets.last(), other) || sameFile(pathFor(file), other)) {
                *error = EngineTexts::say("e_backup_over")
                             .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(other));
                return false;
            }
        }
    }
    QStringList folders;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (targets[i].isEmpty())
            continue;
        if (!copyOne(files[i], targets[i], error)) {
            undo();
            return false;
        }
        made_ << targets[i];
        const QString folder = QFileInfo(targets[i]).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString& folder : std::as_const(folders))
        FileSync::syncFolder(folder);
    return true;
}

void Change::undo()
{
    for (const QString& backup : std::as_const(made_))
        QFile::remove(backup);
    made_.clear();
}

void Change::prune() const
{
    if (keep_ < 0)
        return;
    for (const QString& file : files_) {
        const QList<int> had = generations(file);
        const qsizetype numbered = had.size() - (had.value(0) == 1 ? 1 : 0);
        for (qsizetype i = had.size() - numbered; i < had.size() - keep_; ++i)
            QFile::remove(pathFor(file, had[i]));
    }
}

void removeUnfinished(const QStringList& files)
{
    // QTemporaryFile's six letters and digits, never digits alone (a numbered backup).
    static const QRegularExpression unfinished(QStringLiteral("^[A-Za-z0-9]{6}$"));
    for (const QString& file : files) {
        const QFileInfo info(file);
        const QString prefix = info.fileName() + QStringLiteral(".backup.");
        QDir folder = info.absoluteDir();
        const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (!name.startsWith(prefix))
                continue;
            const QString rest = name.mid(prefix.size());
            bool number = false;
            rest.toInt(&number);
            if (!number && unfinished.match(rest).hasMatch())
                folder.remove(name);
        }
    }
}

} // namespace BackupCopy
