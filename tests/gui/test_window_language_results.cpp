// The main window in one language at a time, with the outcome of each row, the summary line,
// the room a larger window gives, the About box and "Open" without a program to open.
#include "test_main_window_harness.h"

#include "DjvuFixture.h"
#include "EnglishSentences.h"
#include "base/EngineTexts.h"
#include "base/TipTexts.h"
#include "djvu/ToolRunner.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

namespace {

class WindowLanguageTest : public WindowTest
{
protected:
    QTemporaryDir books;

    void SetUp() override
    {
        ASSERT_TRUE(QDir(exe.path()).mkpath("language"));
        for (const char* name : {"English.lng", "Russian.lng"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOCSMITH_SOURCE_DIR "/language/") + name,
                                    exe.filePath(QStringLiteral("language/") + name)));
    }

    void choose(const QString& displayName)
    {
        for (QAction* a : form->Language1->actions())
            if (a->text() == displayName)
                a->trigger();
    }
    QString contentsBook(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3100, {"Глава", "1.", "Введение", "....", "1"});
        contents.lines << FixtureLine::layout(300, 3000, {"Глава", "2.", "Основы", "....", "2"});
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, FixturePage{}, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }
    // A create list of: a good book, a book that is not there, a good book.
    void runCreateWithAFailure(QString* good, QString* gone)
    {
        *good = contentsBook("Хорошая.djvu");
        *gone = QDir(books.path()).filePath("Нет такой.djvu");
        CreateTab* tab = form->TabSheet2;
        tab->CheckBox6->setChecked(false);
        tab->CheckBox4->setChecked(false);
        tab->CheckBox5->setChecked(false);
        tab->Edit1->setText("1");
        tab->Edit2->setText("1");
        tab->open2(*good);
        tab->open2(*gone);
        tab->open2(contentsBook("Третья.djvu"));
        form->Button3Click();
        form->waitForPass();
    }
};

TEST_F(WindowLanguageTest, AFailureInTheRussianWindowHasNoEnglishSentenceAndInEnglishNoRussian)
{
    startShown();
    QString good, gone;
    runCreateWithAFailure(&good, &gone);
    ASSERT_EQ(messages.size(), 1);
    const QString russian = messages.first();
    EXPECT_EQ(russian, EngineTexts::russianText("e_no_file").arg(gone));
    for (const QString& sentence : englishSentences())
        EXPECT_FALSE(russian.contains(sentence)) << sentence.toStdString();
    EXPECT_FALSE(form->Memo2->toPlainText().contains("does not exist"));

    choose("&English");
    messages.clear();
    form->Button3Click();
    form->waitForPass();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), QStringLiteral("The file %1 does not exist.").arg(gone));
    QString words = messages.first();
    words.remove(gone); // the path aside, no Russian word
    EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))))
        << messages.first().toStdString();
}

TEST_F(WindowLanguageTest, TheMenuMarksTheLanguageInUseAndQtSpeaksItToo)
{
    startShown();
    for (const QAction* a : form->Language1->actions())
        EXPECT_FALSE(a->isChecked()) << "the built-in texts are no file's";
    // Qt's own buttons follow the window: Russian from the start.
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

    choose("&English");
    QStringList checked;
    for (const QAction* a : form->Language1->actions())
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, QStringList{"&English"});
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(form->dialogs.djvuFilesName, QStringLiteral("DjVu files"));

    restart(); // the remembered language is marked at the next start
    checked.clear();
    for (const QAction* a : form->Language1->actions())
        if (a->isChecked())
            checked << a->text();
    EXPECT_EQ(checked, QStringList{"&English"});
}

TEST_F(WindowLanguageTest, EachRowShowsItsOutcomeAndTheLineUnderTheTabsCountsThem)
{
    writeIni("[Menu]\r\nLanguage=English.lng\r\nProtokol=1\r\n"); // the log hidden
    startShown();
    ASSERT_FALSE(form->N9->isChecked());
    QString good, gone;
    runCreateWithAFailure(&good, &gone);

    const QAbstractItemModel& list = form->createList;
    EXPECT_TRUE(list.index(0, 0).data().toString().startsWith(QStringLiteral("\u2714 ")));
    EXPECT_TRUE(list.index(1, 0).data().toString().startsWith(QStringLiteral("\u2718 ")));
    EXPECT_TRUE(list.index(2, 0).data().toString().startsWith(QStringLiteral("\u2013 ")));
    const QString failedTip = list.index(1, 0).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(failedTip.startsWith("Failed: The file " + gone + " does not exist."))
        << failedTip.toStdString();
    EXPECT_TRUE(list.index(2, 0).data(Qt::ToolTipRole).toString().startsWith("Not reached"));
    EXPECT_TRUE(list.index(0, 0).data(Qt::ToolTipRole).toString().startsWith("Done\n" + good));

    EXPECT_TRUE(form->summaryLabel->isVisible());
    EXPECT_EQ(form->summaryLabel->text(),
              QStringLiteral("1 document changed, 1 failed, 1 not reached"));

    // A change of the list clears the marks: they belong to the list as it was run.
    form->TabSheet2->open2(contentsBook("Новая.djvu"));
    EXPECT_EQ(list.index(0, 0).data().toString(), QFileInfo(good).absolutePath() + '/');
}

