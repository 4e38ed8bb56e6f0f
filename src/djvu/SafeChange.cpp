#include "djvu/SafeChange.h"

#include "base/EngineTexts.h"
#include "djvu/BookGuard.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/FileState.h"
#include "djvu/FileSync.h"
#include "djvu/IndirectDocument.h"
#include "djvu/LockedFolder.h"
#include "djvu/SwapJournal.h"
#include "djvu/ToolRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Inside a working folder, beside the copies; never taken for a file the tool wrote.
const QString kWorkLock = LockedFolder::lockName();

SafeChange::RenameFilter& renameFilter()
{
    static SafeChange::RenameFilter filter;
    return filter;
}

bool renameOver(const QString& from, const QString& to, QString* why)
{
    if (renameFilter() && !renameFilter()(from, to)) {
        *why = EngineTexts::say("e_rename_refused");
        return false;
    }
    return FileSync::renameReplacing(from, to, why);
}

bool removeOriginal(const QString& path)
{
    return (!renameFilter() || renameFilter()(path, QString())) && QFile::remove(path);
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

// A link stays a link: its real file is the one changed.
SafeChange::SafeChange(QString documentPath) : documentPath_(BookGuard::realFile(documentPath)) {}

SafeChange::SafeChange(QString documentPath, const ToolRunner* tools, BookGuard* guard)
    : documentPath_(BookGuard::realFile(documentPath)), tools_(tools), guard_(guard)
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
    // A guard settled any interrupted change before the pass read the book. Without one,
    // what the caller read of a half-swapped set is not to be trusted: it stops here.
    if (!guard_) {
        QString found;
        const SwapJournal::Recovery recovery = SwapJournal::recover(documentPath_, &found);
        // A change that had completed left the book whole: only its clean-up was due.
        if (recovery == SwapJournal::Recovery::Refused ||
            recovery == SwapJournal::Recovery::Undone) {
            *error = recovery == SwapJournal::Recovery::Refused
                         ? found
                         : found + QLatin1Char(' ') + EngineTexts::say("e_safe_run_again");
            return false;
        }
    }
    QFileInfo original(documentPath_);
    if (!original.isFile()) {
        *error = DjvuFileCheck::notAFile(documentPath_);
        return false;
    }
    // Renaming over the file would succeed even when the user protected it.
    if (!isWritableFile(original)) {
        *error = EngineTexts::say("e_read_only").arg(documentPath_);
        return false;
    }
    indirect_ = IndirectDocument::isIndirect(documentPath_);
    components_.clear();
    if (indirect_) {
        const ToolRunner tools =
            tools_ ? *tools_
                   : ToolRunner(QCoreApplication::applicationDirPath(), QString(), nullptr);
        if (!IndirectDocument::components(original.absoluteFilePath(), tools, &components_, error))
            return false;
        for (const QString& name : std::as_const(components_)) {
            const QFileInfo component(original.absoluteDir().filePath(name));
            if (!isWritableFile(component)) {
                *error = EngineTexts::say("e_read_only")
                             .arg(QDir::toNativeSeparators(component.filePath()));
                return false;
            }
        }
    }
    removeLeftovers(documentPath_);
    folder_ = std::make_unique<LockedFolder>(original.absolutePath() +
                                             QStringLiteral("/.tocsmith-XXXXXX"));
    if (!folder_->isValid()) {
        *error = EngineTexts::say("e_no_work_folder").arg(documentPath_, folder_->errorString());
        folder_.reset();
        return false;
    }
    copyPath_ = QDir(folder_->path()).filePath(original.fileName());
    if (!copyWhole(documentPath_, copyPath_)) {
        *error = EngineTexts::say("e_no_copy").arg(documentPath_);
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
            *error =
                EngineTexts::say("e_no_copy").arg(QDir::toNativeSeparators(source.filePath(name)));
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
        *error = EngineTexts::say("e_nothing_to_save");
        return false;
    }
    if (indirect_)
        return commitIndirect(error);
    if (!looksComplete(copyPath_, error))
        return false;
    if (sameBytes(copyPath_, documentPath_)) {
        folder_.reset();
        copyPath_.clear();
        changedNothing_ = true;
        return true;
    }
    if (!FileSync::syncPath(copyPath_)) {
        *error = EngineTexts::say("e_no_write");
        return false;
    }
    QFile::setPermissions(copyPath_, QFile::permissions(documentPath_));
    if (guard_ && !guard_->unchanged(error))
        return false;
    // A change that left every byte as it was is no change: nothing to back up or rename.
    if (sameBytes(copyPath_, documentPath_)) {
        folder_.reset();
        copyPath_.clear();
        return true;
    }
    if (!backups_.make(bookFiles(), keepBackups_, error))
        return false;
    QString why;
    if (!renameOver(copyPath_, documentPath_, &why)) {
        backups_.undo();
        *error = EngineTexts::say("e_no_replace").arg(documentPath_, why);
        return false;
    }
    FileSync::syncFolder(QFileInfo(documentPath_).absolutePath());
    backups_.prune();
    folder_.reset();
    copyPath_.clear();
    if (guard_)
        guard_->record();
    return true;
}

