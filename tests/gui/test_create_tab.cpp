#include "test_main_window_harness.h"

#include "CreateRows.h"
#include "jobs/CreateRow.h"
#include "jobs/CreateRowReader.h"
#include "links/CreatePass.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

class CreateTabTest : public WindowTest
{
protected:
    CreateTab* tab = nullptr;
    void SetUp() override
    {
        start();
        tab = form->TabSheet2;
    }
    const QStringList& row(int i) const { return form->createList.at(i).columns; }
    void add(const QString& path)
    {
        filesToChoose << path;
        tab->Button4Click();
    }
    // What a user's choice in a drop-down list does: the item changes, then the handler runs.
    static void choose(QComboBox* box, int index, void (CreateTab::*handler)(), CreateTab* tab)
    {
        box->setCurrentIndex(index);
        (tab->*handler)();
    }
    void select(int index)
    {
        tab->ListView2->selectRow(index);
        tab->ListView2Click();
    }
    // Columns in the order the list announced their changes.
    void recordStores()
    {
        stores.clear();
        QObject::connect(&form->createList, &QAbstractItemModel::dataChanged, form.get(),
                         [this](const QModelIndex& from) { stores << from.column() - 1; });
    }
    QList<int> stores;
};

TEST_F(CreateTabTest, ANewRowTakesEveryValueTheControlsShow)
{
    tab->Edit1->setText("3");
    tab->Edit2->setText("5");
    tab->Edit3->setText("2");
    tab->radioMinus->setChecked(true);
    choose(tab->ComboBox3, 1, &CreateTab::ComboBox3Change, tab);
    choose(tab->ComboBox1, 3, &CreateTab::ComboBox1Change, tab);
    tab->UpDown1->stepBy(4);
    tab->CheckBox8->setChecked(true);
    tab->CheckBox9->setChecked(true);
    tab->CheckBox11->setChecked(true);
    tab->CheckBox14->setChecked(false);
    colour = QColor(0x12, 0x34, 0x56);
    tab->colour1Click();
    colour = QColor(0xAB, 0xCD, 0xEF);
    tab->colour2Click();
    tab->Edit13->setText("Страница");
    form->TabSheet3->Edit9->setText("640");
    form->TabSheet3->CheckBox15->setChecked(true);

    add("/books/Книга.djvu");
    ASSERT_EQ(form->createList.count(), 1);
    EXPECT_EQ(form->createList.at(0).folder, QDir::toNativeSeparators("/books/"));
    const QStringList expected{"Книга.djvu", "3",      "5",  "-2",  "1",  "3",      "0",
                               "123456",     "ABCDEF", "4",  "1",   "1",  "1",      "0",
                               "0",          "1",      "0",  "0",   "0",  "000000", "000000",
                               "1",          "100",    "50", "640", "50", "4",      "Go to content",
                               "Страница",   "1",      "0",  "0",   "0",  "1"};
    EXPECT_EQ(row(0), expected);
    EXPECT_EQ(fileDialogs, 1);
}

TEST_F(CreateTabTest, TheSmartReadingAndItsFoundOffsetAreStoredInTheRowAndLoadedBack)
{
    EXPECT_FALSE(tab->offsetAutoCheckBox->isEnabled()); // the classic reading needs an offset
    add("/b/A.djvu");
    EXPECT_EQ(row(0).mid(CreateColumn::Reading, 2), (QStringList{"0", "0"}));

    tab->smartReadingCheckBox->setChecked(true);
    EXPECT_TRUE(tab->offsetAutoCheckBox->isEnabled());
    tab->offsetAutoCheckBox->setChecked(true);
    EXPECT_FALSE(tab->Edit3->isEnabled());
    EXPECT_FALSE(tab->radioMinus->isEnabled());
    EXPECT_EQ(row(0).mid(CreateColumn::Reading, 2), (QStringList{"1", "1"}));
    add("/b/B.djvu");
    EXPECT_EQ(row(1).mid(CreateColumn::Reading, 2), (QStringList{"1", "1"}));

    // Back to the classic reading: the offset is typed again.
    select(1);
    tab->smartReadingCheckBox->setChecked(false);
    EXPECT_FALSE(tab->offsetAutoCheckBox->isChecked());
    EXPECT_FALSE(tab->offsetAutoCheckBox->isEnabled());
    EXPECT_TRUE(tab->Edit3->isEnabled());
    EXPECT_EQ(row(1).mid(CreateColumn::Reading, 2), (QStringList{"0", "0"}));
    EXPECT_EQ(row(0).mid(CreateColumn::Reading, 2), (QStringList{"1", "1"}));

    select(0);
    EXPECT_TRUE(tab->smartReadingCheckBox->isChecked());
    EXPECT_TRUE(tab->offsetAutoCheckBox->isChecked());
    EXPECT_FALSE(tab->Edit3->isEnabled());
    select(1);
    EXPECT_FALSE(tab->smartReadingCheckBox->isChecked());
    EXPECT_EQ(row(0).mid(CreateColumn::Reading, 2), (QStringList{"1", "1"}));
}

