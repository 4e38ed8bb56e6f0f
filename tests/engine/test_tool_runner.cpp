#include "app/Sinks.h"
#include "tools/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    ToolRunner runner() { return ToolRunner(exe.path(), work.path(), &messages, "Ошибка !!!"); }
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
    ToolRunner b(exe.path(), otherWork.path(), &messages, "x");
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
