// The texts of the OCR commands and editor: word contents of the XML both ways, and the
// plain text form that ocr-import reads.
#include "FuzzChecks.h"

#include "cli/OcrCommandSupport.h"
#include "ocr/OcrWordText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzChecks::bytes(data, size);

    const QString word = OcrWordText::decode(bytes);
    const QByteArray content = OcrWordText::encode(word);
    FUZZ_CHECK(!content.contains('<') && !content.contains('\n') && !content.contains('\r'));
    FUZZ_CHECK(OcrWordText::decode(content) == word);
    const QString shown = OcrWordText::shown(word);
    FUZZ_CHECK(shown.size() == word.size() && !shown.contains(u' '));

    const OcrTextForm::Parsed parsed = OcrTextForm::read(bytes);
    if (parsed.errors.isEmpty())
        FUZZ_CHECK(!parsed.pages.isEmpty());
    int first = 0, last = 0;
    if (OcrTextForm::parseRange(QString::fromUtf8(bytes), &first, &last))
        FUZZ_CHECK(first >= 1 && first <= last);
    return 0;
}
