#include "tools/SafeChange.h"

#include "tools/DjvuFileCheck.h"
#include "tools/FileSync.h"
#include "tools/IndirectDocument.h"
#include "tools/ToolRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace {

// A swap of an indirect set keeps, in its folder beside the index, a journal of the files it
// moves and the originals it set aside, so that a swap cut short by a crash can be undone
// later. The journal's first line names the index; then one line per file, "replace NAME"
// or "add NAME", names percent-encoded. The lock tells a live swap from a dead one.
const QString kSwapPattern = QStringLiteral(".tocsmith-*");
const QString kJournal = QStringLiteral("journal");
const QString kOriginals = QStringLiteral("originals");
const QString kLock = QStringLiteral("lock");
// Inside a working folder, beside the copies; never taken for a file the tool wrote.
const QString kWorkLock = QStringLiteral(".tocsmith-lock");

QByteArray journalName(const QString& name)
{
    return QUrl::toPercentEncoding(name);
}

SafeChange::RenameFilter& renameFilter()
{
    static SafeChange::RenameFilter filter;
    return filter;
}

bool renameOver(const QString& from, const QString& to, QString* why)
{
    if (renameFilter() && !renameFilter()(from, to)) {
        *why = QStringLiteral("the rename was refused");
        return false;
    }
    return FileSync::renameReplacing(from, to, why);
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) ||
        !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kBlock = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray x = first.read(kBlock);
        if (x.isEmpty() || x != second.read(kBlock))
            return false;
    }
    return second.atEnd();
}

bool isWritableFile(const QFileInfo& file)
{
    return file.isWritable() && (file.permissions() & QFileDevice::WriteOwner);
}

bool copyWhole(const QString& from, const QString& to)
{
    return QFile::copy(from, to) && QFileInfo(to).size() == QFileInfo(from).size();
}

} // namespace

