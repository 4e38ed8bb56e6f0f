#include "DjvuFixture.h"
#include "base/CharTable.h"
#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "links/FixPass.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

QString area(int x, int y, int w, int h, const QString& comment = QString(),
             const QString& shape = "rect", const QString& link = "#p0002.djvu",
             const QString& style = "(border #ff0000) (hilite #00ff00) (border_avis)")
{
    return QStringLiteral("(maparea \"%1\" \"%2\" (%3 %4 %5 %6 %7) %8)")
        .arg(link, CharTable::escape(comment), shape)
        .arg(x)
        .arg(y)
        .arg(w)
        .arg(h)
        .arg(style);
}

FixRow rowFor(const QString& path)
{
    const QFileInfo info(path);
    return {info.absolutePath() + QLatin1Char('/'), info.fileName()};
}

class FixPassTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    QString exeFolder = QStringLiteral(TOCSMITH_OUT_DIR);
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;

    // An indirect book whose first page has two misaligned areas; empty when it failed.
    QString indirectBook()
    {
        const QString index = QDir(dir.path()).filePath("indirect/index.djvu");
        QString error;
        const bool built = DjvuFixture::buildIndirect(
            index, {withAreas({area(100, 900, 300, 40), area(110, 800, 250, 40)}), FixturePage{}},
            &error);
        EXPECT_TRUE(built) << s(error);
        return built ? index : QString();
    }

    QString book(const QString& name, const QList<FixturePage>& pages)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << s(error);
        return path;
    }
    static FixturePage withAreas(const QStringList& areas)
    {
        FixturePage page;
        page.annotations = areas.join('\n');
        return page;
    }
    PassOutcome run(const QStringList& paths, bool backup = false)
    {
        ToolRunner tools(exeFolder, work.path(), &messages);
        QList<FixRow> rows;
        for (const QString& p : paths)
            rows << rowFor(p);
        return FixPass(tools, texts, log, messages).run(rows, FixOptions{backup});
    }
    QStringList workFiles() const
    {
        return QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
    }
    QStringList logFor(const QString& path) const
    {
        return {
            texts.text("m1") + " " + path, texts.text("m2") + " OK",
            texts.text("m3") + " OK",      texts.text("m4") + " OK",
            texts.text("m5") + " OK",      texts.text("m6") + " " + path + " " + texts.text("m7")};
    }
};

} // namespace

