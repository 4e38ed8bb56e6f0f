// The smart reading of contents pages, over the text of real-looking pages built here:
// what a reader sees in a contents, and what the reading must make of it.

#include "DjvuFixture.h"

#include "links/SmartPlan.h"
#include "reading/PageText.h"
#include "reading/SmartReading.h"

#include <gtest/gtest.h>

namespace {

using Found = SmartEntry::Found;

// A contents page written from the top down, one text line every 60 pixels.
class ContentsPageBuilder
{
public:
    ContentsPageBuilder& entry(const QStringList& title, const QString& number, int left = 300,
                               const QString& leader = QStringLiteral("............"))
    {
        page_.lines << FixtureLine::entry(left, next(), title, number, leader);
        return *this;
    }
    ContentsPageBuilder& words(const QStringList& words, int left = 300)
    {
        page_.lines << FixtureLine::layout(left, next(), words);
        return *this;
    }
    ContentsPageBuilder& line(const FixtureLine& line)
    {
        next();
        page_.lines << line;
        return *this;
    }
    int y() const { return y_; }
    FixturePage page() const { return page_; }

private:
    int next()
    {
        const int bottom = y_;
        y_ -= 60;
        return bottom;
    }
    FixturePage page_;
    int y_ = 3000;
};

// A page of the book with headings and some running text.
FixturePage bodyPage(const QStringList& heading, const QString& folio = QString())
{
    FixturePage page = FixturePage::ofLines(
        {heading, {"Some", "running", "text", "of", "the", "page."}, {"More", "text", "here."}});
    if (!folio.isEmpty())
        page.lines << FixtureLine::layout(2150, 100, {folio});
    return page;
}

struct TestBook
{
    QList<FixturePage> pages; // page 1 first
    SmartCheck::Mode check = SmartCheck::Mode::Off;

    SmartReading::Result read(const QList<int>& contents, std::optional<int> offset = 0,
                              std::optional<int> romanOffset = {}, bool halve = false) const
    {
        StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
        SmartReading::Settings settings;
        settings.contentsPages = contents;
        settings.offset = offset;
        settings.romanOffset = romanOffset;
        settings.halve = halve;
        settings.check = check;
        return SmartReading::read(source, settings);
    }
};

// A book of `count` pages whose first page is this contents.
TestBook bookWith(const FixturePage& contents, int count = 40)
{
    TestBook book;
    book.pages << contents;
    while (book.pages.size() < count)
        book.pages << bodyPage({"Plain", "text", "page"});
    return book;
}

QStringList titles(const SmartReading::Result& r)
{
    QStringList t;
    for (const SmartEntry& e : r.entries)
        t << e.title;
    return t;
}

QList<int> targets(const SmartReading::Result& r)
{
    QList<int> t;
    for (const SmartEntry& e : r.entries)
        t << e.target;
    return t;
}

QList<int> levels(const SmartReading::Result& r)
{
    QList<int> t;
    for (const SmartEntry& e : r.entries)
        t << e.level;
    return t;
}

} // namespace

