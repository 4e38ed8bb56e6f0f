#include "reading/OffsetStretches.h"

#include "reading/OffsetFinder.h"

OffsetStretches OffsetStretches::fromMap(BookPages& book, int lastContentsPage)
{
    OffsetStretches out;
    QList<PageNumberMap::Stretch> all;
    for (const PageNumberMap::Stretch& s : book.numbers().stretches())
        if (s.kind == PrintedNumber::Arabic)
            all << s;
    // A book of several parts numbers each part anew: a contents leads into its own part.
    for (const PageNumberMap::Stretch& s : std::as_const(all))
        if (s.lastPage > lastContentsPage)
            out.stretches_ << s;
    if (out.stretches_.isEmpty())
        out.stretches_ = all;
    return out;
}

OffsetStretches OffsetStretches::fromHeadings(const QList<SmartEntry>& entries, BookPages& book,
                                              const QSet<int>& contentsPages)
{
    struct Run
    {
        PageNumberMap::Stretch stretch;
        int entries = 0;
    };
    QList<Run> runs;
    int votes = 0;
    for (const OffsetFinder::HeadingFound& h :
         OffsetFinder::headingsFound(entries, book, contentsPages)) {
        ++votes;
        const int page = h.page, offset = int(page - h.printed);
        if (runs.isEmpty() || runs.last().stretch.offset != offset)
            runs.append({{page, page, offset, PrintedNumber::Arabic}, 0});
        runs.last().stretch.firstPage = std::min(runs.last().stretch.firstPage, page);
        runs.last().stretch.lastPage = std::max(runs.last().stretch.lastPage, page);
        ++runs.last().entries;
    }
    // An entry at odds with its neighbours is a misleading one; the runs around it join.
    int kept = 0;
    QList<Run> joined;
    for (const Run& run : std::as_const(runs)) {
        if (run.entries < 2)
            continue;
        kept += run.entries;
        if (!joined.isEmpty() && joined.last().stretch.offset == run.stretch.offset) {
            joined.last().stretch.lastPage = run.stretch.lastPage;
            joined.last().entries += run.entries;
        } else {
            joined << run;
        }
    }
    OffsetStretches out;
    if (kept * 2 <= votes)
        return out; // more entries at odds than in agreement
    for (qsizetype i = 1; i < joined.size(); ++i)
        if (joined[i].stretch.firstPage <= joined[i - 1].stretch.lastPage)
            return out; // the runs interleave
    for (const Run& run : std::as_const(joined))
        out.stretches_ << run.stretch;
    return out;
}

int OffsetStretches::offsetAt(qint64 printed) const
{
    const PageNumberMap::Stretch* s =
        PageNumberMap::nearest(stretches_, PrintedNumber::Arabic, printed);
    return s ? s->offset : 0;
}

qint64 OffsetStretches::firstNumber(const QList<SmartEntry>& entries)
{
    for (const SmartEntry& e : entries)
        if (e.number.kind == PrintedNumber::Arabic && !e.number.tooLong)
            return e.number.value;
    return 0;
}
