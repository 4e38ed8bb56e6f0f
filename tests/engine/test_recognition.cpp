// Entry recognition and area geometry over text-dump lines, without any tool.
#include "CreateTestSupport.h"
#include "djvu/PageListing.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "reading/EntryRecognition.h"

#include <gtest/gtest.h>

namespace {

using Settings = EntryRecognition::Settings;

struct Area
{
    qint64 target = 0;
    QString comment;
    int x = 0, y = 0, width = 0, height = 0;
    int page = 0; // the page number of the block that holds it
};

QList<Area> areasOf(const QByteArray& script)
{
    static const QRegularExpression select(QStringLiteral("^select (\\d+)"));
    static const QRegularExpression area(QStringLiteral(
        "\\(maparea \"#(-?\\d+)\" \"([^\"]*)\" \\(rect (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+) \\)"));
    QList<Area> areas;
    int page = 0;
    for (const QByteArray& line : script.split('\n')) {
        const QString text = QString::fromLatin1(line);
        const auto s = select.match(text);
        if (s.hasMatch())
            page = s.captured(1).toInt();
        auto it = area.globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            areas.append({m.captured(1).toLongLong(), m.captured(2), m.captured(3).toInt(),
                          m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                          page});
        }
    }
    return areas;
}

QByteArray walkScript(const QList<FixturePage>& pages, int first, int last, Settings settings)
{
    const PageListing listing = PageListing::parse(CreateTest::listingOf(pages));
    if (settings.pageCount == 0)
        settings.pageCount = listing.pageCount();
    HyperlinkScript script;
    ContentsWalk walk(listing, first, last, settings, "rect", "(xor )", script);
    for (const QByteArray& line : CreateTest::dumpOf(pages).split('\n'))
        EXPECT_TRUE(walk.feed(line)) << walk.error().toStdString();
    EXPECT_TRUE(walk.finish());
    return script.text();
}

QList<Area> recognise(const QList<FixturePage>& pages, int first, int last, Settings settings = {})
{
    return areasOf(walkScript(pages, first, last, settings));
}

QList<qint64> targets(const QList<Area>& areas)
{
    QList<qint64> t;
    for (const Area& a : areas)
        t << a.target;
    return t;
}

Settings kind(int k)
{
    Settings s;
    s.kind = WorkKind(k);
    return s;
}

TEST(ContentsRecognition, TheLastNumberOfATitledLineBecomesAnAreaOverTheWholeLine)
{
    const FixturePage page = FixturePage::ofLines({{"Глава", "1.", "Введение", "........", "15"}});
    const QList<Area> areas = recognise({page}, 1, 1);
    ASSERT_EQ(areas.size(), 1);
    const FixtureLine& line = page.lines.first();
    EXPECT_EQ(areas[0].target, 15);
    EXPECT_EQ(areas[0].x, 300);
    EXPECT_EQ(areas[0].y, 3000);
    EXPECT_EQ(areas[0].width, line.words.last().right - 300);
    EXPECT_EQ(areas[0].height, 40);
    EXPECT_EQ(areas[0].comment, QString()); // no comment given here
}

TEST(ContentsRecognition, ALoneNumberIsNoContentsEntryButIsAnIndexEntry)
{
    const FixturePage page = FixturePage::ofLines({{"15"}});
    EXPECT_TRUE(recognise({page}, 1, 1, kind(0)).isEmpty());
    EXPECT_EQ(targets(recognise({page}, 1, 1, kind(1))), QList<qint64>{15});
}

TEST(ContentsRecognition, NumbersMayNotFallWithinAPageButMayOnTheNextPage)
{
    const FixturePage first =
        FixturePage::ofLines({{"One", "5"}, {"Two", "9"}, {"Three", "7"}, {"Four", "12"}});
    const FixturePage second = FixturePage::ofLines({{"Five", "3"}, {"Six", "4"}});
    const QList<Area> areas = recognise({first, second}, 1, 2);
    EXPECT_EQ(targets(areas), (QList<qint64>{5, 9, 12, 3, 4}));
    EXPECT_EQ(areas[3].page, 2);
}

