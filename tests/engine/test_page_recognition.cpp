// Recognition of pages without a text layer: the words of a printed page land where they
// stand (origin bottom-left), ocr-recognise keeps them in the text layer, and every failure
// leaves the book byte for byte as it was.
#include "CliRun.h"
#include "DjvuFixture.h"

#include "base/CancelToken.h"
#include "djvu/ToolRunner.h"
#include "ocr/PageRecognition.h"
#include "ocr/PageRecognizer.h"
#include "reading/PageLines.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kContents = {"CONTENTS", "1 Introduction 5", "2 Methods 12", "3 Results 27"};

class PageRecognitionTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ToolRunner tools{QStringLiteral(TOCSMITH_OUT_DIR), dir.path(), nullptr};

    // Page 1 printed without a text layer, page 2 blank with a text layer of its own.
    QString book()
    {
        FixturePage printed;
        printed.printed = kContents;
        printed.hasText = false;
        FixturePage withText = FixturePage::ofLines({{"Kept", "words"}});
        const QString path = dir.filePath("book.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {printed, withText}, &error)) << error.toStdString();
        return path;
    }

    static QStringList lineTexts(const PageText& text)
    {
        QStringList lines;
        for (const TextLine& line : text.lines)
            lines << line.text();
        return lines;
    }
};

TEST_F(PageRecognitionTest, PrintedWordsLandWhereTheyStandOnThePage)
{
    const QString path = book();
    PageRecognizer recognizer(tools, QStringLiteral("eng"));
    PageText text;
    QString error;
    ASSERT_TRUE(recognizer.recognise(path, 1, &text, &error)) << error.toStdString();
    EXPECT_EQ(lineTexts(text), kContents);
    const FixturePage page;
    EXPECT_EQ(text.box, (ZoneBox{0, 0, page.width, page.height}));
    ASSERT_EQ(text.lines.size(), kContents.size());
    int above = page.height + 1;
    for (const TextLine& line : text.lines) {
        // Print starts 400 pixels below the top edge: high up, in a box that counts from the
        // bottom; each line lower than the one before.
        EXPECT_LE(line.box.ymax, page.height - page.printedTop + 10);
        EXPECT_GT(line.box.ymin, page.height / 2);
        EXPECT_LT(line.box.ymax, above);
        above = line.box.ymin;
        EXPECT_GE(line.box.xmin, page.printedLeft - 10);
        int right = 0;
        for (const TextWord& word : line.words) {
            EXPECT_LT(word.box.xmin, word.box.xmax);
            EXPECT_LT(word.box.ymin, word.box.ymax);
            EXPECT_GE(word.box.xmin, right); // left to right
            right = word.box.xmax;
        }
    }
    // The expression set-txt is given reads back as the same page.
    PageText back;
    ASSERT_TRUE(PageText::parse(PageLines::expression(text), &back, &error)) << error.toStdString();
    EXPECT_EQ(lineTexts(back), kContents);
    EXPECT_EQ(back.lines.first().words.first().box, text.lines.first().words.first().box);
}

TEST_F(PageRecognitionTest, OcrRecogniseWritesATextLayerOnlyWherePagesHadNone)
{
    const QString path = book();
    const CliRun run = runCli({"ocr-recognise", "--no-backup", "--jobs", "2", path});
    ASSERT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    const QString printed = DjvuFixture::djvused(path, "select 1; print-pure-txt");
    for (const QString& line : kContents)
        EXPECT_TRUE(printed.contains(line)) << printed.toStdString();
    EXPECT_TRUE(DjvuFixture::djvused(path, "select 1; print-txt").contains("(word "));
    EXPECT_EQ(DjvuFixture::djvused(path, "select 2; print-pure-txt").trimmed(), "Kept words");
    EXPECT_TRUE(run.out.contains("1/1")) << run.out.toStdString(); // progress per page
    // A second run finds nothing left to recognise.
    const QByteArray after = DjvuFixture::readAll(path);
    EXPECT_EQ(runCli({"ocr-recognise", "--no-backup", path}).status, 0);
    EXPECT_EQ(DjvuFixture::readAll(path), after);
}

TEST_F(PageRecognitionTest, FailuresSayWhyAndLeaveTheBookAsItWas)
{
    const QString path = book();
    struct Case
    {
        const char* name;
        QStringList args;
        QString said;
    };
    const QList<Case> cases = {
        {"missing language data", {"--ocr-language", "xqz"}, "xqz"},
        {"missing one of two", {"--ocr-language", "eng+xqz"}, "tesseract-ocr-xqz"},
        {"a page without print", {"--pages", "2", "--all"}, "Not a word"},
        {"pages outside the book", {"--pages", "3-4"}, "3"},
    };
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    for (const Case& c : cases) {
        const CliRun run = runCli(QStringList{"ocr-recognise", path} + c.args);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_TRUE((run.out + run.err).contains(c.said))
            << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before) << c.name;
    }
}

