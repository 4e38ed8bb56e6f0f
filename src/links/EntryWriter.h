#pragma once

struct PlanEntry;

// Receives what recognition finds, page by page, in the document's order. The hyperlink
// script is one such writer; the plan of a run is another.
class EntryWriter
{
public:
    virtual ~EntryWriter() = default;
    // A page with a text layer begins; contentsPage: it lies in the contents range.
    virtual void page(int pageNumber, bool contentsPage) = 0;
    virtual void entry(const PlanEntry& entry) = 0;
    // After the last page.
    virtual void finish() = 0;
};