namespace {

// A file the tool left in the working folder that goes into the book: a copy it changed or a
// file it added.
struct Move
{
    QString name;
    bool replaces = false;
    bool setAside = false;
    bool placed = false;
};

// Every file the tool left in the working folder, except the copies it left byte for byte
// (which stay out of the swap). New files come first and the index last, so that an index
// never names a missing file.
bool movesOf(const QDir& source, const QDir& work, const QString& indexName, QList<Move>* moves,
             QString* error)
{
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
            *error = EngineTexts::say("e_stray_file").arg(name);
            return false;
        }
        if (!SafeChange::looksComplete(copy, error))
            return false;
        if (!FileSync::syncPath(copy)) {
            *error = EngineTexts::say("e_no_write");
            return false;
        }
        if (exists)
            QFile::setPermissions(copy, QFile::permissions(target.filePath()));
        Move move;
        move.name = name;
        move.replaces = exists;
        *moves << move;
    }
    const auto rank = [&indexName](const Move& move) {
        return !move.replaces ? 0 : move.name == indexName ? 2 : 1;
    };
    std::stable_sort(moves->begin(), moves->end(),
                     [&rank](const Move& a, const Move& b) { return rank(a) < rank(b); });
    return true;
}

// What the journal records of each move: the sizes and digests before and after.
QList<SwapJournal::Entry> journalEntries(const QList<Move>& moves, const QDir& source,
                                         const QDir& work)
{
    QList<SwapJournal::Entry> entries;
    for (const Move& move : moves) {
        SwapJournal::Entry entry;
        entry.name = move.name;
        entry.replaces = move.replaces;
        const FileState made = FileState::of(work.filePath(move.name));
        entry.newSize = made.size;
        entry.newSha256 = made.sha256;
        if (move.replaces) {
            const FileState was = FileState::of(source.filePath(move.name));
            entry.oldSize = was.size;
            entry.oldSha256 = was.sha256;
        }
        entries << entry;
    }
    return entries;
}

// Moves the originals aside and the new files in, in order; the failure's words, or empty.
QString swapIn(QList<Move>& moves, const QDir& source, const QDir& work, const QDir& backups)
{
    QString why;
    for (Move& move : moves) {
        const QString target = source.filePath(move.name);
        if (move.replaces) {
            if (!renameOver(target, backups.filePath(move.name), &why))
                return EngineTexts::say("e_no_set_aside").arg(target, why);
            move.setAside = true;
        }
        if (!renameOver(work.filePath(move.name), target, &why))
            return EngineTexts::say("e_no_replace").arg(target, why);
        move.placed = true;
    }
    return {};
}

// Back to the old set: the originals return, the added files go. Lists what could not be.
void swapBack(const QList<Move>& moves, const QDir& source, const QDir& backups,
              QStringList* notRestored, QStringList* notRemoved)
{
    QString why;
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        const QString target = source.filePath(it->name);
        if (it->setAside) {
            if (!renameOver(backups.filePath(it->name), target, &why))
                *notRestored << it->name;
        } else if (it->placed && !QFile::remove(target)) {
            *notRemoved << it->name;
        }
    }
    FileSync::syncFolder(source.absolutePath());
}

} // namespace

