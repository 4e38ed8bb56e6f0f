#include "links/CreatePass.h"

#include "app/CharTable.h"
#include "app/MessageTexts.h"
#include "app/Sinks.h"
#include "links/BackupCopy.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsWalk.h"
#include "links/CreateRowReader.h"
#include "links/DjvusedDump.h"
#include "links/HyperlinkScript.h"
#include "links/PageAnnotations.h"
#include "links/PageListing.h"
#include "tools/SafeChange.h"
#include "tools/ToolRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

const QString CreatePass::kDumpFile = QStringLiteral("myfile.dsed");
const QString CreatePass::kScriptFile = QStringLiteral("myfile1.dsed");
const QString CreatePass::kListingFile = QStringLiteral("myfile2.dsed");

namespace {

const QString kDjvused = QStringLiteral("djvused");

// djvused reports an error as "*** [1-12311] Failed to open document '...'" followed by
// lines naming its own source file and function; the user needs the first sentence.
QString toolWords(const ToolRun& run)
{
    static const QRegularExpression prefix(QStringLiteral("^\\*\\*\\*\\s*(\\[[0-9-]+\\]\\s*)?"));
    QStringList kept;
    const QStringList lines = run.failureText().split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("*** (")) || line.startsWith(QLatin1String("*** '")))
            continue;
        line.remove(prefix);
        if (!line.isEmpty())
            kept << line;
    }
    return kept.isEmpty() ? run.failureText() : kept.join(QLatin1Char(' '));
}

QString toolFailure(const QString& path, const ToolRun& run)
{
    return QStringLiteral("djvused could not read %1: %2").arg(path, toolWords(run));
}

} // namespace

CreatePass::CreatePass(ToolRunner& tools, const MessageTexts& texts, LogSink& log,
                       MessageSink& messages)
    : tools_(tools), texts_(texts), log_(log), messages_(messages)
{
}

void CreatePass::removeWorkFiles(const QStringList& names)
{
    for (const QString& name : names)
        QFile::remove(tools_.workPath(name));
}

CreateOutcome CreatePass::run(const QList<CreateRow>& rows, const CreateOptions& options)
{
    CreateOutcome outcome;
    removeWorkFiles({kDumpFile, kListingFile});
    log_.clear();
    if (rows.isEmpty()) {
        messages_.showMessage(texts_.text("mes1"), QString());
        return outcome;
    }
    if (options.borderTypeIndex < 0 || options.shapeIndex < 0) {
        messages_.showMessage(texts_.text("mes4"), QString());
        return outcome;
    }
    if (options.kindIndex < 0) {
        messages_.showMessage(texts_.text("mes5"), QString());
        return outcome;
    }

    if (control_.token())
        tools_.setCancelToken(control_.token());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const CreateRow& row = rows[i];
        const Turn turn = control_.startDocument(int(i + 1), int(rows.size()), row.fullPath())
                              ? runFile(row, options)
                              : stopped();
        if (turn == Turn::Cancelled) {
            outcome.cancelled = true;
            return outcome;
        }
        if (turn == Turn::Failed || turn == Turn::Stop) {
            ++outcome.filesFailed;
            return outcome; // the files before stay done; no end-of-run actions
        }
        if (turn == Turn::DryRun)
            continue;
        ++outcome.filesChanged;
        if (options.align && options.kindIndex != 2) {
            const QFileInfo file(row.fullPath());
            FixRow fixRow{file.absolutePath() + QLatin1Char('/'), file.fileName()};
            // A backup made by this turn holds the document as the user had it; the
            // alignment must not replace it by a copy of what this turn just wrote.
            FixOptions fixOptions = options.fixOptions;
            if (options.backup)
                fixOptions.backup = false;
            if (!control_.enter(PassProgress::Step::Aligning)) {
                stopped();
                outcome.cancelled = true;
                return outcome;
            }
            FixPass fix(tools_, texts_, log_, messages_);
            PassControl nested = control_;
            nested.setNested(true);
            fix.setControl(nested);
            const PassOutcome aligned = fix.run({fixRow}, fixOptions);
            outcome.alignmentRan = true;
            outcome.alignmentRanToEnd = aligned.ranToEnd;
            if (aligned.cancelled) {
                outcome.cancelled = true;
                return outcome;
            }
        }
    }
    outcome.ranToEnd = true;
    return outcome;
}

CreatePass::Turn CreatePass::fail(const QString& reason)
{
    // A tool the user stopped fails as a matter of course; that is no error to show.
    if (control_.cancelled())
        return stopped();
    removeWorkFiles({kDumpFile, kScriptFile, kListingFile});
    log_.addLine(texts_.text("m9"));
    log_.addLine(reason);
    messages_.showMessage(reason, texts_.text("mes3"));
    return Turn::Failed;
}

CreatePass::Turn CreatePass::stopped()
{
    removeWorkFiles({kDumpFile, kScriptFile, kListingFile});
    for (const QString& line : control_.stopLines(texts_))
        log_.addLine(line);
    return Turn::Cancelled;
}

