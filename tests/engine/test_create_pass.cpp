// The Create pass end to end, with the real djvused on books the fixture builds.
#include "CreateTestSupport.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "links/CreatePass.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using CreateTest::Link;

namespace {

class CreatePassTest : public CreatePassFixture
{
protected:
    QString build(const QString& name, const QList<FixturePage>& pages)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    QStringList workFiles() const
    {
        return QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
    }

    void expectNoMessages() const
    {
        for (const auto& m : messages.messages)
            ADD_FAILURE() << m.text.toStdString();
    }
};

FixturePage blankPage()
{
    FixturePage page;
    page.hasText = false;
    return page;
}

QList<FixturePage> bodyPages(int count)
{
    QList<FixturePage> pages;
    for (int i = 1; i <= count; ++i)
        pages << FixturePage::ofLines({{"Text", "of", "page", QString::number(i)}});
    return pages;
}

TEST_F(CreatePassTest, ARussianContentsPageGetsOneLinkPerEntry)
{
    FixturePage contents;
    contents.lines << FixtureLine::layout(900, 3200, {"Оглавление"});
    contents.lines << FixtureLine::layout(300, 3100, {"Глава", "1.", "Введение", "....", "1"});
    contents.lines << FixtureLine::layout(300, 3000, {"Глава", "2.", "Основы", "....", "4"});
    contents.lines << FixtureLine::layout(300, 2900, {"Глава", "3.", "Итоги", "....", "9"});
    const QString book =
        build("book.djvu", QList<FixturePage>{blankPage(), contents} + bodyPages(10));
    const QByteArray before = DjvuFixture::readAll(book);

    CreateRow row = CreateTest::row(book, 2, 2, 2);
    row.columns[28] = "Перейти";
    const CreateOutcome outcome = run({row});
    expectNoMessages();
    EXPECT_TRUE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 1);

    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), QList<int>{2});
    const QList<Link> entries = links.value(2);
    EXPECT_EQ(CreateTest::targetsOf(entries), (QStringList{"#3", "#6", "#11"}));
    ASSERT_EQ(entries.size(), 3);
    const FixtureLine& first = contents.lines[1];
    EXPECT_EQ(entries[0].shape, "rect");
    EXPECT_EQ(entries[0].x, 300);
    EXPECT_EQ(entries[0].y, 3100);
    EXPECT_EQ(entries[0].width, first.words.last().right - 300);
    EXPECT_EQ(entries[0].height, 3240 - 3100); // reaches up to the heading
    EXPECT_EQ(entries[1].y, 3000);
    EXPECT_EQ(entries[1].height, 100);
    EXPECT_EQ(entries[0].comment, "\\320\\237\\320\\265\\321\\200\\320\\265\\320\\271\\321\\202"
                                  "\\320\\270 1");
    EXPECT_EQ(entries[0].rest, "(xor )");

    EXPECT_EQ(log.lines,
              (QStringList{"Получение данных из файла, создание скрипта OK", "Создание содержания",
                           "Page 2: 3 links made.", "Исправление исходного DjVu файла OK",
                           "Редактирование файла " + book + " завершено"}));
    EXPECT_TRUE(workFiles().isEmpty()) << workFiles().join(' ').toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), before);
    // Only the annotations changed: the text layer is still there.
    EXPECT_TRUE(DjvuFixture::djvused(book, "select 2; output-txt").contains("\\320\\223"));
}

TEST_F(CreatePassTest, AnEnglishContentsOverTwoPagesWithANegativeOffset)
{
    QList<FixturePage> pages = bodyPages(3);
    pages << FixturePage::ofLines(
        {{"Contents"}, {"Preface", "vii"}, {"Introduction", "11"}, {"Methods", "14"}});
    pages << FixturePage::ofLines({{"Results", "12"}, {"Discussion", "20"}, {"Index", "25"}});
    pages << bodyPages(25);
    const QString book = build("english.djvu", pages);
    run({CreateTest::row(book, 4, 5, -5)});
    expectNoMessages();
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), (QList<int>{4, 5}));
    EXPECT_EQ(CreateTest::targetsOf(links.value(4)), (QStringList{"#6", "#9"}));
    // A new page may start with a lower number than the last page ended with.
    EXPECT_EQ(CreateTest::targetsOf(links.value(5)), (QStringList{"#7", "#15", "#20"}));
    EXPECT_EQ(links.value(4).first().comment, "Go to page 11");
}

