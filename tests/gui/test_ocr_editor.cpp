// The OCR editor window driven offscreen with the real tools on fixture books.
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ui/ocr/Unit5.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The words of one page as djvused prints them, without their boxes.
QStringList wordsOf(const QString& book, int page)
{
    static const QRegularExpression word(
        QStringLiteral("\\(word \\d+ \\d+ \\d+ \\d+ \"([^\"]*)\"\\)"));
    QStringList words;
    auto it = word.globalMatch(
        DjvuFixture::djvused(book, QStringLiteral("select %1; output-txt").arg(page)));
    while (it.hasNext())
        words << it.next().captured(1);
    return words;
}

class OcrEditorTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    QString book;
    RecordingMessageSink toolMessages;
    std::unique_ptr<ToolRunner> tools;
    MessageTexts texts;
    TForm5 form;
    QList<RecordingMessageSink::Message> shown;

    void SetUp() override
    {
        book = dir.filePath("Моя книга.djvu");
        QList<FixturePage> pages(3);
        pages[0].lines << FixtureLine::layout(200, 3000, {"abc", "def"})
                       << FixtureLine::layout(200, 2900, {"ghi"});
        pages[1].lines << FixtureLine{} << FixtureLine::layout(200, 2800, {"Ωμέγα", "číslo"})
                       << FixtureLine{};
        pages[2].hasText = false;
        pages[0].annotations = "(maparea \"#p0002.djvu\" \"\" (rect 200 3000 100 40) (xor))";
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
        tools = std::make_unique<ToolRunner>(TOCSMITH_OUT_DIR, work.path(), &toolMessages);
        form.setMessageShower([this](const QString& text, const QString& caption) {
            shown.append({text, caption});
        });
        form.setCloseQuestion([] {
            ADD_FAILURE() << "nothing unsaved, yet closing asked";
            return TForm5::CloseAnswer::Stay;
        });
    }

    // Opens the book and waits until every page is read.
    void load()
    {
        ASSERT_TRUE(form.loadDocument(book, *tools, texts));
        waitUntilLoaded();
    }
    void waitUntilLoaded()
    {
        while (form.isLoading())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QPlainTextEdit* pane() { return form.textPane(); }
    QString paneText() { return pane()->toPlainText(); }
    void caretAt(int line, int column)
    {
        QTextCursor c(pane()->document()->findBlockByNumber(line));
        c.setPosition(c.position() + column);
        pane()->setTextCursor(c);
    }
    void type(const QString& text) { QTest::keyClicks(pane(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(pane(), k, m); }
    void selectPage(int number) { form.pageSelector()->setCurrentIndex(number - 1); }
};

TEST_F(OcrEditorTest, OpeningShowsPageOneWithItsCountsAndTheBuiltInCaptions)
{
    load();
    EXPECT_EQ(form.windowTitle(), "Редактор OCR");
    EXPECT_EQ(form.saveButton()->text(), "Сохранить DjVu");
    EXPECT_EQ(form.pageSelector()->count(), 3);
    EXPECT_EQ(form.pageSelector()->itemText(0), "1/3");
    EXPECT_EQ(form.pageSelector()->itemText(2), "3/3");
    EXPECT_EQ(paneText(), "abc def\nghi");
    EXPECT_EQ(form.statusText(), "Строк = 2; Слов = 3.");
    EXPECT_EQ(pane()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(OcrEditorTest, LanguageCaptionsReplaceTheBuiltInOnes)
{
    texts.setText("cap", "OCR editor");
    texts.setText("b1", "Save DjVu");
    texts.setText("st2", "Lines");
    texts.setText("st3", "Words");
    load();
    EXPECT_EQ(form.windowTitle(), "OCR editor");
    EXPECT_EQ(form.saveButton()->text(), "Save DjVu");
    EXPECT_EQ(form.statusText(), "Lines = 2; Words = 3.");
}

TEST_F(OcrEditorTest, LettersAndSpacesMayChangeButLinesMayNot)
{
    load();
    caretAt(0, 3);
    key(Qt::Key_Backspace);
    type("x");
    EXPECT_EQ(paneText(), "abx def\nghi"); // a replaced letter is kept

    caretAt(0, 5);
    type(" ");
    EXPECT_EQ(paneText(), "abx d ef\nghi"); // a space inside a word splits it
    key(Qt::Key_Backspace);
    EXPECT_EQ(paneText(), "abx def\nghi"); // and taking it out joins the words again

    caretAt(0, 7);
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(paneText(), "abx def\nghi"); // Enter does nothing

    key(Qt::Key_Delete); // joining the line below would lose a text line
    EXPECT_EQ(paneText(), "abx def\nghi");
    pane()->insertPlainText("x\ny");
    EXPECT_EQ(paneText(), "abx def\nghi");
}

TEST_F(OcrEditorTest, ASplitWordIsSavedWithItsBoxDividedAndAnEmptyWordIsRefusedFirst)
{
    // "abc" lies at 200-272 and "def" at 292-364 on page 1.
    const QByteArray bytes = DjvuFixture::readAll(book);
    load();
    ASSERT_TRUE(form.save());
    EXPECT_EQ(form.statusText(), "Nothing to save."); // no false "Saved"
    caretAt(1, 3);
    type(" ");
    EXPECT_FALSE(form.save());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.contains("line 2")) << shown[0].text.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
    EXPECT_EQ(paneText(), "abc def\nghi "); // kept as typed, to be mended
    key(Qt::Key_Backspace);

    caretAt(0, 1);
    type(" ");
    ASSERT_TRUE(form.save()) << shown.last().text.toStdString();
    const QString text = DjvuFixture::djvused(book, "select 1; print-txt");
    EXPECT_TRUE(text.contains("(word 200 3000 224 3040 \"a\")")) << text.toStdString();
    EXPECT_TRUE(text.contains("(word 224 3000 272 3040 \"bc\")")) << text.toStdString();
    EXPECT_TRUE(text.contains("(word 292 3000 364 3040 \"def\")")) << text.toStdString();
}

TEST_F(OcrEditorTest, PagesKeepTheirEditsAndEmptyTextLinesStayEmpty)
{
    load();
    caretAt(0, 0);
    type("X");
    selectPage(2);
    EXPECT_EQ(form.currentPage(), 2);
    EXPECT_EQ(paneText(), "\nΩμέγα číslo\n");
    EXPECT_EQ(form.statusText(), "Строк = 3; Слов = 2.");
    caretAt(0, 0);
    type("z");
    EXPECT_EQ(paneText(), "\nΩμέγα číslo\n"); // no word to take the letters
    selectPage(3);
    EXPECT_EQ(paneText(), "");
    EXPECT_TRUE(pane()->isReadOnly());
    EXPECT_EQ(form.statusText(), "На странице нет текста");
    selectPage(1);
    EXPECT_EQ(paneText(), "Xabc def\nghi");
    EXPECT_FALSE(pane()->isReadOnly());
}

TEST_F(OcrEditorTest, SavingWritesEveryEditedPageIntoTheDocumentAndKeepsTheLinks)
{
    const QString antBefore = DjvuFixture::djvused(book, "output-ant");
    load();
    caretAt(0, 3);
    type("c");
    selectPage(2);
    caretAt(1, 5);
    key(Qt::Key_Backspace);
    type("a");
    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(wordsOf(book, 1).first(), DjvuFixture::quote("abcc").mid(1).chopped(1));
    EXPECT_EQ(wordsOf(book, 2).first(), DjvuFixture::quote("Ωμέγa").mid(1).chopped(1));
    EXPECT_EQ(DjvuFixture::djvused(book, "output-ant"), antBefore);
    EXPECT_EQ(form.statusText(), "Saved: " + book); // the save says it saved
    EXPECT_EQ(paneText(), "\nΩμέγa číslo\n");
    form.show();
    form.close(); // saved: closing asks nothing
    EXPECT_FALSE(form.isVisible());
}

TEST_F(OcrEditorTest, ABookChangedSinceItWasReadIsNotWrittenOverAndMayBeReadAgain)
{
    load();
    caretAt(0, 3);
    type("c");
    // Another program changes the book while the editor has it open.
    QString error;
    ASSERT_TRUE(DjvuFixture::applyScript(book, "select 1\nset-page-title \"Theirs\"\n", &error));
    const QByteArray theirs = DjvuFixture::readAll(book);
    QStringList asked;
    bool reload = false;
    form.setReloadQuestion([&](const QString& text) {
        asked << text;
        return reload;
    });

    EXPECT_FALSE(form.save());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QDir::toNativeSeparators(book))) << asked[0].toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book), theirs);
    EXPECT_EQ(paneText(), "abcc def\nghi"); // the edit stays for the user to decide

    reload = true;
    EXPECT_FALSE(form.save());
    waitUntilLoaded();
    EXPECT_EQ(DjvuFixture::readAll(book), theirs);
    EXPECT_EQ(paneText(), "abc def\nghi");

    // Read again, the book saves as usual, and the other change stays in it.
    caretAt(0, 3);
    type("d");
    EXPECT_TRUE(form.save());
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(wordsOf(book, 1).first(), "abcd");
    EXPECT_TRUE(DjvuFixture::djvused(book, "ls").contains("Theirs"));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(OcrEditorTest, ClosingWithUnsavedChangesAsksToSaveDiscardOrStay)
{
    const QByteArray bytes = DjvuFixture::readAll(book);
    load();
    form.show();
    caretAt(1, 0);
    type("G");
    int asked = 0;
    TForm5::CloseAnswer answer = TForm5::CloseAnswer::Stay;
    form.setCloseQuestion([&] {
        ++asked;
        return answer;
    });
    form.close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(paneText(), "abc def\nGghi"); // staying keeps the edit in the pane

    answer = TForm5::CloseAnswer::Save;
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(wordsOf(book, 1).last(), "Gghi");
    EXPECT_NE(DjvuFixture::readAll(book), bytes);

    const QByteArray saved = DjvuFixture::readAll(book);
    load();
    form.show();
    caretAt(0, 0);
    type("Z");
    answer = TForm5::CloseAnswer::Discard;
    form.close();
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(DjvuFixture::readAll(book), saved);
}

