// Stopping a Create or Fix run: at a step boundary, or in the middle of a tool, the document
// being worked on stays byte for byte as it was and nothing is left behind; the documents
// before it stay done, and the log says where the run stopped.
#include "CreateTestSupport.h"
#include "base/CancelToken.h"
#include "base/PassProgress.h"
#include "links/FixPass.h"
#include "links/PassControl.h"

#include <QDir>
#include <functional>
#include <thread>

namespace {

using Step = PassProgress::Step;

// Records every report; can cancel the token when a given step (of a given document) begins.
class RecordingProgress : public ProgressSink
{
public:
    QList<PassProgress> reports;
    std::function<void(const PassProgress&)> onReport;
    void progress(const PassProgress& where) override
    {
        reports << where;
        if (onReport)
            onReport(where);
    }
};

class PassCancelTest : public CreatePassFixture
{
protected:
    CancelToken token;
    RecordingProgress progress;
    QTemporaryDir markers; // where the sleeping stand-in says it has begun

    // A contents page whose entries lead to pages 2 and 3, and a text page after it.
    QString book(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "2"});
        contents.lines << FixtureLine::layout(300, 2900, {"Chapter", "two", "3"});
        FixturePage text;
        text.lines << FixtureLine::layout(300, 3000, {"Body"});
        FixturePage blank;
        blank.hasText = false;
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, text, blank, blank}, &error))
            << error.toStdString();
        return path;
    }

    void cancelAt(Step step, int document = 1)
    {
        progress.onReport = [this, step, document](const PassProgress& where) {
            if (where.step == step && where.document == document)
                token.cancel();
        };
    }

    CreateOutcome runCreate(const QList<CreateRow>& rows)
    {
        CreateOptions options;
        options.backup = false;
        CreatePass pass(tools, texts, log, messages);
        pass.setControl(PassControl(&progress, &token));
        return pass.run(CreateRowReader::jobsOf(rows), options);
    }

    // The last two log lines say the run stopped at this document, in this step.
    void expectStoppedAt(const QString& path, MessageKey stepKey)
    {
        ASSERT_GE(log.lines.size(), 2);
        EXPECT_EQ(log.lines[log.lines.size() - 2], texts.text("m13") + ' ' + path);
        EXPECT_TRUE(log.lines.last().startsWith(texts.text("m14") + ' ' + texts.text(stepKey)))
            << log.lines.last().toStdString();
        EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.first().text.toStdString();
    }

    void expectNoWorkFiles() { EXPECT_TRUE(DjvuFixture::readFolder(work.path()).isEmpty()); }
};

TEST_F(PassCancelTest, AStopAtAStepBoundaryLeavesTheDocumentAndItsFolderAsTheyWere)
{
    const struct
    {
        Step step;
        MessageKey logKey;
    } boundaries[] = {{Step::Starting, "m1"},    {Step::Listing, "m2"}, {Step::ReadingText, "m2"},
                      {Step::Recognising, "m8"}, {Step::Saving, "m5"},  {Step::Replacing, "m5"}};
    for (const auto& boundary : boundaries) {
        SCOPED_TRACE(int(boundary.step));
        token.reset();
        log.clear();
        const QString path = book("book.djvu");
        const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
        cancelAt(boundary.step);

        const CreateOutcome outcome = runCreate({CreateTest::row(path, 1, 1)});
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_FALSE(outcome.ranToEnd);
        EXPECT_EQ(outcome.filesChanged, 0);
        EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
        expectNoWorkFiles();
        expectStoppedAt(path, boundary.logKey);
    }
}

TEST_F(PassCancelTest, AStopDuringTheSavingToolKillsItAndLeavesTheDocument)
{
    const QString marker = markers.filePath("save");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", marker));
    const QString path = book("book.djvu");
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());

    CreateOutcome outcome;
    std::thread worker([&] { outcome = runCreate({CreateTest::row(path, 1, 1)}); });
    const qint64 tool = DjvuFixture::waitForMarker(marker);
    EXPECT_TRUE(DjvuFixture::processAlive(tool));
    // The working copy and the book's lock exist while the tool runs.
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()).size(), before.size() + 2);
    token.cancel();
    worker.join();

    EXPECT_FALSE(DjvuFixture::processAlive(tool));
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
    expectNoWorkFiles();
    expectStoppedAt(path, "m5");
}

TEST_F(PassCancelTest, AStopDuringAReadingToolEndsItAtOnce)
{
    const QString marker = markers.filePath("ls");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "ls", marker));
    const QString path = book("book.djvu");
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());

    CreateOutcome outcome;
    std::thread worker([&] { outcome = runCreate({CreateTest::row(path, 1, 1)}); });
    const qint64 tool = DjvuFixture::waitForMarker(marker);
    token.cancel();
    worker.join();

    EXPECT_FALSE(DjvuFixture::processAlive(tool));
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
    expectStoppedAt(path, "m2");
}

