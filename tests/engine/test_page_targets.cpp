// Where a contents' entries really point in a scanned book: the page numbers the pages
// print, headings as books print them, offsets that change from stretch to stretch.

#include "DjvuFixture.h"

#include "links/SmartPlan.h"
#include "reading/BookPages.h"
#include "reading/LazyPageTexts.h"
#include "reading/PageNumberMap.h"
#include "reading/SmartReading.h"

#include <gtest/gtest.h>

namespace {

// The top row of a page: a running title and the page number, as separate lines or one.
enum class Folio
{
    RightAlone,  // "RUNNING TITLE" ... "14"
    LeftBeside,  // "14 RUNNING TITLE"
    RightBeside, // "RUNNING TITLE 14"
    FooterDash,  // "- 14 -" centred at the foot
    None,        // a chapter opener or a plate: no number
};

FixturePage printedPage(const QString& number, Folio folio, const QStringList& heading = {})
{
    FixturePage page = FixturePage::ofLines(
        {heading.isEmpty() ? QStringList{"Some", "text", "of", "the", "chapter."} : heading,
         {"Running", "text", "of", "the", "page."},
         {"More", "text", "here."}});
    const QStringList running = {"THE", "RUNNING", "TITLE"};
    switch (folio) {
    case Folio::RightAlone:
        page.lines << FixtureLine::layout(300, 3350, running)
                   << FixtureLine::layout(2150, 3350, {number});
        break;
    case Folio::LeftBeside:
        page.lines << FixtureLine::layout(300, 3350, QStringList{number} + running);
        break;
    case Folio::RightBeside:
        page.lines << FixtureLine::layout(300, 3350, running + QStringList{number});
        break;
    case Folio::FooterDash:
        page.lines << FixtureLine::layout(1150, 100, {"-", number, "-"});
        break;
    case Folio::None:
        break;
    }
    return page;
}

PageNumberMap mapOf(const QList<FixturePage>& pages)
{
    PageNumberMap map;
    const QMap<int, PageText> texts = DjvuFixture::pageTexts(pages);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        map.add(it.key(), it.value());
    map.finish();
    return map;
}

struct MapRow
{
    const char* name;
    Folio folio;
    bool roman;
    bool misread; // every third number misread ("l3", "1O")
};

class PageNumbers : public testing::TestWithParam<MapRow>
{
};

// Pages 3 to 30 print 1 to 28; page 10 is a chapter opener without its number, page 20 a
// stray figure label "7" in the top row. The map gives every printed number its page.
TEST_P(PageNumbers, EveryForm)
{
    const MapRow& row = GetParam();
    QList<FixturePage> pages = {FixturePage::ofLines({{"Title", "page"}}),
                                FixturePage::ofLines({{"Blank"}})};
    for (int printed = 1; printed <= 28; ++printed) {
        const int page = printed + 2;
        QString number = row.roman ? QStringLiteral("x").repeated(printed / 10) +
                                         QStringList{"",  "i",  "ii",  "iii",  "iv",
                                                     "v", "vi", "vii", "viii", "ix"}[printed % 10]
                                   : QString::number(printed);
        if (row.misread && printed % 3 == 0)
            number.replace('1', 'l').replace('0', 'O');
        if (page == 10)
            pages << printedPage(number, Folio::None, {"Chapter", "Two"});
        else if (page == 20)
            pages << printedPage("7", Folio::LeftBeside);
        else
            pages << printedPage(number, row.folio);
    }
    const PageNumberMap map = mapOf(pages);
    const PrintedNumber::Kind kind = row.roman ? PrintedNumber::Roman : PrintedNumber::Arabic;
    ASSERT_EQ(map.stretches().size(), 1) << PageNumberMap::describe(map.stretches()).toStdString();
    EXPECT_EQ(map.stretches()[0].offset, 2);
    EXPECT_EQ(map.stretches()[0].kind, kind);
    for (const int printed : {1, 8, 18, 27})
        EXPECT_EQ(map.pageOf(kind, printed), printed + 2) << printed;
    EXPECT_EQ(map.numberOf(20).value, 18); // filled in where the neighbours agree
    EXPECT_EQ(map.pageOf(kind, 40), 0);    // beyond the book: silent
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PageNumbers,
    testing::Values(MapRow{"RightAlone", Folio::RightAlone, false, false},
                    MapRow{"LeftBeside", Folio::LeftBeside, false, false},
                    MapRow{"RightBeside", Folio::RightBeside, false, true},
                    MapRow{"FooterDash", Folio::FooterDash, false, true},
                    MapRow{"RomanFrontMatter", Folio::RightBeside, true, false}),
    [](const testing::TestParamInfo<MapRow>& info) { return std::string(info.param.name); });

struct HeadingRow
{
    QList<QStringList> lines; // from the top down
    int top;                  // where the first line stands; the page is 3508 high
    QStringList title;        // as the contents prints it
    bool found;
};

class HeadingForms : public testing::TestWithParam<HeadingRow>
{
};

TEST_P(HeadingForms, AsBooksPrintThem)
{
    const HeadingRow& row = GetParam();
    FixturePage page = FixturePage::ofLines(row.lines, 300, row.top);
    page.lines << FixtureLine::layout(300, 3350, {"1", "INTRODUCTION"}); // a running head
    page.lines << FixtureLine::layout(2150, 3350, {"7"});
    StoredPageTexts source(1, DjvuFixture::pageTexts({page}));
    BookPages book(source);
    EXPECT_EQ(!book.pagesWithHeading(ContentsLine::comparable(row.title), 1, 1, {}).isEmpty(),
              row.found)
        << row.lines.first().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeadingForms,
    testing::Values(
        HeadingRow{{{"CHAPTER", "1"}, {"Introduction"}}, 3000, {"1", "Introduction"}, true},
        HeadingRow{{{"Chapter", "One"}, {"The", "Beginning", "of", "Things"}},
                   3000,
                   {"1.", "The", "beginning", "of", "things"},
                   true},
        HeadingRow{{{"ГЛАВА", "1"}, {"Общие", "положения"}},
                   3000,
                   {"Глава", "1.", "Общие", "положения"},
                   true},
        HeadingRow{
            {{"Lecture", "3"}, {"Brownian", "motion"}}, 3000, {"3", "Brownian", "motion"}, true},
        HeadingRow{{{"3"}, {"Brownian", "motion"}}, 3000, {"3", "Brownian", "motion"}, true},
        HeadingRow{{{"Appendix", "A"}, {"THE", "SIMPLEX", "METHOD"}},
                   3000,
                   {"A", "The", "simplex", "method", "for", "linear", "programs"},
                   true},
        HeadingRow{{{"2.2", "A", "SYMMETRIC", "DIFFUSION"}},
                   3000,
                   {"2.2", "A", "symmetric", "diffusion", "operator", "for", "Wiener", "space"},
                   true},
        HeadingRow{{{"2.2", "A", "symrnetric", "diffusion", "operator"}},
                   1500,
                   {"2.2", "A", "symmetric", "diffusion", "operator"},
                   true},
        HeadingRow{{{"An", "elementary", "derivation", "of"}, {"Malliavin's", "inequalities"}},
                   3000,
                   {"4", "An", "elementary", "derivation", "of", "Malliavin's", "inequalities"},
                   true},
        HeadingRow{{{"Preface"}}, 3000, {"Preface"}, true},
        // Not the heading: the chapter form low on the page, another number, a mention in
        // running text, the running head.
        HeadingRow{{{"CHAPTER", "1"}, {"Introduction"}}, 900, {"1", "Introduction"}, false},
        HeadingRow{{{"Chapter", "2"}, {"Introduction"}}, 3000, {"1", "Introduction"}, false},
        HeadingRow{{{"As", "told", "in", "3", "Brownian", "motion"}},
                   3000,
                   {"3", "Brownian", "motion"},
                   false},
        HeadingRow{{{"Some", "text"}}, 3000, {"1", "INTRODUCTION"}, false}));

// A scanned book whose contents lists twelve sections: a plate was inserted after printed
// page 20 and printed pages 41 and 42 were lost, so the offset is +4, then +5, then +3.
struct ScannedBook
{
    static constexpr int kSections = 12;
    static int printed(int k) { return 1 + 6 * (k - 1); }
    static int pageOf(int printed) { return printed + (printed <= 20 ? 4 : printed <= 40 ? 5 : 3); }
    static QStringList heading(int k)
    {
        static const QStringList names = {"Alpha", "Beta",  "Gamma", "Delta", "Epsilon", "Zeta",
                                          "Eta",   "Theta", "Iota",  "Kappa", "Lambda",  "Mu"};
        return {QString::number(k) + QLatin1Char('.'), names[k - 1], "and", "more"};
    }