TEST_F(OcrEditorTest, AFailingParserIsShownInItsOwnWordsAndTheDocumentStays)
{
    QTemporaryDir fakeExe;
    QDir(fakeExe.path()).mkpath("bin");
    const QString fake = fakeExe.filePath("bin/djvused");
    QFile script(fake);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // The saving run fails; the others are the real tool's.
    script.write("#!/bin/sh\nfor a in \"$@\"; do [ \"$a\" = -s ] && "
                 "{ echo 'Cannot write the output file' >&2; exit 1; }; done\nexec djvused "
                 "\"$@\"\n");
    script.close();
    QFile::setPermissions(fake, QFile::permissions(fake) | QFile::ExeOwner);
    tools = std::make_unique<ToolRunner>(fakeExe.path(), work.path(), &toolMessages);

    const QByteArray bytes = DjvuFixture::readAll(book);
    load();
    caretAt(0, 0);
    type("Q");
    QTest::mouseClick(form.saveButton(), Qt::LeftButton);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "Cannot write the output file");
    EXPECT_EQ(shown[0].caption, "Ошибка !!!");
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
    EXPECT_EQ(paneText(), "Qabc def\nghi");
}

TEST_F(OcrEditorTest, SavingRunsOffTheWindowsThreadWhichKeepsServingEvents)
{
    // The parser waits until the window's thread opens its gate: a save that blocked that
    // thread would find the gate shut and fail.
    QTemporaryDir fakeExe;
    const QString begun = fakeExe.filePath("begun");
    const QString gate = fakeExe.filePath("go");
    ASSERT_TRUE(DjvuFixture::writeSleepingTool(fakeExe.path(), "djvused", "-s", begun, gate));
    tools = std::make_unique<ToolRunner>(fakeExe.path(), work.path(), &toolMessages);
    load();
    caretAt(0, 0);
    type("Q");
    QString statusWhileSaving;
    bool enabledWhileSaving = true;
    QTimer opener;
    QObject::connect(&opener, &QTimer::timeout, [&] {
        if (!QFile::exists(begun) || QFile::exists(gate))
            return;
        statusWhileSaving = form.statusText();
        enabledWhileSaving = form.isEnabled();
        DjvuFixture::writeAll(gate, "go");
    });
    opener.start(5);
    EXPECT_TRUE(form.save());
    EXPECT_TRUE(shown.isEmpty()) << shown.value(0).text.toStdString();
    EXPECT_EQ(statusWhileSaving, texts.text("st4"));
    EXPECT_FALSE(enabledWhileSaving);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(wordsOf(book, 1), QStringList({"Qabc", "def", "ghi"}));
}