TEST_F(CreatePassTest, IndexesOfBothKinds)
{
    FixturePage index;
    FixtureLine line;
    line.words << FixtureWord{200, 3000, 700, 3040, "Annotation"};
    line.words << FixtureWord{1000, 3000, 1100, 3040, "15,17"};
    index.lines << line;
    index.lines << FixtureLine::layout(200, 2900, {"Bookmark", "3"});
    index.lines << FixtureLine::layout(200, 2800, {"Zone", "8", "9"});
    QList<FixturePage> pages = QList<FixturePage>{index} + bodyPages(20);

    const QString one = build("index1.djvu", pages);
    const QString two = build("index2.djvu", pages);
    run({CreateTest::row(one, 1, 1, 1, WorkKind::Index1),
         CreateTest::row(two, 1, 1, 1, WorkKind::Index2)});
    expectNoMessages();
    // Index 1: the last word of each line, with one number.
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(one).value(1)), (QStringList{"#4", "#10"}));
    // Index 2: every number, lists split over the word's box.
    const QList<Link> links = CreateTest::linksOf(two).value(1);
    EXPECT_EQ(CreateTest::targetsOf(links), (QStringList{"#16", "#18", "#4", "#9", "#10"}));
    ASSERT_EQ(links.size(), 5);
    EXPECT_EQ(links[0].x, 1000);
    EXPECT_EQ(links[0].width, 50);
    EXPECT_EQ(links[1].x, 1050);
    EXPECT_EQ(links[0].height, 40);
}

TEST_F(CreatePassTest, CoverPagesWithoutTextTitlesAndCapitalNamesLeadToTheRightPages)
{
    QList<FixturePage> pages = {blankPage(), blankPage(), blankPage()};
    pages << FixturePage::ofLines({{"Chapter", "one", "1"}, {"Chapter", "two", "2"}});
    pages << bodyPages(4);
    for (int i = 0; i < pages.size(); ++i) {
        // Capital names, and names without ".djvu" at all.
        pages[i].id = i % 2 ? QStringLiteral("PAGE%1.DJVU").arg(i + 1)
                            : QStringLiteral("Seite %1").arg(i + 1);
        pages[i].title = QStringLiteral("t%1").arg(i + 1);
    }
    const QString book = build("titled.djvu", pages);
    ASSERT_TRUE(DjvuFixture::djvused(book, "ls").contains("T=t4"));
    run({CreateTest::row(book, 4, 4, 4)});
    expectNoMessages();
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), QList<int>{4});
    EXPECT_EQ(CreateTest::targetsOf(links.value(4)), (QStringList{"#5", "#6"}));
}

TEST_F(CreatePassTest, APathWithSpacesAndCyrillicLetters)
{
    const QString book =
        build("Мои книги/книга с пробелами.djvu",
              QList<FixturePage>{FixturePage::ofLines({{"Chapter", "2"}})} + bodyPages(3));
    run({CreateTest::row(book)});
    expectNoMessages();
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(book).value(1)), QStringList{"#2"});
    EXPECT_EQ(log.lines.last(), "Редактирование файла " + book + " завершено");
    EXPECT_TRUE(QFileInfo::exists(book + ".backup"));
}

TEST_F(CreatePassTest, TheContentsLinkOnOnePage)
{
    const QString book = build(
        "link.djvu", QList<FixturePage>{FixturePage::ofLines({{"Chapter", "3"}})} + bodyPages(5));
    CreateRow row = CreateTest::row(book);
    row.columns[13] = "1";
    row.columns[21] = "3";
    row.columns[26] = "1";
    row.columns[27] = "К оглавлению";
    run({row});
    expectNoMessages();
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), (QList<int>{1, 3}));
    ASSERT_EQ(links.value(3).size(), 1);
    const Link link = links.value(3).first();
    EXPECT_EQ(link.target, "# 1");
    EXPECT_EQ(link.comment, "\\320\\232 \\320\\276\\320\\263\\320\\273\\320\\260\\320\\262\\320"
                            "\\273\\320\\265\\320\\275\\320\\270\\321\\216");
    EXPECT_EQ((QList<int>{link.x, link.y, link.width, link.height}),
              (QList<int>{100, 50, 500, 50}));
}

TEST_F(CreatePassTest, TheContentsLinkOnEveryPageJoinsTheContentsOnItsPages)
{
    const QString book = build(
        "every.djvu", QList<FixturePage>{FixturePage::ofLines({{"Chapter", "3"}})} + bodyPages(5));
    CreateRow row = CreateTest::row(book);
    row.columns[13] = "1";
    row.columns[29] = "1";
    run({row});
    expectNoMessages();
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(CreateTest::targetsOf(links.value(1)), (QStringList{"#3", "# 4"}));
    for (int page = 2; page <= 6; ++page)
        EXPECT_EQ(CreateTest::targetsOf(links.value(page)), QStringList{"# 4"}) << page;
}