TEST_F(WindowLanguageTest, TheWindowGrowsItsListsAndLogAndRemembersItsSize)
{
    startShown();
    const QSize smallest = form->size();
    const QRect list = form->TabSheet2->ListView2->geometry();
    const QRect button = form->TabSheet2->Button3->geometry();
    EXPECT_EQ(form->minimumSize(), smallest);

    form->resize(smallest + QSize(300, 240));
    QApplication::processEvents();
    EXPECT_EQ(form->TabSheet2->ListView2->width(), list.width() + 300);
    EXPECT_EQ(form->TabSheet2->ListView2->height(), list.height() + 160);
    EXPECT_EQ(form->TabSheet2->Button3->geometry(), button.translated(0, 160));
    EXPECT_EQ(form->Memo2->height(), TForm1::kLogHeight + 80);

    // Smaller than the starting size it does not go.
    form->resize(200, 200);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), smallest);

    form->resize(smallest + QSize(120, 60));
    QApplication::processEvents();
    ASSERT_EQ(form->size(), smallest + QSize(120, 60));
    finish();
    startShown();
    EXPECT_EQ(form->minimumSize(), smallest);
    EXPECT_EQ(form->size(), smallest + QSize(120, 60));
    EXPECT_EQ(form->TabSheet2->ListView2->width(), list.width() + 120);
}

TEST_F(WindowLanguageTest, LongPathsAreShortenedInTheMiddleWithTheWholePathAsTooltip)
{
    startShown();
    const QString deep = QDir(books.path()).filePath(QString(40, u'x') + "/" + QString(90, u'y'));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString path = QDir(deep).filePath("book.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, {FixturePage{}}, &error)) << error.toStdString();
    form->TabSheet1->open1(path);
    const QModelIndex folder = form->fixList.index(0, 0);
    EXPECT_EQ(folder.data(Qt::ToolTipRole).toString(), path);
    QTableView* view = form->TabSheet1->ListView1;
    EXPECT_EQ(view->textElideMode(), Qt::ElideMiddle);
    const QString text = folder.data().toString();
    const QString shown =
        view->fontMetrics().elidedText(text, view->textElideMode(), view->columnWidth(0) - 8);
    EXPECT_TRUE(shown.startsWith(text.left(3)) && shown.endsWith(text.right(3)))
        << shown.toStdString();
}

TEST_F(WindowLanguageTest, AboutNamesTheVersionAndTheToolsFoundAndOpenWithoutAProgramSaysSo)
{
    startShown();
    form->aboutAction->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains("0.8"));
    EXPECT_TRUE(messages.first().contains(form->toolRunner().resolve("djvused")))
        << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("Программы DjVuLibre:")));

    // The real shell "open", which has no program to open anything offscreen.
    WindowDialogs real(form.get());
    real.messageBox = [this](const QString& text, const QString& caption) {
        messages << text;
        captions << caption;
    };
    real.openInShell("/nowhere/book.djvu");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.last(), EngineTexts::russianText("e_no_viewer").arg("/nowhere/book.djvu"));
    EXPECT_EQ(captions.last(), form->windowTitle());
}

TEST_F(WindowLanguageTest, EveryOptionSaysWhatItDoesInTheLanguageInUse)
{
    startShown();
    auto untipped = [this] {
        QStringList missing;
        for (QWidget* tab :
             {static_cast<QWidget*>(form->TabSheet1), static_cast<QWidget*>(form->TabSheet2),
              static_cast<QWidget*>(form->TabSheet3)})
            for (QWidget* w : tab->findChildren<QWidget*>())
                if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                     qobject_cast<QComboBox*>(w)) &&
                    w->toolTip().isEmpty() && !w->objectName().isEmpty())
                    missing << w->objectName();
        return missing;
    };
    EXPECT_EQ(untipped(), QStringList());
    EXPECT_EQ(form->TabSheet2->CheckBox6->toolTip(), TipTexts::russianText("CheckBox6"));
    EXPECT_FALSE(form->N9->toolTip().isEmpty());
    choose("&English");
    EXPECT_EQ(form->TabSheet2->CheckBox6->toolTip(), TipTexts::englishText("CheckBox6"));
    EXPECT_EQ(untipped(), QStringList());
}

} // namespace