TEST_F(OcrEditorTest, OpenDocumentLogsDumpsAndShowsTheEditorModally)
{
    RecordingLogSink log;
    log.lines << "old line";
    bool ran = false;
    QTimer poll; // the log line lets events through before the editor shows
    QObject::connect(&poll, &QTimer::timeout, &form, [&] {
        if (!form.isVisible() || ran)
            return;
        ran = form.isModal();
        caretAt(0, 1);
        type("!");
        QTest::mouseClick(form.saveButton(), Qt::LeftButton);
        form.close();
    });
    poll.start(10);
    form.openDocument(book, *tools, texts, log);
    EXPECT_TRUE(ran);
    // The loading line gets its " OK" once the editor has loaded.
    EXPECT_EQ(log.lines, QStringList{"Получение текстового слоя. Подождите... OK"});
    EXPECT_EQ(wordsOf(book, 1).first(), "a!bc");
    EXPECT_TRUE(QFile::exists(QDir(work.path()).filePath("02.dsed")));
}

TEST_F(OcrEditorTest, ADocumentThatCannotBeReadIsReportedAndTheEditorStaysClosed)
{
    QTimer guard; // should the editor open anyway, do not hang the test
    QObject::connect(&guard, &QTimer::timeout, &form, [&] { form.done(0); });
    guard.start(5000);
    RecordingLogSink log;
    const QString notDjvu = dir.filePath("не книга.djvu");
    QFile f(notDjvu);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("text");
    f.close();
    form.openDocument(notDjvu, *tools, texts, log);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].caption, "Ошибка !!!");
    EXPECT_FALSE(shown[0].text.isEmpty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(log.lines.first(), "Получение текстового слоя. Подождите...");
}

