#include "djvu/BookGuard.h"

#include "base/EngineTexts.h"
#include "base/Sinks.h"
#include "djvu/AdvisoryLock.h"
#include "djvu/IndirectDocument.h"
#include "djvu/SafeChange.h"
#include "djvu/SwapJournal.h"
#include "djvu/ToolRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString BookGuard::realFile(const QString& path)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return target.isEmpty() ? path : target;
}

BookGuard::BookGuard(const QString& documentPath, const ToolRunner* tools, LogSink* log)
    : path_(QFileInfo(realFile(documentPath)).absoluteFilePath()), tools_(tools), log_(log)
{
}

BookGuard::~BookGuard() = default;

QString BookGuard::lockName(const QString& bookName)
{
    const QString suffix = QStringLiteral(".tocsmith-lock");
    const QString whole = QLatin1Char('.') + bookName + suffix;
    // A file name holds at most 255 bytes, and the lock's removal names a file 7 longer.
    constexpr qsizetype kMost = 240;
    if (QFile::encodeName(whole).size() <= kMost)
        return whole;
    // A long name keeps its start and gains a digest of the whole, so that two books never
    // share a lock.
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(bookName.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    QString start = bookName;
    while (!start.isEmpty() &&
           QFile::encodeName(QLatin1Char('.') + start + QLatin1Char('~') + digest + suffix).size() >
               kMost)
        start.chop(start.size() >= 2 && start.at(start.size() - 1).isLowSurrogate() ? 2 : 1);
    return QLatin1Char('.') + start + QLatin1Char('~') + digest + suffix;
}

bool BookGuard::open(QString* error)
{
    const QFileInfo book(path_);
    lock_ = std::make_unique<AdvisoryLock>(book.absoluteDir().filePath(lockName(book.fileName())));
    switch (lock_->lock(kWaitMs)) {
    case AdvisoryLock::Result::Locked:
        break;
    case AdvisoryLock::Result::Busy:
        *error = EngineTexts::say("e_busy").arg(path_);
        lock_.reset();
        return false;
    case AdvisoryLock::Result::NoAccess:
        // A folder this program may not write in: nothing of it can change the book there,
        // and reading it needs no lock.
        lock_.reset();
        break;
    }
    QString message;
    switch (SwapJournal::recover(path_, &message)) {
    case SwapJournal::Recovery::Refused:
        *error = message;
        return false;
    case SwapJournal::Recovery::Undone:
    case SwapJournal::Recovery::Finished:
        if (log_)
            log_->addLine(message);
        break;
    case SwapJournal::Recovery::None:
        break;
    }
    record();
    // The book's lock proves that no live run is still writing a backup of its files.
    QStringList files;
    for (const auto& [file, state] : std::as_const(files_))
        files << file;
    SafeChange::removeLeftovers(path_, lock_ ? files : QStringList());
    return true;
}

void BookGuard::record()
{
    files_.clear();
    files_.append({path_, FileState::of(path_)});
    if (!IndirectDocument::isIndirect(path_) || !tools_)
        return;
    // Without a listing only the index is known; the change itself then refuses the book.
    QStringList names;
    QString ignored;
    if (!IndirectDocument::components(path_, *tools_, &names, &ignored))
        return;
    const QDir folder = QFileInfo(path_).absoluteDir();
    for (const QString& name : std::as_const(names))
        files_.append({folder.filePath(name), FileState::of(folder.filePath(name))});
}

bool BookGuard::unchanged(QString* error) const
{
    for (const auto& [file, state] : files_) {
        if (FileState::of(file) != state) {
            *error = EngineTexts::say("e_changed_meanwhile").arg(QDir::toNativeSeparators(file));
            return false;
        }
    }
    return true;
}
