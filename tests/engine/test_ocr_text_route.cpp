// The text layer read as djvused prints it and saved with set-txt: the edited words change and
// nothing else of the book does, on bundled and indirect books.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"
#include "tools/Sinks.h"
#include "tools/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kOutline =
    "(bookmarks (\"Первая\" \"#1\") (\"Вторая\" \"#3\" (\"Вложенная\" \"#4\")))";

// Every part of the book that the text must not touch, and the text of each page.
struct BookState
{
    QStringList pageTexts;
    QString annotations;
    QString outline;
    QString listing; // page names and titles
};

BookState stateOf(const QString& book, int pages)
{
    BookState state;
    for (int n = 1; n <= pages; ++n)
        state.pageTexts << DjvuFixture::djvused(book,
                                                QStringLiteral("select %1; print-txt").arg(n));
    state.annotations = DjvuFixture::djvused(book, "output-ant");
    state.outline = DjvuFixture::djvused(book, "print-outline");
    state.listing = DjvuFixture::djvused(book, "ls");
    return state;
}

class OcrTextRoute : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    RecordingMessageSink messages;
    QList<FixturePage> pages;
    static constexpr int kPages = 4;

    void SetUp() override
    {
        pages = QList<FixturePage>(kPages);
        pages[0].lines << FixtureLine::layout(200, 3000, {"Содержание"});
        pages[0].title = "i";
        pages[0].annotations = "(maparea \"#3\" \"к главе\" (rect 200 3000 400 40) (xor))";
        pages[1].lines << FixtureLine::layout(300, 2500, {"first", "wrods", "here"})
                       << FixtureLine::layout(300, 2400, {"second", "line"});
        pages[1].title = "ii";
        pages[1].annotations = "(maparea \"#1\" \"\" (oval 100 100 300 80) (border #FF0000))";
        pages[2].hasText = false;
        pages[3].lines << FixtureLine::layout(200, 3000, {"Глава", "1"});
    }

    QString buildBundled()
    {
        const QString book = dir.filePath("книга с пробелом.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
        EXPECT_TRUE(DjvuFixture::setOutline(book, kOutline, &error)) << error.toStdString();
        return book;
    }

    QString buildIndirect()
    {
        QDir().mkpath(dir.filePath("set"));
        const QString index = dir.filePath("set/index.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::buildIndirect(index, pages, &error)) << error.toStdString();
        EXPECT_TRUE(DjvuFixture::setOutline(index, kOutline, &error)) << error.toStdString();
        return index;
    }

    // Reads the book on the djvused route, corrects "wrods" on page 2 and saves.
    OcrTextLayer::SaveOutcome correctPageTwo(const QString& exeFolder, const QString& book)
    {
        ToolRunner tools(exeFolder, work.path(), &messages, "Ошибка !!!");
        OcrTextLayer layer(tools);
        OcrDocument document;
        EXPECT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
        EXPECT_EQ(document.format(), OcrDocument::Format::Djvused);
        QString error;
        EXPECT_TRUE(document.writeBack(2, {"first words here", "second line"}, &error));
        const OcrTextLayer::SaveOutcome outcome = layer.save(document, book);
        lastError = layer.error();
        return outcome;
    }
    QString lastError;
};

TEST_F(OcrTextRoute, SavingOnePageLeavesTheOtherPagesAnnotationsOutlineAndTitlesAsTheyWere)
{
    const QString book = buildBundled();
    const BookState before = stateOf(book, kPages);
    ASSERT_EQ(correctPageTwo(TOCSMITH_OUT_DIR, book), OcrTextLayer::SaveOutcome::Saved)
        << lastError.toStdString();
    const BookState after = stateOf(book, kPages);

    for (int n : {0, 2, 3})
        EXPECT_EQ(after.pageTexts[n], before.pageTexts[n]) << "page " << n + 1;
    // Page 2 differs in the corrected word alone: every box and every other word stays.
    QString expected = before.pageTexts[1];
    expected.replace("\"wrods\"", "\"words\"");
    EXPECT_NE(expected, before.pageTexts[1]);
    EXPECT_EQ(after.pageTexts[1], expected);
    EXPECT_EQ(after.annotations, before.annotations);
    EXPECT_EQ(after.outline, before.outline);
    EXPECT_EQ(after.listing, before.listing);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(OcrTextRoute, OnAnIndirectBookOnlyTheEditedPagesFileChanges)
{
    const QString index = buildIndirect();
    const QMap<QString, QByteArray> files = DjvuFixture::readFolder(dir.filePath("set"));
    const BookState before = stateOf(index, kPages);
    ASSERT_EQ(correctPageTwo(TOCSMITH_OUT_DIR, index), OcrTextLayer::SaveOutcome::Saved)
        << lastError.toStdString();
    const QMap<QString, QByteArray> now = DjvuFixture::readFolder(dir.filePath("set"));
    EXPECT_EQ(now.keys(), files.keys()); // nothing left behind
    for (const QString& name : files.keys())
        if (name != "p0002.djvu" && name != "index.djvu")
            EXPECT_EQ(now[name], files[name]) << name.toStdString();
    EXPECT_NE(now["p0002.djvu"], files["p0002.djvu"]);
    const BookState after = stateOf(index, kPages);
    EXPECT_EQ(after.annotations, before.annotations);
    EXPECT_EQ(after.outline, before.outline);
    EXPECT_EQ(after.listing, before.listing);
    EXPECT_TRUE(after.pageTexts[1].contains("\"words\""));
}

TEST_F(OcrTextRoute, WordsOutsideAsciiQuotesAndBackslashesGoBackAsTyped)
{
    const QString book = buildBundled();
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages, "Ошибка !!!");
    OcrTextLayer layer(tools);
    OcrDocument document;
    ASSERT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
    QString error;
    const QString line = QString::fromUtf8("«Жёлтый» \"q\\b\" 𝔘");
    ASSERT_TRUE(document.writeBack(2, {line, "second line"}, &error)) << error.toStdString();
    ASSERT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Saved)
        << layer.error().toStdString();

    OcrDocument again;
    ASSERT_TRUE(layer.dump(book, again));
    EXPECT_EQ(again.page(2).lines, (QStringList{line, "second line"}));
    EXPECT_EQ(again.page(4).lines, QStringList{"Глава 1"});
    EXPECT_FALSE(again.page(3).hasWords());
}

