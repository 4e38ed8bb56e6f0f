#include "djvu/AnnotationScanner.h"
#include "links/AreaAlignment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A capture as today's djvused prints it: the opening command, the shared annotations,
// then one block per page.
QByteArray capture(const QList<QByteArray>& pageBodies)
{
    QByteArray out = "select; remove-ant\n"
                     "# ------------------------- \n"
                     "select \"shared_anno.iff\"\n"
                     "set-ant\n"
                     "(background #808080 ) (zoom width ) (mode color ) \n"
                     ".\n";
    for (int i = 0; i < pageBodies.size(); ++i) {
        out += "# ------------------------- \n";
        out += "select \"p000" + QByteArray::number(i + 1) + ".djvu\" # page " +
               QByteArray::number(i + 1) + "\n";
        out += "set-ant\n" + pageBodies[i] + "\n.\n";
    }
    return out;
}

QByteArray link(int x, int w, int y = 900, const QByteArray& comment = "",
                const QByteArray& shape = "rect")
{
    return "(maparea \"#p0002.djvu\" \"" + comment + "\" (" + shape + " " + QByteArray::number(x) +
           " " + QByteArray::number(y) + " " + QByteArray::number(w) + " 40) (xor))";
}

QByteArray lines(const QList<QByteArray>& areas)
{
    return areas.toList().join('\n');
}

QByteArray align(const QByteArray& script)
{
    const AnnotationScan scan = AnnotationScanner::scan(script);
    EXPECT_TRUE(scan.ok()) << scan.error.toStdString();
    return AreaAlignment::rewrite(script, scan.areas, AreaAlignment::alignScript(scan).aligned);
}

QList<AreaBox> boxesOf(const QByteArray& script)
{
    QList<AreaBox> boxes;
    for (const ScannedArea& a : AnnotationScanner::scan(script).areas)
        boxes.append({a.left, a.width});
    return boxes;
}

std::string str(const QByteArray& b)
{
    return b.toStdString();
}

} // namespace

// --- The alignment rules over one page -------------------------------------------------

TEST(PageAlignment, TheWorkedExampleFormsTwoColumns)
{
    const PageAlignment page =
        AreaAlignment::alignPage({{100, 300}, {110, 250}, {520, 200}, {515, 260}});
    EXPECT_EQ(page.figures.leftMin, 100);
    EXPECT_EQ(page.figures.leftMax, 520);
    EXPECT_EQ(page.figures.widthMin, 200);
    EXPECT_EQ(page.figures.widthMax, 300);
    EXPECT_EQ(page.figures.secondEdge, 515);
    EXPECT_EQ(page.figures.leftWidth, 300);
    EXPECT_EQ(page.figures.rightWidth, 260);
    EXPECT_EQ(page.leftAligned, (QList<AreaBox>{{100, 300}, {100, 250}, {515, 200}, {515, 260}}));
    EXPECT_EQ(page.aligned, (QList<AreaBox>{{100, 300}, {100, 300}, {515, 260}, {515, 260}}));
}

TEST(PageAlignment, OneColumnWithSmallOffsetsTakesTheLeastEdgeAndGreatestWidth)
{
    EXPECT_EQ(AreaAlignment::alignPage({{100, 300}, {104, 280}, {98, 310}}).aligned,
              (QList<AreaBox>{{98, 310}, {98, 310}, {98, 310}}));
}

TEST(PageAlignment, AnEdgeExactlyAtTheNarrowestAreasEndStaysInTheLeftColumn)
{
    EXPECT_EQ(AreaAlignment::alignPage({{100, 300}, {400, 450}}).aligned,
              (QList<AreaBox>{{100, 450}, {100, 450}}));
}

TEST(PageAlignment, ARightColumnAsWideAsTheSpreadTakesTheLeftWidth)
{
    const PageAlignment page = AreaAlignment::alignPage({{100, 100}, {300, 250}});
    EXPECT_EQ(page.figures.secondEdge, 350); // raised from 300 past the widest area
    EXPECT_EQ(page.figures.leftWidth, 100);
    EXPECT_EQ(page.figures.rightWidth, 250);
    EXPECT_EQ(page.aligned, (QList<AreaBox>{{100, 100}, {350, 100}}));
}

