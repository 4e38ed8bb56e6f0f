#include "links/ContentsPlan.h"
#include "base/EngineTexts.h"

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
            lines << EngineTexts::say("e_dry_entry")
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