TEST_F(FixPassTest, AlignsTwoColumnsAndChangesNothingButLeftEdgesAndWidths)
{
    const QString path =
        book("Книга с пробелом.djvu",
             {withAreas({area(100, 900, 300, 40, "Глава 1"), area(110, 800, 250, 41, "Глава 2"),
                         area(520, 900, 200, 42, "Глава 3", "oval"),
                         area(515, 800, 260, 43, "Глава 4 \"кавычки\" \\ €"),
                         area(50, 50, 10, 10, "", "line", "", "(arrow) (width 3)")}),
              withAreas({area(700, 900, 50, 40, "", "rect", "http://example.org/a b", "(xor)"),
                         area(705, 800, 60, 40, "", "rect", "#p0001.djvu", "(none)")}),
              FixturePage{}});
    const QString before = DjvuFixture::djvused(path, "output-ant");
    ASSERT_TRUE(before.contains("(rect 110 800 250 41)")) << s(before);

    const PassOutcome outcome = run({path});

    EXPECT_TRUE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(outcome.filesFailed, 0);
    QString expected = before;
    expected.replace("(rect 110 800 250 41)", "(rect 100 800 300 41)");
    expected.replace("(oval 520 900 200 42)", "(oval 515 900 260 42)");
    // Page 2: the web link leaves the document, so it is neither aligned nor measured, and
    // the one link that stays in it has nothing to line up with.
    EXPECT_EQ(s(DjvuFixture::djvused(path, "output-ant")), s(expected));
    EXPECT_EQ(log.lines, logFor(path));
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(workFiles().isEmpty()) << s(workFiles().join(' '));
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(FixPassTest, WordsOfTheSyntaxInsideCommentsAndLinksAreOnlyText)
{
    const QString path =
        book("words.djvu", {withAreas({area(100, 900, 300, 40, "Go to correct page"),
                                       area(104, 800, 280, 40, "oval office"),
                                       area(98, 700, 310, 40, "select \"p0002.djvu\"; save"),
                                       area(102, 600, 290, 40, "", "rect", "#select")}),
                            FixturePage{}});
    const QString before = DjvuFixture::djvused(path, "output-ant");
    run({path});
    EXPECT_TRUE(messages.messages.isEmpty());
    QString expected = before;
    expected.replace("(rect 100 900 300 40)", "(rect 98 900 310 40)");
    expected.replace("(rect 104 800 280 40)", "(rect 98 800 310 40)");
    expected.replace("(rect 102 600 290 40)", "(rect 98 600 310 40)");
    EXPECT_EQ(s(DjvuFixture::djvused(path, "output-ant")), s(expected));
}

TEST_F(FixPassTest, SharedAnnotationsAndOddPageNamesComeThroughUnchanged)
{
    FixturePage odd = withAreas({area(300, 900, 100, 40), area(310, 800, 120, 40)});
    odd.id = QStringLiteral("стр \"1\" x'; save-bundled pwned.djvu");
    const QString path = book("shared.djvu", {odd, FixturePage{}});
    QString error;
    ASSERT_TRUE(DjvuFixture::applyScript(
        path, "create-shared-ant\nset-ant\n(background #808080) (zoom width)\n.\n", &error))
        << s(error);
    const QString before = DjvuFixture::djvused(path, "output-ant");
    ASSERT_TRUE(before.contains("shared_anno")) << s(before);
    run({path});
    EXPECT_TRUE(messages.messages.isEmpty());
    QString expected = before;
    expected.replace("(rect 310 800 120 40)", "(rect 300 800 120 40)");
    expected.replace("(rect 300 900 100 40)", "(rect 300 900 120 40)");
    EXPECT_EQ(s(DjvuFixture::djvused(path, "output-ant")), s(expected));
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("pwned.djvu")));
    EXPECT_FALSE(QFile::exists(QDir(work.path()).filePath("pwned.djvu")));
}

TEST_F(FixPassTest, ADocumentWithoutRectangleOrOvalLinksStaysByteForByte)
{
    const QString path =
        book("plain.djvu",
             {withAreas({area(10, 10, 200, 300, "", "poly", "#p0002.djvu", "(xor)")
                             .replace("(poly 10 10 200 300)", "(poly 10 10 200 10 100 300)"),
                         area(30, 30, 500, 60, "note", "text", "", "(backclr #ffff00)")}),
              FixturePage{}});
    const QString annotations = DjvuFixture::djvused(path, "output-ant");
    const QByteArray bytes = DjvuFixture::readAll(path);
    const PassOutcome outcome = run({path});
    EXPECT_TRUE(outcome.ranToEnd);
    // Nothing was written, and nothing says it was.
    ASSERT_EQ(outcome.rows.size(), 1);
    EXPECT_EQ(outcome.rows[0].state, RowOutcome::State::Unchanged);
    EXPECT_EQ(outcome.filesChanged, 0);
    QStringList expected = logFor(path).mid(0, 4);
    expected << EngineTexts::say("e_left_unchanged").arg(path);
    EXPECT_EQ(log.lines, expected);
    EXPECT_EQ(s(DjvuFixture::djvused(path, "output-ant")), s(annotations));
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
}

