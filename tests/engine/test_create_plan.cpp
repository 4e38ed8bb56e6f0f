// Create jobs: rows converted to jobs, the plan a run makes of a book, the dry run's output,
// the page texts read in one run, the rules every front end shares, and the alignment step.
#include "CliRun.h"
#include "CreateTestSupport.h"
#include "djvu/PageTexts.h"
#include "jobs/CreateRowReader.h"
#include "links/ContentsPlan.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

namespace C = CreateColumn;

// Each column read into its field: a job made from the default row with one column changed.
TEST(RowToJob, EveryColumnReachesItsField)
{
    const CreateRow base = CreateTest::row("/books/a.djvu");
    auto with = [&](int column, const QString& text, CreateRow row = {}) {
        if (row.folder.isEmpty())
            row = base;
        row.columns[column] = text;
        CreateJob job;
        QString error;
        EXPECT_TRUE(CreateRowReader::read(row, &job, &error)) << column << error.toStdString();
        return job;
    };
    EXPECT_EQ(with(C::FirstPage, "3").firstPage, 3);
    EXPECT_EQ(with(C::LastPage, " 12 ").lastPage, 12);
    EXPECT_EQ(with(C::Offset, "-7").offset, -7);
    EXPECT_EQ(with(C::Kind, "2").kind, WorkKind::Index2);
    EXPECT_EQ(with(C::BorderType, "4").style.borderType, BorderType::ShadowOut);
    EXPECT_EQ(with(C::Shape, "1").shape, AreaShape::Oval);
    EXPECT_EQ(with(C::BorderColour, "ff0000").style.borderColour, "FF0000");
    EXPECT_EQ(with(C::HighlightColour, "").style.highlightColour, "FFFFFF");
    EXPECT_EQ(with(C::ShadowWidth, "5").style.shadowWidth, 5);
    EXPECT_TRUE(with(C::AlwaysVisible, "1").style.alwaysVisible);
    EXPECT_FALSE(with(C::AlwaysVisible, "2").style.alwaysVisible);
    EXPECT_TRUE(with(C::Highlight, "1").style.highlight);
    EXPECT_TRUE(with(C::Halve, "1").halve);
    EXPECT_EQ(with(C::Comment, " Go ").comment, " Go ");
    EXPECT_EQ(with(C::LinkPage, "9").contentsLinkPage, 9);
    EXPECT_EQ(with(C::LinkEveryPage, "1").contentsLinkPages, ContentsLinkPages::EveryPage);
    EXPECT_EQ(with(C::File, "b.djvu").path, "/books/b.djvu");

    CreateRow linked = base;
    linked.columns[C::ContentsLink] = "1";
    EXPECT_TRUE(with(C::ContentsLink, "1").contentsLink);
    EXPECT_EQ(with(C::LinkShape, "0", linked).link.shape, AreaShape::Rectangle);
    // anything but "0" is an oval
    EXPECT_EQ(with(C::LinkShape, "3", linked).link.shape, AreaShape::Oval);
    EXPECT_EQ(with(C::LinkBorderType, "6", linked).link.borderType, BorderType::ShadowEtchedOut);
    EXPECT_EQ(with(C::LinkBorderType, "7", linked).link.borderType, std::nullopt);
    EXPECT_TRUE(with(C::LinkAlwaysVisible, "1", linked).link.alwaysVisible);
    EXPECT_TRUE(with(C::LinkHighlight, "1", linked).link.highlight);
    EXPECT_EQ(with(C::LinkBorderWidth, "3", linked).link.borderWidth, 3);
    EXPECT_EQ(with(C::LinkColour1, "00ff00", linked).link.colour1, "00FF00");
    EXPECT_EQ(with(C::LinkColour2, "0000ff", linked).link.colour2, "0000FF");
    EXPECT_EQ(with(C::LinkLeft, "-5", linked).link.left, -5);
    EXPECT_EQ(with(C::LinkBottom, "6", linked).link.bottom, 6);
    EXPECT_EQ(with(C::LinkWidth, "70", linked).link.width, 70);
    EXPECT_EQ(with(C::LinkHeight, "80", linked).link.height, 80);
    EXPECT_EQ(with(C::LinkTarget, "11", linked).link.targetPage, 11);
    EXPECT_EQ(with(C::LinkComment, "Back", linked).link.comment, "Back");
}