bool SafeChange::commitIndirect(QString* error)
{
    const QDir source = QFileInfo(documentPath_).absoluteDir();
    const QDir work(folder_->path());
    const QString indexName = QFileInfo(documentPath_).fileName();
    if (!looksComplete(copyPath_, error))
        return false;
    QList<Move> moves;
    if (!movesOf(source, work, indexName, &moves, error))
        return false;
    if (moves.isEmpty()) {
        folder_.reset();
        copyPath_.clear();
        changedNothing_ = true;
        return true;
    }

    if (guard_ && !guard_->unchanged(error))
        return false;
    if (!backups_.make(bookFiles(), keepBackups_, error))
        return false;
    // The originals are renamed aside (same folder, so no copying and no room needed) and
    // only removed once every new file is in place.
    LockedFolder aside(source.absolutePath() + QStringLiteral("/.tocsmith-XXXXXX"),
                       SwapJournal::kLock);
    if (!aside.isValid()) {
        backups_.undo();
        *error = EngineTexts::say("e_no_aside_folder").arg(documentPath_, aside.errorString());
        return false;
    }
    QFile journal(QDir(aside.path()).filePath(SwapJournal::kJournal));
    if (!QDir(aside.path()).mkdir(SwapJournal::kOriginals) || !journal.open(QIODevice::WriteOnly) ||
        journal.write(SwapJournal::text(indexName, journalEntries(moves, source, work))) < 0 ||
        !FileSync::syncFile(journal)) {
        backups_.undo();
        *error = EngineTexts::say("e_no_journal").arg(documentPath_);
        return false;
    }
    // What recovery reads must be on the disk before the first original moves.
    FileSync::syncFolder(aside.path());
    FileSync::syncFolder(source.absolutePath());
    const QDir backups(QDir(aside.path()).filePath(SwapJournal::kOriginals));
    QString failure = swapIn(moves, source, work, backups);
    if (failure.isEmpty()) {
        FileSync::syncFolder(source.absolutePath());
        // From here on the change stands: a crash during the clean-up only leaves it to
        // finish, never to undo.
        if (journal.write(SwapJournal::kCommitted + '\n') < 0 || !FileSync::syncFile(journal))
            failure = EngineTexts::say("e_no_complete").arg(documentPath_);
    }
    journal.close();
    if (failure.isEmpty()) {
        for (const Move& move : std::as_const(moves)) {
            if (move.setAside)
                removeOriginal(backups.filePath(move.name));
        }
        backups_.prune();
        folder_.reset();
        copyPath_.clear();
        if (guard_)
            guard_->record();
        return true;
    }

    QStringList notRestored;
    QStringList notRemoved;
    swapBack(moves, source, backups, &notRestored, &notRemoved);
    // The copies that were moved in are gone; a second commit must not swap in the rest.
    folder_.reset();
    copyPath_.clear();
    if (notRestored.isEmpty()) {
        backups_.undo();
        *error = notRemoved.isEmpty() ? failure + EngineTexts::say("e_safe_all_kept")
                                      : failure + EngineTexts::say("e_safe_new_kept")
                                                      .arg(notRemoved.join(QStringLiteral(", ")));
    } else {
        // The journal stays, so the next change of this document tries again.
        aside.keep();
        *error = failure + EngineTexts::say("e_safe_originals")
                               .arg(notRestored.join(QStringLiteral(", ")),
                                    QDir::toNativeSeparators(backups.path()));
    }
    return false;
}

QStringList SafeChange::bookFiles() const
{
    const QFileInfo index(documentPath_);
    QStringList files{index.absoluteFilePath()};
    for (const QString& name : components_)
        files << index.absoluteDir().filePath(name);
    return files;
}

void SafeChange::removeLeftovers(const QString& documentPath, const QStringList& lockedFiles)
{
    BackupCopy::removeUnfinished(lockedFiles);
    // A journal means originals may wait there: only the settling of a swap touches it.
    // Otherwise a working folder, or a swap that died before it moved a file.
    LockedFolder::removeDead(QFileInfo(documentPath).absolutePath(), SwapJournal::kFolderPattern,
                             {kWorkLock, SwapJournal::kLock}, [](const QString& folder) {
                                 return QFileInfo::exists(
                                     QDir(folder).filePath(SwapJournal::kJournal));
                             });
}