TEST(PageTextReading, NestingOfAnyDepthWordsInLinesAndLinesOfTextOnly)
{
    PageText page;
    QString error;
    ASSERT_TRUE(PageText::parse(
        R"((page 0 0 2480 3508 (column 0 0 2480 3508 (region 0 0 2480 3508 (para 0 0 2480 3508
            (line 100 3000 900 3040 (word 100 3000 300 3040 "Caf\303\251") (word 320 3000 900 3040 "\"quoted\"")))))
            (line 100 2900 900 2940 "two words")
            (line 100 2800 900 2840 (word 100 2800 200 2840 (char 100 2800 150 2840 "a") (char 150 2800 200 2840 "b")))))",
        &page, &error))
        << error.toStdString();
    ASSERT_EQ(page.lines.size(), 3);
    EXPECT_EQ(page.lines[0].text(), QStringLiteral("Café \"quoted\""));
    EXPECT_EQ(page.lines[0].words[1].box, (ZoneBox{320, 3000, 900, 3040}));
    EXPECT_EQ(page.lines[1].text(), QStringLiteral("two words"));
    EXPECT_EQ(page.lines[2].text(), QStringLiteral("ab"));

    // Deep nesting does not exhaust the stack.
    QByteArray deep = "(page 0 0 10 10 ";
    for (int i = 0; i < 100000; ++i)
        deep += "(region 0 0 10 10 ";
    deep += "(line 0 0 10 10 (word 0 0 10 10 \"deep\"))";
    deep += QByteArray(100000, ')') + ")";
    ASSERT_TRUE(PageText::parse(deep, &page, &error)) << error.toStdString();
    EXPECT_EQ(page.lines.value(0).text(), QStringLiteral("deep"));

    for (const char* bad : {"(page 0 0 10 10 (line 0 0 10 10 (word 0 0 10 10 \"x\"))",
                            "(page 0 0 10 10 (line 0 0 ten 10))", "(page 0 0 10 10))",
                            "(page 0 0 10 10 (word 0 0 1 1 \"open))"}) {
        EXPECT_FALSE(PageText::parse(QByteArray(bad), &page, &error)) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
    ASSERT_TRUE(PageText::parse("", &page, &error));
    EXPECT_FALSE(page.hasLayer);
}

TEST(PageTextReading, DumpOfTheWholeBookByPageNumber)
{
    const QByteArray dump = "select; remove-txt\n# ---\nselect \"p1.djvu\" # page 1\nset-txt\n"
                            "(page 0 0 10 10 (line 0 0 9 9 (word 0 0 9 9 \"one\")))\n.\n"
                            "select \"p3.djvu\" # page 3\nset-txt\n"
                            "(page 0 0 10 10 (line 0 0 9 9 (word 0 0 9 9 \".\")))\n.\n";
    QMap<int, PageText> pages;
    QString error;
    ASSERT_TRUE(PageText::parseDump(dump, &pages, &error)) << error.toStdString();
    EXPECT_EQ(pages.keys(), (QList<int>{1, 3}));
    EXPECT_EQ(pages[3].lines.value(0).text(), QStringLiteral("."));
}

TEST(SmartReading, LeadersOfEveryKindAreNotPartOfTheTitle)
{
    ContentsPageBuilder c;
    c.entry({"Introduction"}, "5")
        .entry({"Dots", "glued"}, "7", 300, QString())
        .line(FixtureLine::layout(300, c.y(), {"Glued", "title........", "9"}))
        .line(FixtureLine::layout(300, c.y(), {"Middle", "dots", "·", "·", "·", "·", "11"}))
        .line(FixtureLine::layout(300, c.y(), {"Underscores", "_", "_", "_", "13"}))
        .line(FixtureLine::layout(300, c.y(), {"Number", "glued", "to", "leader", "..........15"}))
        .line(FixtureLine::layout(300, c.y(), {"All", "in", "one", "word.......17"}))
        .line(FixtureLine::layout(300, c.y(), {"Ellipsis", "\u2026\u202619"}));
    const SmartReading::Result r = bookWith(c.page()).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r), (QStringList{"Introduction", "Dots glued", "Glued title", "Middle dots",
                                      "Underscores", "Number glued to leader", "All in one word",
                                      "Ellipsis"}));
    EXPECT_EQ(targets(r), (QList<int>{5, 7, 9, 11, 13, 15, 17, 19}));
    for (const SmartEntry& e : r.entries)
        EXPECT_EQ(e.found, Found::SameLine) << e.title.toStdString();
}