TEST_F(PageRecognitionTest, AStopEndsEveryJobAndKeepsNothing)
{
    const QString path = book();
    CancelToken stop;
    stop.cancel();
    PageRecognition::Settings settings;
    settings.cancel = &stop;
    settings.jobs = 2;
    const PageRecognition::Outcome out = PageRecognition::recognise(tools, path, {1, 2}, settings);
    EXPECT_TRUE(out.cancelled);
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(out.pages.isEmpty());
}

TEST_F(PageRecognitionTest, TheSmartReadingRecognisesAContentsWithoutTextAndKeepsIt)
{
    // The contents page is print only; the chapters' pages carry text.
    FixturePage contents;
    contents.printed = {"CONTENTS", "1 Introduction 2", "2 Methods 3"};
    contents.hasText = false;
    const QList<FixturePage> pages = {contents, FixturePage::headed({"1", "Introduction"}),
                                      FixturePage::headed({"2", "Methods"})};
    const QString path = dir.filePath("smart.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
    const QByteArray before = DjvuFixture::readAll(path);
    const CliRun never = runCli({"create", "--reading", "smart", "--ocr", "never", "--dry-run",
                                 "--ocr-language", "eng", path});
    EXPECT_EQ(never.status, 1); // no text, no reading
    const CliRun dry = runCli({"create", "--reading", "smart", "--dry-run", "--ocr-language", "eng",
                               "--offset", "0", path});
    ASSERT_EQ(dry.status, 0) << dry.out.toStdString() << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains("Pages without text recognised: 1.")) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("Methods\" 3 -> page 3")) << dry.out.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);

    const CliRun kept = runCli({"create", "--reading", "smart", "--keep-ocr", "--no-backup",
                                "--ocr-language", "eng", path});
    ASSERT_EQ(kept.status, 0) << kept.out.toStdString() << kept.err.toStdString();
    EXPECT_TRUE(DjvuFixture::djvused(path, "select 1; print-pure-txt").contains("2 Methods 3"));
    EXPECT_TRUE(DjvuFixture::djvused(path, "select 1; print-ant").contains("(maparea \"#2\""));
}

