// Batches of documents: --jobs, --keep-going, --report, and two runs on one book at once.
#include "CliRun.h"
#include "DjvuFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class BatchCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // A book whose contents page links two chapters.
    QString book(const QString& name)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, FixturePage::twoChapterBook(5), &error))
            << error.toStdString();
        return path;
    }

    QString bad(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(DjvuFixture::writeAll(path, "not a book at all\n"));
        return path;
    }

    QJsonArray records(const QString& report)
    {
        const QJsonDocument doc = QJsonDocument::fromJson(DjvuFixture::readAll(report));
        return doc.object().value("documents").toArray();
    }
};

TEST_F(BatchCliTest, FourAtOnceOverTenBooksChangeTheGoodOnesAndLeaveTheBadOnesAsTheyWere)
{
    QStringList paths;
    for (int i = 1; i <= 10; ++i)
        paths << (i == 3 || i == 8 ? bad(QString("книга %1.djvu").arg(i))
                                   : book(QString("книга %1.djvu").arg(i)));
    QMap<QString, QByteArray> before;
    for (const QString& p : paths)
        before[p] = DjvuFixture::readAll(p);
    const QString report = dir.filePath("report.json");

    const CliRun run = runCli(QStringList{"create", "--jobs", "4", "--no-backup", "--pages", "1-1",
                                          "--offset", "1", "--report", report} +
                              paths);
    EXPECT_EQ(run.status, 1) << run.err.toStdString();

    const QJsonArray list = records(report);
    ASSERT_EQ(list.size(), 10);
    for (int i = 0; i < 10; ++i) {
        const QJsonObject r = list[i].toObject();
        EXPECT_EQ(r.value("path").toString(), QFileInfo(paths[i]).absoluteFilePath());
        const bool isBad = i == 2 || i == 7;
        if (isBad) {
            EXPECT_EQ(r.value("outcome").toString(), "failed");
            EXPECT_FALSE(r.value("message").toString().isEmpty());
            EXPECT_EQ(DjvuFixture::readAll(paths[i]), before[paths[i]]);
        } else {
            EXPECT_EQ(r.value("outcome").toString(), "changed") << i;
            EXPECT_NE(DjvuFixture::readAll(paths[i]), before[paths[i]]);
            EXPECT_TRUE(DjvuFixture::djvused(paths[i], "select 1; print-ant").contains("#4"));
            EXPECT_EQ(r.value("offset").toInt(), 1);
            const QJsonArray entries = r.value("entries").toArray();
            ASSERT_EQ(entries.size(), 2);
            EXPECT_EQ(entries[1].toObject().value("printed").toString(), "3");
            EXPECT_EQ(entries[1].toObject().value("targetPage").toInt(), 4);
            EXPECT_TRUE(entries[1].toObject().contains("checked"));
            EXPECT_EQ(entries[1].toObject().value("page").toInt(), 1);
            EXPECT_GT(entries[1].toObject().value("area").toArray().at(2).toInt(), 0);
        }
    }
    // Each document's lines stay together under its name; a line sums the batch up.
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const QString summary = lines.takeLast(); // in the locale's language
    EXPECT_TRUE(summary == "8 documents changed, 2 failed" ||
                summary == QStringLiteral("Изменено документов: 8, с ошибкой: 2"))
        << summary.toStdString();
    QStringList order;
    for (const QString& line : lines) {
        ASSERT_TRUE(line.startsWith("[книга ")) << line.toStdString();
        const QString name = line.section(']', 0, 0);
        if (order.isEmpty() || order.last() != name) {
            EXPECT_FALSE(order.contains(name)) << name.toStdString();
            order << name;
        }
    }
    EXPECT_EQ(order.size(), 10);
}

TEST_F(BatchCliTest, OneAtATimeStopsAtTheFirstFailureUnlessToldToKeepGoing)
{
    const QString first = book("a.djvu"), broken = bad("b.djvu"), last = book("c.djvu");
    const QByteArray lastBefore = DjvuFixture::readAll(last);
    const QString report = dir.filePath("r.json");
    const CliRun stop = runCli({"fix", "--report", report, "--no-backup", first, broken, last});
    EXPECT_EQ(stop.status, 1);
    EXPECT_EQ(records(report).size(), 2); // the third was never tried
    EXPECT_EQ(DjvuFixture::readAll(last), lastBefore);

    const CliRun on = runCli({"fix", "--keep-going", "--report", report, first, broken, last});
    EXPECT_EQ(on.status, 1);
    const QJsonArray list = records(report);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[1].toObject().value("outcome").toString(), "failed");
    EXPECT_EQ(list[2].toObject().value("path").toString(), QFileInfo(last).absoluteFilePath());
    EXPECT_EQ(runCli({"fix", "--jobs", "0", first}).status, 2);
    EXPECT_EQ(runCli({"fix", "--report"}).status, 2);
}

TEST_F(BatchCliTest, TwoRunsOnOneBookAtOnceOneWaitsOrFailsCleanlyAndTheBookIsWhole)
{
    const QString path = book("shared.djvu");
    const QStringList create{"create", "--no-backup", "--pages", "1-1", "--offset", "1", path};
    // The first run's saving djvused waits at a gate while it holds the book.
    QTemporaryDir exe;
    const QString marker = exe.filePath("marker"), gate = exe.filePath("gate");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", marker, gate));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", exe.filePath("bin") + ":" + env.value("PATH"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(TOCSMITH_OUT_DIR "/tocsmith-cli", create);
    ASSERT_GT(DjvuFixture::waitForMarker(marker), 0);
    const QByteArray during = DjvuFixture::readAll(path);

    const CliRun second = runCli(create);
    EXPECT_EQ(second.status, 1);
    EXPECT_FALSE(second.err.isEmpty());
    EXPECT_EQ(DjvuFixture::readAll(path), during);

    ASSERT_TRUE(DjvuFixture::writeAll(gate, "open"));
    ASSERT_TRUE(first.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_TRUE(DjvuFixture::djvused(path, "select 1; print-ant").contains("#4"));
}

TEST_F(BatchCliTest, TheGnuParallelLineOfTheReadmeGivesEachBookItsReport)
{
    const QString parallel = QStandardPaths::findExecutable("parallel");
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU parallel is not installed (scripts/install-deps.sh installs it)";
    const QString one = book("one.djvu"), two = book("two.djvu"), broken = bad("three.djvu");
    const QByteArray brokenBefore = DjvuFixture::readAll(broken);
    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.start("sh", {"-c", "ls *.djvu | " + parallel +
                               " --will-cite --jobs 2 --halt never '" TOCSMITH_OUT_DIR
                               "/tocsmith-cli create --pages 1-1 --offset 1 --report "
                               "{.}.report.json {}'"});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitCode(), 1); // parallel counts the failed books
    for (const QString& path : {one, two}) {
        const QJsonArray list = records(QString(path).replace(".djvu", ".report.json"));
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list[0].toObject().value("outcome").toString(), "changed");
    }
    const QJsonArray failed = records(dir.filePath("three.report.json"));
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0].toObject().value("outcome").toString(), "failed");
    EXPECT_EQ(DjvuFixture::readAll(broken), brokenBefore);
}

} // namespace