TEST_F(CreatePassTest, RemovingTheTextLayerAndRunningTheSameFileTwice)
{
    const QString book = build(
        "ocr.djvu", QList<FixturePage>{FixturePage::ofLines({{"Chapter", "2"}})} + bodyPages(2));
    const QByteArray original = DjvuFixture::readAll(book);
    CreateOptions options;
    options.removeOcr = true;
    const CreateOutcome outcome = run({CreateTest::row(book), CreateTest::row(book)}, options);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(DjvuFixture::djvused(book, "output-txt").trimmed(), "select; remove-txt");
    // The second turn found no text on the contents page, so it made no link: it fails
    // and the first turn's links stay.
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("No link was made"));
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(book).value(1)), QStringList{"#2"});
    // The failed turn backed nothing up: the backup holds the original alone.
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), original);
    EXPECT_FALSE(QFile::exists(book + ".backup.2"));
}

TEST_F(CreatePassTest, WithoutBackupNoCopyIsMade)
{
    const QString book =
        build("nobackup.djvu", QList<FixturePage>{FixturePage::ofLines({{"A", "1"}})});
    CreateOptions options;
    options.backup = false;
    run({CreateTest::row(book)}, options);
    expectNoMessages();
    EXPECT_FALSE(QFileInfo::exists(book + ".backup"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"nobackup.djvu"});
}

TEST_F(CreatePassTest, ADryRunHandsOverTheScriptAndChangesNothing)
{
    const QString book =
        build("dry.djvu", QList<FixturePage>{FixturePage::ofLines({{"A", "1"}})} + bodyPages(1));
    const QByteArray before = DjvuFixture::readAll(book);
    CreateOptions options;
    options.dryRun = true;
    const CreateOutcome outcome = run({CreateTest::row(book)}, options);
    expectNoMessages();
    EXPECT_TRUE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 0);
    EXPECT_TRUE(lastScript.contains("(maparea \"#1\" \"Go to page 1\" (rect "))
        << lastScript.constData();
    EXPECT_EQ(DjvuFixture::readAll(book), before);
    EXPECT_FALSE(QFileInfo::exists(book + ".backup"));
    EXPECT_TRUE(workFiles().isEmpty());
}

} // namespace

namespace {

TEST_F(CreatePassTest, AligningATwoColumnContentsGivesEachColumnOneEdgeAndOneWidth)
{
    FixturePage contents;
    const QList<QStringList> left = {{"Preface", "1"},
                                     {"A", "much", "longer", "chapter", "title", "5"},
                                     {"Short", "9"},
                                     {"Medium", "title", "12"}};
    const QList<QStringList> right = {
        {"Second", "part", "20"}, {"Tables", "24"}, {"A", "long", "appendix", "title", "30"}};
    int bottom = 3000;
    for (int i = 0; i < left.size(); ++i, bottom -= 100)
        contents.lines << FixtureLine::layout(200 + (i % 2) * 30, bottom, left[i]);
    bottom = 3000;
    for (int i = 0; i < right.size(); ++i, bottom -= 100)
        contents.lines << FixtureLine::layout(1400 + (i % 2) * 20, bottom, right[i]);
    const QString book = build("columns.djvu", QList<FixturePage>{contents} + bodyPages(40));
    const QByteArray before = DjvuFixture::readAll(book);

    CreateOptions options;
    options.align = true;
    options.fixOptions.backup = true;
    const CreateOutcome outcome = run({CreateTest::row(book)}, options);
    expectNoMessages();
    EXPECT_TRUE(outcome.alignmentRan);
    EXPECT_TRUE(outcome.alignmentRanToEnd);
    const QList<Link> links = CreateTest::linksOf(book).value(1);
    ASSERT_EQ(links.size(), 7);
    QSet<QPair<int, int>> leftEdges, rightEdges;
    for (int i = 0; i < 4; ++i)
        leftEdges.insert({links[i].x, links[i].width});
    for (int i = 4; i < 7; ++i)
        rightEdges.insert({links[i].x, links[i].width});
    EXPECT_EQ(leftEdges.size(), 1);
    EXPECT_EQ(rightEdges.size(), 1);
    EXPECT_EQ(leftEdges.begin()->first, 200);
    EXPECT_EQ(rightEdges.begin()->first, 1400);
    // The backup still holds the document as it was before the Create pass.
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), before);

    // Index 2 is never aligned.
    const QString index = build("index.djvu", QList<FixturePage>{contents} + bodyPages(40));
    CreateOptions indexOptions = options;
    indexOptions.kind = WorkKind::Index2;
    EXPECT_FALSE(
        run({CreateTest::row(index, 1, 1, 0, WorkKind::Index2)}, indexOptions).alignmentRan);
}

} // namespace

namespace {

TEST_F(CreatePassTest, RunsOnAWorkerThread)
{
    const QString book = build(
        "thread.djvu", QList<FixturePage>{FixturePage::ofLines({{"Chapter", "2"}})} + bodyPages(2));
    CreateOutcome outcome;
    QThread* worker = QThread::create([&] { outcome = run({CreateTest::row(book)}); });
    worker->start();
    worker->wait();
    delete worker;
    expectNoMessages();
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(book).value(1)), QStringList{"#2"});
}

} // namespace
