#include "reading/SmartReading.h"
#include "base/EngineTexts.h"

#include "base/Plural.h"
#include "reading/BookPages.h"
#include "reading/ContentsPage.h"
#include "reading/EntryLevels.h"
#include "reading/OffsetFinder.h"
#include "reading/OffsetStretches.h"

#include <QMap>
#include <QSet>

#include <functional>

namespace {

QString quoted(const SmartEntry& e)
{
    return SmartCheck::describe(e);
}

// The arabic numbers of the entries before and after entry i, where there are any.
void neighbours(const QList<SmartEntry>& entries, qsizetype i, qint64* before, qint64* after)
{
    *before = -1;
    *after = -1;
    for (qsizetype k = i - 1; k >= 0 && *before < 0; --k)
        if (entries[k].number.kind == PrintedNumber::Arabic && !entries[k].number.tooLong)
            *before = entries[k].number.value;
    for (qsizetype k = i + 1; k < entries.size() && *after < 0; ++k)
        if (entries[k].number.kind == PrintedNumber::Arabic && !entries[k].number.tooLong)
            *after = entries[k].number.value;
}

// "6.5 G46" between entries on pages 5 and 6: the title is "6.5 G4" and its page 6.
// Digits at the end of a title are its page number only where that number falls between
// the numbers of the entries around it; otherwise they belong to the title.
void readGluedNumbers(QList<SmartEntry>* entries, int pageCount)
{
    for (qsizetype i = 0; i < entries->size(); ++i) {
        SmartEntry& e = (*entries)[i];
        if (e.found != SmartEntry::Found::Lost || e.trailingDigits.isEmpty() || e.words.isEmpty())
            continue;
        qint64 before = 0, after = 0;
        neighbours(*entries, i, &before, &after);
        if (before < 0 && after < 0)
            continue;
        for (qsizetype length = e.trailingDigits.size(); length >= 1; --length) {
            const QString digits = e.trailingDigits.right(length);
            const qint64 v = digits.toLongLong();
            const bool fits = v >= 1 && v <= pageCount && (before < 0 || v >= before) &&
                              (after < 0 || v <= after);
            if (!fits)
                continue;
            QString& last = e.words.last();
            last.chop(length);
            if (last.isEmpty())
                e.words.removeLast();
            e.title.chop(length);
            e.title = e.title.trimmed();
            e.number = {PrintedNumber::Arabic, v, false};
            e.printed = digits;
            e.found = SmartEntry::Found::Glued;
            break;
        }
    }
}

// A number read through look-alike letters or stray marks ("l3", "8?", "vil") stands only
// where it fits between the numbers of the entries around it; otherwise it is unreadable
// and the entry gets no link, its line reported.
void checkMisreadNumbers(QList<SmartEntry>* entries, int pageCount, QStringList* notes)
{
    for (qsizetype i = 0; i < entries->size(); ++i) {
        SmartEntry& e = (*entries)[i];
        if (e.misreadAs.isEmpty() || e.number.kind == PrintedNumber::None)
            continue;
        bool fits = false;
        if (e.number.kind == PrintedNumber::Arabic) {
            qint64 before = 0, after = 0;
            neighbours(*entries, i, &before, &after);
            fits = e.number.value >= 1 && e.number.value <= pageCount &&
                   (before < 0 || e.number.value >= before) &&
                   (after < 0 || e.number.value <= after) && (before >= 0 || after >= 0);
        } else {
            // Roman front matter: rising, and before the first arabic number.
            fits = true;
            for (qsizetype k = 0; k < i; ++k) {
                const PrintedNumber& n = (*entries)[k].number;
                if (n.kind == PrintedNumber::Arabic ||
                    (n.kind == PrintedNumber::Roman && n.value > e.number.value))
                    fits = false;
            }
        }
        if (fits) {
            notes->append(
                EngineTexts::say("e_smart_number_misread").arg(quoted(e), e.misreadAs, e.printed));
            continue;
        }
        notes->append(EngineTexts::say("e_smart_number_unreadable").arg(quoted(e), e.misreadAs));
        e.number = {};
        e.printed.clear();
        e.found = SmartEntry::Found::Lost;
    }
}

// A heading whose line prints no page number (a part or chapter title over its sections)
// begins where its first section does: it takes the page of the entry after it, when that
// entry is one level deeper.
void inferHeadingPages(QList<SmartEntry>* entries, QStringList* notes)
{
    for (qsizetype i = 0; i + 1 < entries->size(); ++i) {
        SmartEntry& e = (*entries)[i];
        const SmartEntry& next = (*entries)[i + 1];
        if (e.found != SmartEntry::Found::Lost || !e.misreadAs.isEmpty() || next.target <= 0 ||
            next.level <= e.level)
            continue;
        e.target = next.target;
        e.found = SmartEntry::Found::Inferred;
        notes->append(EngineTexts::say("e_smart_inferred").arg(quoted(e)).arg(e.target));
    }
}

// What became of each line: whether its entry got a link, and why not.
void account(SmartReading::Result* result)
{
    for (LineAccount::Line& line : result->account.lines) {
        if (line.role != LineAccount::Role::Entry || line.entry < 0 ||
            line.entry >= result->entries.size())
            continue;
        const SmartEntry& e = result->entries[line.entry];
        line.linked = e.target > 0;
        line.inferred = e.found == SmartEntry::Found::Inferred;
        if (!line.linked)
            line.reason = e.withheld              ? LineAccount::Reason::TargetUnconfirmed
                          : e.misreadAs.isEmpty() ? LineAccount::Reason::TitleNotFound
                                                  : LineAccount::Reason::NumberUnreadable;
    }
    result->notes << result->account.summary();
    for (const LineAccount::Line& line : result->account.unlinked())
        result->notes << LineAccount::describe(line);
}

// The page that prints roman numeral n in its margin, among the pages before the body; with
// the links checked, the page the book's page-number map gives it.
int romanPage(BookPages& book, qint64 n, int lastFrontPage, bool checking)
{
    if (checking) {
        const PageNumberMap& map = book.numbers();
        if (const int page = map.pageOf(PrintedNumber::Roman, n); page > 0)
            return page;
        const PageNumberMap::Stretch* near =
            PageNumberMap::nearest(map.stretches(), PrintedNumber::Roman, n);
        if (near && n + near->offset >= 1 && n + near->offset <= lastFrontPage)
            return int(n + near->offset);
    }
    for (int p = 1; p <= std::min(lastFrontPage, book.pageCount()); ++p) {
        const PrintedNumber f = book.folio(p);
        if (f.kind == PrintedNumber::Roman && f.value == n)
            return p;
    }
    return 0;
}

// At least one entry's heading stands where the map of printed page numbers leads it.
bool mapConfirmed(const QList<SmartEntry>& entries, BookPages& book, const QSet<int>& contents,
                  const OffsetStretches& stretches)
{
    // In a book without text, the first few entries' pages are recognised for it.
    constexpr qsizetype kRecognised = 3;
    QList<int> first;
    for (const SmartEntry& e : entries)
        if (e.number.kind == PrintedNumber::Arabic && !e.number.tooLong &&
            first.size() < kRecognised)
            first << int(e.number.value + stretches.offsetAt(e.number.value));
    book.complete(first);
    for (const SmartEntry& e : entries) {
        if (e.number.kind != PrintedNumber::Arabic || e.number.tooLong)
            continue;
        const int page = int(e.number.value + stretches.offsetAt(e.number.value));
        if (!book.pagesWithHeading(SmartCheck::comparableTitle(e), page, page, contents).isEmpty())
            return true;
    }
    return false;
}

} // namespace