TEST(ContentsRecognition, OnlyWordsWithExactlyOneRunOfAsciiDigitsAreEntries)
{
    const FixturePage page = FixturePage::ofLines({{"Intro", "15."},
                                                   {"Range", "1-15"},
                                                   {"Decimal", "3.5"},
                                                   {"Russian", "стр.15"},
                                                   {"Later", "(20)"}});
    EXPECT_EQ(targets(recognise({page}, 1, 1)), (QList<qint64>{15, 20}));

    QByteArray digits;
    EXPECT_TRUE(EntryRecognition::contentsNumber("a15b", &digits));
    EXPECT_EQ(digits, "15");
    EXPECT_FALSE(EntryRecognition::contentsNumber("a1b2", &digits));
    EXPECT_FALSE(EntryRecognition::contentsNumber("1--5", &digits));
    EXPECT_FALSE(EntryRecognition::contentsNumber("xvi", &digits));
}

TEST(ContentsRecognition, OnlyTheLastWordOfATextLineCounts)
{
    const FixturePage page =
        FixturePage::ofLines({{"Part", "2", "Methods"}, {"Part", "3", "Results", "40"}});
    EXPECT_EQ(targets(recognise({page}, 1, 1, kind(1))), QList<qint64>{40});
}

TEST(ContentsRecognition, ABulletRepeatsThePageOfTheLastEntry)
{
    const FixturePage page = FixturePage::ofLines({{"Chapter", "40"}, {"More", "•"}});
    EXPECT_EQ(targets(recognise({page}, 1, 1)), (QList<qint64>{40, 40}));
}

TEST(ContentsRecognition, OffsetAndHalvingGiveTheTargetPage)
{
    EXPECT_EQ(EntryRecognition::targetPage(15, 4, false), 19);
    EXPECT_EQ(EntryRecognition::targetPage(15, 4, true), 11);
    EXPECT_EQ(EntryRecognition::targetPage(14, 4, true), 11);
    EXPECT_EQ(EntryRecognition::targetPage(3, -5, false), -2);

    Settings halved;
    halved.halve = true;
    const FixturePage page = FixturePage::ofLines({{"A", "14"}, {"B", "15"}});
    const QList<Area> areas = recognise({page}, 1, 1, halved);
    EXPECT_EQ(targets(areas), (QList<qint64>{7, 7}));
    ASSERT_EQ(areas.size(), 2);
    EXPECT_EQ(areas[1].comment, QString()); // comments carry the printed number
}

TEST(ContentsRecognition, TargetsBeforeTheFirstPageGetNoAreaButStillCountAsEntries)
{
    Settings s;
    s.offset = -5;
    const FixturePage page = FixturePage::ofLines({{"One", "3"}, {"Two", "5"}, {"Three", "9"}});
    const QList<Area> areas = recognise({page}, 1, 1, s);
    EXPECT_EQ(targets(areas), QList<qint64>{4});
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].height, 100); // follows the skipped entry's line, as it would
}

TEST(ContentsRecognition, TheCommentEndsWithThePrintedPageNumber)
{
    Settings s;
    s.comment = "Go to page";
    s.offset = 4;
    const FixturePage page = FixturePage::ofLines({{"Chapter", "15"}});
    QList<Area> areas = recognise({page}, 1, 1, s);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].comment, "Go to page 15");
    EXPECT_EQ(areas[0].target, 19);

    s.comment = "   ";
    areas = recognise({page}, 1, 1, s);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].comment, "   ");

    s.comment = "\\320\\220 ";
    areas = recognise({page}, 1, 1, s);
    EXPECT_EQ(areas[0].comment, "\\320\\220 15");
}

TEST(ContentsRecognition, ThePageCountCheckFallsBackToTheLastEntry)
{
    Settings s;
    s.checkPageCount = true;
    s.pageCount = 200;
    const FixturePage page =
        FixturePage::ofLines({{"One", "12"}, {"Two", "1999"}, {"Three", "30"}});
    EXPECT_EQ(targets(recognise({page}, 1, 1, s)), (QList<qint64>{12, 12, 30}));
    s.kind = WorkKind::Index1;
    EXPECT_EQ(targets(recognise({page}, 1, 1, s)), (QList<qint64>{12, 12, 30}));
    s.checkPageCount = false;
    EXPECT_EQ(targets(recognise({page}, 1, 1, s)), (QList<qint64>{12, 1999, 30}));
}

