#include "links/SmartPlan.h"

#include <QHash>

namespace SmartPlan {

QList<PlanPage> pagesOf(const SmartReading::Result& result, const QByteArray& comment)
{
    QList<PlanPage> pages;
    QHash<int, int> movedFrom;
    for (const SmartCheck::Correction& c : result.corrections)
        movedFrom.insert(c.entry, c.from);
    for (qsizetype i = 0; i < result.entries.size(); ++i) {
        const SmartEntry& e = result.entries[i];
        if (e.target <= 0)
            continue;
        if (pages.isEmpty() || pages.last().page != e.contentsPage)
            pages.append(PlanPage{e.contentsPage, {}});
        PlanEntry entry;
        entry.contentsPage = e.contentsPage;
        entry.words = e.title.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        entry.title = e.title;
        entry.printed = e.printed.toUtf8();
        entry.targetPage = e.target;
        entry.level = e.level;
        entry.numbered = !e.numbering.isEmpty();
        entry.checked = e.checked;
        entry.correctedFrom = movedFrom.value(int(i));
        entry.area = e.area;
        entry.comment = entryComment(comment, entry.printed);
        pages.last().entries << entry;
    }
    return pages;
}

QByteArray entryComment(const QByteArray& comment, const QByteArray& printed)
{
    const QByteArray trimmed = comment.trimmed();
    return trimmed.isEmpty() ? comment : trimmed + ' ' + printed;
}

} // namespace SmartPlan
