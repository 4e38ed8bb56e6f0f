#include "links/CreatePass.h"

#include "base/CharTable.h"
#include "base/EngineTexts.h"
#include "base/Sinks.h"
#include "djvu/PageListing.h"
#include "djvu/PageTexts.h"
#include "links/CheckPages.h"
#include "links/SmartPlan.h"
#include "links/ToolWords.h"
#include "ocr/PageRecognizer.h"
#include "reading/LazyPageTexts.h"
#include "reading/SmartIndexReading.h"
#include "reading/SmartReading.h"

// The smart reading of a Create job, and the recognition of the pages it needs.

bool CreatePass::recognisePages(const QString& path, const CreateOptions& options,
                                const QList<int>& pages, const QMap<int, PageText>& layers,
                                QMap<int, PageText>* read, QString* error, Recognised use)
{
    if (pages.isEmpty())
        return true;
    PageRecognition::Settings settings;
    settings.languages = !ocrLanguagesUsed_.isEmpty()     ? ocrLanguagesUsed_
                         : options.ocrLanguages.isEmpty() ? QStringLiteral("eng")
                                                          : options.ocrLanguages;
    if (options.ocrFindLanguage && ocrLanguagesUsed_.isEmpty())
        settings.languageChoices = PageRecognizer::languageChoices(settings.languages);
    settings.keepGoing = use != Recognised::Read;
    // The reading's own pages (not the pages it checks) are worth a second look.
    settings.oneBlockToo = use == Recognised::Read;
    settings.marginsOnly = use == Recognised::Margins;
    settings.jobs = options.ocrJobs;
    settings.cancel = control_.token();
    int done = 0;
    const QString told = use == Recognised::Margins ? EngineTexts::say("e_ocr_margins_done")
                                                    : EngineTexts::say("e_ocr_page_done");
    settings.onPage = [&](int page, int words, double seconds) {
        log_.addLine(QStringLiteral("[%1/%2] ").arg(++done).arg(pages.size()) +
                     told.arg(page).arg(words).arg(seconds, 0, 'f', 1));
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
        if (use == Recognised::Margins)
            continue;
        recognised_.insert(it.key(), it.value());
        if (!layers.value(it.key()).hasLayer)
            hadNoLayer_.insert(it.key());
    }
    return true;
}

QList<int> CreatePass::recogniseMore(const CreateJob& job, const CreateOptions& options,
                                     PageRecognition::Mode mode,
                                     const QMap<int, PageText>& contents, const QSet<int>& targets,
                                     QMap<int, PageText>* pages, QString* error)
{
    QList<int> needed;
    for (auto it = pages->cbegin(); it != pages->cend(); ++it)
        if (!contents.contains(it.key()) && !targets.contains(it.key()) &&
            PageRecognition::wanted(mode, it.value()))
            needed << it.key();
    QMap<int, PageText> got;
    if (!error->isEmpty() ||
        !recognisePages(job.path, options, needed, *pages, &got, error, Recognised::Checked))
        return {};
    for (auto it = got.cbegin(); it != got.cend(); ++it)
        pages->insert(it.key(), it.value());
    return got.keys();
}

bool CreatePass::recogniseMargins(const CreateJob& job, const CreateOptions& options,
                                  PageRecognition::Mode mode, const QMap<int, PageText>& contents,
                                  int pageCount, QMap<int, PageText>* pages, QString* error)
{
    // A few pages without text, blank or plates, tell nothing: only a book mostly without
    // text has them read.
    if (mode == PageRecognition::Mode::Never || options.ocrBook)
        return true;
    QList<int> withoutText;
    for (int p = 1; p <= pageCount; ++p)
        if (!contents.contains(p) && PageRecognition::wanted(mode, pages->value(p)))
            withoutText << p;
    if (2 * withoutText.size() <= pageCount - contents.size())
        return true;
    const QList<int> margins = CheckPages::forPageNumbers(withoutText);
    log_.addLine(EngineTexts::say("e_ocr_margins_for_offset").arg(margins.size()));
    return recognisePages(job.path, options, margins, *pages, pages, error, Recognised::Margins);
}

namespace {

// The contents pages without text are recognised before (see plan()); the pages near each
// target the offset gives, for the check of the targets, are recognised with the rest of
// the book, or every page when the whole book is asked for.
QSet<int> pagesToRecognise(const CreateJob& job, const CreateOptions& options,
                           PageRecognition::Mode mode, const QMap<int, PageText>& contents,
                           int pageCount)
{
    QSet<int> pages;
    if (mode == PageRecognition::Mode::Never)
        return pages;
    if (options.ocrBook) {
        for (int p = 1; p <= pageCount; ++p)
            pages.insert(p);
    } else if (!job.offsetAuto && job.kind == WorkKind::Contents &&
               options.smartCheck != SmartCheck::Mode::Off) {
        pages = CheckPages::forTargets(contents, job.offset, job.halve, pageCount);
    }
    for (auto it = contents.cbegin(); it != contents.cend(); ++it)
        pages.remove(it.key());
    return pages;
}

} // namespace

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
    const PageRecognition::Mode mode = options.ocrMode(job);
    const QSet<int> targetPages = pagesToRecognise(job, options, mode, read, listing.pageCount());
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
        if (!recognisePages(job.path, options, needed, *all, all, &dumpError,
                            Recognised::Checked)) {
            recognitionFailed = true;
            return false;
        }
        if (job.offsetAuto &&
            !recogniseMargins(job, options, mode, read, listing.pageCount(), all, &dumpError)) {
            recognitionFailed = true;
            return false;
        }
        return true;
    });
    // Where a heading is not on its target, the check looks at the pages around it: those
    // are recognised then, as few as the drift of the offset needs.
    QString completeError;
    if ((!targetPages.isEmpty() || job.offsetAuto) && mode != PageRecognition::Mode::Never &&
        !options.ocrBook)
        book.setComplete([&](QMap<int, PageText>* pages) {
            return recogniseMore(job, options, mode, read, targetPages, pages, &completeError);
        });
    if (!job.offsetAuto)
        settings.offset = job.offset;
    settings.halve = job.halve;
    SmartReading::Result result;
    if (job.kind == WorkKind::Contents) {
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
    if (!completeError.isEmpty()) {
        *error = completeError;
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