TEST(ContentsRecognition, ANumberTooLongForAPageIsNoEntryAndStopsNothing)
{
    const FixturePage page =
        FixturePage::ofLines({{"ISBN", "97850000000000000000"}, {"Chapter", "7"}});
    EXPECT_EQ(targets(recognise({page}, 1, 1)), QList<qint64>{7});
}

TEST(ContentsGeometry, TheFirstEntryUnderAHeadingCoversTheHeading)
{
    FixturePage page;
    page.lines << FixtureLine::layout(900, 3200, {"Contents"});
    page.lines << FixtureLine::layout(300, 3100, {"Chapter", "1"});
    page.lines << FixtureLine::layout(300, 3000, {"Chapter", "2"});
    const QList<Area> areas = recognise({page}, 1, 1);
    ASSERT_EQ(areas.size(), 2);
    EXPECT_EQ(areas[0].y, 3100);
    EXPECT_EQ(areas[0].height, 140); // up to the heading's top, 3240
    EXPECT_EQ(areas[1].y, 3000);
    EXPECT_EQ(areas[1].height, 100); // down from the last entry's top
}

TEST(ContentsGeometry, ATitleOverSeveralLinesIsCoveredFromItsFirstLine)
{
    FixturePage page;
    page.lines << FixtureLine::layout(300, 3100, {"Short", "1"});
    page.lines << FixtureLine::layout(300, 3000, {"A", "long", "title"});
    page.lines << FixtureLine::layout(300, 2900, {"that", "ends", "here", "5"});
    const QList<Area> areas = recognise({page}, 1, 1);
    ASSERT_EQ(areas.size(), 2);
    EXPECT_EQ(areas[1].y, 2900);
    EXPECT_EQ(areas[1].height, 200); // from 2900 up to 3100, the first entry's bottom
}

TEST(ContentsGeometry, AreasOfOneColumnStartAtTheLeftmostEdgeAbove)
{
    FixturePage page;
    page.lines << FixtureLine::layout(300, 3100, {"Chapter", "one", "1"});
    page.lines << FixtureLine::layout(360, 3000, {"Section", "2"});
    page.lines << FixtureLine::layout(1500, 3100, {"Second", "column", "9"});
    const QList<Area> areas = recognise({page}, 1, 1);
    ASSERT_EQ(areas.size(), 3);
    EXPECT_EQ(areas[1].x, 300);
    EXPECT_EQ(areas[1].width, page.lines[1].words.last().right - 300);
    // The top of a new column covers only its own line; its left edge stays its own.
    EXPECT_EQ(areas[2].x, 1500);
    EXPECT_EQ(areas[2].y, 3100);
    EXPECT_EQ(areas[2].height, 40);
}

TEST(ContentsGeometry, ALineWithTheSameTopAsTheLineBeforeIsAsHighAsItsTop)
{
    FixturePage page;
    page.lines << FixtureLine::layout(300, 3000, {"Left", "part"});
    page.lines << FixtureLine::layout(900, 3000, {"Chapter", "3"});
    const QList<Area> areas = recognise({page}, 1, 1);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].height, 3040);
}

TEST(ContentsRecognition, ATabGluedTitleCountsAsTwoWords)
{
    const FixturePage glued = FixturePage::ofLines({{"Глава\t15"}});
    EXPECT_EQ(targets(recognise({glued}, 1, 1)), QList<qint64>{15});
    const FixturePage ascii = FixturePage::ofLines({{"Intro\t15"}});
    EXPECT_TRUE(recognise({ascii}, 1, 1).isEmpty());
    EXPECT_EQ(targets(recognise({ascii}, 1, 1, kind(1))), QList<qint64>{15});
}

