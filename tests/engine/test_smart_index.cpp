// The smart reading of index pages, kinds 1 and 2, over the text of real-looking pages.

#include "DjvuFixture.h"

#include "links/SmartPlan.h"
#include "reading/SmartIndexReading.h"

#include <gtest/gtest.h>

namespace {

using Found = SmartEntry::Found;

// An index page written from the top down, one text line every 60 pixels.
class IndexPageBuilder
{
public:
    IndexPageBuilder& words(const QStringList& words, int left = 300)
    {
        page_.lines << FixtureLine::layout(left, next(), words);
        return *this;
    }
    // Title words, a leader and the number ending at the right-hand column.
    IndexPageBuilder& entry(const QStringList& title, const QString& number,
                            const QString& leader = QStringLiteral(".........."))
    {
        page_.lines << FixtureLine::entry(300, next(), title, number, leader);
        return *this;
    }
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

// A book of 60 pages whose first page is this index.
SmartReading::Result readIndex(const FixturePage& index, int kind, std::optional<int> offset = 0,
                               QList<FixturePage> body = {})
{
    QList<FixturePage> pages{index};
    pages << body;
    while (pages.size() < 60)
        pages << FixturePage::ofLines({{"Plain", "text"}});
    StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
    SmartIndexReading::Settings settings;
    settings.indexPages = {1};
    settings.kind = WorkKind(kind);
    settings.offset = offset;
    return SmartIndexReading::read(source, settings);
}

QStringList printedOf(const SmartReading::Result& r)
{
    QStringList out;
    for (const SmartEntry& e : r.entries)
        out << e.printed;
    return out;
}

QList<int> targetsOf(const SmartReading::Result& r)
{
    QList<int> out;
    for (const SmartEntry& e : r.entries)
        out << e.target;
    return out;
}

} // namespace

TEST(SmartIndex, ReferencesReadFromAWord)
{
    QList<SmartIndexReading::Reference> refs;
    for (const QString& one : QStringList{"15", "15,", "15.", "(15)", "15–17", "15-17,",
                                          "15\u201417", "15ff", "15ff.", "15f.", "........15"}) {
        const QString word = one.startsWith('.') ? one.mid(8) : one;
        ASSERT_TRUE(SmartIndexReading::readReferences(word, &refs)) << word.toStdString();
        ASSERT_EQ(refs.size(), 1) << word.toStdString();
        EXPECT_EQ(refs[0].printed, QStringLiteral("15")) << word.toStdString();
        EXPECT_EQ(refs[0].number.value, 15);
    }
    ASSERT_TRUE(SmartIndexReading::readReferences("15,17-19,", &refs));
    ASSERT_EQ(refs.size(), 2);
    EXPECT_EQ(refs[1].printed, QStringLiteral("17"));
    EXPECT_EQ(refs[1].start, 3);
    EXPECT_EQ(refs[1].end, 5);
    for (const QString& no :
         QStringList{"G4", "UTF8", "1990s", "ff.", ",", "15,,17", "-15", "15-", "x15"})
        EXPECT_FALSE(SmartIndexReading::readReferences(no, &refs)) << no.toStdString();
}

TEST(SmartIndex, KindOneLinksTheLastReferenceOfEachLineOverTheLine)
{
    IndexPageBuilder b;
    b.entry({"Alpha"}, "12")
        .entry({"Beta"}, "........15", QString())
        .words({"Gamma,", "3,", "7,", "21"})
        .words({"Delta", "magnetic", "properties"})
        .entry({}, "30")
        .words({"Epsilon", "9\u201311"})
        .words({"Zeta", "14ff."})
        .words({"Eta", "17-19,"})
        .words({"Theta", "22", "ff."});
    const SmartReading::Result r = readIndex(b.page(), 1, 2);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(printedOf(r), (QStringList{"12", "15", "21", "30", "9", "14", "17", "22"}));
    EXPECT_EQ(targetsOf(r), (QList<int>{14, 17, 23, 32, 11, 16, 19, 24}));
    EXPECT_EQ(r.entries[0].title, QStringLiteral("Alpha"));
    EXPECT_EQ(r.entries[2].title, QStringLiteral("Gamma"));
    EXPECT_EQ(r.entries[3].title, QStringLiteral("Delta magnetic properties"));
    EXPECT_EQ(r.entries[3].found, Found::NextLine);
    // The area covers the line; for a number under its title, both lines.
    EXPECT_EQ(r.entries[0].area.x, 300);
    EXPECT_EQ(r.entries[0].area.x + r.entries[0].area.width, 2200);
    EXPECT_EQ(r.entries[0].area.y, 3000);
    EXPECT_EQ(r.entries[3].area.y, 2760);
    EXPECT_EQ(r.entries[3].area.y + r.entries[3].area.height, 2820 + 40);
}

TEST(SmartIndex, KindTwoGivesEveryReferenceTheBoxOfItsNumber)
{
    IndexPageBuilder b;
    b.words({"Gamma,", "3,", "7\u20139,", "21ff."}).words({"Mode", "G4,", "15,17"});
    const SmartReading::Result r = readIndex(b.page(), 2);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(printedOf(r), (QStringList{"3", "7", "21", "15", "17"}));
    for (const SmartEntry& e : r.entries)
        EXPECT_EQ(e.found, Found::SameLine);
    EXPECT_EQ(r.entries[0].title, QStringLiteral("Gamma"));
    EXPECT_EQ(r.entries[3].title, QStringLiteral("Mode G4"));
    // "3," is the word from 464 to 512: the number takes its first half.
    EXPECT_EQ(r.entries[0].area.x, 464);
    EXPECT_EQ(r.entries[0].area.width, 24);
    EXPECT_EQ(r.entries[0].area.y, 3000);
    EXPECT_EQ(r.entries[0].area.height, 40);
    // "7–9," from 532 to 628: only the first page's digit.
    EXPECT_EQ(r.entries[1].area.x, 532);
    EXPECT_EQ(r.entries[1].area.width, 24);
    // "15,17" from 508 to 628: two areas side by side.
    EXPECT_EQ(r.entries[3].area.x, 508);
    EXPECT_EQ(r.entries[3].area.width, 48);
    EXPECT_EQ(r.entries[4].area.x, 580);
    EXPECT_EQ(r.entries[4].area.width, 48);
}

TEST(SmartIndex, ThePagesOwnNumberIsNoReference)
{
    IndexPageBuilder b;
    b.entry({"Alpha"}, "12").entry({"Beta"}, "15");
    FixturePage page = b.page();
    // A running head with the page's number, and the number alone at the foot where the
    // references' column stands.
    page.lines.prepend(FixtureLine::layout(300, 3350, {"INDEX", "47"}));
    page.lines << FixtureLine::layout(2152, 120, {"48"});
    for (const int kind : {1, 2}) {
        const SmartReading::Result r = readIndex(page, kind);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(printedOf(r), (QStringList{"12", "15"})) << kind;
    }
}

TEST(SmartIndex, GluedDigitsAreTheNumberOnlyAtTheNumberColumn)
{
    FixturePage page;
    page.lines << FixtureLine::entry(300, 3000, {"Alpha"}, "12");
    // "Ferrite47" over the whole line: the OCR lost the leader and glued the number on; its
    // digits end where the page's numbers do.
    page.lines << FixtureLine::layout(300, 2940, {"Ferrite47"}, 40, 211);
    page.lines << FixtureLine::entry(300, 2880, {"Beta"}, "15");
    // "UTF8" ends far from the column: a title whose number is on the next line.
    page.lines << FixtureLine::layout(300, 2820, {"Encoding", "UTF8"});
    page.lines << FixtureLine::entry(300, 2760, {}, "21", QString());
    for (const int kind : {1, 2}) {
        const SmartReading::Result r = readIndex(page, kind);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(printedOf(r), (QStringList{"12", "47", "15", "21"})) << kind;
        EXPECT_EQ(r.entries[1].title, QStringLiteral("Ferrite"));
        EXPECT_EQ(r.entries[1].found, Found::Glued);
        EXPECT_EQ(r.entries[3].title, QStringLiteral("Encoding UTF8"));
    }
}

// Ones the OCR read as letters ("Itoll", "Brownian ll") are a number only when the page it
// leads to prints the term; plain words ending in "ll" stay words.
TEST(SmartIndex, LookalikeOnesAreANumberOnlyWhereThePageSpeaksOfTheTerm)
{
    struct Case
    {
        QStringList words;
        QStringList onPage11; // words of page 11
        int target;           // 0: no link
        QString title;
    };
    const QList<Case> cases = {
        {{"Itoll"}, {"Ito's", "lemma"}, 11, "Ito"},
        {{"Brownian", "ll"}, {"Brownian", "motion"}, 11, "Brownian"},
        {{"Itoll"}, {"Plain", "text"}, 0, "Ito"},
        {{"Small"}, {"Small", "print"}, 0, ""},
        {{"Hall"}, {"Ha", "Hall"}, 0, ""},
    };
    for (const Case& c : cases) {
        IndexPageBuilder b;
        b.entry({"Alpha"}, "12").words(c.words).entry({"Beta"}, "15");
        QList<FixturePage> body;
        for (int p = 2; p <= 11; ++p)
            body << FixturePage::ofLines({p == 11 ? c.onPage11 : QStringList{"Plain", "text"}});
        const SmartReading::Result r = readIndex(b.page(), 2, 0, body);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        const QString line = c.words.join(QLatin1Char(' '));
        if (c.title.isEmpty()) {
            QList<int> linked = targetsOf(r);
            linked.removeAll(0);
            EXPECT_EQ(linked, (QList<int>{12, 15})) << line.toStdString();
            continue;
        }
        ASSERT_EQ(r.entries.size(), 3) << line.toStdString();
        EXPECT_EQ(r.entries[1].target, c.target) << line.toStdString();
        EXPECT_EQ(r.entries[1].title, c.title) << line.toStdString();
    }
}

TEST(SmartIndex, NumbersOutsideTheBookAndBadPagesAreReported)
{
    IndexPageBuilder b;
    b.entry({"Alpha"}, "12").entry({"History"}, "1990").entry({"Huge"}, QString(40, '9'));
    SmartReading::Result r = readIndex(b.page(), 1);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(targetsOf(r), (QList<int>{12, 0, 0}));
    EXPECT_TRUE(r.notes.join('\n').contains(
        QStringLiteral("2 number(s) of the index lead outside the book's 60 pages and get no "
                       "link, the first \"1990\" after \"History\" on page 1.")))
        << r.notes.join('\n').toStdString();
    // Only entries with a page become links of the plan.
    const QList<PlanPage> plan = SmartPlan::pagesOf(r, "Page");
    ASSERT_EQ(plan.size(), 1);
    ASSERT_EQ(plan[0].entries.size(), 1);
    EXPECT_EQ(plan[0].entries[0].comment, QByteArray("Page 12"));

    FixturePage blank = b.page();
    blank.hasText = false;
    EXPECT_EQ(readIndex(blank, 1).error,
              QStringLiteral("Index page 1 has no text layer: it needs OCR before its "
                             "references can be read."));
    EXPECT_EQ(readIndex(IndexPageBuilder().words({"Just", "words"}).page(), 2).error,
              QStringLiteral("The index pages hold no page references."));
}

TEST(SmartIndex, OffsetFoundFromThePrintedPageNumbers)
{
    QList<FixturePage> body;
    for (int p = 2; p <= 60; ++p) {
        FixturePage page = FixturePage::ofLines({{"Some", "text"}});
        page.lines << FixtureLine::layout(2150, 100, {QString::number(p - 5)});
        body << page;
    }
    IndexPageBuilder b;
    b.entry({"Alpha"}, "12");
    SmartReading::Result r = readIndex(b.page(), 1, std::nullopt, body);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 5);
    EXPECT_EQ(targetsOf(r), (QList<int>{17}));
    r = readIndex(b.page(), 1, std::nullopt);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(QStringLiteral("could not be found"))) << r.error.toStdString();
}
