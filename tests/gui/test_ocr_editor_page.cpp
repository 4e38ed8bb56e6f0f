// The OCR editor's page image and its keys, offscreen with the real tools on a fixture book.
#include "DjvuFixture.h"
#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrDocument.h"
#include "ui/ocr/OcrSearch.h"
#include "ui/ocr/PageImageView.h"
#include "ui/ocr/Unit5.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

bool isOutlineRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

class OcrEditorPageTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    QString book;
    RecordingMessageSink toolMessages;
    std::unique_ptr<ToolRunner> tools;
    MessageTexts texts;
    TForm5 form;
    QStringList shown;

    void SetUp() override
    {
        book = dir.filePath("Книга с картинкой.djvu");
        QList<FixturePage> pages(3);
        pages[0].lines << FixtureLine::layout(200, 3000, {"abc", "def"})
                       << FixtureLine::layout(1200, 1500, {"ghi"});
        pages[1].lines << FixtureLine{} << FixtureLine::layout(200, 2800, {"Ωμέγα", "číslo"});
        pages[2].lines << FixtureLine::layout(200, 2000, {"tail", "číslo"});
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
        tools = std::make_unique<ToolRunner>(TOCSMITH_OUT_DIR, work.path(), &toolMessages);
        form.setMessageShower([this](const QString& text, const QString&) { shown << text; });
        form.setCloseQuestion([] { return TForm5::CloseAnswer::Discard; });
        ASSERT_TRUE(form.loadDocument(book, *tools, texts));
        while (form.isLoading()) // the pages after the first are read in the background
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        form.imageView()->waitForImage();
    }

    QPlainTextEdit* pane() { return form.textPane(); }
    void caretAt(int line, int column)
    {
        QTextCursor c(pane()->document()->findBlockByNumber(line));
        c.setPosition(c.position() + column);
        pane()->setTextCursor(c);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(pane(), k, m); }
    // The page's words as djvused prints them.
    QString layer(int page)
    {
        return DjvuFixture::djvused(book, QStringLiteral("select %1; output-txt").arg(page));
    }
};

TEST_F(OcrEditorPageTest, ThePageShowsBesideTheTextWithTheWordsOfTheCursorsLineOutlined)
{
    PageImageView* view = form.imageView();
    ASSERT_TRUE(view->hasImage()) << "ddjvu rendered nothing";
    const QImage image = view->shownImage();
    // The page is 2480 by 3508 pixels; it is rendered upright, fitted into the view's size.
    EXPECT_NEAR(double(image.height()) / image.width(), 3508.0 / 2480.0, 0.01);

    caretAt(0, 1);
    QList<QRect> boxes = view->outlinedOnImage();
    ASSERT_EQ(boxes.size(), 2); // "abc" and "def"
    // "abc" spans x 200..272 and, counted from the top, y 468..508 of the page.
    const double scale = double(image.width()) / 2480.0;
    EXPECT_NEAR(boxes[0].left(), 200 * scale, 2);
    EXPECT_NEAR(boxes[0].top(), 468 * scale, 2);
    EXPECT_NEAR(boxes[0].bottom(), 508 * scale, 2);
    EXPECT_LT(boxes[0].right(), boxes[1].left());
    const QImage outlined = view->shownImage();
    EXPECT_TRUE(isOutlineRed(outlined.pixel(boxes[0].left() - 2, boxes[0].center().y())));
    EXPECT_FALSE(isOutlineRed(outlined.pixel(int(1200 * scale), int((3508 - 1520) * scale))));

    caretAt(1, 0); // "ghi", far down the page
    boxes = view->outlinedOnImage();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_NEAR(boxes[0].left(), 1200 * scale, 2);
    EXPECT_NEAR(boxes[0].top(), (3508 - 1540) * scale, 2);

    const double before = view->zoom();
    view->zoomIn();
    EXPECT_GT(view->zoom(), before);
    EXPECT_GT(view->shownImage().width(), image.width());
    EXPECT_NEAR(view->outlinedOnImage()[0].left(), 1200 * scale * view->zoom() / before, 3);
}

TEST_F(OcrEditorPageTest, ControlPageKeysTurnThePagesAndTheImageFollows)
{
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form.currentPage(), 2);
    EXPECT_EQ(form.pageSelector()->currentIndex(), 1);
    form.imageView()->waitForImage();
    EXPECT_TRUE(form.imageView()->hasImage());
    caretAt(1, 0);
    EXPECT_EQ(form.imageView()->outlinedOnImage().size(), 2);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    key(Qt::Key_PageDown, Qt::ControlModifier); // past the last page: stays
    EXPECT_EQ(form.currentPage(), 3);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form.currentPage(), 1);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(OcrEditorPageTest, FindGoesAcrossPagesAndRoundToTheStart)
{
    ASSERT_TRUE(form.findNext("číslo"));
    EXPECT_EQ(form.currentPage(), 2);
    EXPECT_EQ(pane()->textCursor().selectedText(), "číslo");
    EXPECT_EQ(pane()->textCursor().blockNumber(), 1);
    ASSERT_TRUE(form.findNext("ČÍSLO")); // letter case aside
    EXPECT_EQ(form.currentPage(), 3);
    ASSERT_TRUE(form.findNext("abc"));
    EXPECT_EQ(form.currentPage(), 1);
    EXPECT_EQ(pane()->textCursor().selectionStart(), 0);
    EXPECT_FALSE(form.findNext("nowhere"));
    EXPECT_EQ(form.currentPage(), 1);

    key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(form.findField()->hasFocus() || !form.isVisible());
}

