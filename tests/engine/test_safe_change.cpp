#include "DjvuFixture.h"
#include "djvu/SafeChange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

class SafeChangeTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString book;
    void SetUp() override
    {
        book = dir.filePath("Книга с пробелом.djvu");
        FixturePage page;
        page.lines << FixtureLine::layout(200, 3000, {"Глава", "1", "5"});
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, {page, FixturePage{}}, &error)) << error.toStdString();
    }
    QStringList leftovers() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(SafeChangeTest, ACommittedChangeReplacesTheDocumentAndLeavesNothingBehind)
{
    SafeChange change(book);
    QString error;
    ASSERT_TRUE(change.prepare(&error)) << error.toStdString();
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(), "select 1\nremove-txt\n", &error));
    ASSERT_TRUE(change.commit(&error)) << error.toStdString();
    EXPECT_EQ(DjvuFixture::djvused(book, "select 1; output-txt"), QString());
    EXPECT_EQ(leftovers(), QStringList{"Книга с пробелом.djvu"});
}

// A copy the tool left byte for byte the same is not renamed in: the document stays the very
// file it was, and the change says it changed nothing.
TEST_F(SafeChangeTest, ACopyLeftAsItWasIsNotRenamedInAndSaysSo)
{
    const struct
    {
        const char* script; // run on the copy; none when empty
        bool changedNothing;
    } rows[] = {{"", true}, {"select 1\nremove-txt\n", false}};
    for (const auto& row : rows) {
        struct stat before = {};
        ASSERT_EQ(::stat(QFile::encodeName(book).constData(), &before), 0);
        SafeChange change(book);
        QString error;
        ASSERT_TRUE(change.prepare(&error)) << error.toStdString();
        if (*row.script)
            ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(), row.script, &error));
        ASSERT_TRUE(change.commit(&error)) << error.toStdString();
        EXPECT_EQ(change.changedNothing(), row.changedNothing) << row.script;
        struct stat after = {};
        ASSERT_EQ(::stat(QFile::encodeName(book).constData(), &after), 0);
        EXPECT_EQ(after.st_ino == before.st_ino, row.changedNothing) << row.script;
        EXPECT_EQ(leftovers(), QStringList{"Книга с пробелом.djvu"});
    }
}

TEST_F(SafeChangeTest, ATruncatedCopyIsRefusedAndTheOriginalStaysByteForByte)
{
    const QByteArray before = DjvuFixture::readAll(book);
    SafeChange change(book);
    QString error;
    ASSERT_TRUE(change.prepare(&error));
    QFile copy(change.workingCopy());
    ASSERT_TRUE(copy.resize(before.size() / 2));
    EXPECT_FALSE(change.commit(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(DjvuFixture::readAll(book), before);
}

TEST_F(SafeChangeTest, AnAbandonedChangeRemovesItsWorkingFolder)
{
    const QByteArray before = DjvuFixture::readAll(book);
    {
        SafeChange change(book);
        QString error;
        ASSERT_TRUE(change.prepare(&error));
        QFile copy(change.workingCopy());
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
    }
    EXPECT_EQ(DjvuFixture::readAll(book), before);
    EXPECT_EQ(leftovers(), QStringList{"Книга с пробелом.djvu"});
}

TEST_F(SafeChangeTest, FixtureBooksCarryTheirTextLayer)
{
    const QString text = DjvuFixture::djvused(book, "select 1; output-txt");
    EXPECT_TRUE(text.contains("\\320\\223\\320\\273\\320\\260\\320\\262\\320\\260"))
        << text.toStdString();
    EXPECT_TRUE(DjvuFixture::djvused(book, "ls").contains("p0002.djvu"));
}

} // namespace

namespace {

TEST_F(SafeChangeTest, AReadOnlyDocumentIsRefusedAndLeftAsItWas)
{
    const QByteArray before = DjvuFixture::readAll(book);
    QFile::setPermissions(book, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    SafeChange change(book);
    QString error;
    EXPECT_FALSE(change.prepare(&error));
    EXPECT_TRUE(error.contains("read-only")) << error.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book), before);
    EXPECT_EQ(leftovers(), QStringList{"Книга с пробелом.djvu"});
}

TEST_F(SafeChangeTest, TheWorkingFolderOfADeadChangeGoesWithTheNextChangeButALiveOneStays)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must share this test's files
    const QByteArray before = DjvuFixture::readAll(book);
    // Killed while the tool works on its copy, and with a swap begun but no file moved yet:
    // both folders stay behind.
    EXPECT_EXIT(
        {
            SafeChange change(book);
            QString error;
            if (!change.prepare(&error))
                std::_Exit(1);
            QDir(dir.path()).mkpath(".tocsmith-swap/originals");
            QLockFile swap(dir.filePath(".tocsmith-swap/lock"));
            if (!swap.tryLock(0))
                std::_Exit(1);
            std::_Exit(7);
        },
        ::testing::ExitedWithCode(7), "");
    ASSERT_EQ(leftovers().size(), 3);
    // A folder without its lock (made under the folder lock, so its maker is dead) and a live
    // change.
    ASSERT_TRUE(QDir(dir.path()).mkpath(".tocsmith-unlocked"));
    DjvuFixture::writeAll(dir.filePath(".tocsmith-unlocked/copy.djvu"), "copy");
    SafeChange live(book);
    QString error;
    ASSERT_TRUE(live.prepare(&error)) << error.toStdString();

    SafeChange next(book);
    ASSERT_TRUE(next.prepare(&error)) << error.toStdString();
    EXPECT_EQ(leftovers().size(), 3);
    EXPECT_FALSE(leftovers().contains(".tocsmith-unlocked"));
    EXPECT_TRUE(QFileInfo::exists(live.workingCopy()));
    EXPECT_TRUE(QFileInfo::exists(next.workingCopy()));
    EXPECT_EQ(DjvuFixture::readAll(book), before);
}

} // namespace