    // folios: the pages print their numbers; misleading: a page far off starts a line with
    // the sixth section's heading, and the section's own heading is lost.
    static QList<FixturePage> build(bool folios, bool misleading)
    {
        FixturePage contents;
        int y = 3000;
        for (int k = 1; k <= kSections; ++k, y -= 60)
            contents.lines << FixtureLine::entry(300, y, heading(k), QString::number(printed(k)));
        QList<FixturePage> pages = {contents, FixturePage::ofLines({{"Preface"}}),
                                    FixturePage::ofLines({{"Blank"}}),
                                    FixturePage::ofLines({{"Blank"}})};
        for (int n = 1; n <= 70; ++n) {
            if (n == 41 || n == 42)
                continue;
            if (n == 21)
                pages << FixturePage::ofLines({{"Plate", "one"}});
            QStringList head;
            for (int k = 1; k <= kSections; ++k)
                if (printed(k) == n && !(misleading && k == 6))
                    head = heading(k);
            const Folio folio = !folios ? Folio::None
                                : n % 2 ? Folio::RightAlone
                                        : Folio::LeftBeside;
            pages << printedPage(QString::number(n), folio, head);
        }
        if (misleading) // page 66, printed 63
            pages[65] = printedPage("63", folios ? Folio::RightAlone : Folio::None, heading(6));
        return pages;
    }
};

struct DriftRow
{
    const char* name;
    bool folios;
    bool misleading;
    std::optional<int> offset;
};

class DriftingOffsets : public testing::TestWithParam<DriftRow>
{
};

TEST_P(DriftingOffsets, EveryLinkLeadsToItsHeading)
{
    const DriftRow& row = GetParam();
    const QList<FixturePage> pages = ScannedBook::build(row.folios, row.misleading);
    StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
    SmartReading::Settings settings;
    settings.contentsPages = {1};
    settings.offset = row.offset;
    settings.check = SmartCheck::Mode::Check;
    const SmartReading::Result r = SmartReading::read(source, settings);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.offset, 4) << r.notes.join('\n').toStdString();
    ASSERT_EQ(r.entries.size(), ScannedBook::kSections);
    for (int k = 1; k <= ScannedBook::kSections; ++k) {
        if (row.misleading && k == 6 && !row.folios)
            continue; // nothing in the book tells where its heading went
        EXPECT_EQ(r.entries[k - 1].target, ScannedBook::pageOf(ScannedBook::printed(k))) << k;
    }
    const QString log = r.notes.join('\n');
    if (row.folios)
        EXPECT_TRUE(log.contains(QStringLiteral("pages 5–24: +4; 26–45: +5; 46–73: +3")))
            << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, DriftingOffsets,
    testing::Values(DriftRow{"PrintedNumbersGiven", true, false, 4},
                    DriftRow{"PrintedNumbersAuto", true, false, std::nullopt},
                    DriftRow{"PrintedNumbersMisleadingAuto", true, true, std::nullopt},
                    DriftRow{"HeadingsOnlyAuto", false, false, std::nullopt},
                    DriftRow{"HeadingsOnlyMisleadingAuto", false, true, std::nullopt}),
    [](const testing::TestParamInfo<DriftRow>& info) { return std::string(info.param.name); });