TEST_F(FixPassTest, AFileThatIsNotDjvuStopsThePassAndLeavesItAndTheRestUntouched)
{
    const QStringList columns = {area(100, 900, 300, 40), area(110, 800, 250, 40)};
    const QString first = book("1.djvu", {withAreas(columns), FixturePage{}});
    const QString second = QDir(dir.path()).filePath("2.djvu");
    {
        QFile f(second);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("This is a text file with a .djvu name.\n");
    }
    const QString third = book("3.djvu", {withAreas(columns), FixturePage{}});
    const QByteArray secondBytes = DjvuFixture::readAll(second);
    const QByteArray thirdBytes = DjvuFixture::readAll(third);

    const PassOutcome outcome = run({first, second, third}, true);

    EXPECT_FALSE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(outcome.filesFailed, 1);
    EXPECT_TRUE(DjvuFixture::djvused(first, "output-ant").contains("(rect 100 800 300 40)"));
    EXPECT_EQ(DjvuFixture::readAll(second), secondBytes);
    EXPECT_EQ(DjvuFixture::readAll(third), thirdBytes);
    EXPECT_FALSE(QFile::exists(third + ".backup"));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].caption, texts.text("mes3"));
    EXPECT_TRUE(messages.messages[0].text.contains(second)) << s(messages.messages[0].text);
    // The log keeps the first file's lines, then the failure in plain words.
    ASSERT_GE(log.lines.size(), 9);
    EXPECT_EQ(log.lines.mid(0, 6), logFor(first));
    EXPECT_EQ(log.lines[6], texts.text("m1") + " " + second);
    EXPECT_EQ(log.lines[7], texts.text("m9"));
    EXPECT_TRUE(log.lines[8].contains("is not a DjVu document")) << s(log.lines[8]);
    for (const QString& line : log.lines)
        EXPECT_FALSE(line.contains(second) && line.endsWith(texts.text("m7"))) << s(line);
    EXPECT_TRUE(workFiles().isEmpty()) << s(workFiles().join(' '));
}

TEST_F(FixPassTest, TheBackupsHoldTheFileAsItWasBeforeEachRun)
{
    const QString path =
        book("backup.djvu",
             {withAreas({area(100, 900, 300, 40), area(110, 800, 250, 40)}), FixturePage{}});
    const QByteArray original = DjvuFixture::readAll(path);
    run({path}, true);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), original);
    const QByteArray afterFirst = DjvuFixture::readAll(path);
    EXPECT_NE(afterFirst, original);
    // A run with nothing left to align changes nothing and backs nothing up.
    run({path}, true);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), original);
    EXPECT_FALSE(QFile::exists(path + ".backup.2"));
    DjvuFixture::writeAll(path, original);
    run({path}, true);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), original);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup.2"), original);
    EXPECT_FALSE(QFile::exists(path + ".backup.part"));
}

TEST_F(FixPassTest, AFailedSaveLeavesTheDocumentAsItWasAndReportsTheToolsWords)
{
    // A djvused that reads as the real one but refuses to run scripts.
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("bin");
    const QString fake = exe.path() + "/bin/djvused";
    {
        QFile f(fake);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "#!/bin/sh\ncase \" $* \" in *\" -f \"*) echo 'djvused: disk on fire' >&2; exit 10;;\n"
            "esac\nexec \"" +
            QStandardPaths::findExecutable("djvused").toUtf8() + "\" \"$@\"\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
    exeFolder = exe.path();
    const QString path =
        book("refused.djvu",
             {withAreas({area(100, 900, 300, 40), area(110, 800, 250, 40)}), FixturePage{}});
    const QByteArray bytes = DjvuFixture::readAll(path);
    const PassOutcome outcome = run({path});
    EXPECT_FALSE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesFailed, 1);
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("disk on fire"));
    EXPECT_TRUE(log.lines.contains("djvused: disk on fire")) << s(log.lines.join('\n'));
    EXPECT_FALSE(log.lines.last().endsWith(texts.text("m7")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"refused.djvu"});
}

