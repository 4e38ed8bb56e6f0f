// SIGINT and SIGTERM stop "tocsmith-cli create" and "fix" in the middle of a tool: exit
// status 130, the book byte for byte as it was, nothing left beside it.
#include "DjvuFixture.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class CliStopTest : public ::testing::TestWithParam<int>
{
protected:
    QTemporaryDir dir;
    QTemporaryDir standIn; // its bin/ goes first on PATH
    QString marker;

    void SetUp() override { marker = standIn.filePath("begun"); }

    QString book()
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "2"});
        FixturePage links;
        links.annotations = "(maparea \"#p0001.djvu\" \"\" (rect 100 900 300 40) (xor))\n"
                            "(maparea \"#p0001.djvu\" \"\" (rect 110 800 250 40) (xor))";
        const QString path = dir.filePath("book.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, links, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }

    // Runs the command with a djvused that sleeps in its saving run, sends the signal once
    // the saving run has begun, and returns the exit status (-1 for a crash).
    int interrupted(const QStringList& args)
    {
        EXPECT_TRUE(DjvuFixture::writeSleepingDjvused(standIn.path(), "-s", marker));
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", standIn.filePath("bin") + ':' + environment.value("PATH"));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(TOCSMITH_OUT_DIR "/tocsmith-cli"), args);
        EXPECT_TRUE(cli.waitForStarted(-1));
        const qint64 tool = DjvuFixture::waitForMarker(marker);
        ::kill(pid_t(cli.processId()), GetParam());
        cli.waitForFinished(-1);
        EXPECT_FALSE(DjvuFixture::processAlive(tool));
        output = QString::fromLocal8Bit(cli.readAllStandardOutput());
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    QString output;
};

TEST_P(CliStopTest, CreateStopsWithStatus130AndLeavesTheBook)
{
    const QString path = book();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    EXPECT_EQ(interrupted({"create", "--pages", "1", "--no-backup", path}), 130);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
    EXPECT_TRUE(output.contains(path)) << output.toStdString(); // the log says where it stopped
}

TEST_P(CliStopTest, FixStopsWithStatus130AndLeavesTheBook)
{
    const QString path = book();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    EXPECT_EQ(interrupted({"fix", "--no-backup", path}), 130);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
}

TEST_P(CliStopTest, OcrRecogniseStopsWithStatus130AndLeavesTheBook)
{
    FixturePage printed;
    printed.printed = {"CONTENTS", "1 Introduction 5"};
    printed.hasText = false;
    const QString path = dir.filePath("printed.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, {printed}, &error)) << error.toStdString();
    ASSERT_TRUE(DjvuFixture::writeSleepingTool(standIn.path(), "ddjvu", "", marker));
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    EXPECT_EQ(interrupted({"ocr-recognise", "--ocr-language", "eng", path}), 130);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliStopTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "Sigint" : "Sigterm");
                         });

} // namespace
