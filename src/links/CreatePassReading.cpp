#include "links/CreatePass.h"

#include "base/CharTable.h"
#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "base/Sinks.h"
#include "djvu/PageAnnotations.h"
#include "djvu/PageListing.h"
#include "djvu/PageTexts.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsWalk.h"
#include "links/PlanWriter.h"
#include "links/ToolWords.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineParts.h"
#include "outline/OutlineScript.h"
#include "reading/PageLines.h"

#include <QFile>

// The reading steps of a Create job: the page listing, the text of the contents pages, the
// annotations kept beside the contents link, the classic reading of the entries, and the
// outline a document has.

bool CreatePass::readListing(const QString& path, PageListing* listing, QString* error)
{
    const ToolRun listed =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), QStringLiteral("ls")});
    if (!listed.succeeded()) {
        *error = toolFailure(path, listed);
        return false;
    }
    // The page count checks the listing: a page title may hold a line break.
    const ToolRun counted =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), QStringLiteral("n")});
    if (!counted.succeeded()) {
        *error = toolFailure(path, counted);
        return false;
    }
    bool number = false;
    const int pages = counted.standardOutput.trimmed().toInt(&number);
    QString listingError;
    *listing = PageListing::parse(listed.standardOutput, &listingError, pages);
    if (!number)
        listingError = EngineTexts::say("e_listing_line")
                           .arg(QString::fromUtf8(counted.standardOutput.left(120)));
    if (!listingError.isEmpty()) {
        *error = EngineTexts::say("e_left_as_is").arg(path, listingError);
        return false;
    }
    return true;
}

bool CreatePass::readText(const QString& path, int first, int last, PageTexts* texts,
                          QString* error)
{
    QList<int> pages;
    for (int page = first; page <= last; ++page)
        pages << page;
    if (pages.isEmpty())
        return true;
    const ToolRun printed =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), PageTexts::commands(pages)});
    if (!printed.succeeded()) {
        *error = toolFailure(path, printed);
        return false;
    }
    // Only text that reads whole, every page's expression closed, is walked.
    *texts = PageTexts::parse(printed.standardOutput, pages);
    if (!texts->ok()) {
        *error = EngineTexts::say("e_left_as_is").arg(path, texts->error);
        return false;
    }
    return true;
}

bool CreatePass::placeContentsLink(const CreateJob& job, const PageListing& listing,
                                   ContentsPlan* plan, QString* error)
{
    // The pages that get the contents link keep what they have beside it.
    PageAnnotations current;
    if (ContentsLinkBlocks::wanted(job)) {
        if (!control_.enter(PassProgress::Step::ReadingAnnotations))
            return false; // the caller sees the stop
        const ToolRun annotations = tools_.capture(
            kDjvused, {job.path, QStringLiteral("-e"), QStringLiteral("output-ant")}, kListingFile);
        if (!annotations.clean()) {
            *error = toolFailure(job.path, annotations);
            return false;
        }
        QFile file(tools_.workPath(kListingFile));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = EngineTexts::say("e_no_annotations").arg(file.errorString());
            return false;
        }
        if (!PageAnnotations::parse(file.readAll(), listing, &current, error))
            return false;
    }
    if (!ContentsLinkBlocks::place(job, listing.pageCount(), &plan->contentsLinks, error, &current))
        return false;
    removeWorkFiles({kListingFile});
    return true;
}

namespace {

// The page's text in the order of its lines on the page: as it is where the OCR's order
// already follows them, rewritten where it does not (numbers in a block of their own,
// words of two columns mixed).
QByteArray classicText(const QByteArray& expression)
{
    PageText text;
    QString why;
    if (!PageText::parse(expression, &text, &why))
        return expression; // the walk reports what does not read
    const PageLines::Arrangement arranged = PageLines::arrange(text);
    return arranged.reordered ? PageLines::expression(arranged.page) : expression;
}

} // namespace

bool CreatePass::recognise(const CreateJob& job, const CreateOptions& options,
                           const PageListing& listing, const PageTexts& texts, int first, int last,
                           ContentsPlan* plan, QString* error)
{
    if (job.reading == ContentsReading::Smart)
        return recogniseSmart(job, options, listing, texts, plan, error);
    EntryRecognition::Settings settings;
    settings.kind = job.kind;
    settings.offset = job.offset;
    settings.halve = job.halve;
    settings.comment = CharTable::escape(job.comment).toLatin1();
    settings.checkPageCount = options.checkPageCount;
    settings.pageCount = listing.pageCount();
    PlanWriter writer(*plan);
    ContentsWalk walk(listing, first, last, settings, writer);
    int pagesWalked = 0;
    for (const PageTexts::Page& page : texts.pages) {
        if (!control_.page(++pagesWalked, int(texts.pages.size())))
            return false; // the caller sees the stop
        if (!page.hasText)
            continue; // as a whole-book dump leaves it out
        if (!walk.beginPage(page.number)) {
            *error = walk.error();
            return false;
        }
        QList<QByteArray> lines = classicText(page.text).split('\n');
        lines.removeLast(); // after the final line feed
        for (QByteArray line : std::as_const(lines)) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (!walk.feed(line)) {
                *error = walk.error();
                return false;
            }
        }
    }
    if (!walk.finish()) {
        *error = walk.error();
        return false;
    }
    for (const ContentsWalk::PageReport& report : walk.pageReports())
        plan->notes << ContentsWalk::describe(report, listing.pageCount());
    return true;
}

