#include "links/CreatePass.h"

#include "base/CharTable.h"
#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Plural.h"
#include "base/Sinks.h"
#include "djvu/BookGuard.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/PageAnnotations.h"
#include "djvu/PageListing.h"
#include "djvu/PageTexts.h"
#include "djvu/SafeChange.h"
#include "djvu/ToolRunner.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "links/OutlineEntryWriter.h"
#include "links/PlanWriter.h"
#include "links/ScriptEntryWriter.h"
#include "links/SmartPlan.h"
#include "links/ToolWords.h"
#include "ocr/PageRecognizer.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineMerge.h"
#include "outline/OutlineParts.h"
#include "outline/OutlineScript.h"
#include "reading/LazyPageTexts.h"
#include "reading/PageLines.h"
#include "reading/SmartIndexReading.h"
#include "reading/SmartReading.h"

#include <QFile>
#include <QFileInfo>

const QString CreatePass::kDumpFile = QStringLiteral("myfile.dsed");
const QString CreatePass::kScriptFile = QStringLiteral("myfile1.dsed");
const QString CreatePass::kListingFile = QStringLiteral("myfile2.dsed");

CreatePass::CreatePass(ToolRunner& tools, const MessageTexts& texts, LogSink& log,
                       NoticeSink& notices)
    : tools_(tools), texts_(texts), log_(log), notices_(notices)
{
}

CreateOutcome CreatePass::run(const QList<CreateJob>& jobs, const CreateOptions& options)
{
    return notices_.record<CreateOutcome>([&] { return runJobs(jobs, options); });
}

void CreatePass::removeWorkFiles(const QStringList& names)
{
    for (const QString& name : names)
        QFile::remove(tools_.workPath(name));
}

CreateOutcome CreatePass::runJobs(const QList<CreateJob>& jobs, const CreateOptions& options)
{
    CreateOutcome outcome;
    removeWorkFiles({kDumpFile, kListingFile});
    log_.clear();
    if (jobs.isEmpty()) {
        notices_.notify({PassNotice::Kind::NoFiles, QString(), QString()});
        return outcome;
    }
    if (!options.borderType || !options.shape) {
        notices_.notify({PassNotice::Kind::NoBorderChoice, QString(), QString()});
        return outcome;
    }
    if (!options.kind) {
        notices_.notify({PassNotice::Kind::NoKindChoice, QString(), QString()});
        return outcome;
    }

    if (control_.token())
        tools_.setCancelToken(control_.token());
    replaceEveryOutline_ = options.replaceOutline;
    mergeEveryOutline_ = false;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const CreateJob& job = jobs[i];
        lastFailure_.clear();
        path_ = job.path;
        const Turn turn = control_.startDocument(int(i + 1), int(jobs.size()), job.path)
                              ? runJob(job, options)
                              : stopped();
        if (turn == Turn::Cancelled) {
            outcome.cancelled = true;
            outcome.rowNotReached();
            return outcome;
        }
        if (turn == Turn::Failed || turn == Turn::Stop) {
            ++outcome.filesFailed;
            outcome.rowFailed(lastFailure_);
            return outcome; // the files before stay done; no end-of-run actions
        }
        if (turn == Turn::Skipped) {
            outcome.rowSkipped(lastFailure_);
            continue;
        }
        if (turn == Turn::DryRun || turn == Turn::Unchanged) {
            ++outcome.filesUnchanged;
            outcome.rowUnchanged();
            continue;
        }
        outcome.rowDone();
        ++outcome.filesChanged;
        if (!align(job, options, &outcome))
            return outcome;
    }
    outcome.ranToEnd = true;
    return outcome;
}