TEST(RowToJob, EveryBadTextNamesItsColumn)
{
    CreateRow linked = CreateTest::row("/books/a.djvu");
    linked.columns[C::ContentsLink] = "1";
    const QList<int> numbers = {C::FirstPage,       C::LastPage,  C::Offset,      C::Kind,
                                C::BorderType,      C::Shape,     C::ShadowWidth, C::AlwaysVisible,
                                C::Highlight,       C::Halve,     C::LinkPage,    C::LinkEveryPage,
                                C::LinkBorderWidth, C::LinkLeft,  C::LinkBottom,  C::LinkWidth,
                                C::LinkHeight,      C::LinkTarget};
    for (int column : numbers) {
        for (const char* bad : {"", "-", "x1", "1.5", "99999999999"}) {
            CreateRow row = linked;
            row.columns[column] = bad;
            CreateJob job;
            QString error;
            EXPECT_FALSE(CreateRowReader::read(row, &job, &error)) << column << " " << bad;
            EXPECT_TRUE(error.startsWith(QStringLiteral("Column %1 ").arg(column)))
                << error.toStdString();
        }
    }
    // Out of their range: kind 3, border type 7, shape 2.
    for (const auto& [column, text] :
         QList<QPair<int, QString>>{{C::Kind, "3"}, {C::BorderType, "7"}, {C::Shape, "2"}}) {
        CreateRow row = linked;
        row.columns[column] = text;
        CreateJob job;
        QString error;
        EXPECT_FALSE(CreateRowReader::read(row, &job, &error)) << column;
    }
    for (int column : {int(C::BorderColour), int(C::HighlightColour), int(C::LinkColour1),
                       int(C::LinkColour2)}) {
        for (const char* bad : {"GG0000", "12345", "1234567", "#FFFFFF"}) {
            CreateRow row = linked;
            row.columns[column] = bad;
            CreateJob job;
            QString error;
            EXPECT_FALSE(CreateRowReader::read(row, &job, &error)) << column << " " << bad;
            EXPECT_TRUE(error.contains(QString::fromLatin1(bad))) << error.toStdString();
        }
    }
}

TEST(AreaLookRules, OvalsTakeNoShadowAndNoHighlight)
{
    const AreaShape oval = AreaShape::Oval;
    EXPECT_EQ(AreaLook::check(oval, BorderType::ShadowIn, false),
              AreaLook::Problem::OvalWithShadow);
    EXPECT_EQ(AreaLook::check(oval, BorderType::Border, true),
              AreaLook::Problem::OvalWithHighlight);
    EXPECT_EQ(AreaLook::check(oval, BorderType::Border, false), AreaLook::Problem::None);
    EXPECT_EQ(AreaLook::check(AreaShape::Rectangle, BorderType::ShadowEtchedOut, true),
              AreaLook::Problem::None);
    CreateJob job;
    job.contentsLink = true;
    job.link.shape = AreaShape::Oval;
    job.link.highlight = true;
    bool inLink = false;
    EXPECT_EQ(AreaLook::check(job, &inLink), AreaLook::Problem::OvalWithHighlight);
    EXPECT_TRUE(inLink);
    job.contentsLink = false;
    EXPECT_EQ(AreaLook::check(job, &inLink), AreaLook::Problem::None);
}

