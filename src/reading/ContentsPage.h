#pragma once

#include "reading/LineAccount.h"
#include "reading/PageText.h"
#include "reading/SmartEntry.h"

// Reads the entries of one contents page: the page's lines, its running heads and footers
// aside, become entries of a title and the page number that belongs to it.
namespace ContentsPage {

struct Reading
{
    QList<SmartEntry> entries; // in reading order; lost numbers have Found::Lost
    bool onlyNumbers = false;  // the page's lines hold numbers and nothing else
    // Every line of the page, in reading order, with what became of it; entry indices
    // count in entries.
    QList<LineAccount::Line> lines;
};

Reading read(const PageText& page, int pageNumber);

} // namespace ContentsPage