TEST(SmartReading, NumberAloneOnTheNextLineBelongsToTheTitleAbove)
{
    ContentsPageBuilder c;
    c.entry({"First"}, "3")
        .entry({"A", "title", "ending", "in", "a", "leader"}, "")
        .entry({}, "8", 300, QString())
        .words({"A", "title", "without", "leader"})
        .entry({}, "12", 300, QString())
        .entry({"Last"}, "20");
    const SmartReading::Result r = bookWith(c.page()).read({1}, 2);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r), (QStringList{"First", "A title ending in a leader",
                                      "A title without leader", "Last"}));
    EXPECT_EQ(targets(r), (QList<int>{5, 10, 14, 22}));
    EXPECT_EQ(r.entries[1].found, Found::NextLine);
    // The area covers the title's line and the number's.
    const BorderExpression::Box a = r.entries[1].area;
    EXPECT_EQ(a.y, 2880);
    EXPECT_EQ(a.y + a.height, 2940 + 40);
    EXPECT_EQ(a.x, 300);
    EXPECT_EQ(a.x + a.width, 2200);
}

TEST(SmartReading, TitleBrokenOverTwoLinesIsOneEntry)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Short"}, "3")
        .words({"2.", "A", "long", "title", "that", "the", "typesetter", "broke"})
        .entry({"over", "two", "lines"}, "9", 360)
        .entry({"3.", "Next"}, "12");
    const SmartReading::Result r = bookWith(c.page()).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r),
              (QStringList{"1. Short", "2. A long title that the typesetter broke over two lines",
                           "3. Next"}));
    EXPECT_EQ(targets(r), (QList<int>{3, 9, 12}));
    const BorderExpression::Box a = r.entries[1].area;
    EXPECT_EQ(a.y, 2880);
    EXPECT_EQ(a.y + a.height, 2940 + 40);
    // A line at the same indentation is an entry of its own, not the title's second line.
    ContentsPageBuilder d;
    d.entry({"Preface"}, "3").words({"Lost", "its", "number"}).entry({"Chapter", "one"}, "9");
    EXPECT_EQ(titles(bookWith(d.page()).read({1})),
              (QStringList{"Preface", "Lost its number", "Chapter one"}));
}

TEST(SmartReading, GluedNumbersAreReadOnlyWhereTheNeighboursCallForThem)
{
    ContentsPageBuilder c;
    c.entry({"6.4", "Tiff"}, "5")
        .words({"6.5", "G46"})
        .line(FixtureLine::layout(300, c.y(), {"6.6", "UTF8........6"}))
        .entry({"6.7", "IFF85"}, "6")
        .entry({"6.8", "G4"}, "7")
        .entry({"6.9", "DjVu", "2"}, "8");
    const SmartReading::Result r = bookWith(c.page()).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r),
              (QStringList{"6.4 Tiff", "6.5 G4", "6.6 UTF8", "6.7 IFF85", "6.8 G4", "6.9 DjVu 2"}));
    EXPECT_EQ(targets(r), (QList<int>{5, 6, 6, 6, 7, 8}));
    EXPECT_EQ(r.entries[1].found, Found::Glued);
    EXPECT_EQ(r.entries[1].printed, QStringLiteral("6"));

    // Digits that do not fit between the neighbours stay in the title: "IFF85" between
    // pages 10 and 12 is a title whose number was lost.
    ContentsPageBuilder d;
    d.entry({"6.4", "Tiff"}, "10").words({"6.5", "IFF85"}).entry({"6.6", "UTF8"}, "12");
    const SmartReading::Result s = bookWith(d.page()).read({1});
    ASSERT_TRUE(s.ok()) << s.error.toStdString();
    EXPECT_EQ(s.entries[1].title, QStringLiteral("6.5 IFF85"));
    EXPECT_EQ(s.entries[1].found, Found::Lost);
    EXPECT_EQ(s.entries[1].target, 0);
}

TEST(SmartReading, LetterSpacedWordsAreJoined)
{
    // "S K A U T O V Á N Í" with narrow letter gaps, then a wider gap before "A".
    FixtureLine spaced;
    int x = 300;
    for (const QString& letter : QStringList{"S", "K", "A", "U", "T", "O", "V", "Á", "N", "Í"}) {
        spaced.words.append({x, 2940, x + 24, 2980, letter});
        x += 24 + 16;
    }
    x += 60;
    for (const QString& letter : QStringList{"H", "R", "Y"}) {
        spaced.words.append({x, 2940, x + 24, 2980, letter});
        x += 24 + 16;
    }
    spaced.words.append({x + 20, 2940, 2150, 2950, "........"});
    spaced.words.append({2170, 2940, 2200, 2980, "7"});
    ContentsPageBuilder c;
    c.entry({"Úvod"}, "3").line(spaced).entry({"О", "ПРОГРАММЕ", "И", "О", "НАС"}, "9");
    const SmartReading::Result r = bookWith(c.page()).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r), (QStringList{"Úvod", "SKAUTOVÁNÍ HRY", "О ПРОГРАММЕ И О НАС"}));
}