// ---- The first page shows at once; the rest loads in the background

class OcrEditorLoadingTest : public OcrEditorTest
{
protected:
    QTemporaryDir fakeExe;
    QString begun, gate;

    // The reading of the whole text layer (its one djvused run) waits at a gate the test opens.
    void SetUp() override
    {
        OcrEditorTest::SetUp();
        begun = fakeExe.filePath("begun");
        gate = fakeExe.filePath("go");
        ASSERT_TRUE(DjvuFixture::writeSleepingTool(fakeExe.path(), "djvused", "n; output-txt",
                                                   begun, gate));
        tools = std::make_unique<ToolRunner>(fakeExe.path(), work.path(), &toolMessages);
        ASSERT_TRUE(form.loadDocument(book, *tools, texts));
    }
};

TEST_F(OcrEditorLoadingTest, PagesChosenWhileLoadingShowOnceReadAndPageOneKeepsItsEdits)
{
    EXPECT_TRUE(form.isLoading());
    EXPECT_EQ(form.pageSelector()->count(), 3);
    EXPECT_EQ(paneText(), "abc def\nghi");
    caretAt(0, 0);
    type("Q");
    selectPage(2);
    EXPECT_EQ(form.currentPage(), 2);
    EXPECT_TRUE(paneText().isEmpty());
    EXPECT_TRUE(pane()->isReadOnly());
    selectPage(1);
    EXPECT_EQ(paneText(), "Qabc def\nghi"); // the edit went with page 1
    selectPage(2);
    ASSERT_GT(DjvuFixture::waitForMarker(begun), 0);
    ASSERT_TRUE(DjvuFixture::writeAll(gate, "go"));
    waitUntilLoaded();

    EXPECT_EQ(form.currentPage(), 2);
    EXPECT_EQ(paneText(), "\nΩμέγα číslo\n");
    EXPECT_FALSE(pane()->isReadOnly());
    selectPage(1);
    EXPECT_EQ(paneText(), "Qabc def\nghi");
    EXPECT_TRUE(form.save());
    EXPECT_TRUE(shown.isEmpty()) << shown.value(0).text.toStdString();
    EXPECT_EQ(wordsOf(book, 1), QStringList({"Qabc", "def", "ghi"}));
}

TEST_F(OcrEditorLoadingTest, ClosingWhileLoadingStopsTheReadingAndLeavesTheBook)
{
    const QByteArray bytes = DjvuFixture::readAll(book);
    const qint64 reader = DjvuFixture::waitForMarker(begun);
    ASSERT_GT(reader, 0);
    selectPage(3);
    form.show();
    form.close();
    EXPECT_FALSE(form.isLoading());
    EXPECT_FALSE(DjvuFixture::processAlive(reader));
    EXPECT_EQ(form.pageSelector()->count(), 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(DjvuFixture::readAll(book), bytes);
}

TEST_F(OcrEditorLoadingTest, SavingWhileLoadingWritesPageOneAndReadsTheRestAgain)
{
    caretAt(1, 0);
    type("Z");
    ASSERT_GT(DjvuFixture::waitForMarker(begun), 0);
    QFile::remove(begun);
    ASSERT_TRUE(DjvuFixture::writeAll(gate, "go")); // the second reading goes straight on
    EXPECT_TRUE(form.save());
    EXPECT_TRUE(shown.isEmpty()) << shown.value(0).text.toStdString();
    EXPECT_EQ(wordsOf(book, 1), QStringList({"abc", "def", "Zghi"}));
    waitUntilLoaded();
    selectPage(2);
    EXPECT_EQ(paneText(), "\nΩμέγα číslo\n");
    selectPage(1);
    EXPECT_EQ(paneText(), "abc def\nZghi");
    form.setCloseQuestion([] {
        ADD_FAILURE() << "the edit was saved, yet closing asked";
        return TForm5::CloseAnswer::Stay;
    });
    form.close();
}

} // namespace