TEST(IndexRecognition, AListOfNumbersSplitsTheWordBox)
{
    FixturePage page;
    FixtureLine line;
    line.words << FixtureWord{200, 3000, 800, 3040, "Term"};
    line.words << FixtureWord{1000, 3000, 1100, 3040, "15,17"};
    page.lines << line;
    Settings s = kind(2);
    s.offset = 2;
    s.comment = "p.";
    const QList<Area> areas = recognise({page}, 1, 1, s);
    ASSERT_EQ(areas.size(), 2);
    EXPECT_EQ(areas[0].x, 1000);
    EXPECT_EQ(areas[0].width, 50);
    EXPECT_EQ(areas[1].x, 1050);
    EXPECT_EQ(areas[1].width, 50);
    EXPECT_EQ(areas[0].height, 40);
    EXPECT_EQ(targets(areas), (QList<qint64>{17, 19}));
    EXPECT_EQ(areas[0].comment, "p. 15");
    EXPECT_EQ(areas[1].comment, "p. 17");

    page.lines.first().words.last().text = "15—17";
    EXPECT_EQ(targets(recognise({page}, 1, 1, s)), (QList<qint64>{17, 19}));
    page.lines.first().words.last().text = "xvi";
    EXPECT_TRUE(recognise({page}, 1, 1, s).isEmpty());
}

TEST(IndexRecognition, EveryNumberedWordIsAnEntryButNotWordsStartingWithALetterOutsideAscii)
{
    const FixturePage page = FixturePage::ofLines({{"Term", "3", "7", "стр.9", "p.11"}});
    const QList<Area> areas = recognise({page}, 1, 1, kind(2));
    EXPECT_EQ(targets(areas), (QList<qint64>{3, 7, 11}));
    ASSERT_EQ(areas.size(), 3);
    EXPECT_EQ(areas[0].x, page.lines[0].words[1].left); // the word's own box
    EXPECT_EQ(areas[0].width, page.lines[0].words[1].right - page.lines[0].words[1].left);
}

TEST(IndexRecognition, NumberListsAreReadLikeThis)
{
    QList<QByteArray> list;
    QByteArray digits;
    EntryRecognition::indexNumbers("15,17,21", &list, &digits);
    EXPECT_EQ(list, (QList<QByteArray>{"15", "17", "21"}));
    EntryRecognition::indexNumbers("15", &list, &digits);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(digits, "15");
    EntryRecognition::indexNumbers("15,", &list, &digits);
    EXPECT_EQ(list, QList<QByteArray>{"15"});
    EntryRecognition::indexNumbers("A\\321\\20115", &list, &digits);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(digits, "15");
}

TEST(IndexRecognition, SplitAreasRoundHalvesToEven)
{
    EXPECT_EQ(EntryRecognition::roundHalfEven(5, 2), 2);
    EXPECT_EQ(EntryRecognition::roundHalfEven(15, 2), 8);
    EXPECT_EQ(EntryRecognition::roundHalfEven(100, 3), 33);
    EXPECT_EQ(EntryRecognition::roundHalfEven(200, 3), 67);

    FixturePage page;
    FixtureLine line;
    line.words << FixtureWord{1000, 3000, 1010, 3040, "1,2,3,4"};
    page.lines << line;
    const QList<Area> areas = recognise({page}, 1, 1, kind(2));
    ASSERT_EQ(areas.size(), 4);
    QList<int> xs;
    for (const Area& a : areas) {
        xs << a.x;
        EXPECT_EQ(a.width, 2); // 2.5 rounds to 2
    }
    EXPECT_EQ(xs, (QList<int>{1000, 1002, 1005, 1008}));
}

TEST(IndexRecognition, AWordWithMoreThanAHundredNumbersGetsAHundredAreas)
{
    QStringList numbers;
    for (int i = 1; i <= 150; ++i)
        numbers << QString::number(i);
    FixturePage page;
    page.width = 15000; // the word's areas all lie on the page
    FixtureLine line;
    line.words << FixtureWord{0, 3000, 15000, 3040, numbers.join(',')};
    page.lines << line;
    EXPECT_EQ(recognise({page}, 1, 1, kind(2)).size(), 100);
}

TEST(ContentsWalk, OnlyPagesOfTheRangeAreReadAndPagesWithoutTextAreSkippedByName)
{
    FixturePage cover = FixturePage::ofLines({{"Title", "2024"}});
    FixturePage blank;
    blank.hasText = false;
    FixturePage contents = FixturePage::ofLines({{"Chapter", "5"}});
    FixturePage other = FixturePage::ofLines({{"Chapter", "8"}});
    // The dump lists the cover and the contents as its 1st and 2nd pages; the contents is
    // the listing's 3rd page, and only the listing's numbering counts.
    const QList<Area> areas = recognise({cover, blank, contents, other}, 3, 3);
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].target, 5);
    EXPECT_EQ(areas[0].page, 3);
}