TEST(PageAlignment, ASingleAreaAndAnAlignedColumnStayAsTheyAre)
{
    EXPECT_EQ(AreaAlignment::alignPage({{123, 456}}).aligned, (QList<AreaBox>{{123, 456}}));
    const QList<AreaBox> aligned = {{100, 300}, {100, 300}, {600, 200}, {600, 200}};
    EXPECT_EQ(AreaAlignment::alignPage(aligned).aligned, aligned);
    EXPECT_TRUE(AreaAlignment::alignPage({}).aligned.isEmpty());
}

TEST(PageAlignment, EdgesBeyond32000PixelsAndBelowZeroAreMeasuredAsTheyAre)
{
    EXPECT_EQ(AreaAlignment::alignPage({{32500, 100}, {32510, 90}}).aligned,
              (QList<AreaBox>{{32500, 100}, {32500, 100}}));
    EXPECT_EQ(AreaAlignment::alignPage({{-20, 100}, {-10, 90}}).aligned,
              (QList<AreaBox>{{-20, 100}, {-20, 100}}));
}

// --- The text of the capture ------------------------------------------------------------

TEST(FixScript, OnlyTheLeftEdgeAndWidthOfTheWorkedExampleChange)
{
    const QByteArray before =
        capture({lines({link(100, 300), link(110, 250), link(520, 200), link(515, 260)})});
    QByteArray expected = before;
    expected.replace("(rect 110 900 250 40)", "(rect 100 900 300 40)");
    expected.replace("(rect 520 900 200 40)", "(rect 515 900 260 40)");
    EXPECT_EQ(str(align(before)), str(expected));
}

TEST(FixScript, SeveralAreasOnOneLineAreEachAlignedAlsoARectangleFollowedByAnOval)
{
    const QByteArray one = capture({link(100, 300) + " " + link(110, 250, 800, "", "oval") + " " +
                                    link(520, 200) + " " + link(515, 260, 700, "", "oval")});
    EXPECT_EQ(boxesOf(align(one)),
              (QList<AreaBox>{{100, 300}, {100, 300}, {515, 260}, {515, 260}}));
    EXPECT_TRUE(align(one).contains("(oval 100 800 300 40)"));
    EXPECT_TRUE(align(one).contains("(oval 515 700 260 40)"));
}

TEST(FixScript, OtherShapesAndAnnotationsAreCopiedUnchanged)
{
    const QByteArray body = lines({link(100, 300), link(104, 280),
                                   "(maparea \"#p1\" \"\" (poly 10 10 200 10 100 300) (xor))",
                                   "(maparea \"\" \"\" (line 20 20 400 400) (arrow))",
                                   "(maparea \"\" \"note\" (text 30 30 500 60) (backclr #ffff00))",
                                   "(metadata (title \"rect 1 2 3 4\"))"});
    const QByteArray before = capture({body});
    QByteArray expected = before;
    expected.replace("(rect 104 900 280 40)", "(rect 100 900 300 40)");
    EXPECT_EQ(str(align(before)), str(expected));
    EXPECT_EQ(AnnotationScanner::scan(before).areas.size(), 2);
}

TEST(FixScript, PagesNeverInfluenceEachOther)
{
    const QByteArray before =
        capture({lines({link(100, 300), link(110, 250)}), lines({link(700, 50), link(705, 60)}),
                 lines({link(2000, 10)})});
    EXPECT_EQ(boxesOf(align(before)),
              (QList<AreaBox>{{100, 300}, {100, 300}, {700, 60}, {700, 60}, {2000, 10}}));
}