TEST_F(PassCancelTest, ATwoDocumentRunReportsEachDocumentStepAndContentsPage)
{
    const QString first = book("first.djvu");
    const QString second = book("second.djvu");
    const CreateOutcome outcome =
        runCreate({CreateTest::row(first, 1, 2), CreateTest::row(second, 1, 1)});
    ASSERT_TRUE(outcome.ranToEnd) << log.lines.join('\n').toStdString();
    EXPECT_EQ(outcome.filesChanged, 2);

    QStringList seen;
    int lastPermille = 0;
    for (const PassProgress& p : progress.reports) {
        EXPECT_EQ(p.documents, 2);
        EXPECT_EQ(p.path, p.document == 1 ? first : second);
        EXPECT_GE(p.permille(), lastPermille);
        lastPermille = p.permille();
        QString line = QStringLiteral("%1:%2").arg(p.document).arg(int(p.step));
        if (p.pages > 0)
            line += QStringLiteral(" %1/%2").arg(p.page).arg(p.pages);
        seen << line;
    }
    // Starting, listing, text, recognising (each page of the job's contents range), saving,
    // replacing.
    const QStringList steps{"0", "1", "2", "4", "6", "7"};
    QStringList expected;
    for (int document : {1, 2}) {
        const int pages = document == 1 ? 2 : 1;
        for (const QString& step : steps) {
            expected << QStringLiteral("%1:%2").arg(document).arg(step);
            for (int page = 1; step == "4" && page <= pages; ++page)
                expected << QStringLiteral("%1:4 %2/%3").arg(document).arg(page).arg(pages);
        }
    }
    EXPECT_EQ(seen, expected);
    EXPECT_LT(lastPermille, 1000);
}

TEST_F(PassCancelTest, TheDocumentsBeforeTheStopStayDone)
{
    const QString first = book("first.djvu");
    const QString second = book("second.djvu");
    const QByteArray secondBefore = DjvuFixture::readAll(second);
    cancelAt(Step::Listing, 2);

    const CreateOutcome outcome =
        runCreate({CreateTest::row(first, 1, 1), CreateTest::row(second, 1, 1)});
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(CreateTest::linksOf(first).value(1).size(), 2);
    EXPECT_EQ(DjvuFixture::readAll(second), secondBefore);
    EXPECT_TRUE(log.lines.contains(texts.text("m6") + ' ' + first + ' ' + texts.text("m7")));
    expectStoppedAt(second, "m2");
}

TEST_F(PassCancelTest, TheFixPassStopsAtItsStepsAndDuringItsTool)
{
    FixturePage page;
    page.annotations = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))\n"
                       "(maparea \"#p0002.djvu\" \"\" (rect 110 800 250 40) (xor))";
    const QString path = dir.filePath("links.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, {page, FixturePage{}}, &error)) << error.toStdString();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    const auto runFix = [&] {
        FixPass pass(tools, texts, log, messages);
        pass.setControl(PassControl(&progress, &token));
        return pass.run({FixRow{dir.path() + '/', "links.djvu"}}, FixOptions{false});
    };

    for (Step step : {Step::ReadingAnnotations, Step::MeasuringPages, Step::Replacing}) {
        SCOPED_TRACE(int(step));
        token.reset();
        cancelAt(step);
        EXPECT_TRUE(runFix().cancelled);
        EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
        expectNoWorkFiles();
        expectStoppedAt(path, step == Step::MeasuringPages ? MessageKey("m3")
                              : step == Step::Replacing    ? MessageKey("m5")
                                                           : MessageKey("m2"));
    }

    token.reset();
    progress.onReport = nullptr;
    const QString marker = markers.filePath("fix");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", marker));
    PassOutcome outcome;
    std::thread worker([&] { outcome = runFix(); });
    DjvuFixture::waitForMarker(marker);
    token.cancel();
    worker.join();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
    expectStoppedAt(path, "m5");
}

TEST_F(PassCancelTest, AStopDuringTheAlignmentKeepsTheCreatedLinksAndSaysSo)
{
    const QString path = book("book.djvu");
    cancelAt(Step::Aligning);
    CreateOptions options;
    options.backup = false;
    options.align = true;
    options.fixOptions.backup = false;
    CreatePass pass(tools, texts, log, messages);
    pass.setControl(PassControl(&progress, &token));
    const CreateOutcome outcome =
        pass.run(CreateRowReader::jobsOf({CreateTest::row(path, 1, 1)}), options);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(CreateTest::linksOf(path).value(1).size(), 2);
    expectStoppedAt(path, "m4");
}

} // namespace