bool CreatePass::align(const CreateJob& job, const CreateOptions& options, CreateOutcome* outcome)
{
    // The word areas of the second index kind are never put into columns.
    if (!options.align || job.kind == WorkKind::Index2)
        return true;
    if (!control_.enter(PassProgress::Step::Aligning)) {
        stopped();
        outcome->cancelled = true;
        return false;
    }
    const QFileInfo file(job.path);
    FixRow fixRow{file.absolutePath() + QLatin1Char('/'), file.fileName()};
    // A backup made by this turn holds the document as the user had it; the alignment must
    // not replace it by a copy of what this turn just wrote.
    FixOptions fixOptions = options.fixOptions;
    if (options.backup)
        fixOptions.backup = false;
    // The alignment's lines follow the lines of the files before it.
    fixOptions.keepLog = true;
    FixPass fix(tools_, texts_, log_, notices_.sink());
    PassControl nested = control_;
    nested.setNested(true);
    fix.setControl(nested);
    const PassOutcome aligned = fix.run({fixRow}, fixOptions);
    outcome->alignmentRan = true;
    outcome->alignmentRanToEnd = aligned.ranToEnd;
    notices_.keep(aligned.notices);
    if (aligned.cancelled) {
        outcome->cancelled = true;
        return false;
    }
    return true;
}

CreatePass::Turn CreatePass::fail(const QString& reason)
{
    // A tool the user stopped fails as a matter of course; that is no error to show.
    if (control_.cancelled())
        return stopped();
    removeWorkFiles({kDumpFile, kScriptFile, kListingFile});
    log_.addLine(texts_.text("m9"));
    log_.addLine(reason);
    lastFailure_ = reason;
    notices_.notify({PassNotice::Kind::DocumentFailed, path_, reason});
    return Turn::Failed;
}

CreatePass::Turn CreatePass::stopped()
{
    removeWorkFiles({kDumpFile, kScriptFile, kListingFile});
    for (const QString& line : control_.stopLines(texts_))
        log_.addLine(line);
    return Turn::Cancelled;
}

CreatePass::Turn CreatePass::runJob(const CreateJob& job, const CreateOptions& options)
{
    if (!job.rowError.isEmpty())
        return fail(job.rowError);
    if (job.offsetAuto && job.reading != ContentsReading::Smart)
        return fail(EngineTexts::say("e_offset_smart_only").arg(job.path));
    bool inContentsLink = false;
    const AreaLook::Problem look = AreaLook::check(job, &inContentsLink);
    if (look != AreaLook::Problem::None)
        return fail(EngineTexts::say("e_left_look")
                        .arg(job.path,
                             inContentsLink ? EngineTexts::say("e_the_contents_link")
                                            : EngineTexts::say("e_the_links"),
                             AreaLook::sentence(look)));
    // Held from the first read to the rename. An interrupted change is settled first: it
    // may have left the book without its index.
    BookGuard guard(job.path, &tools_, &log_);
    QString error;
    if (!guard.open(&error))
        return fail(error);
    ContentsPlan contents;
    const Turn planned = plan(job, options, &contents);
    if (planned != Turn::Planned)
        return planned;
    return apply(contents, options, &guard);
}

