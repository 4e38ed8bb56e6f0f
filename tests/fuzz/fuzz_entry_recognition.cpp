// Entry recognition over words of any text and layout, with any settings. Every area it
// gives makes an annotation expression that stays inert in the script.
#include "FuzzChecks.h"

#include "base/CharTable.h"
#include "reading/BorderExpression.h"
#include "reading/EntryRecognition.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Page coordinates of the whole int range, far beyond any page, negative ones included.
int coordinate(FuzzedDataProvider& in)
{
    return in.ConsumeIntegral<int>();
}

ZoneBox zone(FuzzedDataProvider& in)
{
    ZoneBox box;
    box.xmin = coordinate(in);
    box.ymin = coordinate(in);
    box.xmax = coordinate(in);
    box.ymax = coordinate(in);
    return box;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    EntryRecognition::Settings settings;
    settings.kind = WorkKind(in.ConsumeIntegralInRange(0, 2));
    settings.offset = in.ConsumeIntegral<int>();
    settings.halve = in.ConsumeBool();
    settings.checkPageCount = in.ConsumeBool();
    settings.pageCount = in.ConsumeIntegral<int>();
    settings.comment =
        CharTable::escape(QString::fromStdString(in.ConsumeRandomLengthString(40))).toLatin1();
    const QByteArray shape =
        BorderExpression::shapeWord(AreaShape(in.ConsumeIntegralInRange(0, 1)));
    BorderExpression::Style style;
    style.borderType = BorderType(in.ConsumeIntegralInRange(0, 6));
    style.shadowWidth = in.ConsumeIntegral<int>();
    style.alwaysVisible = in.ConsumeBool();
    style.highlight = in.ConsumeBool();
    const QByteArray border = BorderExpression::build(style);
    FUZZ_CHECK(FuzzChecks::isInertExpression(border));

    EntryRecognition recognition(settings);
    int ordinal = 1;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeIntegralInRange(0, 15) == 0) {
            recognition.startPage();
            ++ordinal;
        }
        EntryRecognition::Word word;
        word.text = QByteArray::fromStdString(in.ConsumeRandomLengthString(24));
        word.zone = zone(in);
        word.previousLineTop = coordinate(in);
        word.wordsInLine = in.ConsumeIntegralInRange(1, 255);
        word.pageOrdinal = ordinal;
        word.lastOfLine = in.ConsumeBool();
        const QList<EntryRecognition::Area> areas = recognition.examine(word);
        FUZZ_CHECK(areas.size() <= EntryRecognition::kMaxNumbersPerWord);
        for (const EntryRecognition::Area& area : areas)
            FUZZ_CHECK(FuzzChecks::isInertExpression(
                BorderExpression::area(area.targetPage, area.comment, shape, area.box, border)));
    }
    return 0;
}
