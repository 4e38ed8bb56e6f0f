// The readings on contents and index pages printed in many ways: numbers the OCR gave in a
// block of their own, section numbers apart, two columns, indents, titles over two lines,
// unnumbered entries, part titles without a number, misread digits and roman front matter.
// Each page carries its truth; every line of it must be accounted for.

#include "CliRun.h"
#include "PrintedContents.h"

#include "reading/ContentsLine.h"
#include "reading/MisreadNumber.h"
#include "reading/SmartIndexReading.h"
#include "reading/SmartReading.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kOffset = 10;

QString comparable(const QString& title)
{
    return ContentsLine::comparable(title.split(QLatin1Char(' '), Qt::SkipEmptyParts)).join(' ');
}

// Entries of a book whose printed page p stands on page p + 10; roman front matter on the
// page of its numeral (no folio says otherwise).
QList<PrintedEntry> bookEntries()
{
    return {
        {"", "Preface", "ix", 1, 9},
        {"", "Introduction", "1", 1, 11},
        {"1", "Foundations", "3", 1, 13},
        {"1.1", "Sets and maps", "3", 2, 13},
        {"1.2", "Measures on product spaces", "7", 2, 17},
        {"2", "Applications", "12", 1, 22},
        {"2.1", "First examples", "12", 2, 22},
        {"2.2", "Equations of motion in curved spaces", "15", 2, 25},
        {"", "References", "20", 1, 30},
        {"", "Index", "22", 1, 32},
    };
}

struct LayoutCase
{
    PrintedLayout layout;
    QList<PrintedEntry> entries = bookEntries();
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.layout.name.toStdString();
}

SmartReading::Result readSmart(const PrintedContents& printed)
{
    const QList<FixturePage> pages = PrintedContents::book({printed.page}, 60);
    StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
    SmartReading::Settings settings;
    settings.contentsPages = {1};
    settings.offset = kOffset;
    return SmartReading::read(source, settings);
}

// Every entry of the truth linked with its title and page, no other link, and every line
// of the page an entry, a continuation or the heading.
void expectTruth(const PrintedContents& printed, const SmartReading::Result& r)
{
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    QStringList read;
    for (const SmartEntry& e : r.entries)
        read << QStringLiteral("%1 -> %2").arg(comparable(e.title)).arg(e.target);
    QStringList truth;
    for (const PrintedEntry& e : printed.truth)
        truth << QStringLiteral("%1 -> %2").arg(comparable(e.fullTitle())).arg(e.page);
    EXPECT_EQ(read, truth);
    EXPECT_EQ(r.account.countable(), printed.truth.size());
    EXPECT_EQ(r.account.linkedCount(), printed.truth.size()) << r.notes.join('\n').toStdString();
    for (const LineAccount::Line& line : r.account.lines)
        EXPECT_NE(line.role, LineAccount::Role::NotRead) << line.text.toStdString();
}

class PrintedLayouts : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(PrintedLayouts, SmartReadingFindsEveryEntryOfTheTruth)
{
    const PrintedContents printed = PrintedContents::print(GetParam().entries, GetParam().layout);
    expectTruth(printed, readSmart(printed));
}

QList<PrintedEntry> shortEntries()
{
    return {
        {"", "Preface", "v", 1, 5},    {"1", "Sets", "1", 1, 11},    {"1.1", "Maps", "2", 2, 12},
        {"1.2", "Limits", "4", 2, 14}, {"2", "Spaces", "6", 1, 16},  {"2.1", "Norms", "7", 2, 17},
        {"2.2", "Duals", "9", 2, 19},  {"3", "Fields", "11", 1, 21}, {"3.1", "Flows", "12", 2, 22},
        {"", "Index", "14", 1, 24},
    };
}

QList<PrintedEntry> partEntries()
{
    return {
        {"Part I", "Basics", "", 1, 13},     {"1", "Foundations", "3", 2, 13},
        {"2", "Applications", "12", 2, 22},  {"Part II", "Advanced topics", "", 1, 26},
        {"3", "Curved spaces", "16", 2, 26}, {"", "Index", "22", 1, 32},
    };
}

// The OCR misread some numbers; each is read as the number it plainly is, and nothing of
// the misreading reaches the title.
QList<PrintedEntry> misreadEntries()
{
    return {
        {"", "Preface", "vil", 1, 7},    {"1", "Start", "1", 1, 11},
        {"1.1", "Ones", "l3", 2, 23},    {"1.2", "Zeros", "2O", 2, 30},
        {"1.3", "Threes", "2З", 2, 33},  {"1.4", "Fives", "2S", 2, 35},
        {"1.5", "Eights", "2B", 2, 38},  {"1.6", "Sixes", "3б", 2, 46},
        {"1.7", "Marks", "40?", 2, 50},  {"1.8", "Commas", "41,", 2, 51},
        {"1.9", "Quotes", "42'", 2, 52}, {"2", "End", "4З", 1, 53},
    };
}