TEST(FixScript, WordsInsideLinksAndCommentsAreNeverTaken)
{
    // Each of these broke or split the page when words were searched as substrings.
    const QByteArray before = capture({lines({
        link(100, 300, 900, "Go to correct page"),
        link(110, 250, 800, "oval office"),
        link(104, 260, 700, "select this; select \\\"p2\\\""),
        link(98, 280, 600, "(rect 1 2 3 4) and (oval 5 6 7 8)"),
        "(maparea \"http://example.org/rect/oval?select=1\" \"\" (rect 102 500 270 40))",
    })});
    const AnnotationScan scan = AnnotationScanner::scan(before);
    ASSERT_TRUE(scan.ok()) << scan.error.toStdString();
    ASSERT_EQ(scan.areas.size(), 5);
    for (const ScannedArea& a : scan.areas)
        EXPECT_EQ(a.block, scan.areas.first().block);
    // The web link is neither aligned nor measured.
    EXPECT_EQ(boxesOf(align(before)), (QList<AreaBox>(4, AreaBox{98, 300}) << AreaBox{102, 270}));
    EXPECT_TRUE(align(before).contains("\"(rect 1 2 3 4) and (oval 5 6 7 8)\""));
}

TEST(FixScript, TheOlderCaptureFormsAreReadToo)
{
    // Before 2014 no "# page N"; before 2010 single-quoted names after a line of dashes.
    const QByteArray older = "select; remove-ant\n"
                             "# ------------------------- \n"
                             "select \"p0001.djvu\"\n"
                             "set-ant\n" +
                             lines({link(100, 300), link(110, 250)}) +
                             "\n.\n"
                             "# ------------------------- \n"
                             "select 'p0002.djvu'\n"
                             "set-ant\n" +
                             lines({link(500, 30), link(510, 20)}) + "\n.\n";
    EXPECT_EQ(boxesOf(align(older)),
              (QList<AreaBox>{{100, 300}, {100, 300}, {500, 30}, {500, 30}}));
}

TEST(FixScript, LineEndsSpacingAndNumberSpellingsStayAsTheyWere)
{
    // A Windows line end, blanks before the closing parenthesis, an area over two lines
    // and a number spelled with a sign keep every character that does not change.
    const QByteArray before = "select; remove-ant\r\n"
                              "select \"p0001.djvu\" # page 1\r\n"
                              "set-ant\r\n"
                              "(maparea \"#a\" \"\" (rect  +100   900 300 40 ) (xor ) )\r\n"
                              "(maparea \"#b\" \"\" (rect 110 800\r\n  250 40))\r\n"
                              ".\r\n";
    QByteArray expected = before;
    expected.replace("(rect 110 800\r\n  250 40)", "(rect 100 800\r\n  300 40)");
    EXPECT_EQ(str(align(before)), str(expected));
}

TEST(FixScript, ADocumentWithoutRectangleOrOvalLinksIsLeftAsItIs)
{
    const QByteArray before = capture(
        {"(maparea \"#p1\" \"\" (poly 10 10 200 10 100 300) (xor))", "", "(background #ffffff)"});
    EXPECT_EQ(str(align(before)), str(before));
    EXPECT_EQ(str(align(QByteArray())), "");
}

TEST(FixScript, AnAreaWithoutFourWholeNumbersIsAnError)
{
    for (const QByteArray& shape :
         {QByteArray("(rect 100 900 30.5 40)"), QByteArray("(rect 100 900 300)"),
          QByteArray("(oval 100 x 300 40)"), QByteArray("(rect 100 900 99999999999 40)")}) {
        const AnnotationScan scan =
            AnnotationScanner::scan(capture({"(maparea \"#a\" \"\" " + shape + ")"}));
        EXPECT_FALSE(scan.ok()) << str(shape);
    }
}

TEST(FixScript, AnAnnotationBlockWithoutItsClosingLineIsAnError)
{
    EXPECT_FALSE(AnnotationScanner::scan("select \"p0001.djvu\"\nset-ant\n" + link(1, 2)).ok());
    // Only a lone "." closes the block, as djvused reads it.
    EXPECT_FALSE(
        AnnotationScanner::scan("select \"p0001.djvu\"\nset-ant\n" + link(1, 2) + "\n .\n").ok());
}

