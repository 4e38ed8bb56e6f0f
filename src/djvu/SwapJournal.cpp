#include "djvu/SwapJournal.h"

#include "base/EngineTexts.h"
#include "djvu/AdvisoryLock.h"
#include "djvu/FileState.h"
#include "djvu/FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

const QString SwapJournal::kFolderPattern = QStringLiteral(".tocsmith-*");
const QString SwapJournal::kJournal = QStringLiteral("journal");
const QString SwapJournal::kOriginals = QStringLiteral("originals");
const QString SwapJournal::kLock = QStringLiteral("lock");
const QByteArray SwapJournal::kCommitted = "committed";

namespace {

bool plainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != "." &&
           name != "..";
}

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool readSize(const QByteArray& text, qint64* size)
{
    bool ok = false;
    *size = text.toLongLong(&ok);
    return ok && *size >= 0;
}

bool isHash(const QByteArray& text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Removes what a settled swap leaves in its folder: the originals, the journal and the lock;
// anything else found there stays, and so does the folder then.
void removeSwapFolder(const QDir& aside, AdvisoryLock& lock)
{
    QDir originals(aside.filePath(SwapJournal::kOriginals));
    const QStringList left =
        originals.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : left)
        originals.remove(name);
    aside.rmdir(SwapJournal::kOriginals);
    QFile::remove(aside.filePath(SwapJournal::kJournal));
    lock.release();
    QDir(aside.absolutePath() + QStringLiteral("/..")).rmdir(aside.dirName());
}

} // namespace

QByteArray SwapJournal::indexLine(const QString& indexName)
{
    return "index " + QUrl::toPercentEncoding(indexName);
}

QByteArray SwapJournal::text(const QString& indexName, const QList<Entry>& entries)
{
    QByteArray out = indexLine(indexName) + '\n';
    for (const Entry& e : entries) {
        const QByteArray name = QUrl::toPercentEncoding(e.name);
        const QByteArray added = QByteArray::number(e.newSize) + ' ' + e.newSha256;
        out += e.replaces ? "replace " + name + ' ' + QByteArray::number(e.oldSize) + ' ' +
                                e.oldSha256 + ' ' + added + '\n'
                          : "add " + name + ' ' + added + '\n';
    }
    return out;
}

bool SwapJournal::parse(const QByteArray& text, QList<Entry>* entries, bool* committed)
{
    entries->clear();
    *committed = false;
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || !lines.first().startsWith("index ") || !lines.last().isEmpty())
        return false; // every line ends with a line break, so a torn write is seen
    lines.removeLast();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i] == kCommitted && i == lines.size() - 1) {
            *committed = true;
            break;
        }
        const QList<QByteArray> words = lines[i].split(' ');
        Entry e;
        e.replaces = words.value(0) == "replace";
        if (words.size() != (e.replaces ? 6 : 4) || (!e.replaces && words[0] != "add"))
            return false;
        e.name = QUrl::fromPercentEncoding(words[1]);
        if (!plainName(e.name))
            return false;
        if (e.replaces && (!readSize(words[2], &e.oldSize) || !isHash(words[3]) ||
                           !readSize(words[4], &e.newSize) || !isHash(words[5])))
            return false;
        if (!e.replaces && (!readSize(words[2], &e.newSize) || !isHash(words[3])))
            return false;
        e.oldSha256 = e.replaces ? words[3] : QByteArray();
        e.newSha256 = words[e.replaces ? 5 : 3];
        entries->append(e);
    }
    return true;
}

SwapJournal::Recovery SwapJournal::recover(const QString& documentPath, QString* message)
{
    const QFileInfo index(documentPath);
    const QDir source = index.absoluteDir();
    const QStringList folders = source.entryList(
        {kFolderPattern}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QDir aside(source.filePath(folder));
        if (QFileInfo(aside.path()).isSymLink())
            continue;
        QFile journal(aside.filePath(kJournal));
        if (!journal.open(QIODevice::ReadOnly))
            continue; // a working folder, or a swap not yet begun
        const QByteArray text = journal.readAll();
        journal.close();
        if (!text.startsWith(indexLine(index.fileName()) + '\n'))
            continue; // another document of the same folder
        AdvisoryLock lock(aside.filePath(kLock));
        if (lock.lock() != AdvisoryLock::Result::Locked)
            continue; // its owner is still at work

        const QString shownFolder = QDir::toNativeSeparators(aside.path());
        const QString refusal = EngineTexts::say("e_journal_refused");
        QList<Entry> entries;
        bool committed = false;
        if (!parse(text, &entries, &committed)) {
            *message =
                refusal.arg(documentPath, shownFolder, EngineTexts::say("e_journal_unreadable"));
            return Recovery::Refused;
        }
        const QDir backups(aside.filePath(kOriginals));
        // First prove every step, then take them: the set is settled whole or not touched.
        enum class Step
        {
            Keep,
            PutBack,
            Remove,
            DropOriginal,
        };
        QList<Step> steps;
        QStringList unproven;
        for (const Entry& e : std::as_const(entries)) {
            const QString target = source.filePath(e.name);
            const QString original = backups.filePath(e.name);
            const FileState now = FileState::of(target);
            const bool setAside = exists(original);
            const bool originalProven =
                !setAside || FileState::of(original).sameContent(e.oldSize, e.oldSha256);
            const bool isNew = now.sameContent(e.newSize, e.newSha256);
            Step step = Step::Keep;
            bool proven = false;
            if (committed) {
                proven = isNew && (e.replaces ? originalProven : !setAside);
                step = setAside ? Step::DropOriginal : Step::Keep;
            } else if (e.replaces && setAside) {
                proven = originalProven && (isNew || !exists(target));
                step = Step::PutBack;
            } else if (e.replaces) {
                proven = now.sameContent(e.oldSize, e.oldSha256);
            } else {
                proven = !setAside && (isNew || !exists(target));
                step = isNew ? Step::Remove : Step::Keep;
            }
            if (!proven)
                unproven << e.name;
            steps << step;
        }
        if (!unproven.isEmpty()) {
            *message = refusal.arg(
                documentPath, shownFolder,
                EngineTexts::say("e_journal_mismatch").arg(unproven.join(QStringLiteral(", "))));
            return Recovery::Refused;
        }

        QStringList notRestored;
        QString why;
        for (qsizetype i = entries.size() - 1; i >= 0; --i) {
            const QString target = source.filePath(entries[i].name);
            const QString original = backups.filePath(entries[i].name);
            if ((steps[i] == Step::PutBack && !FileSync::renameReplacing(original, target, &why)) ||
                (steps[i] == Step::Remove && !QFile::remove(target)) ||
                (steps[i] == Step::DropOriginal && !QFile::remove(original)))
                notRestored << entries[i].name;
        }
        FileSync::syncFolder(source.absolutePath());
        if (!notRestored.isEmpty()) {
            *message = EngineTexts::say("e_journal_not_restored")
                           .arg(documentPath, notRestored.join(QStringLiteral(", ")),
                                QDir::toNativeSeparators(backups.path()));
            return Recovery::Refused;
        }
        removeSwapFolder(aside, lock);
        *message = committed ? EngineTexts::say("e_journal_finished").arg(documentPath)
                             : EngineTexts::say("e_journal_undone").arg(documentPath);
        return committed ? Recovery::Finished : Recovery::Undone;
    }
    return Recovery::None;
}