TEST(SmartReading, RomanPageNumbersLeadToThePagePrintingThem)
{
    ContentsPageBuilder c;
    c.entry({"Preface"}, "iii").entry({"Foreword"}, "VI").entry({"1.", "Start"}, "1");
    TestBook book = bookWith(c.page(), 20);
    book.pages[4] = bodyPage({"Preface"}, "iii"); // page 5 prints "iii"
    SmartReading::Result r = book.read({1}, 8);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), (QList<int>{5, 6, 9})); // "VI" printed nowhere: document page 6
    EXPECT_EQ(r.entries[0].number.kind, PrintedNumber::Roman);
    r = book.read({1}, 8, 2);
    EXPECT_EQ(targets(r), (QList<int>{5, 8, 9}));

    ContentsPageBuilder d;
    d.entry({"Preface"}, "xlviii").entry({"1.", "Start"}, "1");
    r = bookWith(d.page(), 20).read({1});
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("roman numeral xlviii (48)")))
        << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(QStringLiteral("outside the book's 20 pages")));
}

TEST(SmartReading, LostNumbersAreFoundByTitleBetweenTheNeighbours)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Introduction"}, "2")
        .words({"2.", "Lost", "chapter"}, 300)
        .entry({"3.", "Found", "chapter"}, "9")
        .words({"4.", "Nowhere", "chapter"}, 300)
        .entry({"5.", "End"}, "14");
    TestBook book = bookWith(c.page(), 20);
    book.pages[1] = bodyPage({"2.", "Lost", "chapter"}); // before the range: not taken
    book.pages[6] = bodyPage({"2.", "Lost", "chapter"}); // page 7
    const SmartReading::Result r = book.read({1}, 1);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), (QList<int>{3, 7, 10, 0, 15}));
    EXPECT_EQ(r.entries[1].found, Found::ByTitle);
    EXPECT_EQ(r.entries[3].found, Found::Lost);
    EXPECT_TRUE(r.notes.join('\n').contains(QStringLiteral("found by its title on page 7")));
    EXPECT_TRUE(r.notes.join('\n').contains(QStringLiteral("no page from 10 to 15: no link")));
}

TEST(SmartReading, LevelsFromNumberingAndFromIndentation)
{
    ContentsPageBuilder c;
    c.entry({"1.", "One"}, "1")
        .entry({"1.1", "One", "one"}, "2", 360)
        .entry({"1.1.1", "Deeper"}, "3", 420)
        .entry({"Unnumbered", "under", "1.1.1"}, "3", 420)
        .entry({"Unnumbered", "at", "the", "second", "step"}, "4", 360)
        .entry({"2.", "Two"}, "5");
    SmartReading::Result r = bookWith(c.page()).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(levels(r), (QList<int>{1, 2, 3, 3, 2, 1}));

    // Chapter words over dotted numbers; no numbering at all: indentation alone.
    ContentsPageBuilder d;
    d.entry({"Part", "I", "Foundations"}, "1")
        .entry({"Глава", "1.", "Начало"}, "2")
        .entry({"1.1", "Первый", "раздел"}, "3", 360)
        .entry({"Chapter", "2", "Next"}, "5");
    r = bookWith(d.page()).read({1});
    EXPECT_EQ(levels(r), (QList<int>{1, 2, 3, 2}));
    ContentsPageBuilder e;
    e.entry({"Top"}, "1")
        .entry({"Inner"}, "2", 380)
        .entry({"Innermost"}, "3", 460)
        .entry({"Top", "again"}, "4");
    r = bookWith(e.page()).read({1});
    EXPECT_EQ(levels(r), (QList<int>{1, 2, 3, 1}));
}