TEST(ContentsWalk, IdentifiersMatchWithoutRegardToCase)
{
    QList<FixturePage> pages = {FixturePage::ofLines({{"Intro", "1"}}),
                                FixturePage::ofLines({{"Chapter", "5"}})};
    pages[0].id = "P0001.DJVU";
    pages[1].id = "P0002.DJVU";
    pages[1].title = "ii";
    QByteArray dump = CreateTest::dumpOf(pages);
    dump.replace("P0002.DJVU", "p0002.djvu").replace("# page 2", "");
    const PageListing listing = PageListing::parse(CreateTest::listingOf(pages));
    HyperlinkScript script;
    ContentsWalk walk(listing, 2, 2, Settings{}, "rect", "(xor )", script);
    for (const QByteArray& line : dump.split('\n'))
        ASSERT_TRUE(walk.feed(line));
    ASSERT_TRUE(walk.finish());
    const QList<Area> areas = areasOf(script.text());
    ASSERT_EQ(areas.size(), 1);
    EXPECT_EQ(areas[0].page, 2);
}

TEST(ContentsWalk, AMalformedRecordOfAContentsPageIsAnErrorElsewhereIgnored)
{
    const PageListing listing = PageListing::parse("   1 P 10  a.djvu\n   2 P 10  b.djvu\n");
    for (int first : {1, 2}) {
        HyperlinkScript script;
        ContentsWalk walk(listing, first, first, Settings{}, "rect", "(xor )", script);
        bool ok = true;
        for (const char* line : {"select; remove-txt", "select \"a.djvu\" # page 1",
                                 "(page 0 0 10 10", " (line 1 2 x 4", "select \"b.djvu\""})
            ok = walk.feed(line) && ok;
        ok = walk.finish() && ok;
        EXPECT_EQ(ok, first == 2) << first;
        if (!ok) {
            EXPECT_TRUE(walk.error().contains("line")) << walk.error().toStdString();
        }
    }
}

} // namespace

namespace {

TEST(ContentsWalk, TheOpeningSelectOfTheWholeDocumentIsNoPage)
{
    const PageListing listing = PageListing::parse("   1 P 10  a.djvu\n   2 P 10  b.djvu\n");
    for (const bool withHeader : {true, false}) {
        HyperlinkScript script;
        ContentsWalk walk(listing, 1, 1, Settings{}, "rect", "(xor )", script);
        QList<QByteArray> lines = {"select \"a.djvu\" # page 1",
                                   "(page 0 0 10 10",
                                   " (line 1 2 300 40",
                                   "  (word 1 2 100 40 \"Intro\")",
                                   "  (word 200 2 300 40 \"1\")))",
                                   ".",
                                   "select \"b.djvu\" # page 2"};
        if (withHeader)
            lines.prepend("select; remove-txt");
        for (const QByteArray& line : lines)
            ASSERT_TRUE(walk.feed(line));
        ASSERT_TRUE(walk.finish());
        EXPECT_EQ(walk.contentsPagesSeen(), 1);
        EXPECT_EQ(targets(areasOf(script.text())), QList<qint64>{1}) << withHeader;
    }
}

} // namespace

