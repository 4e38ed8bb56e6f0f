// Faults while the document is being saved, and documents that try to smuggle commands
// into the script: the original stays byte for byte as it was.
#include "CreateTestSupport.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "links/CreatePass.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CreateFaultTest : public CreatePassFixture
{
protected:
    static QList<FixturePage> pages(int count)
    {
        QList<FixturePage> list;
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "2"});
        list << contents;
        for (int i = 1; i < count; ++i) {
            FixturePage blank;
            blank.hasText = false;
            list << blank;
        }
        return list;
    }

    QString book(const QString& path, int count = 3)
    {
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages(count), &error)) << error.toStdString();
        return path;
    }

    // A djvused in the bin folder beside the executable: reads go to the real tool, a save
    // does its work and then leaves half of the file behind, and dies or exits 0.
    void standIn(bool dies)
    {
        const QString real = QStandardPaths::findExecutable("djvused");
        ASSERT_FALSE(real.isEmpty());
        QDir(exe.path()).mkpath("bin");
        const QString path = QDir(exe.path()).filePath("bin/djvused");
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "save=\n"
                     "for a in \"$@\"; do [ \"$a\" = -s ] && save=1; done\n"
                     "[ -z \"$save\" ] && exec " +
                     real.toLocal8Bit() + " \"$@\"\n" + real.toLocal8Bit() +
                     " \"$@\" || exit $?\n"
                     "size=$(stat -c %s \"$1\")\n"
                     "truncate -s $((size / 2)) \"$1\"\n" +
                     (dies ? "kill -KILL $$\n" : "exit 0\n"));
        script.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QStringList entries(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(CreateFaultTest, ADjvusedThatDiesHalfwayThroughSavingLeavesTheOriginal)
{
    standIn(true);
    const QString path = book(dir.filePath("book.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    const CreateOutcome outcome = run({CreateTest::row(path)});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("stopped unexpectedly"))
        << messages.messages.first().text.toStdString();
    EXPECT_TRUE(messages.messages.first().text.contains("left as it is"));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(entries(dir.path()), QStringList{"book.djvu"}); // a failed run backs nothing up
    EXPECT_FALSE(log.lines.last().endsWith("завершено"));
}

TEST_F(CreateFaultTest, ADjvusedThatWritesHalfAFileAndExitsZeroLeavesTheOriginal)
{
    standIn(false);
    const QString path = book(dir.filePath("book.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    const CreateOutcome outcome = run({CreateTest::row(path)});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("incomplete"))
        << messages.messages.first().text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(entries(dir.path()), QStringList{"book.djvu"}); // a failed run backs nothing up
}

// A small file system of its own, filled up on purpose.
class FullDiskTest : public CreateFaultTest
{
protected:
    QTemporaryDir mountPoint;
    bool mounted = false;

    void SetUp() override
    {
        const int status = QProcess::execute(
            "mount", {"-t", "tmpfs", "-o", "size=600k", "tmpfs", mountPoint.path()});
        mounted = status == 0;
        if (!mounted)
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    }
    void TearDown() override
    {
        if (mounted)
            QProcess::execute("umount", {mountPoint.path()});
    }

    // Fills the file system until only `keep` bytes are free.
    void fillLeaving(qint64 keep)
    {
        const qint64 free = QStorageInfo(mountPoint.path()).bytesAvailable();
        ASSERT_GE(free, keep);
        QFile filler(QDir(mountPoint.path()).filePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        for (qint64 left = free - keep; left > 0; left -= block.size())
            filler.write(block.constData(), std::min<qint64>(left, block.size()));
        filler.close();
        ASSERT_LE(QStorageInfo(mountPoint.path()).bytesAvailable(), keep);
    }
};

TEST_F(FullDiskTest, NoRoomForTheBackupStopsBeforeAnythingIsChanged)
{
    const QString path = book(QDir(mountPoint.path()).filePath("book.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    fillLeaving(0);
    run({CreateTest::row(path)});
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("disk full"))
        << messages.messages.first().text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(entries(mountPoint.path()), (QStringList{"book.djvu", "filler"}));
}

TEST_F(FullDiskTest, NoRoomForTheWorkingCopyLeavesTheOriginal)
{
    const QString path = book(QDir(mountPoint.path()).filePath("book.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    fillLeaving(0);
    CreateOptions options;
    options.backup = false;
    run({CreateTest::row(path)}, options);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("disk full"))
        << messages.messages.first().text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(entries(mountPoint.path()), (QStringList{"book.djvu", "filler"}));
}

TEST_F(FullDiskTest, ADiskThatFillsUpWhileDjvusedSavesLeavesTheOriginal)
{
    // A hundred pages that each get a contents link grow by several kilobytes; the working
    // copy just fits (the locks are empty files).
    const QString path = book(QDir(mountPoint.path()).filePath("book.djvu"), 100);
    const QByteArray before = DjvuFixture::readAll(path);
    const qint64 pageSize = 4096;
    fillLeaving((before.size() + pageSize - 1) / pageSize * pageSize);
    CreateOptions options;
    options.backup = false;
    CreateRow row = CreateTest::row(path);
    row.columns[13] = "1";
    row.columns[29] = "1";
    const CreateOutcome outcome = run({row}, options);
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages.first().text.contains("left as it is"))
        << messages.messages.first().text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(entries(mountPoint.path()), (QStringList{"book.djvu", "filler"}));
}

TEST_F(CreateFaultTest, PageNamesWithQuotesAndCommandsAreNeverPastedIntoTheScript)
{
    QList<FixturePage> list = pages(4);
    list[0].id = "z\" ; save-bundled pwned2.djvu ; select \"w";
    list[1].id = "x'; save-bundled pwned.djvu; select 'y.djvu";
    list[1].lines << FixtureLine::layout(300, 3000, {"Chapter", "3"});
    list[1].hasText = true;
    const QString path = dir.filePath("crafted.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, list, &error)) << error.toStdString();
    ASSERT_TRUE(DjvuFixture::djvused(path, "ls").contains("save-bundled pwned.djvu"));

    CreateRow row = CreateTest::row(path, 1, 2);
    row.columns[13] = "1";
    row.columns[21] = "3";
    run({row});
    for (const auto& m : messages.messages)
        ADD_FAILURE() << m.text.toStdString();
    const QMap<int, QList<CreateTest::Link>> links = CreateTest::linksOf(path);
    EXPECT_EQ(CreateTest::targetsOf(links.value(1)), QStringList{"#2"});
    EXPECT_EQ(CreateTest::targetsOf(links.value(2)), QStringList{"#3"});
    EXPECT_EQ(CreateTest::targetsOf(links.value(3)), QStringList{"# 4"});
    EXPECT_EQ(links.keys(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(entries(dir.path()), (QStringList{"crafted.djvu", "crafted.djvu.backup"}));
    EXPECT_TRUE(entries(work.path()).isEmpty());
    for (const QString& folder : {exe.path(), QDir::currentPath(), QDir::tempPath()}) {
        EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("pwned.djvu")))
            << folder.toStdString();
        EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("pwned2.djvu")));
    }
    // The same page as the one link page names it: the contents link goes on page 2,
    // beside the link the first run made there.
    row.columns[21] = "2";
    row.columns[1] = row.columns[2] = "1";
    messages.messages.clear();
    run({row});
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(path).value(2)),
              (QStringList{"#3", "# 4"}));
}

} // namespace