// Add takes whole pages, or a list of ranges with one offset or one for each, read as the
// command line reads them; it refuses what the run could not read.
TEST_F(CreateTabTest, AddTakesWholePagesOrAListOfRangesAndRefusesTheRest)
{
    struct Case
    {
        const char *pages, *last, *offset;
        QList<ContentsRange> ranges; // empty: refused with mes6
    };
    const QList<Case> cases = {
        {"7", "3", "0", {{7, 3, 0}}}, // a reversed lone range is the run's to refuse
        {"1,5", "1", "0", {{1, 1, 0}, {5, 5, 0}}},
        {"1,17-18", "", "0,16", {{1, 1, 0}, {17, 18, 16}}},
        {"3-9,120", "1", "-2,4", {{3, 9, -2}, {120, 120, 4}}},
        {"1a", "1", "0", {}},      // letters
        {"1,,5", "1", "0", {}},    // an empty range
        {"5-3", "1", "0", {}},     // a reversed range in a list
        {"5,3", "1", "0", {}},     // ranges out of order
        {"1,5", "1", "0,1,2", {}}, // more offsets than ranges
        {"5", "5", "0,16", {}},    // two offsets for one page
        {"", "1", "0", {}},
    };
    int rows = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        messages.clear();
        tab->Edit1->setText(c.pages);
        tab->Edit2->setText(c.last);
        tab->Edit3->setText(c.offset);
        if (c.ranges.isEmpty())
            tab->Button4Click();
        else
            add("/b/A.djvu");
        if (c.ranges.isEmpty()) {
            EXPECT_EQ(messages, QStringList{form->texts.text("mes6")});
            EXPECT_EQ(form->createList.count(), rows);
            continue;
        }
        EXPECT_TRUE(messages.isEmpty());
        ASSERT_EQ(form->createList.count(), ++rows);
        CreateJob job;
        QString error;
        ASSERT_TRUE(CreateRowReader::read(form->createList.at(rows - 1), &job, &error))
            << error.toStdString();
        EXPECT_EQ(job.ranges(), c.ranges);
    }
    const int dialogs = fileDialogs;
    tab->Edit1->setText("2");
    tab->Button4Click(); // cancelled dialog: nothing
    EXPECT_EQ(fileDialogs, dialogs + 1);
    EXPECT_EQ(form->createList.count(), rows);
}

TEST_F(CreateTabTest, ChangesGoToTheSelectedRowOrElseTheLastRow)
{
    // Empty list: only the controls change, and the next row takes them.
    choose(tab->ComboBox3, 2, &CreateTab::ComboBox3Change, tab);
    add("/b/A.djvu");
    EXPECT_EQ(row(0)[4], "2");
    add("/b/B.djvu");

    tab->Edit1->setText("9");
    EXPECT_EQ(row(1)[1], "9");
    EXPECT_EQ(row(0)[1], "1");

    select(0);
    tab->Edit13->setText("first");
    EXPECT_EQ(row(0)[28], "first");
    EXPECT_EQ(row(1)[28], "Go to page");

    tab->ListView2->clearSelection();
    tab->CheckBox11->setChecked(true);
    EXPECT_EQ(row(1)[12], "1");
    EXPECT_EQ(row(0)[12], "0");
}

