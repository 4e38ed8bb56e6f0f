#include "DjvuFixture.h"
#include "base/CancelToken.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

namespace {

// A folder laid out like an installation: <exe>/bin holds stand-in tools.
class ToolRunnerTest : public ::testing::Test
{
protected:
    QTemporaryDir exe;
    QTemporaryDir work;
    RecordingMessageSink messages;

    void SetUp() override { QDir(exe.path()).mkpath("bin"); }

    void addTool(const QString& name, const QByteArray& script)
    {
        const QString path = exe.path() + "/bin/" + name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + script);
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
    ToolRunner runner() { return ToolRunner(exe.path(), work.path(), &messages); }
    QByteArray read(const QString& name)
    {
        QFile f(QDir(work.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(ToolRunnerTest, CapturesStandardOutputExactlyAndReplacesItOnTheNextRun)
{
    addTool("echoer", "printf '%s\\n' \"$@\"\n");
    ToolRunner r = runner();
    ToolRun run = r.capture("echoer", {"one two", "Глава 1", "it's \"quoted\""}, "out.dsed");
    EXPECT_TRUE(run.succeeded());
    EXPECT_EQ(read("out.dsed"), QByteArray("one two\nГлава 1\nit's \"quoted\"\n"));
    r.capture("echoer", {"short"}, "out.dsed");
    EXPECT_EQ(read("out.dsed"), QByteArray("short\n"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ToolRunnerTest, StandardErrorIsHandedBackAndTheCaptureStaysEmpty)
{
    addTool("complainer", "echo 'something broke' >&2\nexit 10\n");
    ToolRun run = runner().capture("complainer", {}, "out.dsed");
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.succeeded());
    EXPECT_EQ(run.exitCode, 10);
    EXPECT_EQ(run.failureText(), QString("something broke"));
    EXPECT_EQ(read("out.dsed"), QByteArray());
}

// DjVuLibre's source positions and function signatures stay out of the words a user reads;
// everything the tool said goes to the detailed log.
TEST_F(ToolRunnerTest, TheToolsOwnDetailGoesToTheDetailedLogAlone)
{
    addTool("djvulike", "echo \"*** [1-12311] Failed to open document "
                        "'file://localhost/tmp/a%20b.djvu'\" >&2\n"
                        "echo '*** (DjVuDocEditor.cpp:178)' >&2\n"
                        "echo \"*** 'void DJVU::DjVuDocEditor::init(const DJVU::GURL&)'\" >&2\n"
                        "exit 10\n");
    QStringList detailed;
    ToolRunner::setDetailedLog([&detailed](const QString& text) { detailed << text; });
    const ToolRun run = runner().capture("djvulike", {"book.djvu"}, "out.dsed");
    ToolRunner::setDetailedLog({});
    EXPECT_EQ(run.failureText(), QString("Failed to open document '/tmp/a b.djvu'"));
    ASSERT_EQ(detailed.size(), 1);
    EXPECT_TRUE(detailed[0].startsWith("djvulike book.djvu (10)")) << detailed[0].toStdString();
    EXPECT_TRUE(detailed[0].contains("DJVU::DjVuDocEditor::init")) << detailed[0].toStdString();
}

TEST_F(ToolRunnerTest, ExitCodesAndCleanRuns)
{
    addTool("quiet", "exit 0\n");
    addTool("warns", "echo warning >&2\nexit 0\n");
    addTool("fails", "exit 3\n");
    ToolRunner r = runner();
    EXPECT_TRUE(r.discard("quiet", {}).clean());
    ToolRun warned = r.discard("warns", {});
    EXPECT_TRUE(warned.succeeded());
    EXPECT_FALSE(warned.clean());
    EXPECT_EQ(r.discard("fails", {}).exitCode, 3);
}

TEST_F(ToolRunnerTest, DiscardingRunLeavesNoScratchFileWhateverTheExitCode)
{
    addTool("talker", "echo hello\nexit $1\n");
    ToolRunner r = runner();
    r.discard("talker", {"0"});
    r.discard("talker", {"4"});
    EXPECT_FALSE(QFile::exists(QDir(work.path()).filePath("Test.tmp")));
}

TEST_F(ToolRunnerTest, MissingProgramIsReportedThroughTheMessageSinkWithAnEmptyCapture)
{
    ToolRunner r = runner();
    ToolRun run = r.capture("no-such-tool-anywhere", {"x"}, "out.dsed");
    EXPECT_FALSE(run.started);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].caption, QString("Ошибка !!!"));
    EXPECT_FALSE(messages.messages[0].text.isEmpty());
    EXPECT_EQ(read("out.dsed"), QByteArray());
}

TEST_F(ToolRunnerTest, ToolsAreFoundInBinFirstThenOnPath)
{
    ToolRunner r = runner();
    EXPECT_FALSE(r.resolve("sh").isEmpty());
    addTool("sh", "exit 0\n");
    EXPECT_EQ(r.resolve("sh"), QDir(exe.path()).filePath("bin/sh"));
}

TEST_F(ToolRunnerTest, XmlImporterAnswersToBothNames)
{
    addTool("djvuxmlparser", "exit 0\n");
    EXPECT_EQ(runner().resolve("djvuparsexml"), QDir(exe.path()).filePath("bin/djvuxmlparser"));
}

TEST_F(ToolRunnerTest, RunsInTheGivenWorkFolderAndTwoRunnersDoNotMeet)
{
    addTool("writer", "pwd > here.txt\n");
    QTemporaryDir otherWork;
    ToolRunner a = runner();
    ToolRunner b(exe.path(), otherWork.path(), &messages);
    a.discard("writer", {});
    b.discard("writer", {});
    QFile fa(QDir(work.path()).filePath("here.txt")),
        fb(QDir(otherWork.path()).filePath("here.txt"));
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly));
    ASSERT_TRUE(fb.open(QIODevice::ReadOnly));
    EXPECT_EQ(QDir(QString::fromLocal8Bit(fa.readAll().trimmed())).canonicalPath(),
              QDir(work.path()).canonicalPath());
    EXPECT_EQ(QDir(QString::fromLocal8Bit(fb.readAll().trimmed())).canonicalPath(),
              QDir(otherWork.path()).canonicalPath());
}

} // namespace

namespace {

TEST_F(ToolRunnerTest, BigOutputOnBothChannelsArrivesWholeAndApart)
{
    // Enough to fill any pipe many times over, on both channels at once.
    addTool("chatty", "i=0\nwhile [ $i -lt 2000 ]; do\n"
                      "  echo \"out line $i of a long capture that keeps going\"\n"
                      "  echo \"err line $i\" >&2\n  i=$((i+1))\ndone\n");
    const ToolRun run = runner().capture("chatty", {});
    ASSERT_TRUE(run.succeeded());
    const QList<QByteArray> out = run.standardOutput.split('\n');
    ASSERT_EQ(out.size(), 2001);
    EXPECT_EQ(out[1999], QByteArray("out line 1999 of a long capture that keeps going"));
    EXPECT_FALSE(run.standardOutput.contains("err line"));
    EXPECT_TRUE(run.standardError.endsWith("err line 1999\n"));
    EXPECT_FALSE(run.standardError.contains("out line"));
    EXPECT_FALSE(run.clean());
}

TEST_F(ToolRunnerTest, ACaptureThatCannotBeWrittenIsAFailureNotAShortFile)
{
    addTool("talker", "echo hello\n");
    QDir(work.path()).mkpath("out.dsed"); // a folder where the capture file should go
    const ToolRun run = runner().capture("talker", {}, "out.dsed");
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.succeeded());
    EXPECT_TRUE(run.failureText().contains("out.dsed")) << run.failureText().toStdString();
    QString error;
    EXPECT_FALSE(runner().writeWorkFile("out.dsed", "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(runner().writeWorkFile("script.dsed", "select 1\n", &error));
    EXPECT_EQ(read("script.dsed"), QByteArray("select 1\n"));
}

} // namespace

namespace {

TEST_F(ToolRunnerTest, ACancelEndsASilentToolAtOnceAndStartsNoOther)
{
    // Says it has begun, then prints nothing for ten minutes.
    const QString begun = QDir(work.path()).filePath("begun");
    addTool("silent", "echo $$ > begun.part && mv begun.part begun\nexec sleep 600\n");
    addTool("quiet", "exit 0\n");
    CancelToken token;
    ToolRunner r = runner();
    r.setCancelToken(&token);
    ToolRun run;
    std::thread worker([&] { run = r.capture("silent", {}, "out.dsed"); });
    while (!QFile::exists(begun))
        QThread::msleep(10);
    token.cancel();
    worker.join();
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.cancelled);
    EXPECT_FALSE(run.succeeded());
    EXPECT_FALSE(run.failureText().isEmpty());

