#include "ui/ocr/OcrSearch.h"

#include "ocr/OcrDocument.h"

namespace OcrSearch {

Place next(const OcrDocument& document, int shownPage, const QString& shownText, int from,
           const QString& text)
{
    const int count = document.pageCount();
    if (text.isEmpty() || count < 1 || shownPage < 1 || shownPage > count)
        return {};
    for (int step = 0; step <= count; ++step) {
        const int page = (shownPage - 1 + step) % count + 1;
        const QString pageText =
            page == shownPage ? shownText : document.page(page).lines.join(QLatin1Char('\n'));
        const int at = int(pageText.indexOf(text, step == 0 ? from : 0, Qt::CaseInsensitive));
        if (at >= 0 && !(step == count && at >= from))
            return {page, at};
    }
    return {};
}

} // namespace OcrSearch