CreatePass::Turn CreatePass::plan(const CreateJob& job, const CreateOptions& options,
                                  ContentsPlan* plan)
{
    const QString& path = job.path;
    QString error;
    if (!QFileInfo(path).isFile())
        return fail(DjvuFileCheck::notAFile(path));
    if (!DjvuFileCheck::isReadable(path, &error))
        return fail(error);
    plan->path = path;
    plan->offset = job.offset;
    plan->writesLinks = job.links;
    plan->writesOutline = job.outline && job.kind == WorkKind::Contents;
    plan->parts = job.parts;
    plan->entryComment = CharTable::escape(job.comment).toLatin1();
    plan->halve = job.halve;
    if (job.outline && !plan->writesOutline)
        plan->notes << EngineTexts::say("e_index_outline");
    // A document that keeps its outline is refused before anything else is made of it.
    if (plan->writesOutline && tools_.available(kDjvused)) {
        const Turn checked = checkOutline(job, options, plan);
        if (checked != Turn::Planned)
            return checked;
    }
    if (!tools_.available(kDjvused)) {
        lastFailure_ = texts_.text("mes2");
        notices_.notify({PassNotice::Kind::ToolMissing, path_, QString()});
        return Turn::Stop;
    }

    // Page listing: the page count, and which page each identifier names.
    PageListing listing;
    if (!control_.enter(PassProgress::Step::Listing))
        return stopped();
    if (!readListing(path, &listing, &error))
        return fail(error);
    plan->pageCount = listing.pageCount();
    plan->removeText = options.removeOcr;
    plan->shape = BorderExpression::shapeWord(job.shape);
    plan->border = BorderExpression::build(job.style);

    // A reversed range is a slip of the user's, not a range outside the book.
    const QList<ContentsRange> ranges = job.ranges();
    for (const ContentsRange& range : ranges) {
        if (range.firstPage > range.lastPage)
            return fail(
                EngineTexts::say("e_pages_reversed").arg(range.firstPage).arg(range.lastPage));
    }
    log_.addLine(texts_.text("m2"));
    QList<PageTexts> rangeTexts;
    if (!control_.enter(PassProgress::Step::ReadingText))
        return stopped();
    for (const ContentsRange& range : ranges) {
        rangeTexts << PageTexts();
        const int first = std::max(range.firstPage, 1);
        const int last = std::min(range.lastPage, listing.pageCount());
        if (!readText(path, first, last, &rangeTexts.last(), &error))
            return fail(error);
    }
    log_.append(QStringLiteral(" OK"));
    if (!recogniseContents(job, options, &rangeTexts, &error))
        return fail(error);
    log_.addLine(texts_.text("m8"));

    if (job.links && !placeContentsLink(job, listing, plan, &error))
        return fail(error);
    for (const ContentsRange& range : ranges) {
        if (std::max(range.firstPage, 1) > std::min(range.lastPage, listing.pageCount()))
            return fail(EngineTexts::say("e_pages_outside")
                            .arg(range.firstPage)
                            .arg(range.lastPage)
                            .arg(path, Plural::count("e_n_pages", listing.pageCount())));
    }
    if (!control_.enter(PassProgress::Step::Recognising))
        return stopped();
    if (!readRanges(job, options, listing, ranges, rangeTexts, plan, &error))
        return fail(error);
    if (entryReading_)
        entryReading_(*plan);
    if (planReview_ && !planReview_(*plan, &error))
        return fail(EngineTexts::say("e_left_as_is").arg(path, error));
    // Reviewed entries come back by page: each page is of the range that holds it.
    for (PlanPage& page : plan->pages) {
        for (qsizetype i = 0; i < plan->ranges.size(); ++i) {
            if (page.page >= plan->ranges[i].firstPage && page.page <= plan->ranges[i].lastPage)
                page.range = int(i);
        }
    }
    if (plan->writesOutline) {
        plan->outline = OutlineEntryWriter::outline(*plan);
        if (plan->mergesOutline) {
            QList<QByteArray> pageIds;
            for (const PageListing::Page& page : listing.pages())
                pageIds << page.identifier.toUtf8();
            plan->outline = OutlineMerge::merge(plan->existingOutline, plan->outline, pageIds);
        }
    }
    if (!recognised_.isEmpty())
        plan->notes << EngineTexts::say("e_ocr_pages_read")
                           .arg(PageRecognition::pageList(recognised_.keys()));
    for (const QString& note : std::as_const(plan->notes))
        log_.addLine(note);
    return Turn::Planned;
}