namespace {

// Damaged or hostile dumps: whatever the lines hold, the walk ends with a script whose
// every area is well formed, or with an error; it never crashes or writes stray text.
TEST(ContentsWalk, MangledDumpLinesGiveWellFormedAreasOrAnError)
{
    QList<FixturePage> pages;
    for (int p = 0; p < 3; ++p) {
        FixturePage page;
        for (int l = 0; l < 6; ++l)
            page.lines << FixtureLine::layout(300, 3000 - 100 * l,
                                              {"Глава\tодин", "15,17", "•", "3.5", "12"});
        pages << page;
    }
    const QList<QByteArray> clean = CreateTest::dumpOf(pages).split('\n');
    const PageListing listing = PageListing::parse(CreateTest::listingOf(pages));
    const QByteArray alphabet = "()\"\\ 0123456789-selctwordin'#t.\t";
    static const QRegularExpression area(
        QStringLiteral("^\\(maparea \"#-?\\d+\" \"[^\"]*\" \\(rect -?\\d+ -?\\d+ -?\\d+ -?\\d+ "
                       "\\) \\(xor \\) \\) $"));
    quint32 seed = 12345;
    auto random = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 300; ++round) {
        HyperlinkScript script;
        EntryRecognition::Settings settings;
        settings.kind = WorkKind(random(3));
        settings.checkPageCount = random(2) == 0;
        settings.pageCount = 3;
        ContentsWalk walk(listing, 1, 3, settings, "rect", "(xor )", script);
        bool ok = true;
        for (QByteArray line : clean) {
            for (int edits = int(random(3)); edits > 0 && !line.isEmpty(); --edits) {
                const qsizetype at = random(quint32(line.size()));
                switch (random(3)) {
                case 0:
                    line.remove(at, 1);
                    break;
                case 1:
                    line.insert(at, alphabet[random(quint32(alphabet.size()))]);
                    break;
                default:
                    line[at] = alphabet[random(quint32(alphabet.size()))];
                    break;
                }
            }
            ok = walk.feed(line) && ok;
        }
        ok = walk.finish() && ok;
        if (!ok) {
            EXPECT_FALSE(walk.error().isEmpty());
            continue;
        }
        for (const QByteArray& line : script.text().split('\n')) {
            const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
            if (!text.startsWith("(maparea"))
                continue;
            // Split the line back into its areas, each ending in ") ) ".
            qsizetype from = 0;
            while (from < text.size()) {
                const qsizetype end = text.indexOf("(xor ) ) ", from);
                ASSERT_GE(end, 0) << text.constData();
                const QByteArray one = text.mid(from, end + 9 - from);
                EXPECT_TRUE(area.match(QString::fromLatin1(one)).hasMatch()) << one.constData();
                from = end + 9;
            }
        }
    }
}

} // namespace

namespace {

// Walks the pages and returns the walk's page reports along with the areas.
QList<ContentsWalk::PageReport> reportsOf(const QList<FixturePage>& pages, int first, int last,
                                          Settings settings, QList<Area>* areas)
{
    const PageListing listing = PageListing::parse(CreateTest::listingOf(pages));
    if (settings.pageCount == 0)
        settings.pageCount = listing.pageCount();
    HyperlinkScript script;
    ContentsWalk walk(listing, first, last, settings, "rect", "(xor )", script);
    for (const QByteArray& line : CreateTest::dumpOf(pages).split('\n'))
        EXPECT_TRUE(walk.feed(line));
    EXPECT_TRUE(walk.finish());
    *areas = areasOf(script.text());
    return walk.pageReports();
}

TEST(ContentsRecognition, ThePageCountCheckLooksAtTheTargetPageAfterOffsetAndHalving)
{
    Settings s;
    s.checkPageCount = true;
    s.pageCount = 48;
    s.offset = 40;
    const FixturePage page = FixturePage::ofLines(
        {{"One", "3"}, {"Two", "8"}, {"Three", "9"}, {"Four", "16"}, {"Index", "2"}});
    QList<Area> areas;
    const auto reports = reportsOf({page}, 1, 1, s, &areas);
    // 9 and 16 lead past page 48: they fall back to the entry before, whose target (48)
    // is in the book; nothing leads past the last page.
    EXPECT_EQ(targets(areas), (QList<qint64>{43, 48, 48, 48}));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].tally.made, 4);
    EXPECT_EQ(reports[0].tally.fallingNumber, 1);

    // The first entries have nothing to fall back on; index entries do not go past the
    // end either, also within a list of numbers.
    s.offset = 46;
    EXPECT_EQ(targets(recognise({page}, 1, 1, s)), QList<qint64>{48});
    s.kind = WorkKind::Index2;
    s.offset = 45;
    FixturePage index;
    index.lines << FixtureLine::layout(300, 3000, {"2,3,5"});
    EXPECT_EQ(targets(recognise({index}, 1, 1, s)), (QList<qint64>{47, 48}));

    // Halving: printed 90 is page 45 + 3 = 48.
    Settings halved;
    halved.checkPageCount = true;
    halved.pageCount = 48;
    halved.offset = 3;
    halved.halve = true;
    EXPECT_EQ(targets(recognise({FixturePage::ofLines({{"A", "90"}, {"B", "92"}})}, 1, 1, halved)),
              (QList<qint64>{48, 48}));
}

