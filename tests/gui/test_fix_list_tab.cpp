#include "test_main_window_harness.h"

#include "ui/tabs/FixListTab.h"

#include <QAction>
#include <QDir>
#include <QTableView>
#include <QTextEdit>

namespace {

class FixListTabTest : public WindowTest
{
protected:
    FixListTab* tab = nullptr;
    void SetUp() override
    {
        start();
        tab = form->TabSheet1;
    }
};

TEST_F(FixListTabTest, AddAppendsTheChosenFileAndCancelAddsNothing)
{
    filesToChoose << "/b/Книги/A b.djvu";
    tab->Button2Click();
    tab->Button2Click(); // cancelled
    filesToChoose << "/b/Книги/A b.djvu";
    tab->Button2Click();
    ASSERT_EQ(form->fixList.count(), 2);
    EXPECT_EQ(form->fixList.at(1).folder, QDir::toNativeSeparators("/b/Книги/"));
    EXPECT_EQ(form->fixList.at(1).fileName, "A b.djvu");
    EXPECT_EQ(fileDialogs, 3);
}

TEST_F(FixListTabTest, RemoveAndOpenNeedASelectedRow)
{
    tab->N1Click();
    EXPECT_EQ(messages, QStringList{mes1()});
    tab->open1("/b/A.djvu");
    tab->open1("/b/B.djvu");
    tab->N6Click();
    tab->N1Click();
    EXPECT_EQ(messages.size(), 3);
    EXPECT_EQ(form->fixList.count(), 2);
    EXPECT_TRUE(opened.isEmpty());

    tab->ListView1->selectRow(1);
    tab->N6Click();
    EXPECT_EQ(opened, QStringList{QDir::toNativeSeparators("/b/B.djvu")});
    tab->N1Click();
    ASSERT_EQ(form->fixList.count(), 1);
    EXPECT_EQ(form->fixList.at(0).fileName, "A.djvu");
    EXPECT_EQ(messages.size(), 3);
}

TEST_F(FixListTabTest, TheNoteShowsItsParagraphsAndTheListItsTwoColumns)
{
    const QString note = tab->noteText();
    EXPECT_TRUE(note.startsWith("Примечание\n"));
    EXPECT_TRUE(note.contains("\n   1. Для создания содержания необходимо наличие OCR (как "
                              "минимум на страницах содержания).\n"));
    EXPECT_TRUE(note.endsWith("\n   3. При выравнивании стиль границ остается как есть."));
    // Read back line by line and set again, the note stays as it is.
    tab->setNoteLines(note.split('\n'));
    EXPECT_EQ(tab->noteText(), note);
    EXPECT_EQ(note.count('\n'), 3);
    EXPECT_FALSE(tab->RichEdit1->isEnabled());
    EXPECT_EQ(form->fixList.columnCount(), 2);
    EXPECT_EQ(form->fixList.headerData(1, Qt::Horizontal).toString(), "Файл");
}

} // namespace
