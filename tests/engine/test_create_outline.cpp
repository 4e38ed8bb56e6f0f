// The outline written from the contents by the Create pass, beside or instead of its links.
#include "CliRun.h"
#include "CreateTestSupport.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineScript.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

Outline outlineOf(const QString& path)
{
    QString error;
    const Outline outline =
        OutlineScript::parse(DjvuFixture::djvused(path, "print-outline").toUtf8(), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return outline;
}

Bookmark mark(int level, const char* title, int page)
{
    return Bookmark{level, QByteArray(title), Outline::pageTarget(page)};
}

// The numbering of a title gives its level: "2.1" is a section of chapter 2; a title
// without numbering is front or back matter.
void levelsFromNumbering(ContentsPlan& plan)
{
    static const QRegularExpression numbering(QStringLiteral("^(\\d+(?:\\.\\d+)*)\\.? "));
    for (PlanPage& page : plan.pages) {
        for (PlanEntry& entry : page.entries) {
            const auto m = numbering.match(entry.title);
            entry.numbered = m.hasMatch();
            entry.level = m.hasMatch() ? int(m.captured(1).count('.')) + 1 : 1;
        }
    }
}

class CreateOutlineTest : public CreatePassFixture
{
protected:
    QString book(const QString& name, const QList<QList<QStringList>>& contentsPages,
                 int bodyPages = 8)
    {
        QList<FixturePage> pages;
        for (const QList<QStringList>& lines : contentsPages)
            pages << FixturePage::ofLines(lines);
        for (int i = 0; i < bodyPages; ++i)
            pages << FixturePage::ofLines({{"Body", QString::number(i)}});
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    QString numberedBook(const QString& name)
    {
        return book(name, {{{"Preface", "3"},
                            {"1.", "Start", "4"},
                            {"1.1", "Part", "5"},
                            {"1.1.1", "Deep", "5"},
                            {"2.", "Next", "6"},
                            {"2.1.1", "Jump", "7"},
                            {"Index", "9"}}});
    }

    QString withOutline(const QString& path)
    {
        QString error;
        EXPECT_TRUE(
            DjvuFixture::setOutline(path, R"((bookmarks ("Old" "#2" ("Older" "#3"))))", &error))
            << error.toStdString();
        return path;
    }

    CreateJob outlineJob(const QString& path, int first = 1, int last = 1)
    {
        CreateJob job = CreateRowReader::jobsOf({CreateTest::row(path, first, last)}).first();
        job.outline = true;
        return job;
    }

    CreateOutcome runJobs(const QList<CreateJob>& jobs, CreateOptions options = {},
                          CreatePass::OutlineQuestion question = {})
    {
        CreatePass pass(tools, texts, log, messages);
        pass.setScriptSink([this](const QString&, const QByteArray& s) { lastScript = s; });
        if (readNumbering)
            pass.setEntryReading(levelsFromNumbering);
        pass.setOutlineQuestion(std::move(question));
        return pass.run(jobs, options);
    }

    bool readNumbering = false;
};

TEST_F(CreateOutlineTest, LevelsOfTheReadingNestTheOutlineBesideTheLinksInOneScript)
{
    const QString path = numberedBook("nested.djvu");
    readNumbering = true;
    const CreateOutcome outcome = runJobs({outlineJob(path)});
    ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
    // Front matter stays on top; a jump of two levels nests one step; back matter after
    // the numbered entries goes to the top again.
    const QList<Bookmark> expected{mark(0, "Preface", 3),  mark(0, "1. Start", 4),
                                   mark(1, "1.1 Part", 5), mark(2, "1.1.1 Deep", 5),
                                   mark(0, "2. Next", 6),  mark(1, "2.1.1 Jump", 7),
                                   mark(0, "Index", 9)};
    EXPECT_EQ(outlineOf(path).bookmarks, expected);
    EXPECT_EQ(CreateTest::linksOf(path).value(1).size(), 7);
    // One script gave the document both; the outline follows the hyperlink blocks.
    EXPECT_GT(lastScript.indexOf("set-outline"), lastScript.indexOf("set-ant"));
    EXPECT_EQ(lastScript.count("set-outline"), 1);
}

TEST_F(CreateOutlineTest, TheClassicReadingGivesOneLevelOfCleanTitlesOverTwoContentsPages)
{
    const QString path = book("classic.djvu", {{{"Chapter", "one", "........", "3"},
                                                {"Chapter", "two.......", "4"},
                                                {"В", "в", "е", "д", "е", "н", "и", "е", "5"}},
                                               {{"1.2", "Third", "chapter", "6"}}});
    const CreateOutcome outcome = runJobs({outlineJob(path, 1, 2)});
    ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
    const QList<Bookmark> expected{mark(0, "Chapter one", 3), mark(0, "Chapter two", 4),
                                   mark(0, "Введение", 5), mark(0, "1.2 Third chapter", 6)};
    EXPECT_EQ(outlineOf(path).bookmarks, expected);
}

TEST_F(CreateOutlineTest, WithoutLinksOnlyTheOutlineIsWritten)
{
    const QString path = numberedBook("alone.djvu");
    CreateJob job = outlineJob(path);
    job.links = false;
    const CreateOutcome outcome = runJobs({job});
    ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
    EXPECT_EQ(outlineOf(path).count(), 7);
    EXPECT_TRUE(CreateTest::linksOf(path).isEmpty());
    EXPECT_FALSE(lastScript.contains("set-ant"));
}

TEST_F(CreateOutlineTest, AContentsWithoutEntriesWritesNoOutlineAndFailsUnchanged)
{
    const QString path = book("empty.djvu", {{{"Nothing", "here"}}});
    const QByteArray before = DjvuFixture::readAll(path);
    CreateJob job = outlineJob(path);
    job.links = false;
    const CreateOutcome outcome = runJobs({job});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("No entry for the outline"));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(CreateOutlineTest, AnExistingOutlineFailsTheDocumentByteForByteUnlessReplaced)
{
    const QString path = withOutline(numberedBook("kept.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    CreateOutcome outcome = runJobs({outlineJob(path)});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, DocumentOutline::existingOutlineMessage(path, 2));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + ".backup")); // refused before the backup

    messages.messages.clear();
    CreateOptions replace;
    replace.replaceOutline = true;
    outcome = runJobs({outlineJob(path)}, replace);
    ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
    EXPECT_EQ(outlineOf(path).count(), 7);
    EXPECT_EQ(outlineOf(path).bookmarks.first(), mark(0, "Preface", 3));
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), before);
}

TEST_F(CreateOutlineTest, TheQuestionIsAskedUntilYesToAllAndNoLeavesTheDocumentAndGoesOn)
{
    const QString a = withOutline(numberedBook("a.djvu"));
    const QString b = withOutline(numberedBook("b.djvu"));
    const QString c = withOutline(numberedBook("c.djvu"));
    const QByteArray aBefore = DjvuFixture::readAll(a);
    QList<OutlineAnswer> answers{OutlineAnswer::No, OutlineAnswer::YesToAll};
    QStringList asked;
    const CreateOutcome outcome = runJobs(
        {outlineJob(a), outlineJob(b), outlineJob(c)}, {}, [&](const QString& path, int count) {
            asked << QStringLiteral("%1 %2").arg(QFileInfo(path).fileName()).arg(count);
            return answers.takeFirst();
        });
    EXPECT_EQ(asked, (QStringList{"a.djvu 2", "b.djvu 2"}));
    EXPECT_TRUE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 2);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(DjvuFixture::readAll(a), aBefore);
    EXPECT_TRUE(log.lines.contains(DocumentOutline::existingOutlineMessage(a, 2)));
    EXPECT_EQ(outlineOf(b).count(), 7);
    EXPECT_EQ(outlineOf(c).count(), 7);
}

// A book in two parts: a contents on page 1 and one on page 3 whose printed numbers are two
// less than the pages. Each contents' first line names its part and leads to the contents.
class CreatePartsTest : public CreateOutlineTest
{
protected:
    QString partsBook(const QString& name)
    {
        return book(name,
                    {{{"Contents", "1"}, {"Guide", "1"}, {"1.", "Alpha", "2"}, {"2.", "Beta", "4"}},
                     {{"Body"}},
                     {{"Reference", "1"},
                      {"1.", "Gamma", "3"},
                      {"Part", "Two", "4"},
                      {"2.", "Delta", "4"}}});
    }
    CreateJob partsJob(const QString& path, QList<ContentsRange> ranges, bool parts = true)
    {
        CreateJob job = outlineJob(path, ranges[0].firstPage, ranges[0].lastPage);
        job.offset = ranges[0].offset;
        job.moreRanges = ranges.mid(1);
        job.parts = parts;
        job.links = false;
        return job;
    }
    void SetUp() override
    {
        CreateOutlineTest::SetUp();
        readNumbering = true;
    }
};

TEST_F(CreatePartsTest, EveryRangeIsReadWithItsOffsetAndIsAPartOfOneOutline)
{
    const ContentsRange first{1, 1, 0, false};
    const ContentsRange second{3, 3, 2, false};
    const struct
    {
        QList<ContentsRange> ranges;
        bool parts;
        QList<Bookmark> expected;
    } cases[] = {
        {{first, second},
         true,
         {mark(0, "Guide", 1), mark(1, "1. Alpha", 2), mark(1, "2. Beta", 4),
          mark(0, "Reference", 3), mark(1, "1. Gamma", 5), mark(1, "Part Two", 6),
          mark(2, "2. Delta", 6)}},
        {{first, second},
         false,
         {mark(0, "Guide", 1), mark(0, "1. Alpha", 2), mark(0, "2. Beta", 4),
          mark(0, "Reference", 3), mark(0, "1. Gamma", 5), mark(0, "Part Two", 6),
          mark(0, "2. Delta", 6)}},
        {{first}, true, {mark(0, "Guide", 1), mark(1, "1. Alpha", 2), mark(1, "2. Beta", 4)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ranges.size() * 10 + c.parts);
        const QString path =
            partsBook(QStringLiteral("parts%1%2.djvu").arg(c.ranges.size()).arg(c.parts));
        const CreateOutcome outcome = runJobs({partsJob(path, c.ranges, c.parts)});
        ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
        EXPECT_EQ(outlineOf(path).bookmarks, c.expected);
    }
}

TEST_F(CreatePartsTest, AMergedPartGivesTheOutlineOfOneRunAndMergingAgainAddsNothing)
{
    const ContentsRange first{1, 1, 0, false};
    const ContentsRange second{3, 3, 2, false};
    const QString whole = partsBook("whole.djvu");
    ASSERT_EQ(runJobs({partsJob(whole, {first, second})}).filesChanged, 1);
    const QString path = partsBook("merged.djvu");
    ASSERT_EQ(runJobs({partsJob(path, {second})}).filesChanged, 1);
    // The existing outline is refused, in the singular for one bookmark, unless merged.
    QString error;
    const QString one = partsBook("one.djvu");
    ASSERT_TRUE(DjvuFixture::setOutline(one, R"((bookmarks ("Old" "#2")))", &error));
    EXPECT_EQ(runJobs({partsJob(one, {first})}).filesFailed, 1);
    EXPECT_TRUE(messages.messages.last().text.contains("already has an outline of 1 bookmark."));
    CreateOptions merge;
    merge.mergeOutline = true;
    // The second merge finds every bookmark there already: the book is left unchanged.
    for (int run = 0; run < 2; ++run) {
        const CreateOutcome merged = runJobs({partsJob(path, {first})}, merge);
        ASSERT_EQ(merged.filesChanged, run == 0 ? 1 : 0);
        EXPECT_EQ(merged.filesUnchanged, run == 0 ? 0 : 1);
        EXPECT_EQ(outlineOf(path), outlineOf(whole));
    }
    // Bookmarks of the document's own stay, the new ones go in page order; the answer to
    // the question merges as the option does.
    const CreateOutcome asked = runJobs({partsJob(one, {first, second})}, {},
                                        [](const QString&, int) { return OutlineAnswer::Merge; });
    ASSERT_EQ(asked.filesChanged, 1);
    QList<Bookmark> expected = outlineOf(whole).bookmarks;
    expected.insert(3, mark(0, "Old", 2));
    EXPECT_EQ(outlineOf(one).bookmarks, expected);
}

// A list row may hold a list of ranges in its pages column and an offset for each; rows
// of one range read as before.
TEST(CreateRowRanges, APagesColumnWithAListReadsEveryRangeWithItsOffset)
{
    const struct
    {
        QString pages, last, offsets;
        bool reads;
        QList<ContentsRange> ranges;
    } cases[] = {
        {"2", "4", "-3", true, {{2, 4, -3, false}}},
        {"1,17-18", "", "0,16", true, {{1, 1, 0, false}, {17, 18, 16, false}}},
        {"3-9,120", "", "5", true, {{3, 9, 5, false}, {120, 120, 5, false}}},
        {"1,17-18", "", "0,16,2", false, {}},
        {"5,1", "", "0", false, {}},
        {"1,x", "", "0", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages.toStdString() + " " + c.offsets.toStdString());
        CreateRow row = CreateTest::row("/b/A.djvu");
        row.columns[CreateColumn::FirstPage] = c.pages;
        row.columns[CreateColumn::LastPage] = c.last;
        row.columns[CreateColumn::Offset] = c.offsets;
        CreateJob job;
        QString error;
        EXPECT_EQ(CreateRowReader::read(row, &job, &error), c.reads) << error.toStdString();
        if (c.reads)
            EXPECT_EQ(job.ranges(), c.ranges);
        else
            EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(CreateOutlineTest, IndexEntriesNeverGoIntoTheOutline)
{
    const QString path = withOutline(book("index.djvu", {{{"apple", "3"}, {"pear", "4"}}}));
    CreateRow row = CreateTest::row(path, 1, 1, 0, WorkKind::Index1);
    row.columns[CreateColumn::Outline] = "1";
    ASSERT_TRUE(CreateRowReader::jobsOf({row}).first().outline);
    const CreateOutcome outcome = run({row});
    ASSERT_EQ(outcome.filesChanged, 1) << messages.messages.value(0).text.toStdString();
    EXPECT_EQ(CreateTest::linksOf(path).value(1).size(), 2);
    // The outline the document had is neither refused nor touched.
    EXPECT_EQ(outlineOf(path).bookmarks, (QList<Bookmark>{mark(0, "Old", 2), mark(1, "Older", 3)}));
    EXPECT_FALSE(lastScript.contains("outline"));
    EXPECT_TRUE(log.lines.contains("The entries of an index are not put into the outline."));
}

// The command line's outline options.
class CreateOutlineCliTest : public CreateOutlineTest
{
};

TEST_F(CreateOutlineCliTest, ADryRunPrintsTheOutlineAsTextAndChangesNothing)
{
    const QString path = numberedBook("dry.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    const CliRun run = runCli({"create", "--outline", "--no-links", "--dry-run", path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.contains("# Outline of " + path + "\nPreface\t3\n1. Start\t4\n1.1 Part\t5\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("set-outline\n(bookmarks\n"));
    EXPECT_FALSE(run.out.contains("set-ant"));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"dry.djvu"});
}

TEST_F(CreateOutlineCliTest, AnExistingOutlineExitsWithOneUntilReplaceOutline)
{
    const QString path = withOutline(numberedBook("cli.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    CliRun run = runCli({"create", "--outline", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("already has an outline of 2 bookmarks")) << run.err.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);

    run = runCli({"create", "--outline", "--replace-outline", "--no-backup", path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(outlineOf(path).count(), 7);
    EXPECT_EQ(CreateTest::linksOf(path).value(1).size(), 7);
}

TEST_F(CreateOutlineCliTest, OutlineOptionsThatCannotWorkAreUsageErrors)
{
    const QString path = numberedBook("usage.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    for (const QStringList& args :
         {QStringList{"--no-links", path}, QStringList{"--replace-outline", path},
          QStringList{"--outline", "--no-links", "--contents-link", path},
          QStringList{"--outline", "--kind", "index1", path}, QStringList{"--outline=1", path},
          QStringList{"--outline", "merge", "--replace-outline", path},
          QStringList{"--pages", "3-1", path}, QStringList{"--pages", "1,1", path},
          QStringList{"--pages", "5,2-3", path}, QStringList{"--pages", "1,", path},
          QStringList{"--pages", "1,3", "--offset", "0,1,2", path},
          QStringList{"--pages", "1", "--offset", "0,1", path}}) {
        const CliRun run = runCli(QStringList{"create"} + args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    const CliRun help = runCli({"create", "--help"});
    for (const char* option :
         {"--outline", "--no-links", "--replace-outline", "--outline merge", "--no-parts"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
}

} // namespace