TEST(PageTextsReading, RealDjvusedOutputSplitsIntoPagesAndPagesWithoutTextAreSeen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.djvu");
    FixturePage none;
    none.hasText = false;
    QString error;
    ASSERT_TRUE(DjvuFixture::build(
        path, {FixturePage::ofLines({{"One", "1"}}), none, FixturePage::ofLines({{"Two", "2"}})},
        &error))
        << error.toStdString();
    const QList<int> pages = {1, 2, 3};
    const QByteArray out = DjvuFixture::djvused(path, PageTexts::commands(pages)).toUtf8();
    const PageTexts texts = PageTexts::parse(out, pages);
    ASSERT_TRUE(texts.ok()) << texts.error.toStdString();
    ASSERT_EQ(texts.pages.size(), 3);
    EXPECT_TRUE(texts.pages[0].hasText);
    EXPECT_FALSE(texts.pages[1].hasText);
    EXPECT_TRUE(texts.pages[2].text.contains("\"Two\""));
    EXPECT_FALSE(texts.pages[0].text.contains("Two"));
    // The page text reads line by line as a whole-book dump gives it.
    const QByteArray dump = DjvuFixture::djvused(path, "output-txt").toUtf8();
    EXPECT_TRUE(dump.contains(texts.pages[2].text)) << texts.pages[2].text.toStdString();

    // Anything cut or added is refused: each prefix that ends on a line, and a page too many.
    QList<QByteArray> lines = out.split('\n');
    lines.removeLast();
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray cut = lines.mid(0, n).join('\n') + (n > 0 ? "\n" : "");
        EXPECT_FALSE(PageTexts::parse(cut, pages).ok()) << cut.toStdString();
    }
    EXPECT_FALSE(PageTexts::parse(out, {1, 2}).ok());
    EXPECT_FALSE(PageTexts::parse("junk\n" + out, pages).ok());
}

class CreatePlanTest : public CreatePassFixture
{
protected:
    // Twelve pages; page 2 holds a contents with a heading, three entries and a footer.
    QString book(const QString& name = QStringLiteral("book.djvu"))
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Contents"});
        contents.lines << FixtureLine::layout(300, 2900, {"Chapter", "one", "5"});
        contents.lines << FixtureLine::layout(300, 2800, {"Chapter", "two", "9"});
        contents.lines << FixtureLine::layout(300, 2700, {"Глава", "три", "7"}); // falls
        contents.lines << FixtureLine::layout(300, 2600, {"Index", "40"});       // beyond
        numberWord = contents.lines[1].words.last();
        FixturePage body = FixturePage::ofLines({{"Body"}});
        QList<FixturePage> pages(12, body);
        pages[1] = contents;
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }
    FixtureWord numberWord;
};

TEST_F(CreatePlanTest, ThePlanHoldsEachEntrysTitleNumberTargetAndArea)
{
    const QString path = book();
    QList<ContentsPlan> plans;
    CreatePass pass(tools, texts, log, messages);
    pass.setPlanSink([&](const ContentsPlan& plan) { plans << plan; });
    CreateOptions options;
    options.backup = false;
    const CreateOutcome outcome =
        pass.run(CreateRowReader::jobsOf({CreateTest::row(path, 2, 2, 2)}), options);
    ASSERT_EQ(outcome.filesChanged, 1) << log.lines.join('\n').toStdString();
    ASSERT_EQ(plans.size(), 1);
    const ContentsPlan& plan = plans.first();
    EXPECT_EQ(plan.path, path);
    EXPECT_EQ(plan.pageCount, 12);
    ASSERT_EQ(plan.pages.size(), 1);
    EXPECT_EQ(plan.pages[0].page, 2);
    const QList<PlanEntry>& entries = plan.pages[0].entries;
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].title, "Chapter one");
    EXPECT_EQ(entries[0].words, (QStringList{"Contents", "Chapter", "one", "5"}));
    EXPECT_EQ(entries[0].printed, "5");
    EXPECT_EQ(entries[0].targetPage, 7);
    EXPECT_EQ(entries[0].comment, "Go to page 5");
    EXPECT_EQ(entries[0].numberBox,
              (ZoneBox{numberWord.left, numberWord.bottom, numberWord.right, numberWord.top}));
    EXPECT_EQ(entries[1].title, "Chapter two");
    EXPECT_EQ(entries[1].words, (QStringList{"Chapter", "two", "9"}));
    EXPECT_EQ(entries[1].targetPage, 11);
    // A number past the book's end leads to the last entry's page; it stays as printed.
    EXPECT_EQ(entries[2].title, "Index");
    EXPECT_EQ(entries[2].printed, "40");
    EXPECT_EQ(entries[2].targetPage, 11);
    EXPECT_EQ(plan.notes, QStringList{"Page 2: 3 links made, 1 entry skipped (1 with a number "
                                      "smaller than the entry above)."});

    // The areas of the plan are the links the document got.
    const QList<CreateTest::Link> links = CreateTest::linksOf(path).value(2);
    ASSERT_EQ(links.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const BorderExpression::Box& a = entries[i].area;
        EXPECT_EQ((QList<int>{a.x, a.y, a.width, a.height}),
                  (QList<int>{links[i].x, links[i].y, links[i].width, links[i].height}));
        EXPECT_EQ(links[i].target, "#" + QString::number(entries[i].targetPage));
    }
    // The heading is covered by the first entry's area.
    EXPECT_GT(entries[0].area.y + entries[0].area.height, 3000);
}

