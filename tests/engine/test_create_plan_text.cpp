// Plan text: "create --plan" writes the entries a person can edit, "--from-plan" writes them;
// an unedited plan gives the links of a direct run, bad lines are refused by their number.
#include "CliRun.h"
#include "CreateTestSupport.h"
#include "review/PlanText.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using CreateTest::linksOf;
using CreateTest::targetsOf;

CliRun cli(const QStringList& args)
{
    return runCli(QStringList{"create"} + args);
}

class PlanTextTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // A contents page of three numbered entries, and a line with no number under them
    // when given; eight pages of body.
    QString book(const QString& name, const QStringList& lineWithoutNumber = {})
    {
        FixturePage contents;
        contents.lines << FixtureLine::entry(300, 3000, {"1", "Beginnings"}, "2");
        contents.lines << FixtureLine::entry(300, 2900, {"1.1", "Early", "days"}, "3");
        contents.lines << FixtureLine::entry(300, 2800, {"2", "Endings"}, "5");
        if (!lineWithoutNumber.isEmpty())
            contents.lines << FixtureLine::layout(300, 2700, lineWithoutNumber);
        QList<FixturePage> pages{contents};
        for (int i = 0; i < 8; ++i)
            pages << FixturePage::headed({"Body", "text"}, QString::number(i + 1));
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    QString planPath() const { return dir.filePath("plan.txt"); }
    QByteArray plan() const { return DjvuFixture::readAll(planPath()); }
    void setPlan(const QByteArray& text) const { DjvuFixture::writeAll(planPath(), text); }

    static QStringList options(const QString& path)
    {
        return {"--offset", "1", "--outline", "--no-backup", path};
    }
};

TEST_F(PlanTextTest, UneditedPlanGivesTheLinksAndOutlineOfADirectRun)
{
    const QString planned = book("a.djvu");
    const QString direct = book("b.djvu");
    const QByteArray before = DjvuFixture::readAll(planned);

    const CliRun written = cli(QStringList{"--plan", planPath()} + options(planned));
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(planned), before); // planning changes nothing
    const QStringList lines = QString::fromUtf8(plan()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.filter(QRegularExpression("^\\+ ")).size(), 3);
    EXPECT_TRUE(lines.contains("@ " + planned));

    ASSERT_EQ(cli(options(direct)).status, 0);
    const CliRun applied = cli(QStringList{"--from-plan", planPath()} + options(planned));
    ASSERT_EQ(applied.status, 0) << applied.err.toStdString();
    EXPECT_EQ(DjvuFixture::djvused(planned, "output-ant"),
              DjvuFixture::djvused(direct, "output-ant"));
    EXPECT_EQ(DjvuFixture::djvused(planned, "print-outline"),
              DjvuFixture::djvused(direct, "print-outline"));
    EXPECT_EQ(targetsOf(linksOf(planned)[1]), QStringList({"#3", "#4", "#6"}));
}

TEST_F(PlanTextTest, EditedPlanWritesExactlyTheEditedEntries)
{
    const QString path = book("a.djvu");
    ASSERT_EQ(cli(QStringList{"--plan", planPath()} + options(path)).status, 0);
    QString text = QString::fromUtf8(plan());
    // The second entry left out, the third one leads to page 8 and becomes a section.
    text.replace("\n+ 1 | 0 | 3 | 4 |", "\n- 1 | 0 | 3 | 4 |");
    text.replace("| 0 | 5 | 6 |", "| 2 | 5 | 8 |");
    text.replace("Endings", "The endings");
    setPlan(text.toUtf8());

    const CliRun applied = cli(QStringList{"--from-plan", planPath()} + options(path));
    ASSERT_EQ(applied.status, 0) << applied.err.toStdString() << text.toStdString();
    EXPECT_EQ(targetsOf(linksOf(path)[1]), QStringList({"#3", "#8"}));
    const QString outline = DjvuFixture::djvused(path, "print-outline");
    EXPECT_TRUE(outline.contains("\"1 Beginnings\"")) << outline.toStdString();
    EXPECT_TRUE(outline.contains("\"2 The endings\"")) << outline.toStdString();
    EXPECT_FALSE(outline.contains("Early")) << outline.toStdString();
    // The section nests under the chapter before it.
    EXPECT_LT(outline.indexOf("Beginnings"), outline.indexOf("The endings"));
    EXPECT_EQ(outline.count("(\""), 2);
}

