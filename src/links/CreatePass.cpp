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
#include "links/CheckPages.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "links/OutlineEntryWriter.h"
#include "links/PlanWriter.h"
#include "links/ScriptEntryWriter.h"
#include "links/SmartPlan.h"
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
    return EngineTexts::say("e_could_not_read").arg(path, toolWords(run));
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

CreateOutcome CreatePass::run(const QList<CreateJob>& jobs, const CreateOptions& options)
{
    CreateOutcome outcome;
    removeWorkFiles({kDumpFile, kListingFile});
    log_.clear();
    if (jobs.isEmpty()) {
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
    replaceEveryOutline_ = options.replaceOutline;
    mergeEveryOutline_ = false;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const CreateJob& job = jobs[i];
        lastFailure_.clear();
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
    if (!options.align || job.kind == CreateJob::Index2)
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
    FixPass fix(tools_, texts_, log_, messages_);
    PassControl nested = control_;
    nested.setNested(true);
    fix.setControl(nested);
    const PassOutcome aligned = fix.run({fixRow}, fixOptions);
    outcome->alignmentRan = true;
    outcome->alignmentRanToEnd = aligned.ranToEnd;
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

CreatePass::Turn CreatePass::runJob(const CreateJob& job, const CreateOptions& options)
{
    if (!job.rowError.isEmpty())
        return fail(job.rowError);
    if (job.offsetAuto && job.reading != CreateJob::Smart)
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

bool CreatePass::recognisePages(const QString& path, const CreateOptions& options,
                                const QList<int>& pages, const QMap<int, PageText>& layers,
                                QMap<int, PageText>* read, QString* error, bool keepGoing)
{
    if (pages.isEmpty())
        return true;
    PageRecognition::Settings settings;
    settings.languages = !ocrLanguagesUsed_.isEmpty()     ? ocrLanguagesUsed_
                         : options.ocrLanguages.isEmpty() ? QStringLiteral("eng")
                                                          : options.ocrLanguages;
    if (options.ocrFindLanguage && ocrLanguagesUsed_.isEmpty())
        settings.languageChoices = PageRecognizer::languageChoices(settings.languages);
    settings.keepGoing = keepGoing;
    // The reading's own pages (not the pages it checks) are worth a second look.
    settings.oneBlockToo = !keepGoing;
    settings.jobs = options.ocrJobs;
    settings.cancel = control_.token();
    int done = 0;
    settings.onPage = [&](int page, int words, double seconds) {
        log_.addLine(
            QStringLiteral("[%1/%2] ").arg(++done).arg(pages.size()) +
            EngineTexts::say("e_ocr_page_done").arg(page).arg(words).arg(seconds, 0, 'f', 1));
    };
    const PageRecognition::Outcome out = PageRecognition::recognise(tools_, path, pages, settings);
    if (!out.ok()) {
        *error = out.error + QLatin1Char(' ') + EngineTexts::say("e_not_changed");
        return false;
    }
    if (settings.languageChoices.size() > 1)
        log_.addLine(
            EngineTexts::say("e_ocr_language_chosen").arg(out.languages).arg(pages.first()));
    ocrLanguagesUsed_ = out.languages;
    for (auto it = out.failed.cbegin(); it != out.failed.cend(); ++it)
        log_.addLine(EngineTexts::say("e_ocr_check_page_failed").arg(it.key()).arg(it.value()));
    for (auto it = out.pages.cbegin(); it != out.pages.cend(); ++it) {
        read->insert(it.key(), it.value());
        recognised_.insert(it.key(), it.value());
        if (!layers.value(it.key()).hasLayer)
            hadNoLayer_.insert(it.key());
    }
    return true;
}

bool CreatePass::recognise(const CreateJob& job, const CreateOptions& options,
                           const PageListing& listing, const PageTexts& texts, int first, int last,
                           ContentsPlan* plan, QString* error)
{
    if (job.reading == CreateJob::Smart)
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

bool CreatePass::recogniseSmart(const CreateJob& job, const CreateOptions& options,
                                const PageListing& listing, const PageTexts& texts,
                                ContentsPlan* plan, QString* error)
{
    SmartReading::Settings settings;
    settings.check = options.smartCheck;
    settings.romanOffset = options.romanOffset;
    QMap<int, PageText> read;
    int pagesRead = 0;
    for (const PageTexts::Page& page : texts.pages) {
        if (!control_.page(++pagesRead, int(texts.pages.size())))
            return false; // the caller sees the stop
        settings.contentsPages << page.number;
        PageText text;
        if (!page.hasText) {
            read.insert(page.number, text); // the reading names the page without text
            continue;
        }
        QString why;
        if (!PageText::parse(page.text, &text, &why)) {
            *error = EngineTexts::say("e_page_text").arg(job.path).arg(page.number).arg(why);
            return false;
        }
        read.insert(page.number, text);
    }
    // The contents pages without text are recognised before (see plan()); the pages near
    // each target the offset gives, for the check of the targets, are recognised with the
    // rest of the book, or every page when the whole book is asked for.
    const PageRecognition::Mode mode = options.ocrMode(true);
    QSet<int> targetPages;
    if (mode != PageRecognition::Mode::Never) {
        if (options.ocrBook) {
            for (int p = 1; p <= listing.pageCount(); ++p)
                targetPages.insert(p);
        } else if (!job.offsetAuto && job.kind == CreateJob::Contents &&
                   options.smartCheck != SmartCheck::Mode::Off) {
            targetPages = CheckPages::forTargets(read, job.offset, job.halve, listing.pageCount());
        }
    }
    for (auto it = read.cbegin(); it != read.cend(); ++it)
        targetPages.remove(it.key());
    bool recognitionFailed = false;
    // Finding the offset or a lost number's page reads the rest of the book, in one run.
    ToolRun failedRun;
    QString dumpError;
    LazyPageTexts book(listing.pageCount(), read, [&](QMap<int, PageText>* all) {
        // Each page is read while djvused goes on printing the next ones.
        PageTextDumpReader reader(
            [all](int number, PageText&& page) { all->insert(number, std::move(page)); });
        const ToolRun dumped =
            tools_.stream(kDjvused, {job.path, QStringLiteral("-e"), QStringLiteral("output-txt")},
                          [&](QByteArrayView piece) { reader.feed(piece); });
        if (!dumped.succeeded()) {
            failedRun = dumped;
            return false;
        }
        if (!reader.finish()) {
            dumpError = reader.error();
            return false;
        }
        // The pages the check of the targets reads, recognised where they need it.
        QList<int> needed;
        for (const int p : std::as_const(targetPages))
            if (!read.contains(p) && PageRecognition::wanted(mode, all->value(p)))
                needed << p;
        if (!recognisePages(job.path, options, needed, *all, all, &dumpError, true)) {
            recognitionFailed = true;
            return false;
        }
        return true;
    });
    if (!job.offsetAuto)
        settings.offset = job.offset;
    settings.halve = job.halve;
    SmartReading::Result result;
    if (job.kind == CreateJob::Contents) {
        result = SmartReading::read(book, settings);
    } else {
        SmartIndexReading::Settings index;
        index.indexPages = settings.contentsPages;
        index.kind = job.kind;
        index.offset = settings.offset;
        index.halve = job.halve;
        result = SmartIndexReading::read(book, index);
    }
    if (book.failed()) {
        if (recognitionFailed) {
            *error = dumpError;
            return false;
        }
        *error = dumpError.isEmpty() ? toolFailure(job.path, failedRun)
                                     : EngineTexts::say("e_left_as_is").arg(job.path, dumpError);
        return false;
    }
    if (!result.ok()) {
        *error = EngineTexts::say("e_left_as_is").arg(job.path, result.error);
        return false;
    }
    plan->pages = SmartPlan::pagesOf(result, CharTable::escape(job.comment).toLatin1());
    plan->offset = result.offset;
    plan->notes << EngineTexts::say("e_smart_note")
                       .arg(plan->entryCount())
                       .arg(result.entries.size())
                       .arg(result.offset);
    plan->notes << result.notes;
    plan->lines = result.account;
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
    plan->writesOutline = job.outline && job.kind == CreateJob::Contents;
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
        messages_.showMessage(lastFailure_, QString());
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
    recognised_.clear();
    hadNoLayer_.clear();
    ocrLanguagesUsed_.clear();
    const PageRecognition::Mode mode = options.ocrMode(job.reading == CreateJob::Smart);
    if (mode != PageRecognition::Mode::Never) {
        // The contents pages without text (or with plainly poor text) are recognised first.
        QList<int> pages;
        QMap<int, PageText> layers;
        for (const PageTexts& texts : std::as_const(rangeTexts)) {
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
        if (!recognisePages(path, options, pages, layers, &read, &error))
            return fail(error);
        for (PageTexts& texts : rangeTexts) {
            for (PageTexts::Page& page : texts.pages) {
                if (!read.contains(page.number))
                    continue;
                page.text = PageLines::expression(read[page.number]);
                page.hasText = true;
            }
        }
    }
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
                       std::min(range.lastPage, listing.pageCount()), &read, &error))
            return fail(error);
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
            !nameRange(path, rangeTexts[i], read, ranges.size() > 1, &plan->ranges.last(), &error))
            return fail(error);
    }
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
