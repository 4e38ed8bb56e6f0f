// One change of a book at a time, books behind symbolic links, and the work folders that
// killed command-line runs leave behind.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "djvu/AdvisoryLock.h"
#include "djvu/BookGuard.h"
#include "djvu/FileState.h"
#include "djvu/SafeChange.h"
#include "djvu/SwapJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

class BookGuardTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // A contents page and five pages of body: "create" links the two entries.
    QString book(const QString& path)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "1"});
        contents.lines << FixtureLine::layout(300, 2900, {"Chapter", "two", "3"});
        FixturePage body;
        body.lines << FixtureLine::layout(300, 3000, {"Body"});
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, body, body, body, body, body}, &error))
            << s(error);
        return path;
    }
};

TEST_F(BookGuardTest, ASecondRunOnABookInUseFailsCleanlyAndTheFirstRunsChangeStands)
{
    const QString path = book(dir.filePath("book.djvu"));
    const QByteArray before = DjvuFixture::readAll(path);
    BookGuard guard(path, nullptr);
    QString error;
    ASSERT_TRUE(guard.open(&error)) << s(error);

    // Another process: it waits a while for the book, then gives up and leaves it alone.
    const CliRun second = runCli({"create", "--no-backup", path});
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(second.err.contains("Another run is changing")) << s(second.err);
    EXPECT_EQ(DjvuFixture::readAll(path), before);

    SafeChange change(path, nullptr, &guard);
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(), "select 2\nremove-txt\n", &error));
    ASSERT_TRUE(change.commit(&error)) << s(error);
    EXPECT_EQ(DjvuFixture::djvused(path, "select 2; output-txt"), QString());
}

TEST_F(BookGuardTest, AChangeMadeByAnotherProgramSinceTheReadIsNotOverwritten)
{
    const QString path = book(dir.filePath("book.djvu"));
    QString error;
    {
        BookGuard guard(path, nullptr);
        ASSERT_TRUE(guard.open(&error)) << s(error);
        SafeChange change(path, nullptr, &guard);
        ASSERT_TRUE(change.prepare(&error)) << s(error);
        ASSERT_TRUE(
            DjvuFixture::applyScript(change.workingCopy(), "select 2\nremove-txt\n", &error));
        ASSERT_TRUE(
            DjvuFixture::applyScript(path, "select 1\nset-page-title \"Theirs\"\n", &error));
        const QByteArray theirs = DjvuFixture::readAll(path);

        EXPECT_FALSE(change.commit(&error));
        EXPECT_TRUE(error.contains("another program")) << s(error);
        EXPECT_EQ(DjvuFixture::readAll(path), theirs);
    }

    // Once this run's own change is in, a second change of the same run goes through.
    BookGuard again(path, nullptr);
    ASSERT_TRUE(again.open(&error)) << s(error);
    for (const char* script : {"select 2\nremove-txt\n", "select 3\nremove-txt\n"}) {
        SafeChange next(path, nullptr, &again);
        ASSERT_TRUE(next.prepare(&error)) << s(error);
        ASSERT_TRUE(DjvuFixture::applyScript(next.workingCopy(), script, &error));
        EXPECT_TRUE(next.commit(&error)) << s(error);
    }
    EXPECT_EQ(DjvuFixture::djvused(path, "select 3; output-txt"), QString());
}

TEST_F(BookGuardTest, ABookBehindASymbolicLinkIsChangedInItsRealFileAndTheLinkStays)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("real"));
    const QString real = book(dir.filePath("real/book.djvu"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("links"));
    const QString link = dir.filePath("links/book.djvu");
    ASSERT_TRUE(QFile::link(real, link));

    const CliRun run = runCli({"create", "--no-backup", link});
    EXPECT_EQ(run.status, 0) << s(run.err);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_TRUE(DjvuFixture::djvused(real, "select 1; output-ant").contains("maparea"))
        << s(DjvuFixture::djvused(real, "select 1; output-ant"));
    EXPECT_EQ(entries(dir.filePath("links")), QStringList{"book.djvu"});
    EXPECT_EQ(entries(dir.filePath("real")), QStringList{"book.djvu"});
}