// The working folder, locked for as long as its change lives.
class SafeChange::WorkFolder
{
public:
    explicit WorkFolder(const QString& pattern) : dir_(pattern)
    {
        if (!dir_.isValid())
            return;
        lock_ = std::make_unique<QLockFile>(QDir(dir_.path()).filePath(kWorkLock));
        lock_->setStaleLockTime(0); // only a dead owner makes it stale
        if (!lock_->tryLock(0))
            lock_.reset();
    }
    bool isValid() const { return lock_ != nullptr; }
    QString errorString() const
    {
        return dir_.isValid() ? QStringLiteral("cannot write its lock (is the disk full?)")
                              : dir_.errorString();
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<QLockFile> lock_; // released before the folder goes
};

SafeChange::SafeChange(QString documentPath) : documentPath_(std::move(documentPath)) {}

SafeChange::SafeChange(QString documentPath, const ToolRunner* tools)
    : documentPath_(std::move(documentPath)), tools_(tools)
{
}

SafeChange::~SafeChange() = default;

void SafeChange::setRenameFilterForTests(RenameFilter filter)
{
    renameFilter() = std::move(filter);
}

QString SafeChange::workingFolder() const
{
    return folder_ ? folder_->path() : QString();
}

bool SafeChange::prepare(QString* error)
{
    // What was read of a half-swapped set is not to be trusted, so the caller stops here.
    if (undoInterruptedSwaps(error))
        return false;
    QFileInfo original(documentPath_);
    if (!original.isFile()) {
        *error = QStringLiteral("The file %1 does not exist.").arg(documentPath_);
        return false;
    }
    // Renaming over the file would succeed even when the user protected it.
    if (!isWritableFile(original)) {
        *error = QStringLiteral("The file %1 is read-only.").arg(documentPath_);
        return false;
    }
    indirect_ = IndirectDocument::isIndirect(documentPath_);
    components_.clear();
    if (indirect_) {
        const QString djvused = tools_ ? tools_->resolve(QStringLiteral("djvused"))
                                       : ToolRunner(QCoreApplication::applicationDirPath(),
                                                    QString(), nullptr, QString())
                                             .resolve(QStringLiteral("djvused"));
        if (!IndirectDocument::components(original.absoluteFilePath(), djvused, &components_,
                                          error))
            return false;
        for (const QString& name : std::as_const(components_)) {
            const QFileInfo component(original.absoluteDir().filePath(name));
            if (!isWritableFile(component)) {
                *error = QStringLiteral("The file %1 is read-only.")
                             .arg(QDir::toNativeSeparators(component.filePath()));
                return false;
            }
        }
    }
    removeDeadWorkingFolders();
    folder_ =
        std::make_unique<WorkFolder>(original.absolutePath() + QStringLiteral("/.tocsmith-XXXXXX"));
    if (!folder_->isValid()) {
        *error = QStringLiteral("Cannot create a working folder beside %1: %2")
                     .arg(documentPath_, folder_->errorString());
        folder_.reset();
        return false;
    }
    copyPath_ = QDir(folder_->path()).filePath(original.fileName());
    if (!copyWhole(documentPath_, copyPath_)) {
        *error = QStringLiteral("Cannot copy %1 into a working folder (is the disk full?).")
                     .arg(documentPath_);
        folder_.reset();
        copyPath_.clear();
        return false;
    }
    QFile::setPermissions(copyPath_, QFile::permissions(documentPath_) | QFile::WriteOwner);
    if (indirect_ && !prepareIndirect(error)) {
        folder_.reset();
        copyPath_.clear();
        return false;
    }
    return true;
}

bool SafeChange::prepareIndirect(QString* error)
{
    const QDir source = QFileInfo(documentPath_).absoluteDir();
    const QDir work(folder_->path());
    for (const QString& name : std::as_const(components_)) {
        if (!copyWhole(source.filePath(name), work.filePath(name))) {
            *error = QStringLiteral("Cannot copy %1 into a working folder (is the disk full?).")
                         .arg(QDir::toNativeSeparators(source.filePath(name)));
            return false;
        }
        QFile::setPermissions(work.filePath(name),
                              QFile::permissions(source.filePath(name)) | QFile::WriteOwner);
    }
    return true;
}

bool SafeChange::looksComplete(const QString& path, QString* error)
{
    return DjvuFileCheck::isWhole(path, error);
}

bool SafeChange::commit(QString* error)
{
    if (!folder_) {
        *error = QStringLiteral("Nothing to save.");
        return false;
    }
    if (indirect_)
        return commitIndirect(error);
    if (!looksComplete(copyPath_, error))
        return false;
    if (!FileSync::syncPath(copyPath_)) {
        *error = QStringLiteral("Cannot write the changed document to disk (is the disk full?).");
        return false;
    }
    QFile::setPermissions(copyPath_, QFile::permissions(documentPath_));
    QString why;
    if (!renameOver(copyPath_, documentPath_, &why)) {
        *error = QStringLiteral("Cannot replace %1: %2").arg(documentPath_, why);
        return false;
    }
    folder_.reset();
    copyPath_.clear();
    return true;
}

bool SafeChange::commitIndirect(QString* error)
{
    const QDir source = QFileInfo(documentPath_).absoluteDir();
    const QDir work(folder_->path());
    const QString indexName = QFileInfo(documentPath_).fileName();
    if (!looksComplete(copyPath_, error))
        return false;

    // Every file the tool left in the working folder: a copy it changed, a file it added,
    // or a copy it left byte for byte (which stays out of the swap).
    struct Move
    {
        QString name;
        bool replaces = false;
        bool setAside = false;
        bool placed = false;
    };
    QList<Move> moves;
    const QStringList left = work.entryList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : left) {
        if (name == kWorkLock)
            continue;
        const QString copy = work.filePath(name);
        const QFileInfo target(source.filePath(name));
        const bool exists = target.exists() || target.isSymLink();
        if (exists && target.isFile() && !target.isSymLink() && sameBytes(copy, target.filePath()))
            continue;
        if (exists && (!target.isFile() || target.isSymLink())) {
            *error = QStringLiteral("The tool wrote %1, which is not a plain file beside the "
                                    "document; nothing was changed.")
                         .arg(name);
            return false;
        }
        if (!looksComplete(copy, error))
            return false;
        if (!FileSync::syncPath(copy)) {
            *error = QStringLiteral("Cannot write the changed document to disk (is the disk "
                                    "full?).");
            return false;
        }
        if (exists)
            QFile::setPermissions(copy, QFile::permissions(target.filePath()));
        Move move;
        move.name = name;
        move.replaces = exists;
        moves << move;
    }
    if (moves.isEmpty()) {
        folder_.reset();
        copyPath_.clear();
        return true;
    }
    // New files first and the index last, so that an index never names a missing file.
    const auto rank = [&indexName](const Move& move) {
        return !move.replaces ? 0 : move.name == indexName ? 2 : 1;
    };
    std::stable_sort(moves.begin(), moves.end(),
                     [&rank](const Move& a, const Move& b) { return rank(a) < rank(b); });

