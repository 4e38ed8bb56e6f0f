#include "reading/OffsetFinder.h"

#include "base/EngineTexts.h"
#include "reading/SmartCheck.h"
#include "reading/SmartReading.h"

#include <QMap>

namespace {

qint64 base(qint64 printed, bool halve)
{
    return halve ? printed / 2 : printed;
}

// The value most votes agree on, when it has at least two and more than half of them, or
// with `most` set, more than any other value.
bool clearMajority(const QMap<int, int>& votes, int* value, int* agreeing, int* total,
                   bool most = false)
{
    *total = 0;
    *agreeing = 0;
    int runnerUp = 0;
    for (auto it = votes.cbegin(); it != votes.cend(); ++it) {
        *total += it.value();
        if (it.value() > *agreeing) {
            runnerUp = *agreeing;
            *agreeing = it.value();
            *value = it.key();
        } else {
            runnerUp = std::max(runnerUp, it.value());
        }
    }
    return *agreeing >= 2 && (*agreeing * 2 > *total || (most && *agreeing > runnerUp));
}

QString describeVotes(const QMap<int, int>& votes)
{
    QList<std::pair<int, int>> byCount;
    for (auto it = votes.cbegin(); it != votes.cend(); ++it)
        byCount.append({it.value(), it.key()});
    std::sort(byCount.begin(), byCount.end(), std::greater<>());
    QStringList parts;
    for (qsizetype i = 0; i < byCount.size() && i < 3; ++i)
        parts << QStringLiteral("%1 by %2").arg(byCount[i].second).arg(byCount[i].first);
    return parts.join(QStringLiteral(", "));
}

} // namespace

QList<OffsetFinder::HeadingFound> OffsetFinder::headingsFound(const QList<SmartEntry>& entries,
                                                              BookPages& book,
                                                              const QSet<int>& contentsPages)
{
    QList<HeadingFound> found;
    for (const SmartEntry& e : entries) {
        if (e.number.kind != PrintedNumber::Arabic || e.number.tooLong)
            continue;
        const QList<int> pages = book.pagesWithHeading(SmartCheck::comparableTitle(e), 1,
                                                       book.pageCount(), contentsPages);
        if (pages.size() == 1) // else not found, or not told apart
            found.append({pages.first(), e.number.value});
    }
    return found;
}

OffsetFinder::Outcome OffsetFinder::find(const QList<SmartEntry>& entries, BookPages& book,
                                         const QSet<int>& contentsPages, bool halve, bool checked)
{
    Outcome outcome;
    QMap<int, int> headings;
    int lowest = INT_MAX, highest = 0;
    for (const HeadingFound& h : headingsFound(entries, book, contentsPages)) {
        ++headings[int(h.page - base(h.printed, halve))];
        lowest = std::min(lowest, h.page);
        highest = std::max(highest, h.page);
    }
    int value = 0, agreeing = 0, total = 0;
    if (clearMajority(headings, &value, &agreeing, &total, checked)) {
        // Confirmation from the page numbers printed on the pages the entries lead to.
        int folios = 0, folioAgree = 0;
        for (int p = lowest; p <= highest; ++p) {
            const PrintedNumber f = book.folio(p);
            if (f.kind != PrintedNumber::Arabic)
                continue;
            ++folios;
            if (p - base(f.value, halve) == value)
                ++folioAgree;
        }
        outcome.found = true;
        outcome.offset = value;
        outcome.note = EngineTexts::say("e_offset_by_headings").arg(value).arg(agreeing).arg(total);
        if (folios > 0)
            outcome.note += EngineTexts::say("e_offset_folios_agree")
                                .arg(folioAgree)
                                .arg(folios)
                                .arg(lowest)
                                .arg(highest);
        if (agreeing * 2 <= total)
            outcome.note += EngineTexts::say("e_offset_drift").arg(describeVotes(headings));
        outcome.note += QLatin1Char('.');
        return outcome;
    }
    // One heading alone is no disagreement: the page numbers may yet settle it.
    if (total > 1) {
        outcome.error = EngineTexts::say("e_offset_headings_disagree").arg(describeVotes(headings));
        return outcome;
    }
    // No heading found, or one: the page numbers the pages print in their margins.
    QMap<int, int> folioVotes;
    for (int p = 1; p <= book.pageCount(); ++p) {
        const PrintedNumber f = book.folio(p);
        if (f.kind == PrintedNumber::Arabic)
            ++folioVotes[int(p - base(f.value, halve))];
    }
    if (clearMajority(folioVotes, &value, &agreeing, &total)) {
        outcome.found = true;
        outcome.offset = value;
        outcome.note = EngineTexts::say("e_offset_by_folios").arg(value).arg(agreeing).arg(total);
        return outcome;
    }
    // Numbers beside running heads, each confirmed by a page nearby (as few pages of a book
    // without text are read for them): the longest stretch of one offset.
    const PageNumberMap::Stretch* longest = nullptr;
    for (const PageNumberMap::Stretch& s : book.numbers().stretches())
        if (s.kind == PrintedNumber::Arabic &&
            (!longest || s.lastPage - s.firstPage > longest->lastPage - longest->firstPage))
            longest = &s;
    if (longest && !halve) {
        outcome.found = true;
        outcome.offset = longest->offset;
        outcome.note = EngineTexts::say("e_offset_by_map")
                           .arg(longest->offset)
                           .arg(PageNumberMap::describe(book.numbers().stretches()));
        return outcome;
    }
    outcome.error =
        total > 0 ? EngineTexts::say("e_offset_folios_disagree").arg(describeVotes(folioVotes))
                  : EngineTexts::say("e_offset_nothing");
    return outcome;
}