TEST_F(CreateTabTest, TheOutlineBoxIsStoredInItsOwnColumnAndLoadedBackWithTheRow)
{
    add("/b/A.djvu");
    tab->outlineCheckBox->setChecked(true);
    add("/b/B.djvu");
    EXPECT_EQ(row(0)[CreateColumn::Outline], "1"); // the change went to the last row then
    EXPECT_EQ(row(1)[CreateColumn::Outline], "1"); // and the new row takes the box
    select(1);
    tab->outlineCheckBox->setChecked(false);
    EXPECT_EQ(row(1)[CreateColumn::Outline], "0");
    select(0);
    EXPECT_TRUE(tab->outlineCheckBox->isChecked());
    CreateJob job;
    QString error;
    ASSERT_TRUE(CreateRowReader::read(form->createList.at(0), &job, &error)) << error.toStdString();
    EXPECT_TRUE(job.outline);
}

// The recognition box goes into its row and from there into the job's recognition; a row
// made before the column existed recognises as its reading does by default, and shows so.
TEST_F(CreateTabTest, TheRecogniseBoxReachesTheJobAndRoundTripsWithTheRow)
{
    using Mode = PageRecognition::Mode;
    namespace C = CreateColumn;
    struct Case
    {
        const char *reading, *recognise; // the row's columns; "" as an older row leaves it
        bool shown;
        Mode mode;
    };
    const QList<Case> cases = {{"1", "", true, Mode::Auto},
                               {"0", "", false, Mode::Never},
                               {"0", "1", true, Mode::Auto},
                               {"1", "0", false, Mode::Never},
                               {"1", "1", true, Mode::Auto}};
    for (const Case& c : cases) {
        QStringList columns = CreateTest::row(QStringLiteral("/b/A.djvu"), 1, 1, 0).columns;
        columns.resize(CreateRow::kColumnCount);
        columns[C::Reading] = QLatin1String(c.reading);
        columns[C::Recognise] = QLatin1String(c.recognise);
        // An older row ends before the column; append leaves what is missing empty.
        if (!*c.recognise)
            columns.resize(C::Recognise);
        form->createList.append(QStringLiteral("/b/A.djvu"), columns.mid(1));
    }
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        CreateJob job;
        QString error;
        ASSERT_TRUE(CreateRowReader::read(form->createList.at(i), &job, &error)) << i;
        EXPECT_EQ(CreateOptions().ocrMode(job), c.mode) << i;
        select(i);
        EXPECT_EQ(tab->recogniseCheckBox->isChecked(), c.shown) << i;
    }

    // A change goes to the selected row; a new row takes the box.
    select(1);
    tab->recogniseCheckBox->setChecked(true);
    EXPECT_EQ(row(1)[C::Recognise], "1");
    tab->recogniseCheckBox->setChecked(false);
    add("/b/B.djvu");
    EXPECT_EQ(row(int(cases.size()))[C::Recognise], "0");
    const QList<CreateJob> jobs = CreateRowReader::jobsOf(form->createList.rows());
    EXPECT_EQ(jobs.last().recognise, std::optional<bool>(false));

    // The box is kept with the window's settings; it starts checked.
    restart();
    EXPECT_FALSE(form->TabSheet2->recogniseCheckBox->isChecked());
}

TEST_F(CreateTabTest, MinusIsStoredAsASignAndLoadedBackAsTheChoice)
{
    tab->radioMinus->setChecked(true);
    tab->Edit3->setText("5");
    add("/b/A.djvu");
    add("/b/B.djvu");
    select(1);
    tab->radioPlus->setChecked(true);
    tab->Edit3->setText("3");
    EXPECT_EQ(row(0)[3], "-5");
    EXPECT_EQ(row(1)[3], "3");

    select(0);
    EXPECT_EQ(tab->Edit3->text(), "5");
    EXPECT_TRUE(tab->radioMinus->isChecked());
    select(1);
    EXPECT_EQ(tab->Edit3->text(), "3");
    EXPECT_TRUE(tab->radioPlus->isChecked());
    EXPECT_EQ(row(0)[3], "-5");
    EXPECT_EQ(row(1)[3], "3");

    // The choices store without a check: "-" alone.
    tab->Edit3->setText("");
    tab->radioMinus->setChecked(true);
    EXPECT_EQ(row(1)[3], "-");
}