QList<PrintedEntry> romanChapters()
{
    return {
        {"I", "Introduction", "1", 1, 11},      {"II", "Methods", "5", 1, 15},
        {"III", "Results of 1812", "9", 1, 19}, {"IV", "Discussion", "14", 1, 24},
        {"V", "Chapter 11 cases", "18", 1, 28}, {"", "Bibliography", "25", 1, 35},
    };
}

QList<PrintedEntry> russianEntries()
{
    return {
        {"", "Предисловие", "3", 1, 13},         {"Глава 1.", "Основы", "5", 1, 15},
        {"§ 1.", "Множества", "5", 2, 15},       {"§ 2.", "Меры", "9", 2, 19},
        {"Глава 2.", "Приложения", "12", 1, 22}, {"§ 3.", "Уравнения 2-го порядка", "14", 2, 24},
        {"", "Литература", "20", 1, 30},         {"", "Предметный указатель", "22", 1, 32},
    };
}

QList<PrintedEntry> chapterWords()
{
    return {
        {"Chapter 1", "Beginnings", "1", 1, 11}, {"1.1", "Top 10 lists", "2", 2, 12},
        {"Chapter 2", "Middles", "9", 1, 19},    {"Appendix A", "Proofs", "40", 1, 50},
        {"A.1", "Lemmas", "41", 2, 51},          {"Appendix B", "Tables", "45", 1, 55},
    };
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PrintedLayouts,
    ::testing::Values(
        LayoutCase{{"Leaders"}}, LayoutCase{{"NumbersInTheirOwnBlock", false, true}},
        LayoutCase{{"NumberingTitlesAndNumbersApart", false, true, true}},
        LayoutCase{{"IndentedLevels", false, false, false, false, 80}},
        LayoutCase{{"TitlesOverTwoLines", true, false, false, false, 40, 3}},
        LayoutCase{{"TitlesOverTwoLinesNumbersApart", false, true, false, false, 40, 3}},
        LayoutCase{{"TwoColumns", false, false, false, true}, shortEntries()},
        LayoutCase{{"TwoColumnsNumbersApart", false, true, false, true, 40}, shortEntries()},
        LayoutCase{{"PartTitlesWithoutNumbers", true, false, false, false, 60}, partEntries()},
        LayoutCase{{"MisreadNumbers"}, misreadEntries()},
        LayoutCase{{"MisreadNumbersInTheirOwnBlock", false, true}, misreadEntries()},
        LayoutCase{{"RomanChapters"}, romanChapters()},
        LayoutCase{{"RomanChaptersApart", false, true, true}, romanChapters()},
        LayoutCase{{"Russian"}, russianEntries()},
        LayoutCase{{"RussianNoLeaders", false}, russianEntries()},
        LayoutCase{{"ChapterWords"}, chapterWords()},
        LayoutCase{{"ChapterWordsIndented", false, false, false, false, 80}, chapterWords()}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) {
        return info.param.layout.name.toStdString();
    });

TEST(PrintedContentsLevels, LevelsFromNumberingWordsAndIndentation)
{
    const QList<PrintedEntry> entries = {
        {"Chapter 1", "Sets", "1", 1, 11},    {"1.1", "Maps", "2", 2, 12},
        {"1.1.1", "Graphs", "3", 3, 13},      {"", "Remarks", "4", 3, 14},
        {"§2.1", "Norms", "5", 2, 15},        {"A.1", "Tables", "6", 2, 16},
        {"Appendix A", "Proofs", "7", 1, 17},
    };
    PrintedLayout layout{QStringLiteral("levels"), true, false, false, false, 80};
    const PrintedContents printed = PrintedContents::print(entries, layout);
    const SmartReading::Result r = readSmart(printed);
    expectTruth(printed, r);
    QList<int> levels, expected;
    for (qsizetype i = 0; i < r.entries.size(); ++i) {
        levels << r.entries[i].level;
        expected << entries[i].level;
    }
    EXPECT_EQ(levels, expected);
}

// Lines that are no entry are reported with their reason, and a number the neighbours
// deny stays unread: no link, nothing of it in the title.
TEST(PrintedContentsAccount, LinesNotLinkedAreReportedWithTheirReason)
{
    const QList<PrintedEntry> entries = {
        {"1", "Start", "30", 1, 40},
        {"2", "Middle", "l9", 1, 0}, // 19 after 30: it fits no place
        {"3", "Later", "31", 1, 41},
        {"4", "End", "32", 1, 42},
    };
    PrintedContents printed = PrintedContents::print(entries, PrintedLayout{"plain"});
    printed.page.lines << FixtureLine::layout(1000, 2600, {"77"});
    printed.page.lines << FixtureLine::layout(1500, 2500, {"Printed", "in", "Ruritania"});
    printed.page.lines << FixtureLine::entry(300, 2400, {"5", "Last"}, "33");
    const SmartReading::Result r = readSmart(printed);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ASSERT_EQ(r.entries.size(), 5);
    EXPECT_EQ(r.entries[1].title, QStringLiteral("2 Middle"));
    EXPECT_EQ(r.entries[1].target, 0);
    EXPECT_EQ(r.account.linkedCount(), 4);
    EXPECT_EQ(r.account.countable(), 7);
    QList<LineAccount::Reason> reasons;
    for (const LineAccount::Line& line : r.account.unlinked())
        reasons << line.reason;
    EXPECT_EQ(reasons, (QList<LineAccount::Reason>{LineAccount::Reason::NumberUnreadable,
                                                   LineAccount::Reason::NumberUnderNoTitle,
                                                   LineAccount::Reason::NoPageNumber}));
    const QString log = r.notes.join('\n');
    EXPECT_TRUE(log.contains(QStringLiteral("4 of 7 lines linked."))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\"Printed in Ruritania\": no page number")));
    EXPECT_EQ(r.account.lines.first().role, LineAccount::Role::Heading);
}