TEST_F(BookGuardTest, AKilledRunsWorkFolderGoesWithTheNextRunAndALiveOneStays)
{
    const QString path = book(dir.filePath("book.djvu"));
    QTemporaryDir temp;
    QTemporaryDir standIns;
    // A djvused that tells its process number and then hangs.
    const QString started = standIns.filePath("started");
    const QString djvused = standIns.filePath("djvused");
    DjvuFixture::writeAll(djvused, "#!/bin/sh\necho $$ > '" + started.toLocal8Bit() +
                                       ".part'\nmv '" + started.toLocal8Bit() + ".part' '" +
                                       started.toLocal8Bit() + "'\nexec sleep 600\n");
    QFile::setPermissions(djvused, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", temp.path());

    QProcessEnvironment hanging = env;
    hanging.insert("PATH", standIns.path() + ":" + env.value("PATH"));
    QProcess killed;
    killed.setProcessEnvironment(hanging);
    killed.start(TOCSMITH_OUT_DIR "/tocsmith-cli", {"create", "--no-backup", path});
    ASSERT_TRUE(killed.waitForStarted(-1));
    while (!QFileInfo::exists(started) && killed.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(QFileInfo::exists(started)) << s(QString::fromUtf8(killed.readAllStandardError()));
    killed.kill(); // SIGKILL: no clean-up of any kind
    killed.waitForFinished(-1);
    ::kill(DjvuFixture::readAll(started).trimmed().toInt(), SIGKILL);
    const QStringList left = entries(temp.path());
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left.first().startsWith("tocsmith-cli-")) << s(left.first());

    // A run that is still at work keeps its folder.
    ASSERT_TRUE(QDir(temp.path()).mkpath("tocsmith-cli-live"));
    QLockFile live(temp.filePath("tocsmith-cli-live/.tocsmith-lock"));
    ASSERT_TRUE(live.tryLock(0));

    const CliRun next = runCli({"ocr-export", path}, env);
    EXPECT_EQ(next.status, 0) << s(next.err);
    EXPECT_EQ(entries(temp.path()), QStringList{"tocsmith-cli-live"});
}

// What a run killed at some moment leaves beside a book (or in the temporary folder), made
// by `leave` in the book's folder; the next run of that book, a mere read, removes it all
// and is not blocked by any of it.
struct Leftover
{
    const char* name;
    void (*leave)(const QString& folder, const QString& temp);
    bool indirect = false;
};

void write(const QString& path, const QByteArray& bytes = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    DjvuFixture::writeAll(path, bytes);
}

const Leftover kLeftovers[] = {
    {"EmptyBookLock",
     [](const QString& f, const QString&) { write(f + "/.book.djvu.tocsmith-lock"); }},
    {"EmptyWorkingFolder",
     [](const QString& f, const QString&) { QDir(f).mkdir(".tocsmith-a1b2c3"); }},
    {"WorkingFolderWithoutItsLock",
     [](const QString& f, const QString&) {
         write(f + "/.tocsmith-a1b2c3/book.djvu", DjvuFixture::readAll(f + "/book.djvu"));
         write(f + "/.tocsmith-a1b2c3/p0002.djvu", "copy");
     },
     true},
    {"WorkingFolderWithAnEmptyLock",
     [](const QString& f, const QString&) {
         write(f + "/.tocsmith-a1b2c3/.tocsmith-lock");
         write(f + "/.tocsmith-a1b2c3/book.djvu", "copy");
     }},
    {"SwapFolderEmptied",
     [](const QString& f, const QString&) { write(f + "/.tocsmith-a1b2c3/lock"); }},
    {"UnfinishedBackup",
     [](const QString& f, const QString&) {
         write(f + "/book.djvu.backup.Xq3Zt9", DjvuFixture::readAll(f + "/book.djvu"));
     }},
    {"UnfinishedBackupOfAPage",
     [](const QString& f, const QString&) { write(f + "/p0002.djvu.backup.a8Kd0e", "copy"); },
     true},
    {"SwapWithAnEmptyLockAndTheIndexSetAside",
     [](const QString& f, const QString&) {
         const QString aside = f + "/.tocsmith-a1b2c3";
         const FileState index = FileState::of(f + "/book.djvu");
         SwapJournal::Entry entry{"book.djvu",  true, index.size,
                                  index.sha256, 1,    FileState::of(f + "/p0001.djvu").sha256};
         entry.newSize = FileState::of(f + "/p0001.djvu").size;
         write(aside + "/lock");
         write(aside + "/journal", SwapJournal::text("book.djvu", {entry}));
         QDir(aside).mkdir("originals");
         QFile::rename(f + "/book.djvu", aside + "/originals/book.djvu");
     },
     true},
    {"CommandLineWorkFolderNotYetLocked",
     [](const QString&, const QString& t) { QDir(t).mkdir("tocsmith-cli-k9Pq2w"); }},
};

class LeftoverTest : public BookGuardTest, public ::testing::WithParamInterface<Leftover>
{
};

TEST_P(LeftoverTest, TheNextRunRemovesItAndALiveRunsFolderStays)
{
    const QString folder = dir.filePath("books");
    const QString path = folder + "/book.djvu";
    ASSERT_TRUE(QDir().mkpath(folder));
    QString error;
    ASSERT_TRUE(GetParam().indirect
                    ? DjvuFixture::buildIndirect(path, FixturePage::everyChangeBook(), &error)
                    : DjvuFixture::build(path, FixturePage::everyChangeBook(), &error))
        << s(error);
    const QMap<QString, QByteArray> book = DjvuFixture::readFolder(folder);
    QTemporaryDir temp;
    GetParam().leave(folder, temp.path());
    // A run at work right now: its folder and its lock stay.
    write(folder + "/.tocsmith-live00/book.djvu", "copy");
    AdvisoryLock live(folder + "/.tocsmith-live00/.tocsmith-lock");
    ASSERT_EQ(live.lock(), AdvisoryLock::Result::Locked);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", temp.path());
    const CliRun next = runCli({"ocr-export", path}, env);
    EXPECT_EQ(next.status, 0) << s(next.err);
    QMap<QString, QByteArray> expected = book;
    expected.insert(".tocsmith-live00", "<folder>");
    EXPECT_EQ(DjvuFixture::readFolder(folder), expected);
    EXPECT_EQ(entries(temp.path()), QStringList());
    EXPECT_EQ(entries(folder + "/.tocsmith-live00"), (QStringList{".tocsmith-lock", "book.djvu"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, LeftoverTest, ::testing::ValuesIn(kLeftovers),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