TEST_F(CreateTabTest, ChoosingAnOvalSnapsTheBorderAndClearsTheHighlightInOrder)
{
    tab->CheckBox9->setChecked(true);
    choose(tab->ComboBox1, 4, &CreateTab::ComboBox1Change, tab);
    add("/b/A.djvu");
    EXPECT_TRUE(tab->Edit4->isEnabled());
    recordStores();

    choose(tab->ComboBox2, 1, &CreateTab::ComboBox2Change, tab);
    EXPECT_EQ(stores, (QList<int>{5, 11, 6}));
    EXPECT_EQ(row(0)[5], "2");
    EXPECT_EQ(row(0)[11], "0");
    EXPECT_EQ(row(0)[6], "1");
    EXPECT_EQ(tab->ComboBox1->currentIndex(), 2);
    EXPECT_FALSE(tab->CheckBox9->isEnabled());
    EXPECT_FALSE(tab->CheckBox9->isChecked());
    EXPECT_FALSE(tab->colour2Button->isEnabled());
    EXPECT_TRUE(tab->colour1Button->isEnabled());
    EXPECT_FALSE(tab->Edit4->isEnabled());

    // No shadows for ovals.
    choose(tab->ComboBox1, 6, &CreateTab::ComboBox1Change, tab);
    EXPECT_EQ(tab->ComboBox1->currentIndex(), 2);
    EXPECT_EQ(row(0)[5], "2");

    // Back to a rectangle: the box is offered again but stays clear.
    choose(tab->ComboBox2, 0, &CreateTab::ComboBox2Change, tab);
    EXPECT_TRUE(tab->CheckBox9->isEnabled());
    EXPECT_FALSE(tab->CheckBox9->isChecked());
    EXPECT_EQ(row(0)[6], "0");
}

TEST_F(CreateTabTest, AnOvalWithAPlainBorderKeepsItsBorderAndAnEmptyListStoresNothing)
{
    choose(tab->ComboBox1, 0, &CreateTab::ComboBox1Change, tab);
    choose(tab->ComboBox2, 1, &CreateTab::ComboBox2Change, tab);
    EXPECT_EQ(tab->ComboBox1->currentIndex(), 0);
    EXPECT_FALSE(tab->colour1Button->isEnabled());
    add("/b/A.djvu");
    EXPECT_EQ(row(0)[5], "0");
    EXPECT_EQ(row(0)[6], "1");
}

TEST_F(CreateTabTest, AColourChosenAsTextRoundTripsThroughTheRow)
{
    add("/b/A.djvu");
    colour = QColor(0x12, 0x34, 0x56);
    tab->colour1Click();
    EXPECT_EQ(row(0)[7], "123456");
    colour.reset(); // cancelled: nothing changes
    tab->colour2Click();
    EXPECT_EQ(row(0)[8], "000000");

    add("/b/B.djvu"); // takes the swatches as they are
    EXPECT_EQ(row(1)[7], "123456");
    tab->Shape1->setColour(0xFFFFFF);
    select(0);
    EXPECT_EQ(tab->Shape1->colour(), 0x563412u); // the platform's value: red lowest
    EXPECT_EQ(tab->Shape1->colourText(), "123456");
}

// The page field takes ranges, the offset field signed offsets; no field takes letters, and
// the row stores a list only once it reads.
TEST_F(CreateTabTest, PageAndOffsetFieldsTakeRangeListsButNoLetters)
{
    add("/b/A.djvu");
    for (QLineEdit* edit : {tab->Edit1, tab->Edit2, tab->Edit3}) {
        const QString before = edit->text();
        type(edit, "ax ");
        EXPECT_EQ(edit->text(), before) << edit->objectName().toStdString();
    }
    type(tab->Edit2, ",-");
    EXPECT_EQ(tab->Edit2->text(), "1"); // one last page, never a list

    type(tab->Edit1, ",1");
    EXPECT_EQ(row(0)[1], "1"); // "1,1" does not read: never stored
    EXPECT_EQ(tab->Edit1->text(), "1,1");
    type(tab->Edit1, "7-18");
    EXPECT_EQ(row(0)[1], "1,17-18");
    EXPECT_FALSE(tab->Edit2->isEnabled()); // a list leaves the last page unused
    type(tab->Edit3, ",-3");
    EXPECT_EQ(row(0)[3], "0,-3");
    add("/b/B.djvu");
    EXPECT_TRUE(messages.isEmpty());
    ASSERT_EQ(form->createList.count(), 2);

    // Loading a row with a list gives the fields back as they were typed.
    tab->Edit1->setText("4");
    tab->Edit3->setText("2");
    EXPECT_TRUE(tab->Edit2->isEnabled());
    select(0);
    EXPECT_EQ(tab->Edit1->text(), "1,17-18");
    EXPECT_EQ(tab->Edit3->text(), "0,-3");
    EXPECT_TRUE(tab->radioPlus->isChecked());
    EXPECT_FALSE(tab->Edit2->isEnabled());
}