// A given offset that sends the last entries past the book's end: the headings place them
// inside it, and strict checking still refuses the book.
TEST(DriftingOffsets, TargetsPastTheEndAreCorrectedNotRefused)
{
    QList<FixturePage> pages = ScannedBook::build(false, false);
    pages = pages.mid(0, 60); // printed 1 to 53: the last entries lie past the scan
    pages << printedPage("64", Folio::None, ScannedBook::heading(11))
          << printedPage("70", Folio::None, ScannedBook::heading(12));
    StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
    SmartReading::Settings settings;
    settings.contentsPages = {1};
    settings.offset = 4;
    settings.check = SmartCheck::Mode::Check;
    SmartReading::Result r = SmartReading::read(source, settings);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.entries[10].target, 61);
    EXPECT_EQ(r.entries[11].target, 62);
    EXPECT_TRUE(r.notes.join('\n').contains(QStringLiteral("→ page 65, outside the book: "
                                                           "heading found on page 61")));
    // The plan the log, the report and the review window are made from names both pages.
    const QList<PlanPage> plan = SmartPlan::pagesOf(r, "");
    EXPECT_EQ(plan[0].entries[10].targetPage, 61);
    EXPECT_EQ(plan[0].entries[10].correctedFrom, 65);
    EXPECT_EQ(plan[0].entries[0].correctedFrom, 0);
    settings.check = SmartCheck::Mode::Strict;
    r = SmartReading::read(source, settings);
    EXPECT_FALSE(r.ok());
}

} // namespace

// A book without text has its contents and the pages the offset names recognised: where a
// heading is not on its page, the check has the pages around it recognised, and no others.
TEST(DriftingOffsets, ABookWithoutTextHasPagesReadOnlyWhereAHeadingIsMissed)
{
    const QList<FixturePage> pages = ScannedBook::build(false, false);
    const QMap<int, PageText> all = DjvuFixture::pageTexts(pages);
    QMap<int, PageText> read = {{1, all.value(1)}};
    for (int k = 1; k <= ScannedBook::kSections; ++k)
        read.insert(ScannedBook::printed(k) + 4, all.value(ScannedBook::printed(k) + 4));
    LazyPageTexts source(int(pages.size()), read, [](QMap<int, PageText>*) { return true; });
    QSet<int> asked;
    source.setComplete([&](QMap<int, PageText>* some) {
        QList<int> changed;
        for (auto it = some->begin(); it != some->end(); ++it) {
            asked.insert(it.key());
            if (!read.contains(it.key())) {
                it.value() = all.value(it.key());
                changed << it.key();
            }
        }
        return changed;
    });
    SmartReading::Settings settings;
    settings.contentsPages = {1};
    settings.offset = 4;
    settings.check = SmartCheck::Mode::Check;
    const SmartReading::Result r = SmartReading::read(source, settings);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ASSERT_EQ(r.entries.size(), ScannedBook::kSections);
    for (int k = 1; k <= ScannedBook::kSections; ++k)
        EXPECT_EQ(r.entries[k - 1].target, ScannedBook::pageOf(ScannedBook::printed(k))) << k;
    // The first three headings stand where the offset says: nothing around them is read.
    EXPECT_FALSE(asked.isEmpty());
    for (int p = 2; p <= 14; ++p)
        EXPECT_FALSE(asked.contains(p) && !read.contains(p)) << p;
}