TEST(SmartReading, RunningHeadsAndFootersAreNotEntries)
{
    ContentsPageBuilder c;
    c.entry({"Chapter", "1", "Lost", "number"}, "");
    c.entry({"Chapter", "2", "Second"}, "9");
    FixturePage page = c.page();
    // The page's own number at the bottom right, where the entries' numbers stand, a
    // copyright line beside it, and a running head ending in a number.
    page.lines.prepend(FixtureLine::layout(300, 3300, {"Book", "title,", "edition", "7"}));
    page.lines << FixtureLine::layout(300, 120, {"(c)", "2013", "Someone"});
    page.lines << FixtureLine::layout(2170, 120, {"5"});
    const SmartReading::Result r = bookWith(page).read({1});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(titles(r), (QStringList{"Chapter 1 Lost number", "Chapter 2 Second"}));
    EXPECT_EQ(r.entries[0].target, 0);
}

TEST(SmartReading, OffsetFoundFromTheHeadingsOfTheBook)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Alpha"}, "1").entry({"2.", "Beta"}, "3").entry({"3.", "Gamma"}, "6");
    TestBook book = bookWith(c.page(), 20);
    book.pages[4] = bodyPage({"1.", "Alpha"}, "1"); // page 5 = printed 1 + 4
    book.pages[6] = bodyPage({"2.", "Beta"}, "3");
    book.pages[9] = bodyPage({"3.", "Gamma"}, "6");
    SmartReading::Result r = book.read({1}, std::nullopt);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 4);
    EXPECT_EQ(targets(r), (QList<int>{5, 7, 10}));
    EXPECT_TRUE(r.notes.join('\n').contains(
        QStringLiteral("Offset 4 found: the headings of 3 of 3 entries")));

    // Halved page numbers: two printed pages on each page of the document.
    book.pages[4] = bodyPage({"1.", "Alpha"});
    book.pages[5] = bodyPage({"2.", "Beta"});
    book.pages[7] = bodyPage({"3.", "Gamma"});
    book.pages[6] = bodyPage({"Plain"});
    book.pages[9] = bodyPage({"Plain"});
    r = book.read({1}, std::nullopt, {}, true);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 5);
    EXPECT_EQ(targets(r), (QList<int>{5, 6, 8}));

    // No heading found: the page numbers printed in the margins decide.
    TestBook plain = bookWith(c.page(), 12);
    for (int p = 2; p <= 12; ++p)
        plain.pages[p - 1] = bodyPage({"Text"}, QString::number(p - 2));
    r = plain.read({1}, std::nullopt);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 2);
}

TEST(SmartReading, OffsetRefusedWhenTheEvidenceDisagreesOrIsMissing)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Alpha"}, "1")
        .entry({"2.", "Beta"}, "3")
        .entry({"3.", "Gamma"}, "6")
        .entry({"4.", "Delta"}, "8");
    TestBook book = bookWith(c.page(), 30);
    book.pages[4] = bodyPage({"1.", "Alpha"});  // offset 4
    book.pages[6] = bodyPage({"2.", "Beta"});   // offset 4
    book.pages[15] = bodyPage({"3.", "Gamma"}); // offset 10
    book.pages[17] = bodyPage({"4.", "Delta"}); // offset 10
    SmartReading::Result r = book.read({1}, std::nullopt);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("disagree"))) << r.error.toStdString();
    EXPECT_TRUE(r.entries.isEmpty() || targets(r).count(0) == r.entries.size());

    r = bookWith(c.page(), 30).read({1}, std::nullopt);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("no entry's heading was found")))
        << r.error.toStdString();
}