// A line the reading does not link comes as an entry left out under its reason; a "+" makes it
// an entry, a line taken away deletes one, a level changed reaches the outline.
TEST_F(PlanTextTest, ALineNotLinkedBecomesAnEntryByItsMark)
{
    const QString path = book("a.djvu", {"Plates", "and", "maps"});
    const QStringList smart = {"--reading", "smart"};
    ASSERT_EQ(cli(QStringList{"--plan", planPath()} + smart + options(path)).status, 0);
    QString text = QString::fromUtf8(plan());
    const QStringList lines = text.split('\n');
    const qsizetype reason = lines.indexOf(QRegularExpression("^# .*Plates and maps.*"));
    ASSERT_GE(reason, 0) << text.toStdString();
    // Its area is its words' box; it leads where the entry before it leads, as a part of it.
    const QString line = lines.value(reason + 1);
    EXPECT_TRUE(line.startsWith("- 1 | 1 |  | 6 | 300 2700 ")) << line.toStdString();
    EXPECT_TRUE(line.endsWith("| Plates and maps")) << line.toStdString();

    text.replace(line, "+" + line.mid(1).replace("| 6 |", "| 9 |"));
    text.remove(QRegularExpression("\n\\+ [^\n]*Early days"));                     // deleted
    text.replace(QRegularExpression("\\+ 1 \\| \\d \\|( 5 \\|)"), "+ 1 | 2 |\\1"); // a section
    setPlan(text.toUtf8());
    const CliRun applied = cli(QStringList{"--from-plan", planPath()} + smart + options(path));
    ASSERT_EQ(applied.status, 0) << applied.err.toStdString() << text.toStdString();
    EXPECT_EQ(targetsOf(linksOf(path)[1]), QStringList({"#3", "#6", "#9"}));
    const QString outline =
        DjvuFixture::djvused(path, "print-outline").remove(QRegularExpression("\\s"));
    EXPECT_FALSE(outline.contains("Early")) << outline.toStdString();
    EXPECT_TRUE(
        outline.contains("(\"1Beginnings\"\"#3\"(\"2Endings\"\"#6\"))(\"Platesandmaps\"\"#9\")"))
        << outline.toStdString() << text.toStdString();
}