TEST(ContentsRecognition, EachContentsPageIsReportedWithItsSkippedEntriesAndWhy)
{
    Settings s;
    s.checkPageCount = true;
    s.offset = 100;
    const QList<FixturePage> pages = {FixturePage::ofLines({{"One", "3"}, {"Two", "8"}}),
                                      FixturePage::ofLines({{"Three", "1"}})};
    QList<Area> areas;
    auto reports = reportsOf(pages, 1, 2, s, &areas);
    EXPECT_TRUE(areas.isEmpty());
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0].page, 1);
    EXPECT_EQ(reports[0].tally.beyondLastPage, 2);
    EXPECT_EQ(ContentsWalk::describe(reports[0], 2),
              "Page 1: no link made; the page keeps the links it had, 2 entries skipped (2 with "
              "a target past page 2).");

    s.offset = -2;
    reports = reportsOf({FixturePage::ofLines({{"One", "1"}, {"Two", "3"}}),
                         FixturePage::ofLines({{"Three", "2"}})},
                        1, 2, s, &areas);
    EXPECT_EQ(targets(areas), QList<qint64>{1});
    EXPECT_EQ(ContentsWalk::describe(reports[0], 2),
              "Page 1: 1 link made, 1 entry skipped (1 with a target before page 1).");
    EXPECT_EQ(ContentsWalk::describe(reports[1], 2),
              "Page 2: no link made; the page keeps the links it had, 1 entry skipped (1 with a "
              "target before page 1).");

    s.offset = 0;
    s.checkPageCount = false;
    const FixturePage falling = FixturePage::ofLines({{"One", "2"}, {"Two", "1"}});
    reports = reportsOf({falling, pages[1]}, 1, 1, s, &areas);
    EXPECT_EQ(ContentsWalk::describe(reports[0], 2),
              "Page 1: 1 link made, 1 entry skipped (1 with a number smaller than the entry "
              "above).");
}

TEST(ContentsGeometry, BoxesAtTheEndsOfTheNumberRangeGiveNoAreaOutsideThePage)
{
    // Text line boxes spanning the whole range of whole numbers: the width, the height and
    // the split of a list would not fit 32 bits.
    FixturePage page;
    FixtureLine wide;
    wide.words << FixtureWord{INT_MIN, 3000, 100, 3040, "Title"}
               << FixtureWord{200, 3000, INT_MAX, 3040, "7"};
    page.lines << wide;
    FixtureLine tall;
    tall.words << FixtureWord{300, INT_MIN, 400, INT_MAX, "Tall"}
               << FixtureWord{500, INT_MIN, 600, INT_MAX, "8"};
    page.lines << tall;
    FixtureLine far;
    far.words << FixtureWord{50000, 3000, 50100, 3040, "Far"}
              << FixtureWord{50200, 3000, 50300, 3040, "9"};
    page.lines << far;
    page.lines << FixtureLine::layout(300, 2000, {"Fine", "10"});
    for (int kind : {0, 1, 2}) {
        Settings s;
        s.kind = WorkKind(kind);
        QList<Area> areas;
        const auto reports = reportsOf({page}, 1, 1, s, &areas);
        for (const Area& a : areas) {
            EXPECT_GE(a.x, 0) << kind;
            EXPECT_LE(qint64(a.x) + a.width, 2480) << kind;
            EXPECT_GE(qint64(a.y) + a.height, 0) << kind;
        }
        ASSERT_EQ(reports.size(), 1);
        EXPECT_GE(reports[0].tally.outsidePage, 3) << kind;
        EXPECT_EQ(targets(areas).last(), 10) << kind;
    }
    FixturePage list;
    FixtureLine numbers;
    numbers.words << FixtureWord{INT_MIN, INT_MIN, INT_MAX, INT_MAX, "1,2,3"};
    list.lines << numbers;
    EXPECT_TRUE(recognise({list}, 1, 1, kind(2)).isEmpty());
}

} // namespace
