// The pictures of the README: the main window made larger after a run with a done and a
// failed row, and the OCR editor with the page beside the text, in Russian and English.
// TOCSMITH_SCREENSHOTS names the folder (scripts/window-screenshots.sh sets it).
#include "test_main_window_harness.h"

#include "DjvuFixture.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ui/ocr/PageImageView.h"
#include "ui/ocr/Unit5.h"
#include "ui/tabs/CreateTab.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextBlock>

namespace {

// A contents page of three entries under its heading.
QList<FixtureLine> contentsLines()
{
    return {FixtureLine::layout(900, 3200, {"Contents"}),
            FixtureLine::layout(300, 3000, {"1.", "Introduction", "....", "2"}),
            FixtureLine::layout(300, 2900, {"2.", "First", "steps", "....", "3"}),
            FixtureLine::layout(300, 2800, {"3.", "Going", "further", "....", "4"})};
}

class WindowScreenshotTest : public WindowTest, public ::testing::WithParamInterface<const char*>
{
protected:
    QTemporaryDir books;
    QString folder;

    void SetUp() override
    {
        folder = qEnvironmentVariable("TOCSMITH_SCREENSHOTS");
        if (folder.isEmpty())
            GTEST_SKIP() << "set TOCSMITH_SCREENSHOTS to a folder to take the pictures";
        ASSERT_TRUE(QDir(exe.path()).mkpath("language"));
        for (const char* name : {"English.lng", "Russian.lng"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOCSMITH_SOURCE_DIR "/language/") + name,
                                    exe.filePath(QStringLiteral("language/") + name)));
        writeIni(QStringLiteral("[Menu]\r\nLanguage=%1.lng\r\nTop=1\r\n").arg(GetParam()).toUtf8());
        startShown();
    }
    QString book(const QString& name)
    {
        FixturePage contents;
        contents.lines = contentsLines();
        FixturePage body = FixturePage::headed({"Introduction"}, "2");
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, body, body, body}, &error))
            << error.toStdString();
        return path;
    }
    QString file(const char* what) const
    {
        return QDir(folder).filePath(QString::fromLatin1(GetParam()).toLower() + "-" + what +
                                     ".png");
    }
};

TEST_P(WindowScreenshotTest, TheLargerWindowAfterARunWithADoneAndAFailedRow)
{
    CreateTab* tab = form->TabSheet2;
    tab->CheckBox6->setChecked(false);
    tab->open2(book("A book with its contents on page 1.djvu"));
    tab->open2(QDir(books.path()).filePath("A book that was moved away.djvu"));
    form->resize(form->size() + QSize(260, 120));
    form->Button3Click();
    form->waitForPass();
    QApplication::processEvents();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(form->grab().save(file("window-results")));
}

// A one-page book whose image shows its words where its text layer says they are.
QString pictureBook(const QString& path)
{
    FixturePage page;
    page.lines = contentsLines();
    QImage image(page.width, page.height, QImage::Format_Mono);
    image.fill(Qt::color0);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    {
        QPainter painter(&image);
        painter.setPen(Qt::color1);
        QFont font = painter.font();
        font.setPixelSize(34);
        painter.setFont(font);
        for (const FixtureLine& line : page.lines)
            for (const FixtureWord& w : line.words)
                painter.drawText(
                    QRect(w.left, page.height - w.top, w.right - w.left + 40, w.top - w.bottom),
                    Qt::AlignLeft | Qt::AlignVCenter, w.text);
    }
    const QString pbm = path + ".pbm";
    EXPECT_TRUE(image.save(pbm, "PBM"));
    EXPECT_EQ(QProcess::execute("cjb2", {pbm, path}), 0);
    QFile::remove(pbm);
    QString error;
    EXPECT_TRUE(DjvuFixture::applyScript(
        path, "select 1\nset-txt\n" + DjvuFixture::textLayer(page) + "\n.\n", &error))
        << error.toStdString();
    return path;
}

TEST_P(WindowScreenshotTest, TheOcrEditorWithThePageBesideTheText)
{
    const QString path = pictureBook(QDir(books.path()).filePath("Page.djvu"));
    TForm5 editor;
    editor.resize(1000, 620);
    ASSERT_TRUE(editor.loadDocument(path, form->toolRunner(), form->texts));
    editor.show();
    QTextCursor cursor(editor.textPane()->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.textPane()->setTextCursor(cursor);
    editor.imageView()->waitForImage();
    editor.imageView()->setZoom(0.7);
    QApplication::processEvents();
    EXPECT_TRUE(editor.imageView()->hasImage());
    EXPECT_TRUE(editor.grab().save(file("ocr-editor")));
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowScreenshotTest, ::testing::Values("Russian", "English"));

} // namespace
