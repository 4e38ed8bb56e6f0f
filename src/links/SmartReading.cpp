#include "links/SmartReading.h"
#include "tools/EngineTexts.h"

#include "links/BookPages.h"
#include "links/ContentsPage.h"
#include "links/OffsetFinder.h"
#include "tools/Plural.h"

#include <QMap>
#include <QSet>

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

// Levels from numbering where an entry has one ("1." 1, "2.1" 2, "Глава 3" by its word),
// else from the indentation of its line against the numbered entries of its page.
void assignLevels(QList<SmartEntry>* entries)
{
    QSet<int> wordStyles;
    int smallestDepth = INT_MAX;
    for (const SmartEntry& e : std::as_const(*entries)) {
        if (e.style == ContentsLine::Dotted)
            smallestDepth = std::min(smallestDepth, e.depth);
        else if (e.style != ContentsLine::NoNumbering)
            wordStyles.insert(e.style);
    }
    QList<int> styles = wordStyles.values();
    std::sort(styles.begin(), styles.end());
    const int words = int(styles.size());
    // "Глава 1" over "1.1": the first part of a dotted numbering is the chapter's.
    const int dottedBase = words > 0 && smallestDepth > 1 ? words - 1 : words;
    for (SmartEntry& e : *entries) {
        if (e.style == ContentsLine::Dotted)
            e.level = dottedBase + e.depth;
        else if (e.style != ContentsLine::NoNumbering)
            e.level = int(styles.indexOf(e.style)) + 1;
    }

    QMap<int, QList<qsizetype>> byPage;
    for (qsizetype i = 0; i < entries->size(); ++i)
        byPage[(*entries)[i].contentsPage] << i;
    for (const QList<qsizetype>& onPage : std::as_const(byPage)) {
        // Indentation steps of the page, left to right, each with the level its numbered
        // entries have; a step without one goes one level below the step left of it.
        QList<int> lefts;
        int tolerance = 0;
        for (const qsizetype i : onPage) {
            lefts << (*entries)[i].left;
            tolerance = std::max(tolerance, (*entries)[i].area.height / 2);
        }
        std::sort(lefts.begin(), lefts.end());
        QList<int> steps;
        for (const int l : std::as_const(lefts))
            if (steps.isEmpty() || l - steps.last() > tolerance)
                steps << l;
        auto stepOf = [&](int left) {
            int best = 0;
            for (int s = 0; s < steps.size(); ++s)
                if (left >= steps[s] - tolerance)
                    best = s;
            return best;
        };
        QList<QMap<int, int>> levelsAt(steps.size());
        for (const qsizetype i : onPage) {
            const SmartEntry& e = (*entries)[i];
            if (e.style != ContentsLine::NoNumbering)
                ++levelsAt[stepOf(e.left)][e.level];
        }
        QList<int> stepLevel(steps.size(), 1);
        for (int s = 0; s < steps.size(); ++s) {
            int most = 0;
            for (auto it = levelsAt[s].cbegin(); it != levelsAt[s].cend(); ++it)
                if (it.value() > most) {
                    most = it.value();
                    stepLevel[s] = it.key();
                }
            if (most == 0)
                stepLevel[s] = s == 0 ? 1 : stepLevel[s - 1] + 1;
        }
        for (const qsizetype i : onPage) {
            SmartEntry& e = (*entries)[i];
            if (e.style == ContentsLine::NoNumbering)
                e.level = stepLevel[stepOf(e.left)];
        }
    }
}

// The page that prints roman numeral n in its margin, among the pages before the body.
int romanPage(BookPages& book, qint64 n, int lastFrontPage)
{
    for (int p = 1; p <= std::min(lastFrontPage, book.pageCount()); ++p) {
        const PrintedNumber f = book.folio(p);
        if (f.kind == PrintedNumber::Roman && f.value == n)
            return p;
    }
    return 0;
}

} // namespace

