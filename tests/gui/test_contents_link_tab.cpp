#include "test_main_window_harness.h"

#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

class ContentsLinkTabTest : public WindowTest
{
protected:
    ContentsLinkTab* tab = nullptr;
    QList<int> stores;
    void SetUp() override
    {
        start();
        tab = form->TabSheet3;
    }
    void add(const QString& path) { form->TabSheet2->open2(path); }
    const QStringList& row(int i) const { return form->createList.at(i).columns; }
    void chooseShape(int index)
    {
        tab->ComboBox5->setCurrentIndex(index);
        tab->ComboBox5Change();
    }
    void chooseBorder(int index)
    {
        tab->ComboBox4->setCurrentIndex(index);
        tab->ComboBox4Change();
    }
    void recordStores()
    {
        QObject::connect(&form->createList, &QAbstractItemModel::dataChanged, form.get(),
                         [this](const QModelIndex& from) { stores << from.column() - 1; });
    }
};

TEST_F(ContentsLinkTabTest, WithAnEmptyListChangesStayOnTheTabUntilAFileIsAdded)
{
    chooseBorder(3);
    tab->CheckBox10->setChecked(true);
    tab->Edit8->setText("-20");
    tab->Edit12->clear();
    tab->UpDown2->stepBy(2);
    EXPECT_EQ(form->createList.count(), 0);
    add("/b/A.djvu");
    EXPECT_EQ(row(0).mid(14, 16),
              (QStringList{"0", "3", "1", "0", "2", "000000", "000000", "1", "100", "-20", "500",
                           "50", "4", "", "Go to page", "0"}));
}

TEST_F(ContentsLinkTabTest, ChangesGoToTheLastRowOrOnlyToTheSelectedOne)
{
    add("/b/A.djvu");
    add("/b/B.djvu");
    tab->Edit11->setText("7");
    EXPECT_EQ(row(1)[26], "7");
    EXPECT_EQ(row(0)[26], "4");
    form->TabSheet2->ListView2->selectRow(0);
    tab->CheckBox10->setChecked(true);
    colour = QColor(0x12, 0x34, 0x56);
    tab->Button20Click();
    EXPECT_EQ(row(0)[16], "1");
    EXPECT_EQ(row(0)[20], "123456");
    EXPECT_EQ(row(1)[16], "0");
    EXPECT_EQ(row(1)[20], "000000");
    EXPECT_EQ(tab->Shape4->colourText(), "123456");
    // Selecting a row never loads these columns back.
    form->TabSheet2->ListView2->selectRow(1);
    form->TabSheet2->ListView2Click();
    EXPECT_TRUE(tab->CheckBox10->isChecked());
}

TEST_F(ContentsLinkTabTest, AnOvalSnapsShadowsToAPlainBorderAndClearsTheHighlightInOrder)
{
    chooseBorder(3); // "Прямая тень"
    tab->CheckBox13->setChecked(true);
    EXPECT_TRUE(tab->Button20->isEnabled());
    add("/b/A.djvu");
    recordStores();
    chooseShape(1);
    EXPECT_EQ(stores, (QList<int>{15, 17, 14}));
    EXPECT_EQ(row(0)[15], "2");
    EXPECT_EQ(row(0)[17], "0");
    EXPECT_EQ(row(0)[14], "1");
    EXPECT_EQ(tab->ComboBox4->currentText(), QStringLiteral("Простая граница"));
    EXPECT_FALSE(tab->CheckBox13->isEnabled());
    EXPECT_FALSE(tab->CheckBox13->isChecked());
    EXPECT_FALSE(tab->Button20->isEnabled());
    EXPECT_TRUE(tab->Button10->isEnabled());
    EXPECT_FALSE(tab->Edit5->isEnabled());
    EXPECT_FALSE(tab->Label10->isEnabled());

    for (int shadow = 3; shadow <= 6; ++shadow) {
        chooseBorder(shadow);
        EXPECT_EQ(tab->ComboBox4->currentIndex(), 2) << shadow;
    }
    EXPECT_EQ(row(0)[15], "2");

    chooseShape(0);
    EXPECT_TRUE(tab->CheckBox13->isEnabled());
    EXPECT_FALSE(tab->CheckBox13->isChecked());
    chooseBorder(4);
    EXPECT_EQ(row(0)[15], "4");
    EXPECT_TRUE(tab->Edit5->isEnabled());
    EXPECT_FALSE(tab->Button10->isEnabled());
}

