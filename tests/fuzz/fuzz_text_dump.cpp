// The text dump of "djvused -e output-txt": its record readers line by line, then the
// contents walk of every kind of work over the whole dump.
#include "FuzzChecks.h"
#include "ScriptCheck.h"

#include "base/CharTable.h"
#include "djvu/PageListing.h"
#include "djvu/TextDump.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "reading/BorderExpression.h"

namespace {

const PageListing& listing()
{
    static const PageListing pages = [] {
        QByteArray capture = "     A       81  shared_anno.iff\n";
        for (int n = 1; n <= 48; ++n)
            capture += QByteArray::number(n).rightJustified(4) + " P    10262  nb" +
                       QByteArray::number(n).rightJustified(4, '0') + ".djvu T=page\n";
        return PageListing::parse(capture);
    }();
    return pages;
}

void readRecords(const QByteArray& line)
{
    PageSelection selection;
    TextDump::parsePageSelection(line, &selection);
    ZoneBox box;
    bool malformed = false;
    if (TextDump::parseLineRecord(line, &box, &malformed))
        FUZZ_CHECK(!malformed);
    QByteArray normalised = line;
    FUZZ_CHECK(TextDump::normaliseTabs(&normalised) >= 0);
    QByteArray text;
    malformed = false;
    if (TextDump::parseWordRecord(normalised, &box, &text, &malformed))
        TextDump::unescape(text);
    TextDump::unescape(line);
    const qsizetype open = line.indexOf('"');
    if (open >= 0) {
        const qsizetype close = TextDump::closingQuote(line, open);
        FUZZ_CHECK(close == -1 || (close > open && close < line.size() && line[close] == '"'));
    }
}

void walk(const QList<QByteArray>& lines, int kind)
{
    EntryRecognition::Settings settings;
    settings.kind = WorkKind(kind);
    settings.offset = (kind - 1) * 16;
    settings.halve = settings.kind == WorkKind::Index1;
    settings.comment = CharTable::escape(QStringLiteral("Стр. \"%1\"")).toLatin1();
    settings.checkPageCount = settings.kind == WorkKind::Index2;
    settings.pageCount = 48;
    BorderExpression::Style style;
    style.borderType = BorderType(2 + kind);
    style.highlight = true;
    HyperlinkScript script;
    ContentsWalk walk(listing(), 1, 18, settings, BorderExpression::shapeWord(AreaShape(kind & 1)),
                      BorderExpression::build(style), script);
    for (const QByteArray& line : lines)
        if (!walk.feed(line))
            return;
    if (walk.finish())
        FUZZ_CHECK(isSafeHyperlinkScript(script.text()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QList<QByteArray> lines = FuzzChecks::bytes(data, size).split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        readRecords(line);
    }
    for (int kind = 0; kind < JobValue::kCount<WorkKind>; ++kind)
        walk(lines, kind);
    return 0;
}