    // The originals are renamed aside (same folder, so no copying and no room needed) and
    // only removed once every new file is in place.
    QTemporaryDir aside(source.absolutePath() + QStringLiteral("/.tocsmith-XXXXXX"));
    if (!aside.isValid()) {
        *error = QStringLiteral("Cannot create a folder for the original files beside %1: %2")
                     .arg(documentPath_, aside.errorString());
        return false;
    }
    QLockFile lock(QDir(aside.path()).filePath(kLock));
    lock.setStaleLockTime(0); // only a dead owner makes it stale
    QByteArray journalText = "index " + journalName(indexName) + '\n';
    for (const Move& move : std::as_const(moves))
        journalText += (move.replaces ? "replace " : "add ") + journalName(move.name) + '\n';
    QFile journal(QDir(aside.path()).filePath(kJournal));
    if (!lock.tryLock(0) || !QDir(aside.path()).mkdir(kOriginals) ||
        !journal.open(QIODevice::WriteOnly) || journal.write(journalText) < 0 ||
        !FileSync::syncFile(journal)) {
        *error = QStringLiteral("Cannot write the change journal beside %1 (is the disk full?).")
                     .arg(documentPath_);
        return false;
    }
    journal.close();
    FileSync::syncFolder(aside.path());
    aside.setAutoRemove(false);
    const QDir backups(QDir(aside.path()).filePath(kOriginals));
    QString failure;
    QString why;
    for (Move& move : moves) {
        const QString target = source.filePath(move.name);
        if (move.replaces) {
            if (!renameOver(target, backups.filePath(move.name), &why)) {
                failure = QStringLiteral("Cannot set %1 aside: %2").arg(target, why);
                break;
            }
            move.setAside = true;
        }
        if (!renameOver(work.filePath(move.name), target, &why)) {
            failure = QStringLiteral("Cannot replace %1: %2").arg(target, why);
            break;
        }
        move.placed = true;
    }
    if (failure.isEmpty()) {
        FileSync::syncFolder(source.absolutePath());
        lock.unlock();
        QDir(aside.path()).removeRecursively();
        folder_.reset();
        copyPath_.clear();
        return true;
    }

