#include "links/FixPass.h"

#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/AnnotationScanner.h"
#include "djvu/BookGuard.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/DjvusedDump.h"
#include "djvu/SafeChange.h"
#include "djvu/ToolRunner.h"
#include "links/AreaAlignment.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kTool = QStringLiteral("djvused");

} // namespace

const char* const FixPass::kCaptureFile = "myfile.dsed";
const char* const FixPass::kLeftEdgesFile = "myfile1.dsed";
const char* const FixPass::kSpareFile = "myfile2.dsed";

FixPass::FixPass(ToolRunner& tools, const MessageTexts& texts, LogSink& log, NoticeSink& notices)
    : tools_(tools), texts_(texts), log_(log), notices_(notices)
{
}

PassOutcome FixPass::run(const QList<FixRow>& rows, const FixOptions& options)
{
    return notices_.record<PassOutcome>([&] { return runRows(rows, options); });
}

PassOutcome FixPass::runRows(const QList<FixRow>& rows, const FixOptions& options)
{
    PassOutcome outcome;
    if (!options.keepLog)
        log_.clear();
    QFile::remove(tools_.workPath(QString::fromLatin1(kCaptureFile)));
    if (rows.isEmpty()) {
        notices_.notify({PassNotice::Kind::NoFiles, QString(), QString()});
        return outcome;
    }
    if (control_.token())
        tools_.setCancelToken(control_.token());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString path = rows[i].fullPath();
        const bool go = control_.startDocument(int(i + 1), int(rows.size()), path);
        switch (go ? runFile(path, options) : stopped()) {
        case FileResult::Done:
            ++outcome.filesChanged;
            outcome.rowDone();
            break;
        case FileResult::Unchanged:
            ++outcome.filesUnchanged;
            outcome.rowUnchanged();
            break;
        case FileResult::Failed:
            ++outcome.filesFailed;
            outcome.rowFailed(lastFailure_);
            return outcome;
        case FileResult::ToolMissing:
            outcome.rowFailed(texts_.text("mes2"));
            return outcome;
        case FileResult::Cancelled:
            outcome.cancelled = true;
            outcome.rowNotReached();
            return outcome;
        }
    }
    outcome.ranToEnd = true;
    return outcome;
}