TEST_F(OcrEditorPageTest, ControlSSavesSaysSoKeepsTheCursorAndBacksUpWhenAsked)
{
    const QByteArray original = DjvuFixture::readAll(book);
    form.setBackup(true);
    caretAt(0, 2);
    key(Qt::Key_Backspace);
    QTest::keyClicks(pane(), "X");
    const int cursor = pane()->textCursor().position();
    key(Qt::Key_S, Qt::ControlModifier);

    EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
    EXPECT_TRUE(layer(1).contains("\"aXc\"")) << layer(1).toStdString();
    EXPECT_EQ(pane()->textCursor().position(), cursor);
    EXPECT_TRUE(form.statusText().contains(book)) << form.statusText().toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), original);

    // A second save keeps the backup of the document as the user had it.
    caretAt(0, 0);
    key(Qt::Key_Delete);
    QTest::keyClicks(pane(), "Y");
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(layer(1).contains("\"YXc\"")) << layer(1).toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), original);
}

TEST_F(OcrEditorPageTest, WithoutTheBackupOptionNoCopyIsMade)
{
    caretAt(1, 0);
    key(Qt::Key_Delete);
    QTest::keyClicks(pane(), "G");
    ASSERT_TRUE(form.save());
    EXPECT_TRUE(layer(1).contains("\"Ghi\""));
    EXPECT_FALSE(QFile::exists(book + ".backup"));
}

// "Recognise this page" on a printed page without a text layer, beside a page with words.
class OcrEditorRecogniseTest : public OcrEditorPageTest
{
protected:
    const QStringList printed = {"CONTENTS", "1 Introduction 5", "2 Methods 12"};
    int done = 0;

    void SetUp() override
    {
        book = dir.filePath("printed.djvu");
        FixturePage page;
        page.printed = printed;
        page.hasText = false;
        QString error;
        ASSERT_TRUE(
            DjvuFixture::build(book, {page, FixturePage::ofLines({{"Kept", "words"}})}, &error))
            << error.toStdString();
        tools = std::make_unique<ToolRunner>(TOCSMITH_OUT_DIR, work.path(), &toolMessages);
        form.setMessageShower([this](const QString& text, const QString&) { shown << text; });
        form.setCloseQuestion([] { return TForm5::CloseAnswer::Discard; });
        QObject::connect(&form, &TForm5::recognitionDone, [this] { ++done; });
        ASSERT_TRUE(form.loadDocument(book, *tools, texts));
        while (form.isLoading())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    void recognise()
    {
        const int before = done;
        form.recogniseButton()->click();
        while (done == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Nothing reached the book, and nothing waits to be saved.
    void expectNothingChanged(const QByteArray& before)
    {
        EXPECT_EQ(pane()->toPlainText(), QString());
        EXPECT_TRUE(form.recogniseButton()->isEnabled());
        EXPECT_TRUE(form.save());
        EXPECT_EQ(form.statusText(), EngineTexts::say("e_nothing_to_save"));
        EXPECT_EQ(DjvuFixture::readAll(book), before);
    }
};

TEST_F(OcrEditorRecogniseTest, ThePrintedWordsBecomeAnUnsavedChangeThatTheSaveWrites)
{
    const QByteArray before = DjvuFixture::readAll(book);
    ASSERT_EQ(form.currentPage(), 1);
    EXPECT_TRUE(form.recogniseButton()->isEnabled());
    ASSERT_TRUE(form.goToPage(2));
    EXPECT_FALSE(form.recogniseButton()->isEnabled()); // the page has words
    ASSERT_TRUE(form.goToPage(1));

    form.recogniseButton()->click();
    // While it runs only the stop works.
    EXPECT_EQ(form.recogniseButton()->text(), texts.text("b4"));
    EXPECT_FALSE(form.saveButton()->isEnabled());
    EXPECT_FALSE(form.pageSelector()->isEnabled());
    while (done == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
    // Its lines as printed (how well each word reads is the recogniser's matter).
    EXPECT_EQ(pane()->toPlainText().split('\n').size(), printed.size());
    EXPECT_TRUE(pane()->toPlainText().contains("Methods")) << pane()->toPlainText().toStdString();
    EXPECT_FALSE(pane()->isReadOnly()); // the words can be corrected before saving
    EXPECT_FALSE(form.recogniseButton()->isEnabled());
    EXPECT_EQ(DjvuFixture::readAll(book), before); // not written until saved

    ASSERT_TRUE(form.save());
    EXPECT_TRUE(layer(1).contains("\"Methods\"")) << layer(1).toStdString();
    EXPECT_TRUE(layer(2).contains("\"Kept\"")) << layer(2).toStdString();
}

TEST_F(OcrEditorRecogniseTest, MissingLanguageDataOrAStopChangesNothing)
{
    const QByteArray before = DjvuFixture::readAll(book);
    form.setRecognitionLanguages("xx");
    recognise();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first(), EngineTexts::say("e_ocr_no_language").arg("xx"));
    expectNothingChanged(before);

    // Stopped at once: no message, no words.
    shown.clear();
    form.setRecognitionLanguages("eng");
    form.recogniseButton()->click();
    recognise(); // the second click stops it
    EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
    EXPECT_EQ(form.recogniseButton()->text(), texts.text("b3"));
    expectNothingChanged(before);
}

// A book whose text layer holds no page has nothing to find (and no page to turn round to).
TEST(OcrSearch, ABookWithoutPagesHasNothingToFind)
{
    const OcrDocument empty;
    EXPECT_EQ(OcrSearch::next(empty, 0, QString(), 0, "x").page, 0);
    EXPECT_EQ(OcrSearch::next(empty, 1, "x", 0, "x").page, 0);
}

} // namespace
