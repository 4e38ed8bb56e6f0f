// The smart reading in the Create pass: the rows' reading columns, links made from the
// smart reading with real djvused, the offset found by itself, and failures that leave the
// book as it was.
#include "CreateTestSupport.h"
#include "jobs/CreateList.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

namespace C = CreateColumn;

CreateRow smartRow(const QString& path, int first, int last, int offset, bool offsetAuto = false)
{
    CreateRow r = CreateTest::row(path, first, last, offset);
    while (r.columns.size() < CreateRow::kColumnCount)
        r.columns << QString();
    r.columns[C::Reading] = QStringLiteral("1");
    r.columns[C::OffsetAuto] = offsetAuto ? QStringLiteral("1") : QStringLiteral("0");
    return r;
}

// Contents on page 1: "1. Alpha" 1, a title ending in a leader whose number 3 stands alone
// on the next line, "3. Gamma" 6; then `count` pages of plain text.
QList<FixturePage> contentsBook(int count)
{
    FixturePage contents;
    contents.lines << FixtureLine::entry(300, 3000, {"1.", "Alpha"}, "1");
    contents.lines << FixtureLine::entry(300, 2900, {"2.", "Beta", "ending", "in", "a", "leader"},
                                         QString());
    contents.lines << FixtureLine::entry(300, 2800, {}, "3", QString());
    contents.lines << FixtureLine::entry(300, 2700, {"3.", "Gamma"}, "6");
    QList<FixturePage> pages{contents};
    while (pages.size() < count)
        pages << FixturePage::headed({"Plain", "text", "page"});
    return pages;
}

class CreateSmartTest : public CreatePassFixture
{
protected:
    QString logText() const { return log.lines.join(QLatin1Char('\n')); }

    // The book is untouched, no backup is left behind and the user was told why.
    void expectUnchanged(const QString& path, const QByteArray& before, const QString& why)
    {
        EXPECT_EQ(DjvuFixture::readAll(path), before);
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_TRUE(messages.messages.first().text.contains(why))
            << messages.messages.first().text.toStdString();
    }
};

} // namespace

TEST(CreateRowReading, TheReadingColumnsConvertAndOlderRowsReadClassic)
{
    // A row of the 30 columns written before the outline and the reading existed.
    CreateRow old = CreateTest::row(QStringLiteral("/books/a.djvu"), 2, 3, 5);
    old.columns = old.columns.mid(0, 30);
    CreateJob job;
    QString error;
    ASSERT_TRUE(CreateRowReader::read(old, &job, &error)) << error.toStdString();
    EXPECT_EQ(job.reading, ContentsReading::Classic);
    EXPECT_FALSE(job.offsetAuto);
    EXPECT_EQ(job.offset, 5);

    // The list pads what the controls give; empty new columns are classic too.
    CreateList list;
    list.append(QStringLiteral("/books/a.djvu"), old.columns.mid(1));
    ASSERT_EQ(list.at(0).columns.size(), CreateRow::kColumnCount);
    ASSERT_TRUE(CreateRowReader::read(list.at(0), &job, &error)) << error.toStdString();
    EXPECT_EQ(job.reading, ContentsReading::Classic);

    CreateRow smart = smartRow(QStringLiteral("/books/a.djvu"), 2, 3, 5, true);
    ASSERT_TRUE(CreateRowReader::read(smart, &job, &error)) << error.toStdString();
    EXPECT_EQ(job.reading, ContentsReading::Smart);
    EXPECT_TRUE(job.offsetAuto);

    for (const int column : {int(C::Reading), int(C::OffsetAuto), int(C::Recognise)}) {
        for (const char* bad : {"2", "smart", "-1"}) {
            CreateRow wrong = smartRow(QStringLiteral("/books/a.djvu"), 2, 3, 5);
            wrong.columns[column] = QLatin1String(bad);
            EXPECT_FALSE(CreateRowReader::read(wrong, &job, &error)) << bad;
            EXPECT_TRUE(error.startsWith(QStringLiteral("Column %1 (").arg(column)))
                << error.toStdString();
            EXPECT_TRUE(error.contains(QLatin1String(bad))) << error.toStdString();
        }
    }
}

TEST_F(CreateSmartTest, TheSmartReadingLinksNumbersOnTheNextLineWithTheTitleAbove)
{
    const QString path = writeBook("book.djvu", contentsBook(12));
    const CreateOutcome outcome = run({smartRow(path, 1, 1, 2)});
    ASSERT_EQ(outcome.filesChanged, 1) << logText().toStdString();
    EXPECT_TRUE(messages.messages.isEmpty());

    const QList<CreateTest::Link> links = CreateTest::linksOf(path).value(1);
    EXPECT_EQ(CreateTest::targetsOf(links), (QStringList{"#3", "#5", "#8"}));
    ASSERT_EQ(links.size(), 3);
    // The second entry is one area over its title line and the number's line below.
    EXPECT_EQ(links[1].x, 300);
    EXPECT_LE(links[1].y, 2800);
    EXPECT_GE(links[1].y + links[1].height, 2940);
    EXPECT_EQ(links[1].comment, QStringLiteral("Go to page 3"));
    EXPECT_TRUE(
        logText().contains(QStringLiteral("Smart reading: 3 of 3 entries linked, offset 2")))
        << logText().toStdString();
}

