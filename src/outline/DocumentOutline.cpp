#include "outline/DocumentOutline.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "djvu/BackupCopy.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/PageListing.h"
#include "djvu/SafeChange.h"
#include "djvu/ToolRunner.h"
#include "outline/OutlineScript.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kTool = QStringLiteral("djvused");
const QString kScript = QStringLiteral("outline.dsed");

} // namespace

bool DocumentOutline::fail(const QString& error, bool shown)
{
    error_ = error;
    errorShown_ = shown;
    return false;
}

bool DocumentOutline::readOutline(const QString& path, Outline* outline)
{
    const ToolRun run =
        tools_.capture(kTool, {path, QStringLiteral("-e"), QStringLiteral("print-outline")});
    if (!run.clean())
        return fail(run.failureText(), !run.started);
    QString error;
    *outline = OutlineScript::parse(run.standardOutput, &error);
    return error.isEmpty() || fail(error);
}

bool DocumentOutline::readPageIds(const QString& path, int pageCount, QList<QByteArray>* ids)
{
    const ToolRun run = tools_.capture(kTool, {path, QStringLiteral("-e"), QStringLiteral("ls")});
    if (!run.clean())
        return fail(run.failureText(), !run.started);
    QString error;
    const PageListing listing = PageListing::parse(run.standardOutput, &error);
    if (!error.isEmpty())
        return fail(error);
    ids->clear();
    // A single-page document lists no page line; its one page has no identifier to name.
    if (listing.pageCount() != pageCount)
        return listing.pageCount() == 0 ||
               fail(EngineTexts::say("e_outline_listed")
                        .arg(Plural::count("e_n_pages", listing.pageCount()), path)
                        .arg(pageCount));
    for (const PageListing::Page& page : listing.pages())
        *ids << page.identifier.toUtf8();
    return true;
}

bool DocumentOutline::read(const QString& documentPath, Outline* outline, int* pageCount,
                           QList<QByteArray>* pageIds)
{
    error_.clear();
    errorShown_ = false;
    const QFileInfo document(documentPath);
    if (!document.isFile())
        return fail(DjvuFileCheck::notAFile(documentPath));
    // djvused reads a book cut short as far as it goes and may still exit 0.
    QString unreadable;
    if (!DjvuFileCheck::isReadable(documentPath, &unreadable))
        return fail(unreadable);
    const QString path = document.absoluteFilePath();
    const ToolRun count = tools_.capture(kTool, {path, QStringLiteral("-e"), QStringLiteral("n")});
    if (!count.clean())
        return fail(count.failureText(), !count.started);
    bool ok = false;
    *pageCount = count.standardOutput.trimmed().toInt(&ok);
    if (!ok || *pageCount < 1)
        return fail(EngineTexts::say("e_no_page_count").arg(documentPath));
    if (pageIds && !readPageIds(path, *pageCount, pageIds))
        return false;
    return readOutline(path, outline);
}

DocumentOutline::WriteOutcome DocumentOutline::write(const QString& documentPath,
                                                     const Outline& outline, bool backup)
{
    return write(documentPath, outline, backup ? BackupCopy::kKeepDefault : -1, nullptr);
}

DocumentOutline::WriteOutcome DocumentOutline::write(const QString& documentPath,
                                                     const Outline& outline, int backups,
                                                     BookGuard* guard)
{
    error_.clear();
    errorShown_ = false;
    const QFileInfo document(documentPath);
    if (!document.isFile()) {
        fail(DjvuFileCheck::notAFile(documentPath));
        return WriteOutcome::Failed;
    }
    const QString path = document.absoluteFilePath();
    QString error;
    if (!DjvuFileCheck::isReadable(documentPath, &error)) {
        fail(error);
        return WriteOutcome::Failed;
    }
    const QByteArray script = OutlineScript::script(outline, &error);
    if (script.isEmpty()) {
        fail(error);
        return WriteOutcome::Failed;
    }
    Outline current;
    if (!readOutline(path, &current))
        return WriteOutcome::Failed;
    if (current == outline)
        return WriteOutcome::NothingChanged;
    const bool written = replace(path, script, outline, backups, guard);
    QFile::remove(tools_.workPath(kScript));
    return written ? WriteOutcome::Written : WriteOutcome::Failed;
}

bool DocumentOutline::replace(const QString& path, const QByteArray& script, const Outline& outline,
                              int backups, BookGuard* guard)
{
    QString error;
    SafeChange change(path, &tools_, guard);
    change.setBackups(backups);
    if (!change.prepare(&error) || !tools_.writeWorkFile(kScript, script, &error))
        return fail(error);
    const ToolRun run = tools_.discard(kTool, {change.workingCopy(), QStringLiteral("-f"),
                                               tools_.workPath(kScript), QStringLiteral("-s")});
    if (!run.clean())
        return fail(run.failureText(), !run.started);
    // The copy must give back the very outline asked for before it replaces the document.
    Outline written;
    if (!readOutline(change.workingCopy(), &written))
        return false;
    if (written != outline)
        return fail(EngineTexts::say("e_outline_not_given").arg(path));
    return change.commit(&error) || fail(error);
}

bool DocumentOutline::hasNoOutline(const QString& documentPath)
{
    Outline current;
    int pages = 0;
    if (!read(documentPath, &current, &pages))
        return false;
    return current.isEmpty() || fail(existingOutlineMessage(documentPath, current.count()));
}

QString DocumentOutline::existingOutlineMessage(const QString& documentPath, int count)
{
    return EngineTexts::say("e_outline_exists")
        .arg(documentPath, Plural::count("e_n_bookmarks", count));
}