TEST_F(PlanTextTest, BadLinesAreRefusedByNumberAndNothingChanges)
{
    const QString path = book("a.djvu");
    ASSERT_EQ(cli(QStringList{"--plan", planPath()} + options(path)).status, 0);
    const QByteArray good = plan();
    const QByteArray before = DjvuFixture::readAll(path);
    const int first = int(good.left(good.indexOf("\n+ ")).count('\n')) + 2; // first entry's line
    struct Case
    {
        QByteArray from, to;
        QString says;
    };
    const QList<Case> cases = {
        {"\n+ 1 | 0 | 2 |", "\n* 1 | 0 | 2 |", "starts with"},
        {"\n+ 1 | 0 | 2 |", "\n+ x | 0 | 2 |", "no page number"},
        {"\n+ 1 | 0 | 2 |", "\n+ 1 | one | 2 |", "no level"},
        {"| 2 | 3 |", "| 2 | three |", "no page number"},
        {"| 2 | 3 |", "| 2 | 3 | 1 2 3 |", "not four numbers"},
        {"\"Go to page 2\"", "Go to page 2", "double quotes"},
        {"| 1 Beginnings ..........", "| ", "no title"},
        {"| 2 | 3 |", "| 2 | 0 |", "no page number"},
    };
    for (const Case& c : cases) {
        QByteArray text = good;
        ASSERT_TRUE(text.contains(c.from)) << c.from.toStdString();
        text.replace(text.indexOf(c.from), c.from.size(), c.to);
        setPlan(text);
        const CliRun run = cli(QStringList{"--from-plan", planPath()} + options(path));
        EXPECT_EQ(run.status, 2) << c.to.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("line %1:").arg(first)))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        EXPECT_EQ(DjvuFixture::readAll(path), before);
    }
    // Lines that read but do not fit the book fail the document at its turn.
    for (const auto& [from, to] : {std::pair<QByteArray, QByteArray>{"| 2 | 3 |", "| 2 | 10 |"},
                                   {"\n+ 1 | 0 | 2 |", "\n+ 4 | 0 | 2 |"}}) {
        QByteArray text = good;
        text.replace(text.indexOf(from), from.size(), to);
        setPlan(text);
        const CliRun run = cli(QStringList{"--from-plan", planPath()} + options(path));
        EXPECT_EQ(run.status, 1) << to.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("line %1:").arg(first)) ||
                    run.err.contains(QStringLiteral("line %1:").arg(first)))
            << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(DjvuFixture::readAll(path), before);
    }
}

TEST_F(PlanTextTest, PlanMustNameTheFilesGivenAndExcludesDryRun)
{
    const QString path = book("a.djvu");
    setPlan("@ " + dir.filePath("other.djvu").toUtf8() + "\n");
    const CliRun other = cli(QStringList{"--from-plan", planPath()} + options(path));
    EXPECT_EQ(other.status, 2);
    EXPECT_TRUE(other.err.contains("not among the files given")) << other.err.toStdString();
    setPlan("+ 1 | 1 | 2 | 3 | 1 1 1 1 | \"\" | A\n");
    EXPECT_TRUE(cli(QStringList{"--from-plan", planPath()} + options(path))
                    .err.contains("line 1: an entry before the first"));
    EXPECT_EQ(cli(QStringList{"--plan", planPath(), "--dry-run", path}).status, 2);
    const QString help = cli({"--help"}).out;
    EXPECT_TRUE(help.contains("--plan FILE") && help.contains("--from-plan FILE"));
    EXPECT_EQ(cli(QStringList{"--plan", planPath(), "--from-plan", planPath(), path}).status, 2);
}

// Comments and titles may hold the field separator and escaped quotes.
TEST(PlanTextLines, SeparatorsInsideCommentAndTitleSurviveTheRoundTrip)
{
    ContentsPlan plan;
    plan.path = QStringLiteral("/books/a.djvu");
    PlanEntry e;
    e.contentsPage = 2;
    e.level = 3;
    e.numbered = false;
    e.printed = "xii";
    e.targetPage = 12;
    e.area = {10, 20, 300, 40};
    e.comment = "Go \\\" | \\320\\237 12";
    e.title = QStringLiteral("Войны | и мир");
    plan.pages << PlanPage{2, {e}};
    QList<PlanText::Document> read;
    QString error;
    ASSERT_TRUE(
        PlanText::parse(PlanText::heading() + PlanText::write(plan, {false}), &read, &error))
        << error.toStdString();
    ASSERT_EQ(read.size(), 1);
    ASSERT_EQ(read[0].entries.size(), 1);
    const PlanText::Entry& back = read[0].entries[0];
    EXPECT_FALSE(back.ticked);
    EXPECT_EQ(back.line, 5); // three lines of heading, the document, the entry
    EXPECT_EQ(back.entry.comment, e.comment);
    EXPECT_EQ(back.entry.title, e.title);
    EXPECT_EQ(back.entry.printed, e.printed);
    EXPECT_EQ(back.entry.level, 3);
    EXPECT_FALSE(back.entry.numbered);
    EXPECT_EQ(back.entry.area.width, 300);
}

} // namespace
