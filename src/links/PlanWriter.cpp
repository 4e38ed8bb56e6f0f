#include "links/PlanWriter.h"

#include "links/ContentsPlan.h"

void PlanWriter::page(int pageNumber, bool contentsPage)
{
    if (contentsPage)
        plan_.pages.append(PlanPage{pageNumber, {}});
}

void PlanWriter::entry(const PlanEntry& entry)
{
    if (!plan_.pages.isEmpty())
        plan_.pages.last().entries.append(entry);
}