TEST(SmartReading, BadInputGetsAClearMessage)
{
    TestBook book = bookWith(ContentsPageBuilder().entry({"One"}, "1").page(), 10);
    book.pages[1].hasText = false;
    SmartReading::Result r = book.read({2});
    EXPECT_EQ(r.error, QStringLiteral("Contents page 2 has no text layer: it needs OCR before "
                                      "its entries can be read."));

    ContentsPageBuilder numbers;
    numbers.words({"12"}).words({"15"}).words({"17"});
    r = bookWith(numbers.page()).read({1});
    EXPECT_EQ(r.error, QStringLiteral("Contents page 1 holds only numbers, no titles: it is "
                                      "not a contents page."));

    ContentsPageBuilder prose;
    prose.words({"Just", "some", "words"}).words({"and", "more", "words"});
    r = bookWith(prose.page()).read({1});
    EXPECT_TRUE(r.error.contains(QStringLiteral("has no entries"))) << r.error.toStdString();

    ContentsPageBuilder huge;
    huge.entry({"One"}, "1").entry({"Two"}, QString(40, QLatin1Char('9')));
    r = bookWith(huge.page()).read({1});
    EXPECT_TRUE(r.error.contains(QStringLiteral("is too long to be a page")))
        << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(QStringLiteral("page 1, \"Two\"")));

    ContentsPageBuilder far;
    far.entry({"One"}, "1").entry({"Two"}, "38");
    r = bookWith(far.page()).read({1}, 5);
    EXPECT_EQ(r.error, QStringLiteral("The page number 38 with offset 5 of page 1, \"Two\" "
                                      "leads to page 43, outside the book's 40 pages."));
    r = bookWith(far.page()).read({1}, -1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("leads to page 0"))) << r.error.toStdString();

    r = bookWith(far.page()).read({41});
    EXPECT_TRUE(r.error.contains(QStringLiteral("outside the book's 40 pages")));
}

TEST(SmartReading, EntriesBecomeThePlanPagesTheScriptIsWrittenFrom)
{
    ContentsPageBuilder c;
    c.entry({"1.", "One"}, "3").words({"2.", "Nowhere"}).entry({"3.", "Three"}, "9");
    const SmartReading::Result r = bookWith(c.page()).read({1}, 1);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QList<PlanPage> pages = SmartPlan::pagesOf(r, "Go to page");
    ASSERT_EQ(pages.size(), 1);
    ASSERT_EQ(pages[0].entries.size(), 2); // the entry without a page gets no link
    EXPECT_EQ(pages[0].entries[0].targetPage, 4);
    EXPECT_EQ(pages[0].entries[0].comment, QByteArray("Go to page 3"));
    EXPECT_EQ(pages[0].entries[1].title, QStringLiteral("3. Three"));
    EXPECT_EQ(pages[0].entries[1].area.x, 300);
    EXPECT_EQ(SmartPlan::pagesOf(r, "  ")[0].entries[0].comment, QByteArray("  "));
}

namespace {

// A book of twelve chapters, one every six printed pages, whose scan lost pages as it went:
// the offset is +5 at the first chapters and -2 at the last. Chapter k's heading stands on
// truePage(k); a folio and running heads make the pages look like a real book's.
struct DriftingBook
{
    static constexpr int kChapters = 12;
    static int printed(int k) { return 1 + 6 * (k - 1); }
    static int drift(int k) { return k <= 4 ? 5 : k <= 6 ? 3 : k <= 9 ? 1 : -2; }
    static int truePage(int k) { return printed(k) + drift(k); }
    static QStringList heading(int k)
    {
        static const QStringList names = {"Alpha", "Beta",  "Gamma", "Delta", "Epsilon", "Zeta",
                                          "Eta",   "Theta", "Iota",  "Kappa", "Lambda",  "Mu"};
        return {QString::number(k) + QLatin1Char('.'), names[k - 1], "and", "more"};
    }

    static TestBook build()
    {
        ContentsPageBuilder c;
        for (int k = 1; k <= kChapters; ++k)
            c.entry(heading(k), QString::number(printed(k)));
        TestBook book = bookWith(c.page(), 80);
        for (int k = 1; k <= kChapters; ++k)
            book.pages[truePage(k) - 1] = bodyPage(heading(k));
        return book;
    }
};

QList<int> truePages()
{
    QList<int> pages;
    for (int k = 1; k <= DriftingBook::kChapters; ++k)
        pages << DriftingBook::truePage(k);
    return pages;
}

// A running head in the top margin of a body page.
FixtureLine runningHead(const QStringList& words)
{
    return FixtureLine::layout(300, 3350, words);
}

} // namespace

