// The window while a pass runs: the progress bar and the Stop button, closing during a pass,
// and a language change that must not reach the running pass.
#include "test_main_window_harness.h"

#include "DjvuFixture.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>

namespace {

class RunningPassTest : public WindowTest
{
protected:
    QTemporaryDir books;
    QTemporaryDir markers;

    void SetUp() override { startShown(); }

    // Two pages whose links a Fix pass aligns.
    QString linksBook(const QString& name)
    {
        FixturePage page;
        page.annotations = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))\n"
                           "(maparea \"#p0002.djvu\" \"\" (rect 110 800 250 40) (xor))";
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {page, FixturePage{}}, &error)) << error.toStdString();
        return path;
    }
    // A contents page (page 1) whose entries lead to pages 2 and 3.
    QString contentsBook(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "2"});
        contents.lines << FixtureLine::layout(300, 2900, {"Chapter", "two", "3"});
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, FixturePage{}, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }

    // Starts a Fix pass whose saving run sleeps until it is killed; returns once it sleeps.
    void startSleepingFixPass(const QString& path)
    {
        const QString marker = markers.filePath("begun");
        ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", marker));
        form->TabSheet1->open1(path);
        form->TabSheet1->CheckBox3->setChecked(false);
        form->TabSheet1->CheckBox2->setChecked(true);
        form->TabSheet1->xpButton4->click();
        waitWithEvents(marker);
    }
    static void waitWithEvents(const QString& file)
    {
        while (!QFile::exists(file)) {
            QApplication::processEvents();
            QThread::msleep(5);
        }
        QApplication::processEvents();
    }
    bool logSaysStopped() const
    {
        return form->Memo2->toPlainText().contains(form->texts.text("m13"));
    }
};

TEST_F(RunningPassTest, TheStopButtonShowsOnlyDuringAPassAndStopsIt)
{
    const QString path = linksBook("book.djvu");
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(books.path());
    EXPECT_FALSE(form->StopButton->isVisible());
    EXPECT_FALSE(form->ProgressBar1->isVisible());

    startSleepingFixPass(path);
    EXPECT_TRUE(form->StopButton->isVisible());
    EXPECT_TRUE(form->ProgressBar1->isVisible());
    EXPECT_EQ(form->ProgressBar1->format(), QString("1/1"));
    EXPECT_GT(form->ProgressBar1->value(), 0);
    form->StopButton->click();
    form->waitForPass();

    EXPECT_FALSE(form->StopButton->isVisible());
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(books.path()), before);
    EXPECT_TRUE(logSaysStopped()) << form->Memo2->toPlainText().toStdString();
    EXPECT_EQ(form->fixList.count(), 1); // a stopped pass applies no end option
    EXPECT_TRUE(form->isVisible());
}

TEST_F(RunningPassTest, ClosingDuringAPassAnsweredNoKeepsThePassAndTheWindow)
{
    const QString path = linksBook("book.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    startSleepingFixPass(path);
    answer = false;
    form->close();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions.first(), form->texts.text("mes7"));
    EXPECT_TRUE(form->passRunning());
    EXPECT_TRUE(form->StopButton->isEnabled());

    form->StopButton->click();
    form->waitForPass();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(RunningPassTest, ALanguageChosenDuringAPassDoesNotReachIt)
{
    ASSERT_TRUE(QDir(exe.path()).mkpath("language"));
    ASSERT_TRUE(QFile::copy(TOCSMITH_SOURCE_DIR "/language/English.lng",
                            exe.filePath("language/English.lng")));
    const QString path = contentsBook("book.djvu");
    const QString marker = markers.filePath("begun");
    const QString gate = markers.filePath("go");
    // The listing waits at the gate; the run after it cannot start.
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "ls", marker, gate));
    CreateTab* tab = form->TabSheet2;
    tab->CheckBox6->setChecked(false);
    tab->open2(path);
    const QString russianError = form->texts.text("mes3");
    form->Button3Click();
    waitWithEvents(marker);

    form->setlang("English.lng");
    ASSERT_EQ(form->texts.text("mes3"), QString("Error!!!"));
    QFile::setPermissions(exe.filePath("bin/djvused"), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(DjvuFixture::writeAll(gate, "go"));
    form->waitForPass();

    // The tool that could not start and the failure it caused come in one box at the end, and
    // speak the language the pass began in.
    ASSERT_EQ(captions.size(), 1) << messages.join('|').toStdString();
    EXPECT_EQ(captions, QStringList({russianError}));
    EXPECT_EQ(messages.first().count("\n\n"), 1) << messages.first().toStdString();
    EXPECT_TRUE(form->Memo2->toPlainText().contains(MessageTexts::defaultText("m9")));
    EXPECT_FALSE(form->Memo2->toPlainText().contains("The operation was not completed"));
}

// A picture of the window during a Create pass, for people to look at. Taken only when
// TOCSMITH_SCREENSHOTS names a folder (run under a real X server such as Xvfb).
TEST_F(RunningPassTest, ScreenshotOfTheWindowDuringAPass)
{
    const QString folder = qEnvironmentVariable("TOCSMITH_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set TOCSMITH_SCREENSHOTS to a folder to take the picture";
    ASSERT_TRUE(QDir(exe.path()).mkpath("language"));
    ASSERT_TRUE(QFile::copy(TOCSMITH_SOURCE_DIR "/language/English.lng",
                            exe.filePath("language/English.lng")));
    form->setlang("English.lng");
    if (!form->Memo2->isVisible())
        form->N9Click();
    const QString path = contentsBook("Book.djvu");
    const QString marker = markers.filePath("begun");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", marker));
    CreateTab* tab = form->TabSheet2;
    tab->CheckBox6->setChecked(false);
    tab->open2(path);
    form->PageControl1->setCurrentWidget(tab);
    form->Button3Click();
    waitWithEvents(marker);
    EXPECT_TRUE(form->grab().save(QDir(folder).filePath("english-create-running.png")));
    form->StopButton->click();
    form->waitForPass();
}

} // namespace