int SmartReading::target(qint64 printed, int offset, bool halve)
{
    return int((halve ? printed / 2 : printed) + offset);
}

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

    for (const int p : settings.contentsPages) {
        const PageText& text = book.text(p);
        if (!text.hasLayer || text.lines.isEmpty()) {
            result.error = EngineTexts::say("e_smart_no_text").arg(p);
            return result;
        }
        const ContentsPage::Reading reading = ContentsPage::read(text, p);
        if (reading.onlyNumbers) {
            result.error = EngineTexts::say("e_smart_only_numbers").arg(p);
            return result;
        }
        if (reading.entries.isEmpty()) {
            result.error = EngineTexts::say("e_smart_no_entries").arg(p);
            return result;
        }
        result.entries << reading.entries;
    }

    for (const SmartEntry& e : std::as_const(result.entries)) {
        if (e.number.tooLong) {
            result.error = EngineTexts::say("e_smart_too_long")
                               .arg(e.printed.left(20) +
                                    (e.printed.size() > 20 ? QStringLiteral("...") : QString()))
                               .arg(quoted(e));
            return result;
        }
    }
    readGluedNumbers(&result.entries, pageCount);
    for (const SmartEntry& e : std::as_const(result.entries))
        if (e.found == SmartEntry::Found::Glued)
            result.notes << EngineTexts::say("e_smart_number_glued").arg(quoted(e)).arg(e.printed);
    assignLevels(&result.entries);

    if (settings.offset) {
        result.offset = *settings.offset;
    } else {
        const OffsetFinder::Outcome found =
            OffsetFinder::find(result.entries, book, contents, settings.halve,
                               settings.check != SmartCheck::Mode::Off);
        if (!found.found) {
            result.error = found.error;
            return result;
        }
        result.offset = found.offset;
        result.notes << found.note;
    }

    // Targets of the printed numbers: arabic with offset and halving, roman from the page
    // that prints the numeral, or as given by hand, or the document page of that number.
    int firstBody = pageCount;
    for (const SmartEntry& e : std::as_const(result.entries))
        if (e.number.kind == PrintedNumber::Arabic)
            firstBody = std::min(
                firstBody, std::max(1, target(e.number.value, result.offset, settings.halve)));
    for (SmartEntry& e : result.entries) {
        if (e.number.kind == PrintedNumber::Arabic) {
            e.target = target(e.number.value, result.offset, settings.halve);
        } else if (e.number.kind == PrintedNumber::Roman) {
            if (settings.romanOffset) {
                e.target = int(e.number.value + *settings.romanOffset);
            } else {
                e.target = romanPage(book, e.number.value, firstBody);
                if (e.target == 0)
                    e.target = int(e.number.value);
            }
        } else {
            continue;
        }
        if (e.target < 1 || e.target > pageCount) {
            const QString how =
                e.number.kind == PrintedNumber::Roman
                    ? EngineTexts::say("e_smart_roman").arg(e.printed).arg(e.number.value)
                    : EngineTexts::say("e_smart_number_offset").arg(e.printed).arg(result.offset);
            result.error = EngineTexts::say("e_smart_leads_outside")
                               .arg(how)
                               .arg(quoted(e))
                               .arg(e.target)
                               .arg(Plural::count("e_n_pages", pageCount));
            return result;
        }
    }

    // Each link checked against the heading on its page before the lost numbers are looked
    // for between the neighbours' targets, so that those are the corrected ones.
    SmartCheck::Outcome checked = SmartCheck::run(&result.entries, book, contents, settings.check);
    result.corrections = checked.corrections;
    if (!checked.error.isEmpty()) {
        result.error = checked.error;
        return result;
    }
    result.notes << checked.notes;

    // Entries whose number the OCR lost: the page between the neighbours' targets where
    // the title stands as a heading.
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
            result.notes
                << EngineTexts::say("e_smart_title_nowhere").arg(quoted(e)).arg(from).arg(to);
            continue;
        }
        e.target = pages.first();
        e.found = SmartEntry::Found::ByTitle;
        result.notes << EngineTexts::say("e_smart_found_by_title").arg(quoted(e)).arg(e.target);
    }
    return result;
}
