#include "links/OutlineEntryWriter.h"

#include "links/ContentsPlan.h"
#include "links/OutlineFromEntries.h"
#include "links/OutlineScript.h"
#include "links/OutlineTitle.h"

namespace OutlineEntryWriter {

Outline outline(const ContentsPlan& plan)
{
    QList<OutlineSourceEntry> entries;
    for (const PlanPage& page : plan.pages) {
        for (const PlanEntry& entry : page.entries) {
            OutlineSourceEntry source;
            source.title = OutlineTitle::clean(entry.title);
            source.level = std::max(entry.level, 1);
            source.page = int(entry.targetPage);
            source.numbered = entry.numbered;
            entries << source;
        }
    }
    return outlineFromEntries(entries);
}

QByteArray block(const ContentsPlan& plan, QString* error)
{
    if (!plan.writesOutline)
        return {};
    return OutlineScript::script(plan.outline, error);
}

} // namespace OutlineEntryWriter