CreatePass::Turn CreatePass::runFile(const CreateRow& row, const CreateOptions& options)
{
    CreateJob job;
    QString error;
    if (!CreateRowReader::read(row, &job, &error))
        return fail(error);
    const QByteArray shape = BorderExpression::shapeWord(job.shape);
    const QByteArray border = BorderExpression::build(job.style);
    const QString& path = job.path;

    const QFileInfo document(path);
    if (!document.isFile())
        return fail(QStringLiteral("The file %1 does not exist.").arg(path));
    if (!options.dryRun && options.backup &&
        !BackupCopy::make(path, &error, tools_.resolve(kDjvused)))
        return fail(error);
    if (!tools_.available(kDjvused)) {
        messages_.showMessage(texts_.text("mes2"), QString());
        return Turn::Stop;
    }

    // Page listing: the page count, and which page each identifier names.
    if (!control_.enter(PassProgress::Step::Listing))
        return stopped();
    const ToolRun listed =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), QStringLiteral("ls")});
    if (!listed.succeeded())
        return fail(toolFailure(path, listed));
    QString listingError;
    const PageListing listing = PageListing::parse(listed.standardOutput, &listingError);
    if (!listingError.isEmpty())
        return fail(QStringLiteral("%1 was left as it is: %2").arg(path, listingError));

    log_.addLine(texts_.text("m2"));
    if (!control_.enter(PassProgress::Step::ReadingText))
        return stopped();
    const ToolRun dumped =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), QStringLiteral("output-txt")});
    if (!dumped.succeeded())
        return fail(toolFailure(path, dumped));
    // Only a dump that reads whole, every page's expression closed, is walked.
    const DjvusedDump textDump = DjvusedDump::parse(dumped.standardOutput, "txt");
    if (!textDump.ok())
        return fail(QStringLiteral("%1 was left as it is: %2").arg(path, textDump.error));
    log_.append(QStringLiteral(" OK"));
    log_.addLine(texts_.text("m8"));

    HyperlinkScript script;
    if (options.removeOcr)
        script.removeText();
    // The pages that get the contents link keep what they have beside it.
    PageAnnotations current;
    if (ContentsLinkBlocks::wanted(job)) {
        if (!control_.enter(PassProgress::Step::ReadingAnnotations))
            return stopped();
        const ToolRun annotations = tools_.capture(
            kDjvused, {path, QStringLiteral("-e"), QStringLiteral("output-ant")}, kListingFile);
        if (!annotations.clean())
            return fail(toolFailure(path, annotations));
        QFile file(tools_.workPath(kListingFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("Cannot read the annotations: %1").arg(file.errorString()));
        if (!PageAnnotations::parse(file.readAll(), listing, &current, &error))
            return fail(error);
    }
    if (!ContentsLinkBlocks::write(job, listing.pageCount(), script, &error, &current))
        return fail(error);
    removeWorkFiles({kListingFile});

    const int first = std::max(job.firstPage, 1);
    const int last = std::min(job.lastPage, listing.pageCount());
    if (first > last)
        return fail(QStringLiteral("Pages %1 to %2 are not pages of %3, which has %4 pages.")
                        .arg(job.firstPage)
                        .arg(job.lastPage)
                        .arg(path)
                        .arg(listing.pageCount()));

    EntryRecognition::Settings settings;
    settings.kind = job.kind;
    settings.offset = job.offset;
    settings.halve = job.halve;
    settings.comment = CharTable::escape(job.comment).toLatin1();
    settings.checkPageCount = options.checkPageCount;
    settings.pageCount = listing.pageCount();
    ContentsWalk walk(listing, first, last, settings, shape, border, script);
    QList<QByteArray> dumpLines = dumped.standardOutput.split('\n');
    dumpLines.removeLast(); // after the final line feed, which the check above made sure of
    if (!control_.enter(PassProgress::Step::Recognising))
        return stopped();
    int pagesWalked = 0;
    for (QByteArray line : dumpLines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith("select ") &&
            !control_.page(++pagesWalked, int(textDump.blocks.size())))
            return stopped();
        if (!walk.feed(line))
            return fail(walk.error());
    }
    if (!walk.finish())
        return fail(walk.error());
    for (const ContentsWalk::PageReport& report : walk.pageReports())
        log_.addLine(ContentsWalk::describe(report, listing.pageCount()));
    if (walk.areasWritten() == 0 && script.contentsLinkCount() == 0)
        return fail(QStringLiteral("No link was made in %1; it was left as it is.").arg(path));

    if (!tools_.writeWorkFile(kScriptFile, script.text(), &error))
        return fail(error);
    if (scriptSink_)
        scriptSink_(path, script.text());
    if (options.dryRun) {
        removeWorkFiles({kDumpFile, kScriptFile});
        return Turn::DryRun;
    }

    log_.addLine(texts_.text("m5"));
    if (!control_.enter(PassProgress::Step::Saving))
        return stopped();
    // The tool rewrites a document in place; it works on a copy that replaces the
    // original only once it is complete.
    SafeChange change(path, &tools_);
    if (!change.prepare(&error))
        return fail(error);
    const ToolRun saved = tools_.discard(
        kDjvused, {change.workingCopy(), QStringLiteral("-f"), kScriptFile, QStringLiteral("-s")});
    if (!saved.clean())
        return fail(QStringLiteral("djvused could not change %1; it was left as it is: %2")
                        .arg(path, toolWords(saved)));
    if (!control_.enter(PassProgress::Step::Replacing))
        return stopped(); // the working copy goes with `change`
    if (!change.commit(&error))
        return fail(QStringLiteral("%1 was left as it is: %2").arg(path, error));
    removeWorkFiles({kDumpFile, kScriptFile});

    log_.append(QStringLiteral(" OK"));
    log_.addLine(texts_.text("m6") + QLatin1Char(' ') + path + QLatin1Char(' ') +
                 texts_.text("m7"));
    return Turn::Changed;
}
