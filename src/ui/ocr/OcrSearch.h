#pragma once

#include <QString>

class OcrDocument;

// Finding text in a book the OCR editor shows page by page.
namespace OcrSearch {

struct Place
{
    int page = 0; // 0: the text occurs nowhere
    int at = -1;  // where it starts in the page's shown text
};

// The next place the text occurs, case aside: on the shown page after `from`, then on the
// pages after it in turn, round to the start, then on the shown page before `from`. The
// shown page is searched as the pane holds it (shownText), the others as the book does.
Place next(const OcrDocument& document, int shownPage, const QString& shownText, int from,
           const QString& text);

} // namespace OcrSearch