// A book all print, whose offset is to be found: the page numbers in the margins of some
// pages give it, the pages the entries lead to confirm it, and the rest stays unread.
TEST_F(PageRecognitionTest, TheOffsetOfABookWithoutTextComesFromThePageNumbersItPrints)
{
    FixturePage contents;
    contents.printed = {"CONTENTS", "1 Introduction 1", "2 Methods 4", "3 Results 7"};
    QList<FixturePage> pages = {contents, FixturePage()}; // a blank page before the body
    const QMap<int, QString> headings = {{1, "1 Introduction"}, {4, "2 Methods"}, {7, "3 Results"}};
    for (int printed = 1; printed <= 12; ++printed) {
        FixturePage page;
        page.printed = {QString::number(printed), "",
                        headings.value(printed, QStringLiteral("More of the chapter")),
                        "Text of the page."};
        page.printedTop = 120;
        pages << page;
    }
    for (FixturePage& page : pages)
        page.hasText = false;
    const QString path = dir.filePath("print.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
    const CliRun run = runCli({"create", "--reading", "smart", "--dry-run", "--ocr-language", "eng",
                               "--offset", "auto", "--pages", "1", path});
    ASSERT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    const QString out = run.out;
    EXPECT_TRUE(out.contains("the page numbers in the margins of 5 pages without text are read"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("printed page numbers agree")) << out.toStdString();
    EXPECT_TRUE(out.contains("Methods\" 4 -> page 6")) << out.toStdString();
    EXPECT_TRUE(out.contains("Results\" 7 -> page 9")) << out.toStdString();
    // Read whole: the contents, and the pages the entries lead to and around them, never the
    // pages past the last one.
    const QRegularExpressionMatch whole =
        QRegularExpression("Pages without text recognised: ([^\n]*)\\.").match(out);
    ASSERT_TRUE(whole.hasMatch()) << out.toStdString();
    EXPECT_FALSE(whole.captured(1).contains(QRegularExpression("1[0-4]"))) << out.toStdString();
}

TEST_F(PageRecognitionTest, LanguageChoiceAndAFailedPageAsTheRunAsks)
{
    const QString path = book();
    struct Case
    {
        const char* name;
        QStringList choices;
        bool keepGoing;
        QList<int> pages;
        QString languages; // chosen; empty: the run fails
        QList<int> failed;
    };
    const QList<Case> cases = {
        // An English page stays with the preferred set when another is tried beside it.
        {"english page, two sets", {"eng", "rus+eng"}, false, {1}, "eng", {}},
        {"one set", {"eng"}, false, {1}, "eng", {}},
        // A page outside the book: reported alone, or the end of the whole run.
        {"failed page kept apart", {"eng"}, true, {1, 9}, "eng", {9}},
        {"failed page ends the run", {"eng"}, false, {1, 9}, "", {}},
    };
    for (const Case& c : cases) {
        PageRecognition::Settings settings;
        settings.languages = c.choices.first();
        settings.languageChoices = c.choices;
        settings.keepGoing = c.keepGoing;
        const PageRecognition::Outcome out =
            PageRecognition::recognise(tools, path, c.pages, settings);
        EXPECT_EQ(out.ok(), !c.languages.isEmpty()) << c.name << out.error.toStdString();
        EXPECT_EQ(out.failed.keys(), c.failed) << c.name;
        if (!out.ok()) {
            EXPECT_TRUE(out.pages.isEmpty()) << c.name;
            continue;
        }
        EXPECT_EQ(out.languages, c.languages) << c.name;
        EXPECT_EQ(lineTexts(out.pages.value(1)), kContents)
            << c.name << lineTexts(out.pages.value(1)).join(" | ").toStdString();
    }
}

TEST(PageRecognitionModes, TheSurestLanguageSetOnlyWhenClearlySurer)
{
    const QList<std::pair<QList<double>, qsizetype>> cases = {
        {{80}, 0}, {{80, 83}, 0}, {{60, 88}, 1}, {{90, 40, 70}, 0}, {{40, 70, 90}, 2}, {{0, 0}, 0},
    };
    for (const auto& [confidences, best] : cases)
        EXPECT_EQ(PageRecognition::bestChoice(confidences), best);
}

TEST(PageRecognitionLines, LeadersReadAsLettersOrDigitsBecomeDots)
{
    // Words as the library gives them: text, confidence and whether its word list holds the
    // word, left to right, 40 high (as letters are); dots only 10 high, or as high as given.
    struct Word
    {
        QString text;
        float confidence;
        bool known = false;
        int height = 0;
    };
    using Read = QList<Word>;
    const QList<std::tuple<const char*, Read, QString>> cases = {
        {"sure words stay", {{"1.4", 90}, {"Convexity", 95}, {"8", 96}}, "1.4 Convexity 8"},
        {"leader read as letters",
         {{"2.1", 90}, {"Keys", 93}, {"иинии", 0}, {"нии", 3}, {"3", 97}},
         "2.1 Keys ... 3"},
        {"digits guessed among the dots",
         {{"4.1", 90}, {"Introduction", 95}, {"2", 10}, {"0", 0}, {"0", 2}, {"97", 95}},
         "4.1 Introduction ... 97"},
        {"a title glued to a leader read as letters",
         {{"2.", 96}, {"START..........нннии", 0}, {"2", 95}},
         "2. START ... 2"},
        {"an unsure number alone is kept", {{"3.1", 90}, {"Keys", 93}, {"12", 40}}, "3.1 Keys 12"},
        {"a listed word before the leader stays, a short one does not",
         {{"2.6", 96},
          {"Test", 96},
          {"functions.", 0, true},
          {"......", 0},
          {"eee", 12, true},
          {"53", 90}},
         "2.6 Test functions. ... 53"},
        {"digits glued to the leader after a title are the leader",
         {{"3.1.4", 96}, {"Simple", 64}, {"example.........0.4.", 0}},
         "3.1.4 Simple example ..."},
        {"low dots read partly as digits are the leader",
         {{"Index", 96}, {"........00.4", 0}},
         "Index ..."},
        {"a misread word where the dots begin stays",
         {{"6.3", 92}, {"od", 21, true}, {"ин", 5, true, 10}, {"нии", 0, true, 10}, {"5", 97}},
         "6.3 od ... 5"},
        {"a misread word glued to the dots stays",
         {{"6.1", 93}, {"О\\№Ми2.......", 48}, {"нии", 0, true, 10}, {"5", 97}},
         "6.1 О\\№Ми2... ... 5"},
        {"a title glued to its leader in a box as low as dots stays",
         {{"4.5.5", 92},
          {"Numerical", 92},
          {"results...................", 84, false, 10},
          {"135", 84}},
         "4.5.5 Numerical results... 135"},
        {"digits glued to dots are the leader, high or low",
         {{"A.6", 90},
          {"Degeneracy", 86},
          {"........", 0},
          {"20...", 0, false, 40},
          {"0...", 4, false, 10},
          {"eee", 20, true, 10},
          {"241", 97}},
         "A.6 Degeneracy ... 241"},
        {"a leader and its number read as one word",
         {{"4.5.6", 94}, {"Conclusion", 90}, {".............2-.2.4...139", 0, false, 40}},
         "4.5.6 Conclusion ...139"},
        {"doubtful words after the leader began are the leader, whatever ends the line",
         {{"minimization", 92},
          {"...........0", 0, false, 40},
          {"00000", 4},
          {"e", 31},
          {"eee", 41, true},
          {"BS", 67, true}},
         "minimization ... BS"},
        {"a sure letter alone amid the leader is the leader",
         {{"3.", 96},
          {"EXAMPLES", 96},
          {"........", 45, false, 40},
          {"ини", 0, true, 10},
          {"ии", 48, true},
          {"и", 57, true},
          {"ии", 48, true},
          {"ини", 0, true, 10},
          {"4", 97}},
         "3. EXAMPLES ... 4"},
        {"a dash as low as dots begins no leader",
         {{"8.3", 93},
          {"MMR", 92},
          {"—", 91, false, 5},
          {"coded", 40},
          {"front", 50},
          {"plane", 92},
          {"......", 0},
          {"28", 97}},
         "8.3 MMR ... coded front plane ... 28"},
        {"a listed word opening a line stays",
         {{"ables", 54, true}, {"(n=2)", 54}, {"....", 0}, {"20.0.0...", 0, false, 40}, {"7", 74}},
         "ables (n=2) ... 7"},
    };
    for (const auto& [name, read, line] : cases) {
        QList<PageRecognizer::ReadWord> words;
        int x = 0;
        for (const auto& [text, confidence, known, high] : read) {
            const int width = 30 * int(text.size());
            const int height = high > 0 ? high : text.startsWith(QLatin1String("...")) ? 10 : 40;
            words.append({{text, {x, 0, x + width, height}}, confidence, known});
            x += width + 20;
        }
        QString got = PageRecognizer::lineOf(words, 40).text();
        got.replace(QRegularExpression("\\.{3,}"), "...");
        EXPECT_EQ(got, line) << name;
    }
}

TEST(PageRecognitionLines, AWordReadAgainInTheOtherLanguageOnlyWhenPlainlyBetter)
{
    // The first reading, then the other language's: text, confidence, on its word list.
    using Read = std::tuple<QString, float, bool>;
    const QList<std::tuple<const char*, Read, Read, bool>> cases = {
        {"a quoted word in the other alphabet", {"(Зтдае", 34, false}, {"(Single", 96, true}, true},
        {"a page number read as a letter", {"б", 43, false}, {"6", 96, false}, true},
        {"a number read as a word of one letter", {"а", 70, true}, {"2", 95, false}, true},
        {"a word of the book's own list stays",
         {"Заголовок", 60, true},
         {"3aronoBoK", 92, true},
         false},
        {"the same print in either alphabet", {"текст", 49, false}, {"TEKCT", 95, true}, false},
        {"letters in place of symbols among letters",
         {"О\\иМЬге", 24, false},
         {"DjVuLibr", 92, false},
         true},
        {"letters guessed from no list", {"Заголвок", 24, false}, {"Sarolbok", 92, false}, false},
        {"no surer letters", {"ОЗМО$ЕО", 50, false}, {"DJVUSED", 55, false}, false},
        {"not much surer", {"Сотроипа", 81, false}, {"Compound", 88, true}, false},
        {"not sure enough", {"Раде", 24, false}, {"Page", 70, true}, false},
    };
    for (const auto& [name, own, other, kept] : cases) {
        const auto word = [](const Read& r) {
            return PageRecognizer::ReadWord{{std::get<0>(r), {}}, std::get<1>(r), std::get<2>(r)};
        };
        EXPECT_EQ(PageRecognizer::surerElsewhere(word(own), word(other)), kept) << name;
    }
}

TEST(PageRecognitionModes, PagesAreRecognisedByModeAndText)
{
    PageText none;
    PageText poor;
    poor.hasLayer = true;
    poor.lines.append({{}, {{"x", {}}}});
    PageText good = poor;
    good.lines.append({{}, {{"one", {}}, {"two", {}}, {"three", {}}}});
    using M = PageRecognition::Mode;
    EXPECT_FALSE(PageRecognition::wanted(M::Never, none));
    EXPECT_TRUE(PageRecognition::wanted(M::Auto, none));
    EXPECT_TRUE(PageRecognition::wanted(M::Auto, poor));
    EXPECT_FALSE(PageRecognition::wanted(M::Auto, good));
    EXPECT_TRUE(PageRecognition::wanted(M::Always, good));
    EXPECT_EQ(PageRecognition::pageList({1, 2, 3, 7, 9, 10}), QStringLiteral("1-3, 7, 9-10"));
}

} // namespace
