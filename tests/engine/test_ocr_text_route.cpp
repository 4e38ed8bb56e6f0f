// The text layer read as djvused prints it and saved with set-txt: the edited words change and
// nothing else of the book does, on bundled and indirect books.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/CancelToken.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

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
        ToolRunner tools(exeFolder, work.path(), &messages);
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

    // Writes <fake>/bin/djvused: the run that prints the whole text layer ("n; output-txt")
    // ends as `textRun` (shell lines after the real tool's output went to `$out`, a file);
    // every other run is the real tool's.
    void fakeTextRun(const QString& fake, const QByteArray& textRun)
    {
        QDir(fake).mkpath("bin");
        const QString script = QDir(fake).filePath("bin/djvused");
        const QByteArray real = QStandardPaths::findExecutable("djvused").toUtf8();
        ASSERT_TRUE(DjvuFixture::writeAll(
            script, "#!/bin/sh\nfor a in \"$@\"; do\n  if [ \"$a\" = 'n; output-txt' ]; then\n"
                    "    out=\"$0.out\"; \"" +
                        real + "\" \"$@\" > \"$out\" || exit 9\n    " + textRun +
                        "\n  fi\ndone\nexec \"" + real + "\" \"$@\"\n"));
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    }
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
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
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
    ToolRunner tools(fake.path(), work.path(), &messages);
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
    ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
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

TEST_F(OcrTextRoute, ATextRunCutShortOrEndingInAFailureLeavesTheDocumentAsItWas)
{
    const QString book = buildBundled();
    const QByteArray text = DjvuFixture::djvused(book, "n; output-txt").toUtf8();
    OcrDocument document;
    {
        ToolRunner real(TOCSMITH_OUT_DIR, work.path(), &messages);
        OcrTextLayer first(real); // holds the book until it goes
        ASSERT_TRUE(first.dump(book, document)) << first.error().toStdString();
    }
    const QByteArray before = document.text();

    // Cut inside a word, before a block's closing "." line, right after the page count; then
    // the whole text with a failing exit status.
    const QList<QPair<QByteArray, QString>> endings = {
        {"head -c " + QByteArray::number(text.indexOf("wrods") + 2) + " \"$out\"; exit 0",
         "cut short"},
        {"head -c " + QByteArray::number(text.lastIndexOf("\n.\n") + 1) + " \"$out\"; exit 0",
         "cut short"},
        {"head -c " + QByteArray::number(text.indexOf('\n') + 1) + " \"$out\"; exit 0",
         "cut short"},
        {"cat \"$out\"; echo 'no more' >&2; exit 1", "no more"},
    };
    for (const auto& [ending, said] : endings) {
        SCOPED_TRACE(ending.toStdString());
        QTemporaryDir fake;
        fakeTextRun(fake.path(), ending);
        ToolRunner tools(fake.path(), work.path(), &messages);
        OcrTextLayer layer(tools);
        EXPECT_FALSE(layer.dump(book, document));
        EXPECT_TRUE(layer.error().contains(said)) << layer.error().toStdString();
        EXPECT_EQ(document.text(), before);
        int count = 0;
        int handed = 0;
        EXPECT_FALSE(layer.readPages(
            book, [&handed](int, const OcrPageText&) { ++handed; }, &count));
    }
}

TEST_F(OcrTextRoute, ACancelWhileDjvusedPrintsTheTextKillsItAndNothingIsUsed)
{
    const QString book = buildBundled();
    // Prints the whole text, then says it is there and never ends.
    QTemporaryDir fake;
    const QString marker = QDir(fake.path()).filePath("printed");
    fakeTextRun(fake.path(), "cat \"$out\"; echo $$ > '" + marker.toUtf8() + ".part' && mv '" +
                                 marker.toUtf8() + ".part' '" + marker.toUtf8() +
                                 "'; exec sleep 600");
    CancelToken token;
    ToolRunner tools(fake.path(), work.path(), &messages);
    tools.setCancelToken(&token);
    OcrTextLayer layer(tools);
    OcrDocument document;
    bool read = true;
    std::thread reader([&] { read = layer.dump(book, document); });
    const qint64 pid = DjvuFixture::waitForMarker(marker);
    token.cancel();
    reader.join();
    EXPECT_FALSE(read);
    EXPECT_FALSE(DjvuFixture::processAlive(pid));
    EXPECT_EQ(document.pageCount(), 0);
}

TEST_F(OcrTextRoute, PagesHandedOnOneByOneShowAsInTheWholeDocument)
{
    const QString book = buildBundled();
    OcrDocument document;
    QMap<int, QStringList> handed;
    const auto keep = [&handed](int number, const OcrPageText& page) {
        handed[number] = page.lines;
    };
    int count = 0;
    {
        ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
        OcrTextLayer layer(tools); // holds the book until it goes
        ASSERT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
        ASSERT_EQ(document.pageCount(), kPages);
        ASSERT_TRUE(layer.readPages(book, keep, &count)) << layer.error().toStdString();
        EXPECT_EQ(count, kPages);
        EXPECT_FALSE(handed.contains(3)); // no text, no block
        for (int number : {1, 2, 4})
            EXPECT_EQ(handed.value(number), document.page(number).lines) << number;
        layer.setRoute(OcrTextLayer::Route::Xml);
        ASSERT_TRUE(layer.readPages(book, keep, &count)) << layer.error().toStdString();
        EXPECT_TRUE(handed.value(3).isEmpty());
        EXPECT_EQ(handed.size(), kPages);
    }

    // A djvused that does not name the pages: the XML route hands on every page.
    QTemporaryDir fake;
    fakeTextRun(fake.path(), "sed 's/ # page [0-9]*$//' \"$out\"; exit 0");
    ToolRunner older(fake.path(), work.path(), &messages);
    OcrTextLayer fallBack(older);
    handed.clear();
    ASSERT_TRUE(fallBack.readPages(book, keep, &count)) << fallBack.error().toStdString();
    EXPECT_EQ(count, kPages);
    EXPECT_EQ(handed.size(), kPages);
    for (int number = 1; number <= kPages; ++number)
        EXPECT_EQ(handed.value(number), document.page(number).lines) << number;
}