CreatePass::Turn CreatePass::apply(const ContentsPlan& plan, const CreateOptions& options,
                                   BookGuard* guard)
{
    const QString& path = plan.path;
    HyperlinkScript script;
    if (plan.writesLinks)
        ScriptEntryWriter::write(plan, script);
    else if (plan.removeText)
        script.removeText();
    const bool linksMade =
        plan.writesLinks && (plan.entryCount() > 0 || script.contentsLinkCount() > 0);
    const bool outlineMade = plan.writesOutline && !plan.outline.isEmpty();
    if (!linksMade && !outlineMade)
        return fail(plan.writesLinks ? EngineTexts::say("e_no_link").arg(path)
                                     : EngineTexts::say("e_no_outline_entry").arg(path));

    QString error;
    QByteArray text = script.text();
    if (outlineMade) {
        const QByteArray outline = OutlineEntryWriter::block(plan, &error);
        if (outline.isEmpty())
            return fail(EngineTexts::say("e_left_as_is").arg(path, error));
        text += outline;
    }
    // The recognised pages that had no text layer keep what was read (every recognised
    // page when recognition was asked for each), unless the text layer is removed.
    if (options.keepOcr && !plan.removeText) {
        for (auto it = recognised_.cbegin(); it != recognised_.cend(); ++it)
            if (hadNoLayer_.contains(it.key()) || options.ocr == PageRecognition::Mode::Always)
                text += "select " + QByteArray::number(it.key()) + "\nset-txt\n" +
                        PageLines::expression(it.value()) + ".\n";
    }
    if (!tools_.writeWorkFile(kScriptFile, text, &error))
        return fail(error);
    if (planSink_)
        planSink_(plan);
    if (scriptSink_)
        scriptSink_(path, text);
    if (options.dryRun) {
        removeWorkFiles({kDumpFile, kScriptFile});
        sayLinesLeft(plan);
        return Turn::DryRun;
    }

    log_.addLine(texts_.text("m5"));
    if (!control_.enter(PassProgress::Step::Saving))
        return stopped();
    bool changedNothing = false;
    if (!change(plan, options.backup ? options.keepBackups : -1, guard, &error, &changedNothing))
        return fail(error);
    removeWorkFiles({kDumpFile, kScriptFile});
    if (changedNothing) {
        log_.addLine(EngineTexts::say("e_left_unchanged").arg(path));
        return Turn::Unchanged;
    }

    log_.append(QStringLiteral(" OK"));
    log_.addLine(texts_.text("m6") + QLatin1Char(' ') + path + QLatin1Char(' ') +
                 texts_.text("m7"));
    sayLinesLeft(plan);
    return Turn::Changed;
}

void CreatePass::sayLinesLeft(const ContentsPlan& plan)
{
    const int left = plan.lines.countable() - plan.lines.linkedCount();
    if (left > 0)
        log_.addLine(EngineTexts::say("e_lines_left").arg(left).arg(plan.lines.summary()));
}

bool CreatePass::change(const ContentsPlan& plan, int backups, BookGuard* guard, QString* error,
                        bool* changedNothing)
{
    const QString& path = plan.path;
    // The tool rewrites a document in place; it works on a copy that replaces the
    // original only once it is complete.
    SafeChange change(path, &tools_, guard);
    change.setBackups(backups);
    if (!change.prepare(error))
        return false;
    const ToolRun saved = tools_.discard(
        kDjvused, {change.workingCopy(), QStringLiteral("-f"), kScriptFile, QStringLiteral("-s")});
    if (!saved.clean()) {
        *error = EngineTexts::say("e_could_not_change").arg(path, toolWords(saved));
        return false;
    }
    // The copy must hold the very outline planned before it replaces the document.
    if (plan.writesOutline && !plan.outline.isEmpty()) {
        Outline written;
        if (!readOutline(change.workingCopy(), &written, error))
            return false;
        if (written != plan.outline) {
            *error = EngineTexts::say("e_outline_readback").arg(path);
            return false;
        }
    }
    if (!control_.enter(PassProgress::Step::Replacing))
        return false; // the caller sees the stop; the working copy goes with `change`
    if (!change.commit(error)) {
        *error = EngineTexts::say("e_left_as_is").arg(path, *error);
        return false;
    }
    *changedNothing = change.changedNothing();
    return true;
}
