// The annotation script of "djvused -e output-ant": the scanner, then alignment. A
// rewritten script scans to the same areas with the new numbers, and every character
// outside those numbers stays as it was.
#include "FuzzChecks.h"

#include "djvu/AnnotationScanner.h"
#include "links/AreaAlignment.h"

namespace {

// The texts around the rewritable numbers of the scanned areas.
QList<QByteArray> textBetweenNumbers(const QByteArray& script, const QList<ScannedArea>& areas)
{
    QList<QByteArray> gaps;
    qsizetype from = 0;
    for (const ScannedArea& a : areas) {
        gaps << script.mid(from, a.leftPos - from);
        gaps << script.mid(a.leftPos + a.leftLength, a.widthPos - a.leftPos - a.leftLength);
        from = a.widthPos + a.widthLength;
    }
    gaps << script.mid(from);
    return gaps;
}

void checkRewrite(const QByteArray& script, const AnnotationScan& scan, const QList<AreaBox>& boxes)
{
    FUZZ_CHECK(boxes.size() == scan.areas.size());
    const QByteArray rewritten = AreaAlignment::rewrite(script, scan.areas, boxes);
    const AnnotationScan again = AnnotationScanner::scan(rewritten);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.blockCount == scan.blockCount);
    FUZZ_CHECK(again.areas.size() == scan.areas.size());
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const ScannedArea& before = scan.areas[i];
        const ScannedArea& after = again.areas[i];
        FUZZ_CHECK(after.block == before.block);
        FUZZ_CHECK(after.left == boxes[i].left && after.width == boxes[i].width);
        FUZZ_CHECK(after.bottom == before.bottom && after.height == before.height);
    }
    FUZZ_CHECK(textBetweenNumbers(rewritten, again.areas) ==
               textBetweenNumbers(script, scan.areas));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray script = FuzzChecks::bytes(data, size);
    const AnnotationScan scan = AnnotationScanner::scan(script);
    if (!scan.ok())
        return 0;
    FUZZ_CHECK(scan.blockCount >= 1);
    qsizetype end = 0;
    for (const ScannedArea& a : scan.areas) {
        FUZZ_CHECK(a.block >= 0 && a.block < scan.blockCount);
        FUZZ_CHECK(a.leftPos >= end && a.leftLength > 0);
        FUZZ_CHECK(a.widthPos > a.leftPos + a.leftLength && a.widthLength > 0);
        end = a.widthPos + a.widthLength;
        FUZZ_CHECK(end <= script.size());
    }
    const AreaAlignment::Result aligned = AreaAlignment::alignScript(scan);
    checkRewrite(script, scan, aligned.leftAligned);
    checkRewrite(script, scan, aligned.aligned);
    return 0;
}