TEST_F(CreatePlanTest, ARowThatDoesNotConvertStopsTheRunAtItsTurn)
{
    const QString first = book("first.djvu");
    const QString second = book("second.djvu");
    const QByteArray before = DjvuFixture::readAll(second);
    CreateRow bad = CreateTest::row(second, 2, 2);
    bad.columns[C::Offset] = "-";
    const CreateOutcome outcome = run({CreateTest::row(first, 2, 2), bad});
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].caption, "Ошибка !!!");
    EXPECT_TRUE(messages.messages[0].text.startsWith("Column 3 (offset)"));
    EXPECT_EQ(DjvuFixture::readAll(second), before);
}

TEST_F(CreatePlanTest, TheEngineRefusesAnOvalWithAShadowFromAnyFrontEnd)
{
    const QString path = book();
    const QByteArray before = DjvuFixture::readAll(path);
    CreateRow row = CreateTest::row(path, 2, 2);
    row.columns[C::Shape] = "1";
    row.columns[C::BorderType] = "3";
    EXPECT_EQ(run({row}).filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("shadow"))
        << messages.messages[0].text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(CreatePlanTest, AlignmentAppendsToTheLogOfEveryBook)
{
    const QString first = book("first.djvu");
    const QString second = book("second.djvu");
    CreateOptions options;
    options.align = true;
    const CreateOutcome outcome =
        run({CreateTest::row(first, 2, 2), CreateTest::row(second, 2, 2)}, options);
    EXPECT_TRUE(outcome.ranToEnd);
    const QString all = log.lines.join('\n');
    EXPECT_TRUE(all.contains("Редактирование файла " + first + " завершено")) << all.toStdString();
    EXPECT_TRUE(all.contains("Редактирование файла " + second + " завершено")) << all.toStdString();
    EXPECT_EQ(log.lines.first(), texts.text("m2") + " OK");
}

TEST_F(CreatePlanTest, AlignmentFollowsTheJobsKindOfWorkNotTheTab)
{
    const QString index = book("index.djvu");
    CreateOptions options;
    options.align = true;
    options.kind = WorkKind::Contents; // the tab shows "contents"
    CreateOutcome outcome = run({CreateTest::row(index, 2, 2, 0, WorkKind::Index2)}, options);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_FALSE(outcome.alignmentRan);

    const QString contents = book("contents.djvu");
    options.kind = WorkKind::Index2; // the tab shows the second index kind
    outcome = run({CreateTest::row(contents, 2, 2)}, options);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_TRUE(outcome.alignmentRan);
}

TEST_F(CreatePlanTest, TheDryRunPrintsThePlanThenTheScriptAndChangesNothing)
{
    const QString path = book();
    const QByteArray before = DjvuFixture::readAll(path);
    const CliRun run = runCli({"create", "--dry-run", "--pages", "2", "--offset", "2", path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n');
    const qsizetype plan = lines.indexOf("# Entries of " + path);
    const qsizetype script = lines.indexOf("# Hyperlink script for " + path);
    ASSERT_GE(plan, 0) << run.out.toStdString();
    ASSERT_GT(script, plan);
    EXPECT_EQ(lines.mid(plan + 1, 2),
              (QStringList{"Page 2: \"Chapter one\" 5 -> page 7, rect 300 2900 " +
                               QString::number(numberWord.right - 300) + " 140",
                           "Page 2: \"Chapter two\" 9 -> page 11, rect 300 2800 " +
                               QString::number(numberWord.right - 300) + " 100"}))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("select 2\nset-ant\n(maparea \"#7\" \"Go to page 5\""));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"book.djvu"});
}

} // namespace
