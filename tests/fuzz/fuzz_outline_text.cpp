// The outline's plain text form, as outline-import reads it: an outline read without
// errors is written and read again to the same outline, without errors, and what the
// writer gives for it is stable.
#include "FuzzChecks.h"

#include "outline/OutlineText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte gives the document's page count (0 to 255); the rest is the text.
    const int pageCount = data[0];
    const OutlineText::Parsed parsed =
        OutlineText::read(FuzzChecks::bytes(data + 1, size - 1), pageCount);
    if (!parsed.errors.isEmpty())
        return 0;
    FUZZ_CHECK(parsed.outline.isWellNested());
    const QByteArray written = OutlineText::write(parsed.outline, pageCount);
    const OutlineText::Parsed again = OutlineText::read(written, pageCount);
    FUZZ_CHECK(again.errors.isEmpty());
    FUZZ_CHECK(again.outline == parsed.outline);
    FUZZ_CHECK(OutlineText::write(again.outline, pageCount) == written);
    return 0;
}