namespace {

// The text with the left edge and width of every scanned area cut out.
QByteArray withoutEdgesAndWidths(const QByteArray& script, const AnnotationScan& scan)
{
    QByteArray out;
    qsizetype copied = 0;
    for (const ScannedArea& a : scan.areas) {
        out += script.mid(copied, a.leftPos - copied) + "<x>";
        out += script.mid(a.leftPos + a.leftLength, a.widthPos - a.leftPos - a.leftLength);
        out += "<w>";
        copied = a.widthPos + a.widthLength;
    }
    return out + script.mid(copied);
}

} // namespace

TEST(FixScript, RandomCapturesChangeInLeftEdgesAndWidthsOnly)
{
    const QList<QByteArray> comments = {"",        "rect",           "oval office", "select",
                                        "a\\\"b)", "(rect 1 2 3 4)", "\\\\",        "; # ."};
    const QList<QByteArray> shapes = {"rect", "oval", "poly", "line", "text"};
    const QList<QByteArray> blanks = {" ", "  ", "\n ", "\t"};
    std::srand(4242);
    auto pick = [](const QList<QByteArray>& list) { return list[std::rand() % list.size()]; };
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> pages;
        const int pageCount = 1 + std::rand() % 4;
        for (int p = 0; p < pageCount; ++p) {
            QList<QByteArray> areas;
            const int areaCount = std::rand() % 8;
            for (int i = 0; i < areaCount; ++i) {
                const QByteArray shape = pick(shapes);
                QByteArray numbers;
                const int count = shape == "poly" ? 6 : 4;
                for (int k = 0; k < count; ++k)
                    numbers += pick(blanks) + QByteArray::number(std::rand() % 3000);
                areas << "(maparea \"#" + pick(comments) + "\" \"" + pick(comments) + "\"" +
                             pick(blanks) + "(" + shape + numbers + pick({"", " "}) + ")" +
                             pick({"", " (xor)", " (border #ff0000) (hilite #00ff00)"}) + ")";
            }
            pages << areas.toList().join(pick({"\n", " ", "\r\n"}));
        }
        const QByteArray before = capture(pages);
        const AnnotationScan scan = AnnotationScanner::scan(before);
        ASSERT_TRUE(scan.ok()) << scan.error.toStdString() << "\n" << str(before);
        const QByteArray after = align(before);
        const AnnotationScan rescan = AnnotationScanner::scan(after);
        ASSERT_EQ(rescan.areas.size(), scan.areas.size()) << str(before);
        EXPECT_EQ(str(withoutEdgesAndWidths(after, rescan)),
                  str(withoutEdgesAndWidths(before, scan)));
        for (qsizetype i = 0; i < scan.areas.size(); ++i) {
            EXPECT_EQ(rescan.areas[i].bottom, scan.areas[i].bottom);
            EXPECT_EQ(rescan.areas[i].height, scan.areas[i].height);
            EXPECT_EQ(rescan.areas[i].block, scan.areas[i].block);
        }
    }
}

TEST(FixScript, ArbitraryBytesNeverCrashTheScanner)
{
    std::srand(99);
    const QByteArray alphabet = "()\"\\'; #.\n\r\t 0123456789-+rectovalmapsel";
    for (int round = 0; round < 2000; ++round) {
        QByteArray text;
        const int length = std::rand() % 200;
        for (int i = 0; i < length; ++i)
            text += alphabet[std::rand() % alphabet.size()];
        if (std::rand() % 2)
            text = "select 1\nset-ant\n(maparea \"\" \"\" (rect " + text;
        const AnnotationScan scan = AnnotationScanner::scan(text);
        if (scan.ok())
            AreaAlignment::rewrite(text, scan.areas, AreaAlignment::alignScript(scan).aligned);
    }
}