TEST(SmartCheck, DriftingOffsetIsCorrectedEntryByEntry)
{
    TestBook book = DriftingBook::build();
    book.check = SmartCheck::Mode::Check;
    // The offset of the first chapter given by hand: every later link is moved.
    SmartReading::Result r = book.read({1}, 5);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), truePages());
    EXPECT_EQ(r.corrections.size(), 8);
    const QString log = r.notes.join('\n');
    EXPECT_TRUE(log.contains(QStringLiteral("page 1, \"5. Epsilon and more\" → page 30: heading "
                                            "found on page 28, link corrected.")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("4 confirmed by their headings, 8 corrected")))
        << log.toStdString();

    // Found by itself: no offset has a majority, the one most headings agree on is taken and
    // the others are corrected from it.
    r = book.read({1}, std::nullopt);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 5);
    EXPECT_EQ(targets(r), truePages());
    EXPECT_TRUE(r.notes.join('\n').contains(QStringLiteral("the others drift")))
        << log.toStdString();

    // An offset from the middle of the book: entries before it move forward, after it back.
    r = book.read({1}, 1);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), truePages());

    // Without the check, a drifting book still has no offset of its own.
    book.check = SmartCheck::Mode::Off;
    EXPECT_FALSE(book.read({1}, std::nullopt).ok());
}

TEST(SmartCheck, StrictRefusesACorrectionAndOffLeavesTheLinksAsRead)
{
    TestBook book = DriftingBook::build();
    book.check = SmartCheck::Mode::Strict;
    SmartReading::Result r = book.read({1}, 5);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("8 link(s) would need a correction, and "
                                                  "strict checking leaves the document "
                                                  "unchanged: page 1, \"5. Epsilon and more\" → "
                                                  "page 30: heading found on page 28;")))
        << r.error.toStdString();

    // Every heading where its link leads: strict passes.
    TestBook exact = bookWith(ContentsPageBuilder()
                                  .entry({"1.", "Alpha", "and", "more"}, "3")
                                  .entry({"2.", "Beta", "and", "more"}, "7")
                                  .page(),
                              12);
    exact.pages[4] = bodyPage({"1.", "Alpha", "and", "more"});
    exact.pages[8] = bodyPage({"2.", "Beta", "and", "more"});
    exact.check = SmartCheck::Mode::Strict;
    r = exact.read({1}, 2);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), (QList<int>{5, 9}));

    book.check = SmartCheck::Mode::Off;
    r = book.read({1}, 5);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r).last(), DriftingBook::printed(12) + 5);
    EXPECT_TRUE(r.corrections.isEmpty());
    EXPECT_FALSE(r.notes.join('\n').contains(QStringLiteral("checked")));
}

TEST(SmartCheck, UnclearOrMissingHeadingsKeepTheLinkAndSaySo)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Alpha", "and", "more"}, "2")
        .entry({"2.", "Twice", "printed", "heading"}, "5")
        .entry({"3.", "Nowhere", "at", "all"}, "8")
        .entry({"Index"}, "11")
        .entry({"4.", "Last", "one"}, "14");
    TestBook book = bookWith(c.page(), 20);
    book.pages[1] = bodyPage({"1.", "Alpha", "and", "more"});
    book.pages[3] = bodyPage({"2.", "Twice", "printed", "heading"}); // page 4
    book.pages[5] = bodyPage({"2.", "Twice", "printed", "heading"}); // page 6
    book.pages[13] = bodyPage({"4.", "Last", "one"});
    book.check = SmartCheck::Mode::Check;
    const SmartReading::Result r = book.read({1}, 0);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), (QList<int>{2, 5, 8, 11, 14}));
    const QString log = r.notes.join('\n');
    EXPECT_TRUE(log.contains(QStringLiteral("\"2. Twice printed heading\": its heading is on "
                                            "pages 4, 6, not on page 5; no clear match")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\"3. Nowhere at all\": its heading is on no page "
                                            "from 2 to 11; the link to page 8 is kept")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("2 confirmed by their headings, 0 corrected, 2 kept "
                                            "unchecked, 1 with titles too short")))
        << log.toStdString();
}

