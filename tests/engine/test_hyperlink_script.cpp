// The exact texts of the hyperlink script: border expressions, areas, blocks and layout.
#include "CreateTestSupport.h"
#include "djvu/PageListing.h"
#include "jobs/CreateRowReader.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "reading/BorderExpression.h"

#include <gtest/gtest.h>

namespace {

BorderExpression::Style style(int type)
{
    BorderExpression::Style s;
    s.borderType = BorderType(type);
    return s;
}

TEST(BorderExpression, EachBorderTypeStartsItsOwnWay)
{
    EXPECT_EQ(BorderExpression::build(style(0)), "(none )");
    EXPECT_EQ(BorderExpression::build(style(1)), "(xor )");
    BorderExpression::Style border = style(2);
    border.borderColour = "FF0000";
    EXPECT_EQ(BorderExpression::build(border), "(border #FF0000 )");
    BorderExpression::Style shadow = style(3);
    shadow.shadowWidth = 2;
    EXPECT_EQ(BorderExpression::build(shadow), "(shadow_in 2 )");
    shadow.borderType = BorderType::ShadowOut;
    EXPECT_EQ(BorderExpression::build(shadow), "(shadow_out 2 )");
    shadow.borderType = BorderType::ShadowEtchedIn;
    EXPECT_EQ(BorderExpression::build(shadow), "(shadow_ein 2 )");
    shadow.borderType = BorderType::ShadowEtchedOut;
    EXPECT_EQ(BorderExpression::build(shadow), "(shadow_eout 2 )");
}

TEST(BorderExpression, VisibilityAndHighlightFollowTheBorder)
{
    BorderExpression::Style s = style(2);
    s.borderColour = "FF0000";
    s.alwaysVisible = true;
    s.highlight = true;
    s.highlightColour = "FFFF00";
    EXPECT_EQ(BorderExpression::build(s), "(border #FF0000 ) (border_avis )  (hilite #FFFF00 )");
    BorderExpression::Style none = style(0);
    none.alwaysVisible = true;
    EXPECT_EQ(BorderExpression::build(none), "(none ) (border_avis ) ");
}

TEST(HyperlinkArea, AnEntrysAreaReadsExactlySo)
{
    EXPECT_EQ(BorderExpression::area(19, "Go to page 15", "rect", {310, 2874, 1650, 96}, "(xor )"),
              "(maparea \"#19\" \"Go to page 15\" (rect 310 2874 1650 96 ) (xor ) ) ");
    EXPECT_EQ(BorderExpression::area(-3, "", "oval", {1, 2, 3, 4}, "(none )"),
              "(maparea \"#-3\" \"\" (oval 1 2 3 4 ) (none ) ) ");
    EXPECT_EQ(BorderExpression::shapeWord(AreaShape::Rectangle), "rect");
    EXPECT_EQ(BorderExpression::shapeWord(AreaShape::Oval), "oval");
}

TEST(HyperlinkArea, TheContentsLinkWithItsStartingSettingsReadsExactlySo)
{
    BorderExpression::ContentsLink link;
    EXPECT_EQ(BorderExpression::contentsLinkArea(link),
              "(maparea \"# 4\" \"Go to content\" (rect 100 50 500 50) (xor  ) )");
    link.shape = "1";
    link.borderType = "2";
    link.colour1 = "00FF00";
    link.alwaysVisible = "1";
    link.highlight = "1";
    link.colour2 = "0000FF";
    link.comment = "А к";
    EXPECT_EQ(BorderExpression::contentsLinkArea(link),
              "(maparea \"# 4\" \"\\320\\220 \\320\\272\" (oval 100 50 500 50) (border #00FF00 "
              ") (border_avis ) (hilite #0000FF ) )");
    link.borderType = "5";
    link.borderWidth = "3";
    EXPECT_TRUE(BorderExpression::contentsLinkArea(link).contains("(shadow_ein 3 )"));
    link.borderType = "9";
    EXPECT_TRUE(BorderExpression::contentsLinkArea(link).contains("50) ( )"));
}

QByteArray scriptFor(const QList<FixturePage>& pages, int first, int last, bool removeOcr,
                     const CreateRow* linkRow = nullptr)
{
    const PageListing listing = PageListing::parse(CreateTest::listingOf(pages));
    HyperlinkScript script;
    if (removeOcr)
        script.removeText();
    if (linkRow) {
        CreateJob job;
        QString error;
        EXPECT_TRUE(CreateRowReader::read(*linkRow, &job, &error)) << error.toStdString();
        EXPECT_TRUE(ContentsLinkBlocks::write(job, listing.pageCount(), script, &error));
    }
    EntryRecognition::Settings settings;
    settings.comment = "Go to page";
    settings.pageCount = listing.pageCount();
    ContentsWalk walk(listing, first, last, settings, "rect", "(xor )", script);
    for (const QByteArray& line : CreateTest::dumpOf(pages).split('\n'))
        walk.feed(line);
    walk.finish();
    return script.text();
}

QList<FixturePage> fivePages()
{
    QList<FixturePage> pages;
    for (int i = 0; i < 5; ++i) {
        FixturePage page;
        page.lines << FixtureLine::layout(300, 3000, {"Chapter", QString::number(i + 1)});
        pages << page;
    }
    return pages;
}

TEST(HyperlinkScript, AFivePageDocumentWithItsContentsOnPagesTwoAndThree)
{
    const QByteArray area2 = "(maparea \"#2\" \"Go to page 2\" (rect 300 3000 212 40 ) (xor ) ) ";
    const QByteArray area3 = "(maparea \"#3\" \"Go to page 3\" (rect 300 3000 212 40 ) (xor ) ) ";
    const QByteArray expected = "select; remove-txt\r\n"
                                "\r\n"
                                "# -------------------------------------\r\n"
                                "select 2\r\n"
                                "set-ant\r\n" +
                                area2 +
                                "\r\n"
                                ".\r\n"
                                "# -------------------------------------\r\n"
                                "select 3\r\n"
                                "set-ant\r\n" +
                                area3 +
                                "\r\n"
                                ".\r\n"
                                "\r\n";
    EXPECT_EQ(scriptFor(fivePages(), 2, 3, true), expected);
}

TEST(HyperlinkScript, AContentsRangeOnTheLastPageEndsWithItsBlock)
{
    const QByteArray script = scriptFor(fivePages(), 5, 5, false);
    EXPECT_TRUE(script.endsWith("(xor ) ) \r\n.\r\n")) << script.constData();
    EXPECT_TRUE(script.startsWith("\r\n\r\n\r\n\r\n# ---")) << script.constData();
}

TEST(HyperlinkScript, AContentsRangeBeyondTheLastPageStillClosesItsLastBlock)
{
    const QByteArray script = scriptFor(fivePages(), 4, 9, false);
    EXPECT_TRUE(script.endsWith("(xor ) ) \r\n.\r\n")) << script.constData();
    EXPECT_EQ(script.count("set-ant"), 2);
}

TEST(HyperlinkScript, APageWithoutEntriesGetsNoBlockAndKeepsWhatItHas)
{
    QList<FixturePage> pages = fivePages();
    pages[1].lines = {FixtureLine::layout(300, 3000, {"Nothing", "here"})};
    const QByteArray script = scriptFor(pages, 2, 3, false);
    EXPECT_FALSE(script.contains("select 2")) << script.constData();
    EXPECT_EQ(script.count("set-ant"), 1);
    EXPECT_TRUE(script.contains("select 3\r\nset-ant\r\n(maparea \"#3\""));
}

TEST(HyperlinkScript, TheContentsLinkOnAContentsPageStandsInItsOneBlock)
{
    CreateRow row = CreateTest::row("/tmp/book.djvu", 2, 2);
    row.columns[13] = "1";
    row.columns[21] = "2";
    const QByteArray script = scriptFor(fivePages(), 2, 2, false, &row);
    EXPECT_EQ(script.count("select 2\r\n"), 1) << script.constData();
    EXPECT_TRUE(script.contains("select 2\r\nset-ant\r\n(maparea \"#2\" \"Go to page 2\" (rect "
                                "300 3000 212 40 ) (xor ) ) \r\n(maparea \"# 4\" \"Go to "
                                "content\" (rect 100 50 500 50) (xor  ) )\r\n.\r\n"))
        << script.constData();

    // A contents page without entries keeps what it has beside the contents link.
    QList<FixturePage> pages = fivePages();
    pages[1].lines = {FixtureLine::layout(300, 3000, {"Nothing", "here"})};
    EXPECT_TRUE(scriptFor(pages, 2, 2, false, &row)
                    .endsWith("select 2\r\nset-ant\r\n(maparea \"# 4\" \"Go to content\" (rect "
                              "100 50 500 50) (xor  ) )\r\n.\r\n"));
}

TEST(HyperlinkScript, TheContentsLinkGoesOnEveryPageWhateverItsName)
{
    QList<FixturePage> pages = fivePages();
    pages[3].id = "P0009.DJVU";
    CreateRow row = CreateTest::row("/tmp/book.djvu", 2, 2);
    row.columns[13] = "1";
    row.columns[29] = "1";
    const QByteArray script = scriptFor(pages, 2, 2, false, &row);
    EXPECT_EQ(script.count("Go to content"), 5);
    for (int page = 1; page <= 5; ++page) {
        if (page == 2) // the contents page: after its entries, in its one block
            EXPECT_TRUE(script.contains(") ) \r\n(maparea \"# 4\""));
        else
            EXPECT_TRUE(script.contains("select " + QByteArray::number(page) +
                                        "\r\nset-ant\r\n"
                                        "(maparea \"# 4\""));
    }

    row.columns[13] = "0";
    EXPECT_FALSE(scriptFor(pages, 2, 2, false, &row).contains("Go to content"));
    row.columns[13] = "1";
    row.columns[29] = "2";
    EXPECT_FALSE(scriptFor(pages, 2, 2, false, &row).contains("Go to content"));
}

TEST(HyperlinkScript, AContentsLinkPageOutsideTheDocumentIsRefused)
{
    CreateRow row = CreateTest::row("/tmp/book.djvu");
    row.columns[13] = "1";
    for (const char* page : {"0", "6"}) {
        row.columns[21] = page;
        CreateJob job;
        QString error;
        ASSERT_TRUE(CreateRowReader::read(row, &job, &error));
        HyperlinkScript script;
        EXPECT_FALSE(ContentsLinkBlocks::write(job, 5, script, &error));
        EXPECT_TRUE(error.contains("5 pages")) << error.toStdString();
        EXPECT_TRUE(script.isEmpty());
    }
}

TEST(CreateRowReader, ColumnsThatDoNotReadStopTheRowWithTheirName)
{
    CreateJob job;
    QString error;
    CreateRow row = CreateTest::row("/tmp/book.djvu");
    ASSERT_TRUE(CreateRowReader::read(row, &job, &error));
    EXPECT_EQ(job.style.borderType, BorderType::Xor);
    EXPECT_FALSE(job.contentsLink);

    row.columns[3] = "-";
    EXPECT_FALSE(CreateRowReader::read(row, &job, &error));
    EXPECT_TRUE(error.contains("offset")) << error.toStdString();
    row.columns[3] = "-0";
    ASSERT_TRUE(CreateRowReader::read(row, &job, &error));
    EXPECT_EQ(job.offset, 0);

    row.columns[7] = "";
    ASSERT_TRUE(CreateRowReader::read(row, &job, &error));
    EXPECT_EQ(job.style.borderColour, "FFFFFF");
    row.columns[7] = "12\" ) ";
    EXPECT_FALSE(CreateRowReader::read(row, &job, &error));

    // The contents link's texts reach the script as they stand, so they are checked too.
    row = CreateTest::row("/tmp/book.djvu");
    row.columns[13] = "1";
    row.columns[26] = "4\" \"x";
    EXPECT_FALSE(CreateRowReader::read(row, &job, &error));
    EXPECT_TRUE(error.contains("target")) << error.toStdString();
    row.columns[13] = "0";
    EXPECT_TRUE(CreateRowReader::read(row, &job, &error));
}

} // namespace
