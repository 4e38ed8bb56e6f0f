// The XML of djvutoxml as the OCR editor reads it: every page shows, takes its own shown
// lines back unchanged, and an edited page travels through the changes file with its words.
#include "FuzzChecks.h"

#include "ocr/OcrDocument.h"

namespace {

constexpr int kPagesChecked = 16;

// The page's shown lines with every word replaced by `word`, spaces kept.
QStringList edited(const OcrPageText& page, const QString& word)
{
    QStringList lines;
    for (qsizetype n = 0; n < page.lines.size(); ++n) {
        QStringList words;
        for (int k = 0; k < page.wordsPerLine[n]; ++k)
            words << word;
        lines << words.join(u' ');
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OcrDocument document;
    QString error;
    if (!document.setXml(FuzzChecks::bytes(data, size), &error))
        return 0;
    const int pages = std::min(document.pageCount(), kPagesChecked);
    for (int number = 1; number <= pages; ++number) {
        const OcrPageText page = document.page(number);
        FUZZ_CHECK(page.words == document.words(number).size());
        FUZZ_CHECK(document.mismatch(number, page.lines).isEmpty());
        FUZZ_CHECK(document.writeBack(number, page.lines, &error));
    }
    FUZZ_CHECK(!document.isModified());
    FUZZ_CHECK(document.changesXml(QStringLiteral("/tmp/a b.djvu")).isEmpty());
    document.text();

    // The first page with words, edited, is the one page of the changes file.
    for (int number = 1; number <= pages; ++number) {
        const OcrPageText page = document.page(number);
        if (!page.hasWords())
            continue;
        const QString word = QStringLiteral("&<ё\"%1").arg(number);
        FUZZ_CHECK(document.writeBack(number, edited(page, word), &error));
        FUZZ_CHECK(document.changedPages() == QList<int>{number});
        OcrDocument changes;
        FUZZ_CHECK(changes.setXml(document.changesXml(QStringLiteral("/tmp/a b.djvu")), &error));
        FUZZ_CHECK(changes.pageCount() == 1);
        FUZZ_CHECK(changes.words(1) == QStringList(page.words, word));
        break;
    }
    return 0;
}