    const ToolRun next = r.discard("quiet", {});
    EXPECT_FALSE(next.started);
    EXPECT_TRUE(next.cancelled);
    EXPECT_TRUE(messages.messages.isEmpty()); // a stop is no error to show
}

TEST_F(ToolRunnerTest, ASlowSilentToolIsLeftToFinishWhileNoOneCancels)
{
    addTool("slow", "sleep 1\necho finished\n");
    CancelToken token;
    ToolRunner r = runner();
    r.setCancelToken(&token);
    const ToolRun run = r.capture("slow", {});
    EXPECT_TRUE(run.clean());
    EXPECT_EQ(run.standardOutput, QByteArray("finished\n"));
}

} // namespace

namespace {

TEST_F(ToolRunnerTest, AStreamedRunHandsOnItsOutputWhileTheToolStillRuns)
{
    // The tool goes on only once the first line has reached the caller: had the output been
    // held until the end, it would give up and fail.
    addTool("stepper", "echo first\n"
                       "i=0; while [ ! -e go ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n"
                       "[ -e go ] || exit 3\n"
                       "i=0; while [ $i -lt 3000 ]; do echo \"line $i of the rest\"; "
                       "echo \"err $i\" >&2; i=$((i+1)); done\n");
    QByteArray joined;
    int pieces = 0;
    const QString go = QDir(work.path()).filePath("go");
    const ToolRun run = runner().stream("stepper", {}, [&](QByteArrayView piece) {
        ++pieces;
        joined += piece;
        if (joined.startsWith("first\n") && !QFile::exists(go))
            QFile(go).open(QIODevice::WriteOnly);
    });
    EXPECT_TRUE(run.succeeded()) << run.failureText().toStdString();
    EXPECT_GT(pieces, 1);
    EXPECT_TRUE(run.standardOutput.isEmpty());
    const QList<QByteArray> lines = joined.split('\n');
    ASSERT_EQ(lines.size(), 3002);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[3000], "line 2999 of the rest");
    EXPECT_TRUE(run.standardError.endsWith("err 2999\n"));
    EXPECT_FALSE(joined.contains("err"));
}

TEST_F(ToolRunnerTest, ACancelDuringAStreamKillsTheToolAndTheFailureStands)
{
    // Writes its process id, then prints without end.
    addTool("endless", "echo $$ > pid.part && mv pid.part pid\nexec yes 'one more line'\n");
    CancelToken token;
    ToolRunner r = runner();
    r.setCancelToken(&token);
    const QString pidFile = QDir(work.path()).filePath("pid");
    const ToolRun run = r.stream("endless", {}, [&](QByteArrayView) {
        if (QFile::exists(pidFile))
            token.cancel();
    });
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.cancelled);
    EXPECT_FALSE(run.succeeded());
    EXPECT_FALSE(DjvuFixture::processAlive(DjvuFixture::waitForMarker(pidFile)));

    // A tool that cannot start streams nothing and says why.
    int pieces = 0;
    const ToolRun missing = runner().stream("no-such-tool", {}, [&](QByteArrayView) { ++pieces; });
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(pieces, 0);
}

} // namespace