TEST_F(OcrTextRoute, AFailingSaveLeavesEveryFileOfAnIndirectBookByteForByte)
{
    const QString index = buildIndirect();
    const QMap<QString, QByteArray> files = DjvuFixture::readFolder(dir.filePath("set"));
    // A djvused that does its saving work on the working copy, then fails.
    QTemporaryDir fake;
    QDir(fake.path()).mkpath("bin");
    const QString script = fake.filePath("bin/djvused");
    const QString real = QStandardPaths::findExecutable("djvused");
    ASSERT_TRUE(DjvuFixture::writeAll(
        script, ("#!/bin/sh\n\"" + real +
                 "\" \"$@\" || exit $?\nfor a in \"$@\"; do [ \"$a\" = -s ] && "
                 "{ echo 'cannot save' >&2; exit 10; }; done\nexit 0\n")
                    .toUtf8()));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    EXPECT_EQ(correctPageTwo(fake.path(), index), OcrTextLayer::SaveOutcome::Failed);
    EXPECT_EQ(lastError, "cannot save");
    EXPECT_EQ(DjvuFixture::readFolder(dir.filePath("set")), files);
}

TEST_F(OcrTextRoute, ADjvusedThatDoesNotNameThePagesLeavesTheReadingToTheXmlRoute)
{
    const QString book = buildBundled();
    // Older releases print no "# page N" after a selection: the blocks cannot be placed.
    QTemporaryDir fake;
    QDir(fake.path()).mkpath("bin");
    const QString script = fake.filePath("bin/djvused");
    const QString real = QStandardPaths::findExecutable("djvused");
    ASSERT_TRUE(DjvuFixture::writeAll(
        script, ("#!/bin/sh\n\"" + real + "\" \"$@\" | sed 's/ # page [0-9]*$//'\n").toUtf8()));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    ToolRunner tools(fake.path(), work.path(), &messages, "Ошибка !!!");
    OcrTextLayer layer(tools);
    OcrDocument document;
    ASSERT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
    EXPECT_EQ(document.format(), OcrDocument::Format::Xml);
    EXPECT_EQ(document.pageCount(), kPages);
    EXPECT_EQ(document.page(2).lines, (QStringList{"first wrods here", "second line"}));
}

TEST_F(OcrTextRoute, TheFirstPageAloneReadsWithTheBooksPageCount)
{
    const QString book = buildBundled();
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages, "Ошибка !!!");
    OcrTextLayer layer(tools);
    OcrDocument first;
    int count = 0;
    ASSERT_TRUE(layer.dumpPage(book, 2, first, &count)) << layer.error().toStdString();
    EXPECT_EQ(count, kPages);
    EXPECT_EQ(first.pageCount(), 1);
    EXPECT_EQ(first.page(1).lines, (QStringList{"first wrods here", "second line"}));
    EXPECT_FALSE(layer.dumpPage(book, kPages + 1, first, &count));
}

TEST_F(OcrTextRoute, BothRoutesExportTheSameTextAndImportTheSameWords)
{
    const QString book = buildBundled();
    const CliRun fast = runCli({"ocr-export", book});
    const CliRun xml = runCli({"ocr-export", book, "--route", "xml"});
    ASSERT_EQ(fast.status, 0) << fast.err.toStdString();
    ASSERT_EQ(xml.status, 0) << xml.err.toStdString();
    EXPECT_EQ(fast.out, xml.out);
    EXPECT_TRUE(fast.out.contains("first wrods here\nsecond line\n"));
    EXPECT_EQ(runCli({"ocr-export", book, "--route", "fast"}).status, 2);

    const QString text = dir.filePath("fixed.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(text, QString(fast.out).replace("wrods", "words").toUtf8()));
    const CliRun imported = runCli({"ocr-import", "--route", "xml", book, text});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(runCli({"ocr-export", book}).out, QString(fast.out).replace("wrods", "words"));
    EXPECT_EQ(runCli({"ocr-import", book, text, "--route"}).status, 2);
}

} // namespace
