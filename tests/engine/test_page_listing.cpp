// Reading today's djvused listing and dump lines.
#include "djvu/PageListing.h"
#include "djvu/TextDump.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kListing = "     A       81  shared_anno.iff\n"
                            "   1 P    10262  nb0001.djvu T=pdf page 0001\n"
                            "     I      120  dict0020.iff\n"
                            "   2 P    11400  P0007.DJVU\n"
                            "   3 P     9000  x\n"
                            "   4 P      500  odd T=name.djvu F=save.djvu T=title\n"
                            "     T     4000  thumbs.th44\n"
                            "10000 P 123456789  big.djvu\r\n";

TEST(PageListing, OnlyLinesOfTypePAreCountedAsPages)
{
    const PageListing listing = PageListing::parse(kListing);
    ASSERT_EQ(listing.pageCount(), 5);
    QStringList ids;
    for (const PageListing::Page& page : listing.pages())
        ids << page.identifier;
    EXPECT_EQ(ids, (QStringList{"nb0001.djvu", "P0007.DJVU", "x", "odd", "big.djvu"}));
    EXPECT_EQ(listing.pages()[4].position, 5);
}

TEST(PageListing, IdentifiersFindTheirPagesWithoutRegardToCaseOrSuffixes)
{
    const PageListing listing = PageListing::parse(kListing);
    EXPECT_EQ(listing.positionOf("nb0001.djvu"), 1);
    EXPECT_EQ(listing.positionOf("NB0001.DJVU"), 1);
    EXPECT_EQ(listing.positionOf("p0007.djvu"), 2);
    EXPECT_EQ(listing.positionOf("x"), 3);
    EXPECT_EQ(listing.positionOf("big.djvu"), 5);
    EXPECT_EQ(listing.positionOf("shared_anno.iff"), 0);
    EXPECT_EQ(listing.positionOf("nope.djvu"), 0);
    // A name that itself holds " T=" still matches as a whole.
    EXPECT_EQ(listing.positionOf("odd T=name.djvu"), 4);
    EXPECT_EQ(listing.positionOf("odd"), 4);
}

TEST(PageListing, CyrillicNamesCompareWithoutRegardToCase)
{
    const PageListing listing =
        PageListing::parse(QString::fromUtf8("   1 P      100  Страница.djvu\n").toUtf8());
    EXPECT_EQ(listing.positionOf(QString::fromUtf8("СТРАНИЦА.DJVU")), 1);
}

TEST(TextDump, PageSelectionsInAllThreeForms)
{
    PageSelection s;
    ASSERT_TRUE(TextDump::parsePageSelection("select \"p0002.djvu\" # page 2", &s));
    EXPECT_EQ(s.identifier, "p0002.djvu");
    EXPECT_EQ(s.pageNumber, 2);
    ASSERT_TRUE(TextDump::parsePageSelection("select \"p0003.djvu\"", &s));
    EXPECT_EQ(s.identifier, "p0003.djvu");
    EXPECT_EQ(s.pageNumber, 0);
    ASSERT_TRUE(TextDump::parsePageSelection("select 'p0004.djvu'", &s));
    EXPECT_EQ(s.identifier, "p0004.djvu");
    ASSERT_TRUE(
        TextDump::parsePageSelection("select \"a\\\"b\\\\c \\320\\257.djvu\" # page 12", &s));
    EXPECT_EQ(s.identifier, QString::fromUtf8("a\"b\\c Я.djvu"));
    EXPECT_EQ(s.pageNumber, 12);

    EXPECT_FALSE(TextDump::parsePageSelection("select; remove-txt", &s));
    EXPECT_FALSE(TextDump::parsePageSelection("# ------------------------- ", &s));
    EXPECT_FALSE(TextDump::parsePageSelection("  (word 1 2 3 4 \"select\")", &s));
    EXPECT_FALSE(TextDump::parsePageSelection("selection", &s));
}

TEST(TextDump, LineAndWordRecords)
{
    ZoneBox box;
    bool malformed = false;
    ASSERT_TRUE(TextDump::parseLineRecord(" (line 163 4499 1675 4561", &box, &malformed));
    EXPECT_EQ(box, (ZoneBox{163, 4499, 1675, 4561}));
    ASSERT_TRUE(TextDump::parseLineRecord(" (line 1 2 3 4)", &box, &malformed));
    EXPECT_EQ(box, (ZoneBox{1, 2, 3, 4}));
    EXPECT_FALSE(TextDump::parseLineRecord("  (word 1 2 3 4 \"line\")", &box, &malformed));
    EXPECT_FALSE(malformed);
    EXPECT_FALSE(TextDump::parseLineRecord(" (line 1 2 x 4", &box, &malformed));
    EXPECT_TRUE(malformed);
    EXPECT_FALSE(TextDump::parseLineRecord(" (line 1 2 99999999999 4", &box, &malformed));
    EXPECT_TRUE(malformed);

    QByteArray text;
    ASSERT_TRUE(
        TextDump::parseWordRecord("  (word 3120 3722 3151 3763 \"2\"))", &box, &text, &malformed));
    EXPECT_EQ(box, (ZoneBox{3120, 3722, 3151, 3763}));
    EXPECT_EQ(text, "2");
    ASSERT_TRUE(TextDump::parseWordRecord("  (word 1 2 3 4 \"a\\\"b\")", &box, &text, &malformed));
    EXPECT_EQ(text, "a\\\"b");
    EXPECT_FALSE(TextDump::parseWordRecord("  (word 1 2 3 4 \"open", &box, &text, &malformed));
    EXPECT_TRUE(malformed);
    EXPECT_FALSE(TextDump::parseWordRecord("  (word 1 2 3", &box, &text, &malformed));
    EXPECT_TRUE(malformed);
    // A word split into characters has no text of its own; it is no error.
    EXPECT_FALSE(TextDump::parseWordRecord("  (word 1 2 3 4", &box, &text, &malformed));
    EXPECT_FALSE(malformed);
    EXPECT_FALSE(TextDump::isWordRecord(" (line 1 2 3 4"));
    EXPECT_FALSE(TextDump::isWordRecord("select \"word.djvu\""));
}

TEST(TextDump, TabsCutTheWordAndCountGluedWords)
{
    QByteArray line = "  (word 1 2 3 4 \"\\320\\223\\320\\273\\t15\")";
    EXPECT_EQ(TextDump::normaliseTabs(&line), 1);
    EXPECT_EQ(line, "  (word 1 2 3 4 \"15\")");
    line = "  (word 1 2 3 4 \"Intro\\t15\")";
    EXPECT_EQ(TextDump::normaliseTabs(&line), 0);
    EXPECT_EQ(line, "  (word 1 2 3 4 \"15\")");
    line = "  (word 1 2 3 4 \"a\\tb\\tc\")";
    EXPECT_EQ(TextDump::normaliseTabs(&line), 0);
    EXPECT_EQ(line, "  (word 1 2 3 4 \"c\")");
    // An escaped backslash followed by a "t" is no tab.
    line = "  (word 1 2 3 4 \"a\\\\tb\")";
    EXPECT_EQ(TextDump::normaliseTabs(&line), 0);
    EXPECT_EQ(line, "  (word 1 2 3 4 \"a\\\\tb\")");
}

} // namespace