TEST_F(ContentsLinkTabTest, NumberFieldsStoreOnlyIntegersAsTyped)
{
    add("/b/A.djvu");
    tab->Edit9->setText("12a"); // pasted whole
    EXPECT_EQ(row(0)[24], "500");
    backspace(tab->Edit9);
    EXPECT_EQ(row(0)[24], "12");
    type(tab->Edit9, "x");
    EXPECT_EQ(tab->Edit9->text(), "12x"); // any typing is accepted here
    EXPECT_EQ(row(0)[24], "12");
    tab->Edit7->setText("0");
    tab->Edit10->setText("-4");
    EXPECT_EQ(row(0)[22], "0");
    EXPECT_EQ(row(0)[25], "-4");
    // A file added now takes the text as it stands.
    tab->Edit6->setText("x");
    add("/b/B.djvu");
    EXPECT_EQ(row(1)[21], "x");
    tab->Edit12->setText("");
    EXPECT_EQ(row(1)[27], ""); // the comment stores everything, empty included
}

TEST_F(ContentsLinkTabTest, OnEveryPageDisablesThePageFieldAndKeepsItsValue)
{
    add("/b/A.djvu");
    tab->Edit6->setText("9");
    tab->CheckBox15->setChecked(true);
    EXPECT_FALSE(tab->Edit6->isEnabled());
    EXPECT_FALSE(tab->Label11->isEnabled());
    EXPECT_EQ(row(0)[29], "1");
    EXPECT_EQ(row(0)[21], "9");
    tab->CheckBox15->setChecked(false);
    EXPECT_TRUE(tab->Edit6->isEnabled());
    EXPECT_EQ(row(0)[29], "0");
}

TEST_F(ContentsLinkTabTest, TheWidthStepsByOneAndTheColourDialogIsShared)
{
    chooseBorder(5);
    add("/b/A.djvu");
    tab->UpDown2->stepBy(1);
    EXPECT_EQ(row(0)[18], "1");
    std::optional<QColor> offered;
    form->dialogs.colourDialog = [&offered](const QColor& last) {
        offered = last;
        return std::optional<QColor>(QColor(1, 2, 3));
    };
    form->TabSheet2->colour1Click();
    tab->Button10Click(); // opens with the colour last chosen by any button
    ASSERT_TRUE(offered.has_value());
    EXPECT_EQ(*offered, QColor(1, 2, 3));
    EXPECT_EQ(row(0)[19], "010203");
    form->dialogs.colourDialog = [](const QColor&) { return std::optional<QColor>(); };
    tab->Button10Click();
    EXPECT_EQ(row(0)[19], "010203");
}

TEST_F(ContentsLinkTabTest, ARestartBringsBackWhatIsRememberedAndOnlyThat)
{
    chooseBorder(3);
    tab->UpDown2->stepBy(7);
    tab->CheckBox10->setChecked(true);
    tab->CheckBox13->setChecked(true);
    tab->CheckBox15->setChecked(true);
    colour = QColor(0xFF, 0, 0);
    tab->Button10Click();
    colour = QColor(0, 0x80, 0xFF);
    tab->Button20Click();
    const QList<QLineEdit*> numbers{tab->Edit6, tab->Edit7,  tab->Edit8,
                                    tab->Edit9, tab->Edit10, tab->Edit11};
    for (int i = 0; i < numbers.size(); ++i)
        numbers[i]->setText(QString::number(10 + i));
    tab->Edit12->setText("К оглавлению");
    chooseShape(1); // an oval clears the highlight; choose the rectangle again
    chooseShape(0);
    tab->CheckBox13->setChecked(true);

    restart();
    tab = form->TabSheet3;
    EXPECT_TRUE(tab->CheckBox13->isChecked());
    EXPECT_TRUE(tab->Button20->isEnabled());
    EXPECT_TRUE(tab->CheckBox15->isChecked());
    EXPECT_FALSE(tab->Edit6->isEnabled());
    EXPECT_EQ(tab->Shape3->colourText(), "FF0000");
    EXPECT_EQ(tab->Shape4->colourText(), "0080FF");
    for (int i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(QList<QLineEdit*>(
                      {tab->Edit6, tab->Edit7, tab->Edit8, tab->Edit9, tab->Edit10, tab->Edit11})[i]
                      ->text(),
                  QString::number(10 + i));
    EXPECT_EQ(tab->Edit12->text(), "К оглавлению");
    // Not remembered.
    EXPECT_EQ(tab->ComboBox5->currentIndex(), 0);
    EXPECT_EQ(tab->ComboBox4->currentIndex(), 1);
    EXPECT_FALSE(tab->CheckBox10->isChecked());
    EXPECT_EQ(tab->Edit5->text(), "0");
    EXPECT_FALSE(tab->Edit5->isEnabled());
    // Blue first on disk.
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readText("Create", "oglav_10"), "0000FF");
    EXPECT_EQ(ini.readText("Create", "oglav_9"), "FF8000");
}

} // namespace