bool CreatePass::nameRange(const QString& path, const PageTexts& texts, const ContentsPlan& read,
                           bool severalRanges, PlanRange* range, QString* error)
{
    for (const PageTexts::Page& page : texts.pages) {
        PageText text;
        if (page.hasText && PageText::parse(page.text, &text, error)) {
            range->partLine = OutlineParts::partLine(text);
            break;
        }
    }
    error->clear();
    // A lone range is a part only by a line it prints; one of several is one anyway, named
    // else by the title at the top of the page its first entry leads to.
    if (!range->partLine.isEmpty() || !severalRanges)
        return true;
    int target = 0;
    for (const PlanPage& page : read.pages) {
        for (const PlanEntry& entry : page.entries) {
            if (!target && entry.targetPage > range->lastPage)
                target = int(entry.targetPage);
        }
    }
    if (target == 0)
        return true;
    PageTexts targetText;
    if (!readText(path, target, target, &targetText, error))
        return false;
    PageText text;
    if (!targetText.pages.isEmpty() && targetText.pages.first().hasText &&
        PageText::parse(targetText.pages.first().text, &text, error))
        range->pageTitle = OutlineParts::pageTitle(text);
    error->clear();
    return true;
}

bool CreatePass::recogniseContents(const CreateJob& job, const CreateOptions& options,
                                   QList<PageTexts>* rangeTexts, QString* error)
{
    recognised_.clear();
    hadNoLayer_.clear();
    ocrLanguagesUsed_.clear();
    const PageRecognition::Mode mode = options.ocrMode(job);
    if (mode != PageRecognition::Mode::Never) {
        // The contents pages without text (or with plainly poor text) are recognised first.
        QList<int> pages;
        QMap<int, PageText> layers;
        for (const PageTexts& texts : std::as_const(*rangeTexts)) {
            for (const PageTexts::Page& page : texts.pages) {
                PageText text;
                QString why;
                if (page.hasText && !PageText::parse(page.text, &text, &why))
                    continue; // the reading reports what does not read
                layers.insert(page.number, text);
                if (PageRecognition::wanted(mode, text))
                    pages << page.number;
            }
        }
        QMap<int, PageText> read;
        if (!recognisePages(job.path, options, pages, layers, &read, error))
            return false;
        for (PageTexts& texts : *rangeTexts) {
            for (PageTexts::Page& page : texts.pages) {
                if (!read.contains(page.number))
                    continue;
                page.text = PageLines::expression(read[page.number]);
                page.hasText = true;
            }
        }
    }
    return true;
}

bool CreatePass::readRanges(const CreateJob& job, const CreateOptions& options,
                            const PageListing& listing, const QList<ContentsRange>& ranges,
                            const QList<PageTexts>& rangeTexts, ContentsPlan* plan, QString* error)
{
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        const ContentsRange& range = ranges[i];
        CreateJob rangeJob = job;
        rangeJob.firstPage = range.firstPage;
        rangeJob.lastPage = range.lastPage;
        rangeJob.offset = range.offset;
        rangeJob.offsetAuto = range.offsetAuto;
        ContentsPlan read;
        read.offset = range.offset;
        if (!recognise(rangeJob, options, listing, rangeTexts[i], std::max(range.firstPage, 1),
                       std::min(range.lastPage, listing.pageCount()), &read, error))
            return false;
        for (PlanPage& page : read.pages) {
            page.range = int(i);
            plan->pages << page;
        }
        if (i == 0)
            plan->offset = read.offset;
        plan->notes << read.notes;
        plan->lines.lines << read.lines.lines; // every range's lines, not the last one's only
        plan->ranges << PlanRange{range.firstPage, range.lastPage, {}, {}};
        if (plan->writesOutline && job.parts &&
            !nameRange(job.path, rangeTexts[i], read, ranges.size() > 1, &plan->ranges.last(),
                       error))
            return false;
    }
    return true;
}

bool CreatePass::readOutline(const QString& path, Outline* outline, QString* error)
{
    const ToolRun printed =
        tools_.capture(kDjvused, {path, QStringLiteral("-e"), QStringLiteral("print-outline")});
    if (!printed.clean()) {
        *error = toolFailure(path, printed);
        return false;
    }
    QString parseError;
    *outline = OutlineScript::parse(printed.standardOutput, &parseError);
    if (!parseError.isEmpty()) {
        *error = EngineTexts::say("e_outline_unreadable").arg(path, parseError);
        return false;
    }
    return true;
}

CreatePass::Turn CreatePass::checkOutline(const CreateJob& job, const CreateOptions& options,
                                          ContentsPlan* plan)
{
    Outline current;
    QString error;
    if (!readOutline(job.path, &current, &error))
        return fail(error);
    plan->existingBookmarks = current.count();
    if (current.isEmpty() || replaceEveryOutline_)
        return Turn::Planned;
    if (options.mergeOutline || mergeEveryOutline_) {
        plan->mergesOutline = true;
        plan->existingOutline = current;
        return Turn::Planned;
    }
    const QString refusal = DocumentOutline::existingOutlineMessage(job.path, current.count());
    // The command line is not asked; a dry run only says what a real one would meet.
    if (!outlineQuestion_ || options.dryRun)
        return fail(refusal);
    switch (outlineQuestion_(job.path, current.count())) {
    case OutlineAnswer::YesToAll:
        replaceEveryOutline_ = true;
        return Turn::Planned;
    case OutlineAnswer::Yes:
        return Turn::Planned;
    case OutlineAnswer::MergeToAll:
        mergeEveryOutline_ = true;
        [[fallthrough]];
    case OutlineAnswer::Merge:
        plan->mergesOutline = true;
        plan->existingOutline = current;
        return Turn::Planned;
    case OutlineAnswer::No:
        break;
    }
    log_.addLine(refusal);
    lastFailure_ = EngineTexts::say("e_outline_declined")
                       .arg(job.path, Plural::count("e_n_bookmarks", current.count()));
    log_.addLine(lastFailure_);
    return Turn::Skipped;
}
