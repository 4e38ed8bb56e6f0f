#include "links/ContentsPlan.h"

int ContentsPlan::entryCount() const
{
    int n = 0;
    for (const PlanPage& page : pages)
        n += int(page.entries.size());
    return n;
}

QStringList ContentsPlan::describeEntries() const
{
    QStringList lines;
    for (const PlanPage& page : pages) {
        for (const PlanEntry& e : page.entries) {
            lines << QStringLiteral("Page %1: \"%2\" %3 -> page %4, %5 %6 %7 %8 %9")
                         .arg(e.contentsPage)
                         .arg(e.title, QString::fromLatin1(e.printed))
                         .arg(e.targetPage)
                         .arg(QString::fromLatin1(shape))
                         .arg(e.area.x)
                         .arg(e.area.y)
                         .arg(e.area.width)
                         .arg(e.area.height);
        }
    }
    return lines;
}
