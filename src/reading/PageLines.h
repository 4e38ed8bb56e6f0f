#pragma once

#include "reading/PageText.h"

#include <QByteArray>

// The lines of a page as a reader sees them, built from the word boxes rather than taken in
// the order the OCR wrote them: words whose heights overlap enough form one line, read left
// to right; lines go top to bottom; two columns, found from the empty band between them,
// are read one after the other. A page number the OCR put in a block of its own so comes
// back to the title beside it.
namespace PageLines {

struct Arrangement
{
    PageText page;          // the page's lines in reading order
    bool reordered = false; // the OCR's lines and order differ from the geometry's
    int columns = 1;
};

// The page unchanged (reordered false) when its OCR lines already are the geometric lines
// in reading order, or when its words carry no boxes to tell.
Arrangement arrange(const PageText& page);

// The page as the expression djvused prints for it: (page ... (line ... (word ...))).
QByteArray expression(const PageText& page);

} // namespace PageLines
