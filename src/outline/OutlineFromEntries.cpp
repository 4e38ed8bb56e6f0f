#include "outline/OutlineFromEntries.h"

Outline outlineFromEntries(const QList<OutlineSourceEntry>& entries)
{
    Outline outline;
    QList<int> open; // the levels of the entries the next one may nest under
    bool numberedSeen = false;
    for (const OutlineSourceEntry& entry : entries) {
        numberedSeen = numberedSeen || entry.numbered;
        Bookmark bookmark;
        bookmark.title = entry.title.toUtf8();
        bookmark.target = Outline::pageTarget(entry.page);
        if (!numberedSeen) {
            outline.bookmarks << bookmark;
            continue;
        }
        while (!open.isEmpty() && open.last() >= entry.level)
            open.removeLast();
        bookmark.level = int(open.size());
        open << entry.level;
        outline.bookmarks << bookmark;
    }
    return outline;
}