TEST(SmartCheck, AnUnconfirmedLinkWhereTheScanLostPagesIsWithheld)
{
    // "2. Lost heading" (printed 5) is on no page; the chapter after it opens a page earlier
    // than its number says (a page lost in the scan), somewhere near the second entry.
    struct Row
    {
        const char* name;
        QString lostFolio;  // what page 5 prints in its margin
        int thirdPage;      // where "3. Gamma" stands (printed 8)
        int expectedTarget; // of "2. Lost heading"
    };
    const QList<Row> rows = {
        {"neighbours at other distances: withheld", QString(), 7, 0},
        {"the page prints the entry's number: kept", QStringLiteral("5"), 7, 5},
        {"neighbours at its own distance: kept", QString(), 8, 5},
    };
    for (const Row& row : rows) {
        ContentsPageBuilder c;
        c.entry({"1.", "Alpha", "and", "more"}, "2")
            .entry({"2.", "Lost", "heading", "here"}, "5")
            .entry({"3.", "Gamma", "and", "more"}, "8");
        TestBook book = bookWith(c.page(), 12);
        book.pages[1] = bodyPage({"1.", "Alpha", "and", "more"});
        book.pages[4] = bodyPage({"Plain", "text", "page"}, row.lostFolio);
        book.pages[row.thirdPage - 1] = bodyPage({"3.", "Gamma", "and", "more"});
        book.check = SmartCheck::Mode::Check;
        const SmartReading::Result r = book.read({1}, 0);
        ASSERT_TRUE(r.ok()) << row.name << r.error.toStdString();
        EXPECT_EQ(targets(r), (QList<int>{2, row.expectedTarget, row.thirdPage})) << row.name;
        const QString log = r.notes.join('\n');
        const bool withheld = row.expectedTarget == 0;
        EXPECT_EQ(log.contains(QStringLiteral("no link to page 5 is written")), withheld)
            << row.name << log.toStdString();
        EXPECT_EQ(log.contains(QStringLiteral("the link to page 5 is kept unchecked")), !withheld)
            << row.name << log.toStdString();
        EXPECT_EQ(log.contains(QStringLiteral("its heading is not where its number leads")),
                  withheld)
            << row.name << log.toStdString();
    }
}

TEST(SmartCheck, HeadingsCountAtLineStartsOnlyAndNeverInRunningHeads)
{
    ContentsPageBuilder c;
    c.entry({"1.", "Alpha", "and", "more"}, "2").entry({"2.", "Beta", "and", "more"}, "6");
    c.entry({"3.", "End"}, "12");
    TestBook book = bookWith(c.page(), 20);
    book.pages[1] = bodyPage({"1.", "Alpha", "and", "more"});
    // Page 6, where the link leads, names the chapter in its running head and in mid-line;
    // page 8 carries the same running head; the heading itself stands on page 7.
    book.pages[5] = bodyPage({"As", "told", "in", "2.", "Beta", "and", "more"});
    book.pages[5].lines.prepend(runningHead({"2.", "Beta", "and", "more"}));
    book.pages[6] = bodyPage({"2.", "Beta", "and", "more"});
    book.pages[7].lines.prepend(runningHead({"2.", "Beta", "and", "more"}));
    book.check = SmartCheck::Mode::Check;
    SmartReading::Result r = book.read({1}, 0);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targets(r), (QList<int>{2, 7, 12}));
    ASSERT_EQ(r.corrections.size(), 1);
    EXPECT_EQ(r.corrections[0].from, 6);
    EXPECT_EQ(r.corrections[0].to, 7);
}