    // Back to the old set: the originals return, the added files go.
    QStringList notRestored;
    QStringList notRemoved;
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        const QString target = source.filePath(it->name);
        if (it->setAside) {
            if (!renameOver(backups.filePath(it->name), target, &why))
                notRestored << it->name;
        } else if (it->placed && !QFile::remove(target)) {
            notRemoved << it->name;
        }
    }
    FileSync::syncFolder(source.absolutePath());
    // The copies that were moved in are gone; a second commit must not swap in the rest.
    folder_.reset();
    copyPath_.clear();
    if (notRestored.isEmpty()) {
        lock.unlock();
        QDir(aside.path()).removeRecursively();
        *error = notRemoved.isEmpty()
                     ? failure + QStringLiteral("; every file was left as it was.")
                     : failure + QStringLiteral("; the new files %1 could not be removed.")
                                     .arg(notRemoved.join(QStringLiteral(", ")));
    } else {
        // The journal stays, so the next change of this document tries again.
        *error = failure + QStringLiteral("; the original files %1 are kept in %2.")
                               .arg(notRestored.join(QStringLiteral(", ")),
                                    QDir::toNativeSeparators(backups.path()));
    }
    return false;
}

bool SafeChange::undoInterruptedSwaps(QString* error) const
{
    const QFileInfo index(documentPath_);
    const QDir source = index.absoluteDir();
    const QStringList folders = source.entryList(
        {kSwapPattern}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QDir aside(source.filePath(folder));
        QFile journal(aside.filePath(kJournal));
        if (!journal.open(QIODevice::ReadOnly))
            continue; // a working folder, or a swap not yet begun
        const QList<QByteArray> lines = journal.readAll().split('\n');
        journal.close();
        if (lines.isEmpty() || lines.first() != "index " + journalName(index.fileName()))
            continue; // another document of the same folder
        QLockFile lock(aside.filePath(kLock));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its owner is still at work
        const QDir backups(aside.filePath(kOriginals));
        QStringList notRestored;
        QString why;
        for (qsizetype i = lines.size() - 1; i >= 1; --i) {
            const QByteArray& line = lines[i];
            const bool replaces = line.startsWith("replace ");
            if (!replaces && !line.startsWith("add "))
                continue;
            const QString name = QUrl::fromPercentEncoding(line.mid(line.indexOf(' ') + 1));
            if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == ".." ||
                name == ".")
                continue;
            const QString target = source.filePath(name);
            if (replaces) {
                // Still aside: the swap had set it aside, perhaps placed the new file too.
                if (QFileInfo::exists(backups.filePath(name)) &&
                    !renameOver(backups.filePath(name), target, &why))
                    notRestored << name;
            } else if (QFileInfo::exists(target) && !QFile::remove(target)) {
                notRestored << name;
            }
        }
        FileSync::syncFolder(source.absolutePath());
        if (!notRestored.isEmpty()) {
            *error = QStringLiteral("An earlier change of %1 was interrupted, and the files %2 "
                                    "could not be put back as they were; the originals are "
                                    "kept in %3.")
                         .arg(documentPath_, notRestored.join(QStringLiteral(", ")),
                              QDir::toNativeSeparators(backups.path()));
            return true;
        }
        lock.unlock();
        QDir(aside.path()).removeRecursively();
        *error = QStringLiteral("An earlier change of %1 was interrupted; every file of it was "
                                "put back as it was before. Nothing else was changed: run the "
                                "job again.")
                     .arg(documentPath_);
        return true;
    }
    return false;
}

void SafeChange::removeDeadWorkingFolders() const
{
    const QDir source = QFileInfo(documentPath_).absoluteDir();
    const QStringList folders = source.entryList(
        {kSwapPattern}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QDir work(source.filePath(folder));
        // A journal means originals may wait there: only the undo of a swap touches it.
        if (QFileInfo::exists(work.filePath(kJournal)))
            continue;
        // A working folder, or a swap that died before it moved a file. Without a lock it
        // is not known to be ours, and is left alone.
        const QString lockName = QFileInfo::exists(work.filePath(kWorkLock)) ? kWorkLock
                                 : QFileInfo::exists(work.filePath(kLock))   ? kLock
                                                                             : QString();
        if (lockName.isEmpty())
            continue;
        QLockFile lock(work.filePath(lockName));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its owner is still at work
        lock.unlock();
        QDir(work.path()).removeRecursively();
    }
}
