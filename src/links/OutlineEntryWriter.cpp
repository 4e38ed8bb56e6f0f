#include "links/OutlineEntryWriter.h"

#include "links/ContentsPlan.h"
#include "outline/OutlineFromEntries.h"
#include "outline/OutlineParts.h"
#include "outline/OutlineScript.h"
#include "outline/OutlineTitle.h"

#include <algorithm>

namespace OutlineEntryWriter {

namespace {

struct RangeEntries
{
    QList<OutlineSourceEntry> entries;
    QString heading; // the contents heading, as printed
};

OutlineSourceEntry sourceOf(const PlanEntry& entry)
{
    OutlineSourceEntry source;
    source.title = OutlineTitle::clean(entry.title);
    source.level = std::max(entry.level, 1);
    source.page = int(entry.targetPage);
    source.numbered = entry.numbered;
    return source;
}

void append(const QList<OutlineSourceEntry>& entries, int depth, Outline* outline)
{
    for (Bookmark bookmark : outlineFromEntries(entries).bookmarks) {
        bookmark.level += depth;
        outline->bookmarks << bookmark;
    }
}

// The entries of one part, nested by their levels; a line that opens a part ("Part II")
// holds the entries after it, up to the next such line.
void appendPart(const QList<OutlineSourceEntry>& entries, int depth, bool parts, Outline* outline)
{
    QList<OutlineSourceEntry> group;
    int groupDepth = depth;
    for (const OutlineSourceEntry& entry : entries) {
        if (!parts || !OutlineParts::isPartHeading(entry.title)) {
            group << entry;
            continue;
        }
        append(group, groupDepth, outline);
        group.clear();
        outline->bookmarks << Bookmark{depth, entry.title.toUtf8(),
                                       Outline::pageTarget(entry.page)};
        groupDepth = depth + 1;
    }
    append(group, groupDepth, outline);
}

} // namespace

Outline outline(const ContentsPlan& plan)
{
    const qsizetype rangeCount = std::max<qsizetype>(plan.ranges.size(), 1);
    QList<RangeEntries> ranges(rangeCount);
    for (const PlanPage& page : plan.pages) {
        RangeEntries& range = ranges[std::clamp<qsizetype>(page.range, 0, rangeCount - 1)];
        for (const PlanEntry& entry : page.entries) {
            const OutlineSourceEntry source = sourceOf(entry);
            // The contents' own heading is no entry of the book.
            if (OutlineParts::isContentsHeading(source.title)) {
                if (range.heading.isEmpty())
                    range.heading = source.title;
                continue;
            }
            range.entries << source;
        }
    }
    Outline outline;
    for (qsizetype i = 0; i < rangeCount; ++i) {
        RangeEntries& range = ranges[i];
        const PlanRange known = plan.ranges.value(i);
        // An unnumbered title first in the contents that leads to the contents pages
        // themselves names the part they list ("ОПИСАНИЕ ФОРМАТА DJVU ... 1").
        QString titleLine;
        int titlePage = 0;
        if (!plan.ranges.isEmpty() && !range.entries.isEmpty()) {
            const OutlineSourceEntry& first = range.entries.first();
            if (!first.numbered && first.page >= known.firstPage && first.page <= known.lastPage) {
                titleLine = first.title;
                titlePage = first.page;
            }
        }
        const bool part = plan.parts && (plan.ranges.size() > 1 || !known.partLine.isEmpty() ||
                                         !titleLine.isEmpty());
        if (part) {
            if (!titleLine.isEmpty())
                range.entries.removeFirst();
            QString title = known.partLine;
            for (const QString& other : {titleLine, known.pageTitle, range.heading})
                title = title.isEmpty() ? other : title;
            const int page = titlePage ? titlePage : known.firstPage;
            outline.bookmarks << Bookmark{0, title.toUtf8(), Outline::pageTarget(page)};
        }
        appendPart(range.entries, part ? 1 : 0, plan.parts, &outline);
    }
    return outline;
}

QByteArray block(const ContentsPlan& plan, QString* error)
{
    if (!plan.writesOutline)
        return {};
    return OutlineScript::script(plan.outline, error);
}

} // namespace OutlineEntryWriter
