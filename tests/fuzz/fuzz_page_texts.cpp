// The text layers of chosen pages read from one djvused run ("select N; size; print-txt"
// for each, then one more size line). Whatever a capture holds, a capture that reads is
// whole: every cut of it that ends on a line break is refused.
#include "FuzzChecks.h"

#include "djvu/DjvusedDump.h"
#include "djvu/PageTexts.h"

namespace {

void checkPages(const PageTexts& texts, const QList<int>& numbers)
{
    FUZZ_CHECK(texts.pages.size() == numbers.size());
    for (qsizetype i = 0; i < texts.pages.size(); ++i) {
        const PageTexts::Page& page = texts.pages[i];
        FUZZ_CHECK(page.number == numbers[i]);
        FUZZ_CHECK(page.hasText || page.text.isEmpty());
        FUZZ_CHECK(DjvusedDump::dataError(page.text).isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says how many pages were asked for (0 to 7); the rest is the capture.
    QList<int> numbers;
    for (int n = 0; n < (data[0] & 7); ++n)
        numbers << 2 * n + 1;
    const QByteArray capture = FuzzChecks::bytes(data + 1, size - 1);
    const PageTexts texts = PageTexts::parse(capture, numbers);
    if (!texts.ok()) {
        FUZZ_CHECK(texts.pages.isEmpty());
        return 0;
    }
    checkPages(texts, numbers);
    // Cuts at line breaks: the first ones, the last ones and one in the middle.
    QList<qsizetype> cuts;
    for (qsizetype at = capture.indexOf('\n'); at >= 0 && at + 1 < capture.size();
         at = capture.indexOf('\n', at + 1))
        cuts << at + 1;
    cuts << 0;
    for (qsizetype i = 0; i < cuts.size(); ++i) {
        if (i > 3 && i < cuts.size() - 4 && i != cuts.size() / 2)
            continue;
        const qsizetype cut = cuts[i];
        FUZZ_CHECK(!PageTexts::parse(capture.left(cut), numbers).ok());
        FUZZ_CHECK(!PageTexts::parse(capture.left(cut + 1), numbers).ok() ||
                   capture.size() == cut + 1);
    }
    return 0;
}