TEST_F(CreateTabTest, RemovingOrOpeningWithoutASelectionShowsMes1)
{
    tab->deleteClick();
    tab->N4Click();
    EXPECT_EQ(messages, (QStringList{mes1(), mes1()}));
    add("/b/A.djvu");
    tab->deleteClick(); // a last row is not a selected row
    EXPECT_EQ(form->createList.count(), 1);
    EXPECT_EQ(messages.size(), 3);
    EXPECT_TRUE(opened.isEmpty());

    select(0);
    tab->N4Click();
    EXPECT_EQ(opened, QStringList{QDir::toNativeSeparators("/b/A.djvu")});
    tab->deleteClick();
    EXPECT_EQ(form->createList.count(), 0);
    EXPECT_EQ(messages.size(), 3);
}

TEST_F(CreateTabTest, LoadingARowStopsSilentlyAtTheFirstColumnThatDoesNotConvert)
{
    add("/b/A.djvu");
    form->createList.store(5, "x"); // border type no longer a number
    form->createList.store(1, "4");
    form->createList.store(4, "2");
    form->createList.store(10, "1");
    tab->Edit1->blockSignals(true);
    tab->Edit1->setText("8");
    tab->Edit1->blockSignals(false);
    select(0);
    EXPECT_EQ(tab->Edit1->text(), "4");
    EXPECT_EQ(tab->ComboBox3->currentIndex(), 2); // before the failure
    EXPECT_FALSE(tab->CheckBox8->isChecked());    // after it: untouched
    EXPECT_EQ(row(0)[5], "x");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CreateTabTest, LoadingARowKeepsTheContentsLinkControlsAndBringsTheEnablingInLine)
{
    choose(tab->ComboBox1, 2, &CreateTab::ComboBox1Change, tab);
    add("/b/A.djvu");
    add("/b/B.djvu"); // changes now go to B
    choose(tab->ComboBox1, 5, &CreateTab::ComboBox1Change, tab);
    tab->CheckBox14->setChecked(false);
    tab->Edit13->setText("other");
    select(0);
    EXPECT_EQ(tab->ComboBox1->currentIndex(), 2);
    EXPECT_TRUE(tab->colour1Button->isEnabled());
    EXPECT_FALSE(tab->Edit4->isEnabled());
    EXPECT_FALSE(tab->CheckBox14->isChecked()); // column 13 is not loaded
    EXPECT_EQ(tab->Edit13->text(), "other");    // nor column 28
    EXPECT_EQ(row(0)[13], "1");
    EXPECT_EQ(row(0)[28], "Go to page");
}

TEST_F(CreateTabTest, TheListShowsOnlyPathAndFileAndTheWidthStepsWithinItsRange)
{
    for (int c = 0; c < 31; ++c)
        EXPECT_EQ(tab->ListView2->isColumnHidden(c), c > 1) << c;
    choose(tab->ComboBox1, 3, &CreateTab::ComboBox1Change, tab);
    add("/b/A.djvu");
    tab->UpDown1->stepBy(-1);
    EXPECT_EQ(tab->Edit4->text(), "0");
    tab->UpDown1->stepBy(150);
    EXPECT_EQ(tab->Edit4->text(), "100");
    EXPECT_EQ(row(0)[9], "100");
}

TEST_F(CreateTabTest, KeysAndClicksInTheListLoadTheRowAndAnEmptyClickDeselects)
{
    add("/b/A.djvu");
    tab->Edit1->setText("2"); // into A, the last row
    add("/b/B.djvu");
    tab->Edit1->setText("6"); // into B
    form->show();
    tab->ListView2->setFocus();
    tab->ListView2->selectRow(0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(tab->ListView2, &release);
    EXPECT_EQ(tab->Edit1->text(), "2");

    const QPoint empty(5, tab->ListView2->viewport()->height() - 3);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(empty),
                      tab->ListView2->viewport()->mapToGlobal(QPointF(empty)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tab->ListView2->viewport(), &press);
    EXPECT_EQ(form->createList.selected(), -1);
    tab->Edit1->setText("8");
    EXPECT_EQ(row(1)[1], "8");
    EXPECT_EQ(row(0)[1], "2");
}

} // namespace