FixPass::FileResult FixPass::runFile(const QString& path, const FixOptions& options)
{
    const QString ok = QStringLiteral(" OK");
    log_.addLine(texts_.text("m1") + QLatin1Char(' ') + path);
    QString error;
    // An interrupted change is settled first: it may have left the book without its index.
    BookGuard guard(path, &tools_, &log_);
    if (!guard.open(&error))
        return fail(path, error);
    if (!QFileInfo(path).isFile())
        return fail(path, DjvuFileCheck::notAFile(path));
    if (!DjvuFileCheck::isReadable(path, &error))
        return fail(path, error);
    if (!tools_.available(kTool)) {
        notices_.notify({PassNotice::Kind::ToolMissing, path, QString()});
        return FileResult::ToolMissing;
    }

    const QString capturePath = tools_.workPath(QString::fromLatin1(kCaptureFile));
    if (!control_.enter(PassProgress::Step::ReadingAnnotations))
        return stopped();
    const ToolRun dump =
        tools_.capture(kTool, {path, QStringLiteral("-e"), QStringLiteral("output-ant")});
    // A warning means djvused may not have printed every annotation; since the script
    // begins by removing them all, running it would lose the rest.
    if (!dump.clean())
        return fail(path, dump.failureText());
    log_.addLine(texts_.text("m2"));
    log_.append(ok);
    log_.addLine(texts_.text("m3"));

    // The annotations are the document's own text: only a dump that reads whole, page by
    // page, is used, and the script is written afresh from its blocks.
    const DjvusedDump annotations = DjvusedDump::parse(dump.standardOutput, "ant");
    if (!annotations.ok())
        return fail(path, annotations.error);
    const QByteArray capture = annotations.script();
    const AnnotationScan scan = AnnotationScanner::scan(capture);
    if (!scan.ok())
        return fail(path, scan.error);
    log_.append(ok);
    log_.addLine(texts_.text("m4"));

    // The page widths bound the aligned areas; asked only when there is something to align.
    QList<int> widths;
    if (!scan.areas.isEmpty()) {
        if (!control_.enter(PassProgress::Step::MeasuringPages))
            return stopped();
        const ToolRun sizes =
            tools_.capture(kTool, {path, QStringLiteral("-e"), QStringLiteral("size")});
        if (!sizes.clean())
            return fail(path, sizes.failureText());
        widths = AreaAlignment::pageWidths(sizes.standardOutput);
    }
    const AreaAlignment::Result aligned = AreaAlignment::alignScript(scan, widths);
    const QByteArray script = AreaAlignment::rewrite(capture, scan.areas, aligned.aligned);
    // Only digits change; read back, the script must still be the same blocks.
    const DjvusedDump written = DjvusedDump::parse(script, "ant");
    if (!written.ok() || written.blocks.size() != annotations.blocks.size())
        return fail(path, EngineTexts::say("e_aligned_readback"));
    if (!tools_.writeWorkFile(QString::fromLatin1(kLeftEdgesFile),
                              AreaAlignment::rewrite(capture, scan.areas, aligned.leftAligned),
                              &error) ||
        !tools_.writeWorkFile(QString::fromLatin1(kCaptureFile), script, &error))
        return fail(path, error);
    log_.append(ok);

    // Nothing to align: the document stays exactly as it is, untouched.
    bool changedNothing = script == capture;
    if (!changedNothing) {
        log_.addLine(texts_.text("m5"));
        if (!control_.enter(PassProgress::Step::Saving))
            return stopped();
        SafeChange change(path, &tools_, &guard);
        change.setBackups(options.backups());
        if (!change.prepare(&error))
            return fail(path, error);
        const ToolRun save = tools_.discard(
            kTool, {change.workingCopy(), QStringLiteral("-f"), capturePath, QStringLiteral("-s")});
        if (!save.clean())
            return fail(path, save.failureText());
        if (!control_.enter(PassProgress::Step::Replacing))
            return stopped(); // the working copy goes with `change`
        if (!change.commit(&error))
            return fail(path, error);
        changedNothing = change.changedNothing();
    }
    QFile::remove(tools_.workPath(QString::fromLatin1(kLeftEdgesFile)));
    QFile::remove(capturePath);
    if (changedNothing) {
        log_.addLine(EngineTexts::say("e_left_unchanged").arg(path));
        return FileResult::Unchanged;
    }
    log_.append(ok);
    log_.addLine(texts_.text("m6") + QLatin1Char(' ') + path + QLatin1Char(' ') +
                 texts_.text("m7"));
    return FileResult::Done;
}

FixPass::FileResult FixPass::fail(const QString& path, const QString& reason)
{
    // A tool the user stopped fails as a matter of course; that is no error to show.
    if (control_.cancelled())
        return stopped();
    removeWorkFiles();
    log_.addLine(texts_.text("m9"));
    const QString words = reason.trimmed();
    lastFailure_ = words.isEmpty() ? path : words;
    for (const QString& line : words.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        log_.addLine(line.trimmed());
    notices_.notify({PassNotice::Kind::FileFailed, path, words});
    return FileResult::Failed;
}

FixPass::FileResult FixPass::stopped()
{
    removeWorkFiles();
    for (const QString& line : control_.stopLines(texts_))
        log_.addLine(line);
    return FileResult::Cancelled;
}

void FixPass::removeWorkFiles() const
{
    for (const char* name : {kCaptureFile, kLeftEdgesFile, kSpareFile})
        QFile::remove(tools_.workPath(QString::fromLatin1(name)));
}