TEST_F(CreateSmartTest, TheOffsetIsFoundFromTheHeadingsOnTheTargetPages)
{
    QList<FixturePage> pages = contentsBook(14);
    pages[4] = FixturePage::headed({"1.", "Alpha"}); // printed 1 on page 5: offset 4
    pages[6] = FixturePage::headed({"2.", "Beta", "ending", "in", "a", "leader"});
    pages[9] = FixturePage::headed({"3.", "Gamma"});
    const QString path = writeBook("book.djvu", pages);
    // The typed offset is not used.
    const CreateOutcome outcome = run({smartRow(path, 1, 1, 0, true)});
    ASSERT_EQ(outcome.filesChanged, 1) << logText().toStdString();
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(path).value(1)),
              (QStringList{"#5", "#7", "#10"}));
    EXPECT_TRUE(logText().contains(QStringLiteral("Offset 4 found"))) << logText().toStdString();
}

TEST_F(CreateSmartTest, AFailedSmartReadingLeavesTheBookByteForByte)
{
    // No heading and no printed page number anywhere: no offset can be found.
    const QString path = writeBook("none.djvu", contentsBook(8));
    const QByteArray before = DjvuFixture::readAll(path);
    CreateOptions options;
    options.backup = false;
    EXPECT_EQ(run({smartRow(path, 1, 1, 0, true)}, options).filesFailed, 1);
    expectUnchanged(path, before, QStringLiteral("no entry's heading was found"));

    // A contents page without a text layer.
    messages.messages.clear();
    QList<FixturePage> pages = contentsBook(8);
    pages[0].hasText = false;
    const QString blank = writeBook("blank.djvu", pages);
    const QByteArray blankBefore = DjvuFixture::readAll(blank);
    EXPECT_EQ(run({smartRow(blank, 1, 1, 2)}, options).filesFailed, 1);
    expectUnchanged(blank, blankBefore, QStringLiteral("Contents page 1 has no text layer"));

    // An offset that puts a target beyond the book's end.
    messages.messages.clear();
    const QString beyond = writeBook("beyond.djvu", contentsBook(8));
    const QByteArray beyondBefore = DjvuFixture::readAll(beyond);
    EXPECT_EQ(run({smartRow(beyond, 1, 1, 5)}, options).filesFailed, 1);
    expectUnchanged(beyond, beyondBefore, QStringLiteral("outside the book's 8 pages"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(CreateSmartTest, TheOffsetFoundByItselfAsksForTheSmartReadingOfAContents)
{
    const QString path = writeBook("book.djvu", contentsBook(12));
    const QByteArray before = DjvuFixture::readAll(path);
    CreateRow classic = smartRow(path, 1, 1, 2, true);
    classic.columns[C::Reading] = QStringLiteral("0");
    EXPECT_EQ(run({classic}).filesFailed, 1);
    expectUnchanged(path, before, QStringLiteral("only the smart reading finds the offset"));
}

TEST_F(CreateSmartTest, IndexesAreReadByTheSmartIndexRules)
{
    FixturePage index;
    index.lines << FixtureLine::layout(300, 3000, {"Alpha", "2"});
    index.lines << FixtureLine::layout(300, 2900, {"Beta", "3"});
    QList<FixturePage> pages{index};
    while (pages.size() < 6)
        pages << FixturePage::headed({"Text"});
    const QString first = writeBook("first.djvu", pages);
    const QString second = writeBook("second.djvu", pages);
    QList<CreateRow> rows;
    for (const QString& path : {first, second}) {
        CreateRow r = smartRow(path, 1, 1, 1);
        r.columns[C::Kind] = QStringLiteral("1");
        rows << r;
    }
    CreateOptions options;
    options.kind = WorkKind::Index1;
    const CreateOutcome outcome = run(rows, options);
    ASSERT_EQ(outcome.filesChanged, 2) << logText().toStdString();
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(second).value(1)),
              (QStringList{"#3", "#4"}));
    EXPECT_EQ(log.lines.filter(QStringLiteral("Smart reading:")).size(), 2);
}

TEST_F(CreateSmartTest, ABookTextThatCannotBeReadFailsTheFileUnchanged)
{
    // A djvused beside the executable that hands every run to the real one but refuses to
    // print the whole book's text, which finding the offset needs.
    const QString real = QStandardPaths::findExecutable(QStringLiteral("djvused"));
    ASSERT_FALSE(real.isEmpty());
    QDir(exe.path()).mkpath(QStringLiteral("bin"));
    const QString standIn = QDir(exe.path()).filePath(QStringLiteral("bin/djvused"));
    ASSERT_TRUE(DjvuFixture::writeAll(
        standIn, "#!/bin/sh\n"
                 "for a in \"$@\"; do [ \"$a\" = output-txt ] && { echo '*** No text here' >&2; "
                 "exit 10; }; done\n"
                 "exec " +
                     real.toLocal8Bit() + " \"$@\"\n"));
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QList<FixturePage> pages = contentsBook(14);
    pages[4] = FixturePage::headed({"1.", "Alpha"});
    const QString path = writeBook("book.djvu", pages);
    const QByteArray before = DjvuFixture::readAll(path);
    CreateOptions options;
    options.backup = false;
    EXPECT_EQ(run({smartRow(path, 1, 1, 0, true)}, options).filesFailed, 1);
    expectUnchanged(path, before, QStringLiteral("No text here"));
}