// A space typed into a word, or taken out between two, splits or joins them: the boxes of the
// words touched divide in proportion to the letters, or join. Page 2's first line is "first"
// 300-420, "wrods" 440-560, "here" 580-676.
struct SplitCase
{
    const char* name;
    enum
    {
        Djvused,
        Xml,
        Import // ocr-export, the line edited, ocr-import
    } way;
    QString typed;     // the line as edited
    QStringList boxes; // the line's words after saving, "left-right:word"
    QString refusal;   // part of the message when the line is refused and the book stays
};

class OcrWordSplit : public OcrTextRoute, public ::testing::WithParamInterface<SplitCase>
{
protected:
    QStringList lineOne(const QString& book)
    {
        static const QRegularExpression word(
            QStringLiteral("\\(word (\\d+) 2500 (\\d+) 2540 \"([^\"]*)\"\\)"));
        QStringList found;
        auto it = word.globalMatch(DjvuFixture::djvused(book, "select 2; print-txt"));
        while (it.hasNext()) {
            const auto m = it.next();
            found << m.captured(1) + "-" + m.captured(2) + ":" + m.captured(3);
        }
        return found;
    }
};

TEST_P(OcrWordSplit, DividesOrJoinsTheBoxesOrRefusesTheLine)
{
    const SplitCase& c = GetParam();
    const QString book = buildBundled();
    const QStringList before = lineOne(book);
    ASSERT_EQ(before, (QStringList{"300-420:first", "440-560:wrods", "580-676:here"}));
    QString refusal;
    if (c.way == SplitCase::Import) {
        const CliRun exported = runCli({"ocr-export", book});
        const QString text = dir.filePath("edited.txt");
        ASSERT_TRUE(DjvuFixture::writeAll(
            text, QString(exported.out).replace("first wrods here", c.typed).toUtf8()));
        const CliRun imported = runCli({"ocr-import", book, text});
        EXPECT_EQ(imported.status, c.refusal.isEmpty() ? 0 : 1) << imported.err.toStdString();
        refusal = imported.err;
    } else {
        ToolRunner tools(TOCSMITH_OUT_DIR, work.path(), &messages);
        OcrTextLayer layer(tools);
        layer.setRoute(c.way == SplitCase::Xml ? OcrTextLayer::Route::Xml
                                               : OcrTextLayer::Route::Djvused);
        OcrDocument document;
        ASSERT_TRUE(layer.dump(book, document)) << layer.error().toStdString();
        if (document.writeBack(2, {c.typed, "second line"}, &refusal))
            EXPECT_EQ(layer.save(document, book), OcrTextLayer::SaveOutcome::Saved)
                << layer.error().toStdString();
    }
    if (c.refusal.isEmpty()) {
        EXPECT_EQ(lineOne(book), c.boxes);
    } else {
        EXPECT_TRUE(refusal.contains(c.refusal)) << refusal.toStdString();
        EXPECT_EQ(lineOne(book), before);
    }
}

const QStringList kSplit{"300-420:first", "440-488:wr", "488-560:ods", "580-676:here"};
const QStringList kJoined{"300-560:firstwrods", "580-676:here"};

INSTANTIATE_TEST_SUITE_P(
    BothRoutesAndTheImport, OcrWordSplit,
    ::testing::Values(
        SplitCase{"SplitDjvused", SplitCase::Djvused, "first wr ods here", kSplit, {}},
        SplitCase{"SplitXml", SplitCase::Xml, "first wr ods here", kSplit, {}},
        SplitCase{"SplitImport", SplitCase::Import, "first wr ods here", kSplit, {}},
        SplitCase{"JoinDjvused", SplitCase::Djvused, "firstwrods here", kJoined, {}},
        SplitCase{"JoinXml", SplitCase::Xml, "firstwrods here", kJoined, {}},
        SplitCase{"EmptyWord", SplitCase::Djvused, "first  wrods here", {}, "would be empty"},
        SplitCase{"EmptyWordImport", SplitCase::Import, "first wrods here ", {}, "would be empty"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

} // namespace

TEST(OcrRoutes, AWordThatIsOnlyATabIsKeptOnEitherRoute)
{
    QTemporaryDir dir;
    FixturePage page;
    page.lines << FixtureLine::layout(200, 3000, {"Alpha", "\t", "Beta"});
    for (const char* route : {"djvused", "xml"}) {
        const QString book = dir.filePath(QStringLiteral("%1.djvu").arg(route));
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, {page}, &error)) << error.toStdString();
        const CliRun exported = runCli({"ocr-export", book, "--route", route});
        ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
        const QString text = dir.filePath("text.txt");
        ASSERT_TRUE(
            DjvuFixture::writeAll(text, QString(exported.out).replace("Alpha", "Gamma").toUtf8()));
        const CliRun imported = runCli({"ocr-import", book, text, "--route", route});
        ASSERT_EQ(imported.status, 0) << route << imported.err.toStdString();
        const QString words = DjvuFixture::djvused(book, "print-txt");
        EXPECT_TRUE(words.contains("\"Gamma\"") && words.contains("\"\\t\"") &&
                    words.contains("\"Beta\""))
            << route << "\n"
            << words.toStdString();
    }
}