int SmartReading::target(qint64 printed, int offset, bool halve)
{
    return int((halve ? printed / 2 : printed) + offset);
}

namespace {

using Result = SmartReading::Result;
using Settings = SmartReading::Settings;

// The entries of the contents pages, in order, with their numbers read and their levels.
bool readEntries(BookPages& book, const Settings& settings, Result* out)
{
    Result& result = *out;
    const int pageCount = book.pageCount();
    for (const int p : settings.contentsPages) {
        const PageText& text = book.text(p);
        if (!text.hasLayer || text.lines.isEmpty()) {
            result.error = EngineTexts::say("e_smart_no_text").arg(p);
            return false;
        }
        const ContentsPage::Reading reading = ContentsPage::read(text, p);
        if (reading.onlyNumbers) {
            result.error = EngineTexts::say("e_smart_only_numbers").arg(p);
            return false;
        }
        if (reading.entries.isEmpty()) {
            result.error = EngineTexts::say("e_smart_no_entries").arg(p);
            return false;
        }
        for (LineAccount::Line line : reading.lines) {
            if (line.entry >= 0)
                line.entry += int(result.entries.size());
            result.account.lines << line;
        }
        result.entries << reading.entries;
    }

    for (const SmartEntry& e : std::as_const(result.entries)) {
        if (e.number.tooLong) {
            result.error = EngineTexts::say("e_smart_too_long")
                               .arg(e.printed.left(20) +
                                    (e.printed.size() > 20 ? QStringLiteral("...") : QString()))
                               .arg(quoted(e));
            return false;
        }
    }
    readGluedNumbers(&result.entries, pageCount);
    checkMisreadNumbers(&result.entries, pageCount, &result.notes);
    for (const SmartEntry& e : std::as_const(result.entries))
        if (e.found == SmartEntry::Found::Glued)
            result.notes << EngineTexts::say("e_smart_number_glued").arg(quoted(e)).arg(e.printed);
    EntryLevels::assign(&result.entries);

    return true;
}

// The offset: given, or carried by the printed page numbers, or found from the headings.
// The stretches carry it through a book whose offset drifts.
bool chooseOffset(BookPages& book, const Settings& settings, const QSet<int>& contents,
                  qint64 firstPrinted, OffsetStretches* carried, Result* out)
{
    Result& result = *out;
    OffsetStretches& stretches = *carried;
    const bool checking = settings.check != SmartCheck::Mode::Off;
    if (checking && !settings.halve)
        stretches = OffsetStretches::fromMap(
            book, *std::max_element(settings.contentsPages.begin(), settings.contentsPages.end()));
    if (settings.offset) {
        result.offset = *settings.offset;
        if (!stretches.isEmpty())
            result.notes << EngineTexts::say("e_offset_stretches").arg(stretches.describe());
    } else if (!stretches.isEmpty() && mapConfirmed(result.entries, book, contents, stretches)) {
        result.offset = stretches.offsetAt(firstPrinted);
        result.notes
            << EngineTexts::say("e_offset_by_map").arg(result.offset).arg(stretches.describe());
    } else {
        const OffsetFinder::Outcome found =
            OffsetFinder::find(result.entries, book, contents, settings.halve, checking);
        const OffsetStretches runs =
            checking && !settings.halve
                ? OffsetStretches::fromHeadings(result.entries, book, contents)
                : OffsetStretches();
        if (!runs.isEmpty()) {
            // The first stretch's offset; the later ones carry the targets through the book.
            result.offset = runs.offsetAt(firstPrinted);
            if (found.found && found.offset == result.offset)
                result.notes << found.note
                             << EngineTexts::say("e_offset_stretches").arg(runs.describe());
            else
                result.notes
                    << EngineTexts::say("e_offset_by_runs").arg(result.offset).arg(runs.describe());
            stretches = runs;
        } else if (found.found) {
            result.offset = found.offset;
            result.notes << found.note;
            if (!stretches.isEmpty() && result.offset != stretches.offsetAt(firstPrinted))
                stretches = {}; // the map does not hold for this contents
        } else if (!stretches.isEmpty()) {
            result.offset = stretches.offsetAt(firstPrinted);
            result.notes
                << EngineTexts::say("e_offset_by_map").arg(result.offset).arg(stretches.describe());
        } else {
            result.error = found.error;
            return false;
        }
    }
    return true;
}

// How many pages after the entry before an entry led outside the book is looked for in a
// book without text.
constexpr int kBetween = 12;

// The target page of every numbered entry; an entry led outside the book is found by its
// heading when checked, else it fails the reading.
bool placeTargets(BookPages& book, const Settings& settings, const QSet<int>& contents,
                  const std::function<int(qint64)>& drift, Result* out)
{
    Result& result = *out;
    const int pageCount = book.pageCount();
    const bool checking = settings.check != SmartCheck::Mode::Off;
    // Targets of the printed numbers: arabic with offset and halving, roman from the page
    // that prints the numeral, or as given by hand, or the document page of that number.
    int firstBody = pageCount;
    for (const SmartEntry& e : std::as_const(result.entries))
        if (e.number.kind == PrintedNumber::Arabic)
            firstBody = std::min(
                firstBody,
                std::max(1, SmartReading::target(e.number.value, result.offset, settings.halve)));
    int before = 1; // the target of the entry before
    // The target the offset gives the next arabic entry after this one inside the book.
    auto nextTarget = [&](const SmartEntry& from) {
        for (auto it = result.entries.cbegin() + (&from - result.entries.data()) + 1;
             it != result.entries.cend(); ++it) {
            if (it->number.kind != PrintedNumber::Arabic)
                continue;
            const int t = SmartReading::target(it->number.value, result.offset, settings.halve) +
                          drift(it->number.value);
            if (t >= 1 && t <= pageCount)
                return t;
        }
        return pageCount;
    };
    for (SmartEntry& e : result.entries) {
        if (e.number.kind == PrintedNumber::Arabic) {
            e.target = SmartReading::target(e.number.value, result.offset, settings.halve) +
                       drift(e.number.value);
        } else if (e.number.kind == PrintedNumber::Roman) {
            if (settings.romanOffset) {
                e.target = int(e.number.value + *settings.romanOffset);
            } else {
                e.target = romanPage(book, e.number.value, firstBody, checking);
                if (e.target == 0)
                    e.target = int(e.number.value);
            }
        } else {
            continue;
        }
        if (e.target < 1 || e.target > pageCount) {
            // Checked links: the heading may show where the entry really is. In a book
            // without text, the pages up to the next entry's are recognised for it first.
            if (settings.check == SmartCheck::Mode::Check)
                book.complete(before, std::min(nextTarget(e), before + kBetween));
            const QList<int> pages = settings.check == SmartCheck::Mode::Check
                                         ? book.pagesWithHeading(SmartCheck::comparableTitle(e),
                                                                 before, pageCount, contents)
                                         : QList<int>();
            if (pages.size() == 1) {
                result.notes << EngineTexts::say("e_check_outside_found")
                                        .arg(quoted(e))
                                        .arg(e.target)
                                        .arg(pages.first()) +
                                    EngineTexts::say("e_check_corrected");
                result.corrections.append(
                    {int(&e - result.entries.data()), e.target, pages.first()});
                e.target = pages.first();
                e.checked = true;
                before = e.target;
                continue;
            }
            const QString how =
                e.number.kind == PrintedNumber::Roman
                    ? EngineTexts::say("e_smart_roman").arg(e.printed).arg(e.number.value)
                    : EngineTexts::say("e_smart_number_offset").arg(e.printed).arg(result.offset);
            result.error = EngineTexts::say("e_smart_leads_outside")
                               .arg(how)
                               .arg(quoted(e))
                               .arg(e.target)
                               .arg(Plural::count("e_n_pages", pageCount));
            return false;
        }
        before = e.target;
    }

    return true;
}

// Entries whose number the OCR lost: the page between the neighbours' targets where the title
// stands as a heading.
void findLostNumbers(BookPages& book, const QSet<int>& contents, Result* out)
{
    Result& result = *out;
    const int pageCount = book.pageCount();
    QMap<qsizetype, std::pair<int, int>> searched; // titles found nowhere: the pages searched
    for (qsizetype i = 0; i < result.entries.size(); ++i) {
        SmartEntry& e = result.entries[i];
        if (e.found != SmartEntry::Found::Lost)
            continue;
        int from = 1, to = pageCount;
        for (qsizetype k = i - 1; k >= 0; --k)
            if (result.entries[k].target > 0) {
                from = result.entries[k].target;
                break;
            }
        for (qsizetype k = i + 1; k < result.entries.size(); ++k)
            if (result.entries[k].target > 0) {
                to = result.entries[k].target;
                break;
            }
        if (to < from)
            std::swap(from, to);
        const QList<int> pages =
            book.pagesWithHeading(SmartCheck::comparableTitle(e), from, to, contents);
        if (pages.isEmpty()) {
            searched.insert(i, {from, to});
            continue;
        }
        e.target = pages.first();
        e.found = SmartEntry::Found::ByTitle;
        result.notes << EngineTexts::say("e_smart_found_by_title").arg(quoted(e)).arg(e.target);
    }
    inferHeadingPages(&result.entries, &result.notes);
    for (auto it = searched.cbegin(); it != searched.cend(); ++it)
        if (result.entries[it.key()].found == SmartEntry::Found::Lost)
            result.notes << EngineTexts::say("e_smart_title_nowhere")
                                .arg(quoted(result.entries[it.key()]))
                                .arg(it.value().first)
                                .arg(it.value().second);
}

} // namespace