TEST_F(FixPassTest, WithoutDjvusedThePassStopsAtTheFirstFileWithItsMessage)
{
    const QString path =
        book("nodjvused.djvu",
             {withAreas({area(100, 900, 300, 40), area(110, 800, 250, 40)}), FixturePage{}});
    const QByteArray bytes = DjvuFixture::readAll(path);
    QTemporaryDir emptyExe;
    exeFolder = emptyExe.path();
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", emptyExe.path().toLocal8Bit());
    const PassOutcome outcome = run({path, path}, true);
    qputenv("PATH", savedPath);
    EXPECT_FALSE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 0);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, texts.text("mes2"));
    EXPECT_EQ(outcome.notices, (QList<PassNotice>{{PassNotice::Kind::ToolMissing, path, {}}}));
    EXPECT_EQ(log.lines, QStringList{texts.text("m1") + " " + path});
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    EXPECT_FALSE(QFile::exists(path + ".backup")); // a failed run backs nothing up
}

TEST_F(FixPassTest, AnEmptyListOnlySaysSoAndClearsAStaleCapture)
{
    log.addLine("from before");
    QFile stale(QDir(work.path()).filePath("myfile.dsed"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const PassOutcome outcome = run({});
    EXPECT_FALSE(outcome.ranToEnd);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, texts.text("mes1"));
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_FALSE(stale.exists());
}

TEST_F(FixPassTest, AMissingFileIsAFailureWithItsName)
{
    const QString path = QDir(dir.path()).filePath("absent.djvu");
    const PassOutcome outcome = run({path}, true);
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("absent.djvu"));
    ASSERT_EQ(outcome.notices.size(), 1);
    EXPECT_EQ(outcome.notices[0].kind, PassNotice::Kind::FileFailed);
    EXPECT_EQ(messages.messages[0].text,
              path + '\n' + outcome.notices[0].reason); // the path, then the reason
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(FixPassTest, ASinglePageFileNamedInCyrillicIsAligned)
{
    const QString path = QDir(dir.path()).filePath("одна страница.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(
        path, {withAreas({area(100, 900, 300, 40), area(110, 800, 250, 40)})}, &error, true))
        << s(error);
    const PassOutcome outcome = run({path});
    EXPECT_EQ(outcome.filesChanged, 1) << s(log.lines.join('\n'));
    EXPECT_TRUE(DjvuFixture::djvused(path, "output-ant").contains("(rect 100 800 300 40)"));
}

TEST_F(FixPassTest, AnIndirectDocumentIsAlignedAcrossItsPageFiles)
{
    const QString index = indirectBook();
    ASSERT_FALSE(index.isEmpty());
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);

    const PassOutcome outcome = run({index});

    EXPECT_EQ(outcome.filesChanged, 1) << s(log.lines.join('\n'));
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(
        DjvuFixture::djvused(index, "select 1; output-ant").contains("(rect 100 800 300 40)"));
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    EXPECT_EQ(after.keys(), before.keys());
    EXPECT_NE(after["p0001.djvu"], before["p0001.djvu"]);
    EXPECT_EQ(after["p0002.djvu"], before["p0002.djvu"]);
}

TEST_F(FixPassTest, TheBackupOfAnIndirectDocumentHoldsEveryFileOfTheSet)
{
    const QString index = indirectBook();
    ASSERT_FALSE(index.isEmpty());
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);

    const PassOutcome outcome = run({index}, true);

    EXPECT_EQ(outcome.filesChanged, 1) << s(log.lines.join('\n'));
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(after.value(it.key() + ".backup"), it.value()) << s(it.key());
    EXPECT_NE(after["p0001.djvu"], before["p0001.djvu"]);
}

TEST_F(FixPassTest, AToolThatTruncatesAPageFileLeavesTheIndirectSetByteForByte)
{
    // Saves as the real tool does, then empties the first page file and still exits 0.
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("bin");
    const QString fake = exe.path() + "/bin/djvused";
    {
        QFile f(fake);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n\"" + QStandardPaths::findExecutable("djvused").toUtf8() +
                "\" \"$@\" || exit $?\n"
                "case \" $* \" in *\" -f \"*) : > \"$(dirname \"$1\")/p0001.djvu\";; esac\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
    exeFolder = exe.path();
    const QString index = indirectBook();
    ASSERT_FALSE(index.isEmpty());
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);

    const PassOutcome outcome = run({index});

    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("header")) << s(messages.messages[0].text);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}