TEST(MisreadNumber, ReadsLookAlikesAndStrayMarksButNoPlainWord)
{
    const QList<QPair<QString, QString>> rows = {
        {"l3", "13"},   {"2O", "20"},   {"5З", "53"}, {"8?", "8"},   {"15.", "15"}, {"1б", "16"},
        {"|7", "17"},   {"2S", "25"},   {"1B", "18"}, {"12,", "12"}, {"7'", "7"},   {"vil", "vii"},
        {"XIl", "XII"}, {"xiv", "xiv"}, {"42", "42"}, {"Is", ""},    {"ill", ""},   {"lOl", ""},
        {"word", ""},   {"O", ""},      {"?", ""},    {"a1", ""},
    };
    for (const auto& [word, number] : rows) {
        MisreadNumber::Reading reading;
        const bool read = MisreadNumber::read(word, &reading);
        EXPECT_EQ(read, !number.isEmpty()) << word.toStdString();
        if (read)
            EXPECT_EQ(reading.text, number) << word.toStdString();
    }
}

TEST(PrintedIndex, ReferencesInTwoColumnsAreReadColumnByColumn)
{
    const QList<QPair<QString, QStringList>> terms = {
        {"Brownian motion", {"12", "15"}},
        {"Calculus", {"3"}},
        {"Diffusion", {"7", "9"}},
        {"Drift", {"8"}},
        {"Entropy", {"21"}},
        {"Filtering", {"30", "31"}},
        {"Girsanov", {"17"}},
        {"Hormander", {"25"}},
        {"Ito map", {"4"}},
        {"Kernel", {"11"}},
    };
    for (const bool twoColumns : {false, true}) {
        const PrintedContents printed = PrintedContents::printIndex(terms, twoColumns);
        const QList<FixturePage> pages = PrintedContents::book({printed.page}, 50);
        StoredPageTexts source(int(pages.size()), DjvuFixture::pageTexts(pages));
        SmartIndexReading::Settings settings;
        settings.indexPages = {1};
        settings.kind = WorkKind::Index2;
        settings.offset = kOffset;
        const SmartReading::Result r = SmartIndexReading::read(source, settings);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        QStringList read, truth;
        for (const SmartEntry& e : r.entries)
            read << QStringLiteral("%1 -> %2").arg(comparable(e.title)).arg(e.target);
        for (const PrintedEntry& e : printed.truth)
            truth << QStringLiteral("%1 -> %2").arg(comparable(e.title)).arg(e.page + kOffset);
        EXPECT_EQ(read, truth) << (twoColumns ? "two columns" : "one column");
    }
}

// The classic reading on a real book whose OCR gave the numbers after all titles: it takes
// the words in the order of the lines, and the log of the smart reading counts the lines.
TEST(PrintedContentsCli, BothReadingsTakeTheNumbersBackToTheirTitles)
{
    QTemporaryDir dir;
    const PrintedContents printed =
        PrintedContents::print(bookEntries(), PrintedLayout{"apart", false, true});
    const QString path = dir.filePath("book.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, PrintedContents::book({printed.page}, 40), &error))
        << error.toStdString();
    for (const char* reading : {"classic", "smart"}) {
        const QString report = dir.filePath(QStringLiteral("%1.json").arg(reading));
        const CliRun run = runCli({"create", path, "--pages", "1-1", "--offset", "10", "--reading",
                                   reading, "--dry-run", "--report", report});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonArray entries = QJsonDocument::fromJson(DjvuFixture::readAll(report))
                                       .object()["documents"]
                                       .toArray()[0]
                                       .toObject()["entries"]
                                       .toArray();
        QList<int> targets;
        for (const QJsonValue e : entries)
            targets << e.toObject()["targetPage"].toInt();
        // The classic rules link arabic numbers only.
        const QList<int> expected = QLatin1String(reading) == QLatin1String("classic")
                                        ? QList<int>{11, 13, 13, 17, 22, 22, 25, 30, 32}
                                        : QList<int>{9, 11, 13, 13, 17, 22, 22, 25, 30, 32};
        EXPECT_EQ(targets, expected) << reading;
        if (QLatin1String(reading) == QLatin1String("smart"))
            EXPECT_TRUE((run.out + run.err).contains(QStringLiteral("10 of 10 lines linked")))
                << run.out.toStdString();
    }
}

} // namespace
