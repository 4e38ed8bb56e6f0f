// The OCR text layer through the real tools: the ocr-export / ocr-import commands and the
// engine's saving, on small books built by the fixture.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

CliRun cli(const QStringList& args)
{
    return runCli(args);
}

// The words of one page as djvused prints them: "left bottom right top text" each.
QStringList wordsOf(const QString& book, int page)
{
    static const QRegularExpression word(
        QStringLiteral("\\(word (\\d+) (\\d+) (\\d+) (\\d+) \"((?:[^\"\\\\]|\\\\.)*)\"\\)"));
    QStringList words;
    const QString txt =
        DjvuFixture::djvused(book, QStringLiteral("select %1; output-txt").arg(page));
    auto it = word.globalMatch(txt);
    while (it.hasNext()) {
        const auto m = it.next();
        words << QStringList{m.captured(1), m.captured(2), m.captured(3), m.captured(4),
                             m.captured(5)}
                     .join(u' ');
    }
    return words;
}

// A word as djvused prints it between its quotes.
QString escaped(const QString& word)
{
    return DjvuFixture::quote(word).mid(1).chopped(1);
}

void writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

class OcrRoundTrip : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString folder;
    QString book;
    static constexpr int kPages = 6;

    void SetUp() override
    {
        folder = dir.filePath("Папка с пробелом");
        QDir().mkpath(folder);
        book = folder + "/Книга 1 & #2.djvu";
        QList<FixturePage> pages(kPages);
        pages[0].lines << FixtureLine::layout(200, 3200, {"Содержание"})
                       << FixtureLine::layout(200, 3100, {"Глава", "1", "5"})
                       << FixtureLine::layout(200, 3000, {"Глава", "2", "9"});
        pages[0].annotations = "(maparea \"#p0005.djvu\" \"\" (rect 200 3100 400 40) (xor))\n"
                               "(maparea \"#p0006.djvu\" \"\" (rect 200 3000 400 40) (xor))";
        pages[1].lines << FixtureLine{} << FixtureLine::layout(300, 2500, {"first", "words"})
                       << FixtureLine{} << FixtureLine::layout(300, 2300, {"last"})
                       << FixtureLine{};
        pages[2].lines << FixtureLine::layout(200, 3000, {"a&b", "číslo", "αβγ"})
                       << FixtureLine::layout(200, 2900, {"<tag>", "end"});
        pages[2].annotations = "(maparea \"#p0001.djvu\" \"Назад\" (rect 100 100 300 80) (xor))";
        pages[3].hasText = false;
        pages[4].lines << FixtureLine::layout(200, 3000, {"Глава", "1"});
        pages[5].lines << FixtureLine::layout(200, 3000, {"Глава", "2"});
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
    }

    QString exportAll()
    {
        const CliRun run = cli({"ocr-export", book});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return run.out;
    }

    QStringList leftovers() const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(OcrRoundTrip, ExportPrintsEachPageUnderItsHeaderOneLinePerTextLine)
{
    EXPECT_EQ(exportAll(), "=== page 1/6 ===\n"
                           "Содержание\nГлава 1 5\nГлава 2 9\n"
                           "=== page 2/6 ===\n"
                           "\nfirst words\n\nlast\n\n"
                           "=== page 3/6 ===\n"
                           "a&b číslo αβγ\n<tag> end\n"
                           "=== page 4/6 ===\n"
                           "=== page 5/6 ===\n"
                           "Глава 1\n"
                           "=== page 6/6 ===\n"
                           "Глава 2\n");
    const CliRun some = cli({"ocr-export", book, "--pages", "5-6"});
    EXPECT_EQ(some.status, 0);
    EXPECT_EQ(some.out, "=== page 5/6 ===\nГлава 1\n=== page 6/6 ===\nГлава 2\n");
}