SmartReading::Result SmartReading::read(PageTextSource& source, const Settings& settings)
{
    Result result;
    BookPages book(source);
    const int pageCount = book.pageCount();
    QSet<int> contents;
    for (const int p : settings.contentsPages) {
        if (p < 1 || p > pageCount) {
            result.error = EngineTexts::say("e_smart_outside")
                               .arg(p)
                               .arg(Plural::count("e_n_pages", pageCount));
            return result;
        }
        contents.insert(p);
    }
    if (!readEntries(book, settings, &result))
        return result;

    const qint64 firstPrinted = OffsetStretches::firstNumber(result.entries);
    // With the links checked, the page numbers printed in the book carry the offset through
    // it, stretch by stretch.
    OffsetStretches stretches;
    if (!chooseOffset(book, settings, contents, firstPrinted, &stretches, &result))
        return result;
    // How far the map's distance at an entry differs from its distance at the first entry.
    auto drift = [&](qint64 printed) {
        return stretches.isEmpty() ? 0
                                   : stretches.offsetAt(printed) - stretches.offsetAt(firstPrinted);
    };
    if (!placeTargets(book, settings, contents, drift, &result))
        return result;

    // Each link checked against the heading on its page before the lost numbers are looked
    // for between the neighbours' targets, so that those are the corrected ones.
    SmartCheck::Outcome checked = SmartCheck::run(&result.entries, book, contents, settings.check);
    result.corrections << checked.corrections;
    if (!checked.error.isEmpty()) {
        result.error = checked.error;
        return result;
    }
    result.notes << checked.notes;
    findLostNumbers(book, contents, &result);
    account(&result);
    return result;
}
