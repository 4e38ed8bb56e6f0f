#include "links/ScriptEntryWriter.h"

#include "links/ContentsLinkBlocks.h"
#include "links/ContentsPlan.h"
#include "links/HyperlinkScript.h"
#include "reading/BorderExpression.h"

ScriptEntryWriter::ScriptEntryWriter(HyperlinkScript& script, QByteArray shape, QByteArray border)
    : script_(script), shape_(std::move(shape)), border_(std::move(border))
{
}

void ScriptEntryWriter::page(int pageNumber, bool contentsPage)
{
    script_.pageBoundary(anyPage_, inContents_);
    anyPage_ = true;
    inContents_ = contentsPage;
    if (contentsPage)
        script_.pageOpening(pageNumber);
}

void ScriptEntryWriter::entry(const PlanEntry& entry)
{
    script_.area(
        BorderExpression::area(entry.targetPage, entry.comment, shape_, entry.area, border_));
}

void ScriptEntryWriter::finish()
{
    script_.closing(inContents_);
}

void ScriptEntryWriter::write(const ContentsPlan& plan, HyperlinkScript& script)
{
    if (plan.removeText)
        script.removeText();
    ContentsLinkBlocks::addTo(plan.contentsLinks, script);
    ScriptEntryWriter writer(script, plan.shape, plan.border);
    for (const PlanPage& page : plan.pages) {
        writer.page(page.page, true);
        for (const PlanEntry& entry : page.entries)
            writer.entry(entry);
    }
    writer.finish();
}