TEST_F(OcrRoundTrip, ImportingOneChangedWordChangesThatWordAloneAndNoHyperlink)
{
    QStringList before[kPages + 1];
    QString allBefore[kPages + 1];
    for (int p = 1; p <= kPages; ++p) {
        before[p] = wordsOf(book, p);
        allBefore[p] = DjvuFixture::djvused(book, QStringLiteral("select %1; output-all").arg(p));
    }
    const QString antBefore = DjvuFixture::djvused(book, "output-ant");
    ASSERT_TRUE(antBefore.contains(escaped("Назад"))); // the link on the page to be edited

    QString text = exportAll();
    text.replace("číslo", "čísla&<x>");
    writeFile(dir.filePath("fixed.txt"), text);
    const CliRun run = cli({"ocr-import", book, dir.filePath("fixed.txt")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Pages changed: 3")) << run.out.toStdString();

    QStringList expected = before[3];
    expected[1].replace(QRegularExpression(" \\S+$"), " " + escaped("čísla&<x>"));
    EXPECT_EQ(wordsOf(book, 3), expected);
    for (int p = 1; p <= kPages; ++p) {
        if (p != 3) {
            EXPECT_EQ(DjvuFixture::djvused(book, QStringLiteral("select %1; output-all").arg(p)),
                      allBefore[p])
                << "page " << p;
        }
    }
    EXPECT_EQ(DjvuFixture::djvused(book, "output-ant"), antBefore);
    // The document as it was is kept beside it (no --no-backup).
    EXPECT_EQ(leftovers(), (QStringList{"Книга 1 & #2.djvu", "Книга 1 & #2.djvu.backup"}));

    // The exported text now reads back the changed word.
    EXPECT_TRUE(exportAll().contains("a&b čísla&<x> αβγ\n"));
}

TEST_F(OcrRoundTrip, ImportingAnUnchangedExportLeavesTheDocumentByteForByte)
{
    const QByteArray bytes = DjvuFixture::readAll(book);
    writeFile(dir.filePath("same.txt"), exportAll());
    const CliRun run = cli({"ocr-import", book, dir.filePath("same.txt")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
}

TEST_F(OcrRoundTrip, AMismatchedImportIsRefusedNamingPageAndLineAndChangesNothing)
{
    const QByteArray bytes = DjvuFixture::readAll(book);
    QString text = exportAll();
    text.replace("číslo", "číslx");          // a good change on page 3 ...
    text.replace("Глава 2\n", "Глава 2 \n"); // ... and an empty word on page 6
    text.replace("\nfirst words\n\nlast\n\n", "\nfirst words\nlast\n\n"); // a lost line
    writeFile(dir.filePath("bad.txt"), text);
    const CliRun run = cli({"ocr-import", book, dir.filePath("bad.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("page 6, line 1")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("page 2")) << run.err.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);

    writeFile(dir.filePath("other.txt"), "=== page 1/7 ===\nСодержание\n");
    EXPECT_EQ(cli({"ocr-import", book, dir.filePath("other.txt")}).status, 1);
    writeFile(dir.filePath("none.txt"), "Содержание\n");
    EXPECT_EQ(cli({"ocr-import", book, dir.filePath("none.txt")}).status, 1);
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
}

TEST_F(OcrRoundTrip, ASubsetOfPagesCanBeImportedAlone)
{
    const CliRun some = cli({"ocr-export", book, "--pages", "5"});
    ASSERT_EQ(some.status, 0);
    writeFile(dir.filePath("five.txt"), QString(some.out).replace("Глава 1", "Раздел 1"));
    ASSERT_EQ(cli({"ocr-import", book, dir.filePath("five.txt")}).status, 0);
    EXPECT_TRUE(wordsOf(book, 5).first().endsWith(" " + escaped("Раздел")));
    EXPECT_TRUE(wordsOf(book, 6).first().endsWith(" " + escaped("Глава")));
}

TEST_F(OcrRoundTrip, CommandsAnswerUsageErrorsAndMissingFiles)
{
    EXPECT_EQ(cli({"ocr-export"}).status, 2);
    EXPECT_EQ(cli({"ocr-export", book, "--pages", "x"}).status, 2);
    EXPECT_EQ(cli({"ocr-export", book, "--pages", "3-9"}).status, 1);
    EXPECT_EQ(cli({"ocr-import", book}).status, 2);
    const CliRun help = cli({"ocr-import", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("ocr-import FILE.djvu TEXT"));
    const CliRun missing = cli({"ocr-export", dir.filePath("nothing.djvu")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("nothing.djvu"));
}

// ---- The engine's saving directly

class OcrSaveTest : public OcrRoundTrip
{
protected:
    QTemporaryDir work;
    RecordingMessageSink messages;
    QTemporaryDir fakeExe;

    // Puts a stand-in djvuxmlparser with this shell script into fakeExe's bin folder.
    void fakeParser(const QString& script)
    {
        QDir(fakeExe.path()).mkpath("bin");
        const QString fake = fakeExe.filePath("bin/djvuxmlparser");
        writeFile(fake, "#!/bin/sh\n" + script);
        QFile::setPermissions(fake, QFile::permissions(fake) | QFile::ExeOwner);
    }
    static QString realParser() { return QStandardPaths::findExecutable("djvuxmlparser"); }

    // Reads `path` through the XML route, whose saving runs djvuxmlparser, and renames the
    // chapter of page 5 to "Глава I".
    static void editChapter(OcrTextLayer& layer, const QString& path, OcrDocument& document)
    {
        layer.setRoute(OcrTextLayer::Route::Xml);
        ASSERT_TRUE(layer.dump(path, document)) << layer.error().toStdString();
        QString error;
        ASSERT_TRUE(document.writeBack(5, {"Глава I"}, &error));
    }
};

TEST_F(OcrSaveTest, EditsOnTwoPagesAreSavedTogetherAndASecondSaveAddsTheNext)
{
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    ASSERT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
    QString error;
    ASSERT_TRUE(document.writeBack(2, {"", "FIRST words", "", "last", ""}, &error));
    ASSERT_TRUE(document.writeBack(5, {"Глава I"}, &error));
    ASSERT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Saved)
        << layer.error().toStdString();
    EXPECT_TRUE(wordsOf(book, 2).first().endsWith(" FIRST"));
    EXPECT_TRUE(wordsOf(book, 5).last().endsWith(" I"));
    EXPECT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::NothingChanged);

    ASSERT_TRUE(document.writeBack(6, {"Глава II"}, &error));
    ASSERT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Saved);
    EXPECT_TRUE(wordsOf(book, 6).last().endsWith(" II"));
    EXPECT_TRUE(wordsOf(book, 2).first().endsWith(" FIRST"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(OcrSaveTest, ASinglePageDocumentIsSavedToo)
{
    const QString single = folder + "/одна страница.djvu";
    FixturePage page;
    page.lines << FixtureLine::layout(200, 3000, {"one", "page"});
    QString error;
    ASSERT_TRUE(DjvuFixture::build(single, {page}, &error, true)) << error.toStdString();
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    ASSERT_TRUE(layer.dump(single, document)) << layer.error().toStdString();
    ASSERT_EQ(document.pageCount(), 1);
    ASSERT_TRUE(document.writeBack(1, {"one PAGE"}, &error));
    ASSERT_EQ(layer.save(document, single), OcrTextLayer::SaveOutcome::Saved)
        << layer.error().toStdString();
    EXPECT_TRUE(wordsOf(single, 1).last().endsWith(" PAGE"));
}

TEST_F(OcrSaveTest, AFailingToolIsReportedInItsOwnWordsAndTheDocumentStaysAsItWas)
{
    // A parser that fails the way a real one does: words on stderr, non-zero status.
    fakeParser("echo 'Failed to open the document' >&2\nexit 10\n");
    const QByteArray bytes = DjvuFixture::readAll(book);
    ToolRunner tools(fakeExe.path(), work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    editChapter(layer, book, document);
    EXPECT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Failed);
    EXPECT_EQ(layer.error(), "Failed to open the document");
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
    EXPECT_EQ(leftovers(), QStringList{"Книга 1 & #2.djvu"});
    EXPECT_TRUE(document.isModified()); // the edit is kept for another try
}

TEST_F(OcrSaveTest, APageTheParserLeftUnwrittenIsTriedOnceMoreThenReported)
{
    // The first run of this parser exits cleanly having written nothing; later runs work.
    const QString marker = fakeExe.filePath("ran-once");
    fakeParser("if [ ! -e '" + marker + "' ]; then touch '" + marker + "'; exit 0; fi\nexec \"" +
               realParser() + "\" \"$@\"\n");
    ToolRunner tools(fakeExe.path(), work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    editChapter(layer, book, document);
    ASSERT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Saved)
        << layer.error().toStdString();
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_TRUE(wordsOf(book, 5).last().endsWith(" I"));
    EXPECT_EQ(leftovers(), QStringList{"Книга 1 & #2.djvu"});

    // A parser that never writes is a failure, not a save.
    fakeParser("exit 0\n");
    const QByteArray bytes = DjvuFixture::readAll(book);
    QString error;
    ASSERT_TRUE(document.writeBack(6, {"Глава II"}, &error));
    EXPECT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Failed);
    EXPECT_EQ(layer.error(), "djvuxmlparser finished without writing the text of page 6; the "
                             "document was left as it was.");
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
    EXPECT_EQ(leftovers(), QStringList{"Книга 1 & #2.djvu"});
    EXPECT_TRUE(document.isModified());
}

TEST_F(OcrSaveTest, ADumpFailureIsReportedInTheToolsOwnWords)
{
    const QString notDjvu = folder + "/не книга.djvu";
    writeFile(notDjvu, "plain text");
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    EXPECT_FALSE(layer.dump(notDjvu, document));
    EXPECT_FALSE(layer.error().isEmpty());
    EXPECT_FALSE(layer.errorShown());
}

class OcrIndirectTest : public OcrSaveTest
{
protected:
    QString index;
    QString pages;
    void SetUp() override
    {
        OcrSaveTest::SetUp();
        pages = dir.filePath("страницы книги");
        index = pages + "/Книга 1 & #2.djvu";
        QDir().mkpath(pages);
        QProcess p;
        p.start("djvmcvt", {"-i", book, pages, index});
        ASSERT_TRUE(p.waitForFinished(-1) && p.exitCode() == 0);
        ASSERT_GT(DjvuFixture::readFolder(pages).size(), kPages);
    }
};

TEST_F(OcrIndirectTest, ImportingAChangedWordRewritesThatPageFileAlone)
{
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(pages);
    const CliRun exported = cli({"ocr-export", index});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    QString text = exported.out;
    text.replace("číslo", "čísla");
    writeFile(dir.filePath("fixed.txt"), text);
    // No backup: the folder is to hold the book's own files alone.
    const CliRun run = cli({"ocr-import", "--no-backup", index, dir.filePath("fixed.txt")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(wordsOf(index, 3).at(1).endsWith(" " + escaped("čísla")));
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(pages);
    EXPECT_EQ(after.keys(), before.keys()); // nothing left behind
    for (const QString& name : before.keys()) {
        if (name != "p0003.djvu" && name != QFileInfo(index).fileName()) {
            EXPECT_EQ(after[name], before[name]) << name.toStdString();
        }
    }
    EXPECT_NE(after["p0003.djvu"], before["p0003.djvu"]);
}

TEST_F(OcrIndirectTest, AFailingToolLeavesEveryFileOfTheSetByteForByte)
{
    // A parser that does its work on the copies, then fails.
    fakeParser("\"" + realParser() + "\" \"$@\"\necho 'Failed to write' >&2\nexit 10\n");
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(pages);
    ToolRunner tools(fakeExe.path(), work.path(), &messages);
    OcrDocument document;
    OcrTextLayer layer(tools);
    editChapter(layer, index, document);
    EXPECT_EQ(layer.save(document, index), OcrTextLayer::SaveOutcome::Failed);
    EXPECT_EQ(layer.error(), "Failed to write");
    EXPECT_EQ(DjvuFixture::readFolder(pages), before);

    // The real tool then saves the kept edit.
    ToolRunner real(TOCSMITH_OUT_DIR, work.path(), &messages);
    OcrTextLayer again(real);
    ASSERT_EQ(again.save(document, index), OcrTextLayer::SaveOutcome::Saved)
        << again.error().toStdString();
    const QStringList words = wordsOf(index, 5);
    EXPECT_TRUE(!words.isEmpty() && words.last().endsWith(" I")) << words.join(u'|').toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(pages).keys(), before.keys());
}

} // namespace
