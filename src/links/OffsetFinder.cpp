#include "links/OffsetFinder.h"

#include "links/SmartReading.h"

#include <QMap>

namespace {

qint64 base(qint64 printed, bool halve)
{
    return halve ? printed / 2 : printed;
}

// The value most votes agree on, when it has more than half of them and at least two.
bool clearMajority(const QMap<int, int>& votes, int* value, int* agreeing, int* total)
{
    *total = 0;
    *agreeing = 0;
    for (auto it = votes.cbegin(); it != votes.cend(); ++it) {
        *total += it.value();
        if (it.value() > *agreeing) {
            *agreeing = it.value();
            *value = it.key();
        }
    }
    return *agreeing >= 2 && *agreeing * 2 > *total;
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

OffsetFinder::Outcome OffsetFinder::find(const QList<SmartEntry>& entries, BookPages& book,
                                         const QSet<int>& contentsPages, bool halve)
{
    Outcome outcome;
    QMap<int, int> headings;
    int lowest = INT_MAX, highest = 0;
    for (const SmartEntry& e : entries) {
        if (e.number.kind != PrintedNumber::Arabic || e.number.tooLong)
            continue;
        QStringList title;
        if (!e.numbering.isEmpty())
            title << e.numbering;
        title << e.words;
        const QList<int> pages = book.pagesWithHeading(ContentsLine::comparable(title), 1,
                                                       book.pageCount(), contentsPages);
        if (pages.size() != 1)
            continue; // not found, or not told apart
        ++headings[int(pages.first() - base(e.number.value, halve))];
        lowest = std::min(lowest, pages.first());
        highest = std::max(highest, pages.first());
    }
    int value = 0, agreeing = 0, total = 0;
    if (clearMajority(headings, &value, &agreeing, &total)) {
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
        outcome.note = QStringLiteral("Offset %1 found: the headings of %2 of %3 entries found "
                                      "in the book agree")
                           .arg(value)
                           .arg(agreeing)
                           .arg(total);
        if (folios > 0)
            outcome.note += QStringLiteral("; %1 of %2 printed page numbers on pages %3 to %4 "
                                           "agree")
                                .arg(folioAgree)
                                .arg(folios)
                                .arg(lowest)
                                .arg(highest);
        outcome.note += QLatin1Char('.');
        return outcome;
    }
    if (total > 0) {
        outcome.error = QStringLiteral("The page offset could not be found: the headings found "
                                       "in the book disagree (offset %1 entries). Give the "
                                       "offset by hand.")
                            .arg(describeVotes(headings));
        return outcome;
    }
    // No heading found: the page numbers the pages print in their margins.
    QMap<int, int> folioVotes;
    for (int p = 1; p <= book.pageCount(); ++p) {
        const PrintedNumber f = book.folio(p);
        if (f.kind == PrintedNumber::Arabic)
            ++folioVotes[int(p - base(f.value, halve))];
    }
    if (clearMajority(folioVotes, &value, &agreeing, &total)) {
        outcome.found = true;
        outcome.offset = value;
        outcome.note = QStringLiteral("Offset %1 found: no heading of the entries was found in "
                                      "the book, but %2 of %3 printed page numbers agree.")
                           .arg(value)
                           .arg(agreeing)
                           .arg(total);
        return outcome;
    }
    outcome.error =
        total > 0
            ? QStringLiteral("The page offset could not be found: the page numbers printed in "
                             "the book disagree (offset %1 pages). Give the offset by hand.")
                  .arg(describeVotes(folioVotes))
            : QStringLiteral("The page offset could not be found: no entry's heading was found "
                             "in the book and its pages print no page numbers. Give the offset "
                             "by hand.");
    return outcome;
}
