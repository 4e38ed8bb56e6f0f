// The review window: a generated book's contents pages drawn with every entry's area, the
// entries checked against their target pages, edits written exactly, Cancel writing nothing,
// and clear words for a page without text and a missing ddjvu.
#include "../engine/CreateTestSupport.h"
#include "test_main_window_harness.h"

#include "base/ReviewCaptions.h"
#include "ui/review/PageView.h"
#include "ui/review/ReviewWindow.h"
#include "ui/tabs/CreateTab.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace {

using CreateTest::linksOf;
using CreateTest::targetsOf;

QString englishFile()
{
    return QStringLiteral(TOCSMITH_SOURCE_DIR "/language/English.lng");
}

// Page 1 and 2 hold the contents; the body's pages carry the headings, one page after the
// printed number (offset 1).
QList<FixturePage> contentsBook(bool secondPageHasText = true)
{
    FixturePage first;
    first.lines << FixtureLine::entry(300, 3000, {"1", "Beginnings"}, "2");
    first.lines << FixtureLine::entry(300, 2900, {"1.1", "Early", "days"}, "3");
    FixturePage second;
    second.hasText = secondPageHasText;
    second.lines << FixtureLine::entry(300, 3000, {"2", "Endings"}, "5");
    second.lines << FixtureLine::entry(300, 2900, {"3", "Afterword"}, "7");
    QList<FixturePage> pages{first, second};
    const QList<QStringList> headings = {
        {"1", "Beginnings"}, {"1.1", "Early", "days"}, {"Plain", "text"}, {"2", "Endings"},
        {"Plain", "text"},   {"Plain", "text"},        {"Other", "words"}};
    for (qsizetype i = 0; i < headings.size(); ++i)
        pages << FixturePage::headed(headings[i], QString::number(i + 2));
    return pages;
}

// The same book with a line on the first contents page that no page prints and no number
// follows: the reading cannot link it.
QList<FixturePage> bookWithALineNotLinked()
{
    QList<FixturePage> pages = contentsBook();
    pages[0].lines << FixtureLine::layout(300, 2700, {"Plates", "and", "maps"});
    return pages;
}

class ReviewWindowTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir exe;
    MessageTexts texts;
    std::unique_ptr<ReviewWindow> window;

    QString book(const QList<FixturePage>& pages, const QString& name = "book.djvu")
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }
    static CreateJob job(const QString& path, int first, int last, int offset, bool outline)
    {
        CreateRow row = CreateTest::row(path, first, last, offset);
        row.columns.last() = outline ? "1" : "0";
        CreateJob made;
        QString error;
        EXPECT_TRUE(CreateRowReader::read(row, &made, &error)) << error.toStdString();
        return made;
    }
    void open(const CreateJob& made, CreateOptions options = {})
    {
        options.backup = false;
        window = std::make_unique<ReviewWindow>(made, options, exe.path(), texts,
                                                ReviewCaptions(englishFile()));
        window->start();
        window->waitUntilIdle();
    }
    QAbstractItemModel* table() const { return window->table->model(); }
    QString title(int row) const { return table()->index(row, 0).data(Qt::EditRole).toString(); }
    static CreateJob smartJob(const QString& path, int first, int last, int offset)
    {
        CreateJob made = job(path, first, last, offset, true);
        made.reading = ContentsReading::Smart;
        return made;
    }
};

TEST_F(ReviewWindowTest, ShowsEveryEntryWithItsAreaAndItsCheck)
{
    const QString path = book(contentsBook());
    open(job(path, 1, 2, 1, false));
    ReviewModel& model = window->model();
    ASSERT_EQ(model.rowCount(), 4) << window->lastMessage().toStdString();
    EXPECT_TRUE(window->writeButton->isEnabled());
    EXPECT_EQ(table()->headerData(ReviewModel::TargetColumn, Qt::Horizontal).toString(), "Page");

    // Both contents pages, one under the other, drawn by ddjvu in the page's proportions.
    const QList<PageView::Page>& pages = window->pageView->pages();
    ASSERT_EQ(pages.size(), 2);
    for (const PageView::Page& page : pages) {
        EXPECT_FALSE(page.image.isNull()) << page.message.toStdString();
        EXPECT_EQ(page.size, QSize(2480, 3508));
        EXPECT_NEAR(double(page.image.height()) / page.image.width(), 3508.0 / 2480, 0.01);
        EXPECT_EQ(page.areas.size(), 2);
    }
    QRect above;
    for (int row = 0; row < 4; ++row) {
        const QRect area = window->pageView->areaOnScreen(row);
        EXPECT_FALSE(area.isEmpty()) << row;
        EXPECT_TRUE(window->pageView->rect().contains(area)) << row;
        if (row % 2 == 1) { // the second entry of a page stands below the first
            EXPECT_GT(area.top(), above.bottom());
        }
        above = area;
    }
    // The second page is drawn under the first.
    EXPECT_GT(window->pageView->areaOnScreen(2).top(), window->pageView->areaOnScreen(1).bottom());

    // Targets 3, 4, 6, 8: the last one's page shows other words.
    QStringList targets, checks;
    for (int row = 0; row < 4; ++row) {
        targets << table()->index(row, ReviewModel::TargetColumn).data().toString();
        checks << table()->index(row, ReviewModel::CheckColumn).data().toString();
    }
    EXPECT_EQ(targets, QStringList({"3", "4", "6", "8"}));
    EXPECT_EQ(checks, QStringList({"found", "found", "found", "not found"}));
    EXPECT_TRUE(table()->index(3, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(table()->index(0, 0).data(Qt::BackgroundRole).isValid());

    // Selecting an entry highlights its area and shows its target page.
    window->table->selectRow(2);
    window->waitUntilIdle();
    EXPECT_EQ(window->pageView->selectedRow(), 2);
    EXPECT_TRUE(window->targetLabel->text().endsWith("6"));
    EXPECT_FALSE(window->thumbnail->pixmap().isNull());
    // A click on an area selects its entry.
    QTest::mouseClick(window->pageView, Qt::LeftButton, {},
                      window->pageView->areaOnScreen(3).center());
    EXPECT_EQ(window->table->currentIndex().row(), 3);
    EXPECT_EQ(window->pageView->selectedRow(), 3);
    // Zoom changes the drawn size of pages and areas alike.
    const QRect before = window->pageView->areaOnScreen(0);
    window->zoomInButton->click();
    EXPECT_GT(window->pageView->areaOnScreen(0).width(), before.width());
}

TEST_F(ReviewWindowTest, WriteGivesExactlyTheReviewedEntries)
{
    const QString path = book(contentsBook());
    open(job(path, 1, 2, 0, true));
    ASSERT_EQ(window->model().rowCount(), 4);
    // The offset moves every target at once: 3, 4, 6, 8.
    window->offsetBox->setValue(1);
    EXPECT_EQ(table()->index(0, ReviewModel::TargetColumn).data().toInt(), 3);
    EXPECT_EQ(table()->index(3, ReviewModel::TargetColumn).data().toInt(), 8);
    // The afterword leads to page 9, the early days are left out, the endings are a section.
    EXPECT_TRUE(table()->setData(table()->index(3, ReviewModel::TargetColumn), "9"));
    EXPECT_FALSE(table()->setData(table()->index(3, ReviewModel::TargetColumn), "99"));
    EXPECT_TRUE(table()->setData(table()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    window->table->selectRow(2);
    window->levelBox->setValue(2);
    EXPECT_TRUE(table()->setData(table()->index(0, 0), "1 First steps"));
    window->waitUntilIdle();
    EXPECT_FALSE(window->pageView->pages()[0].areas[1].written);

    window->writeClick();
    window->waitUntilIdle();
    ASSERT_TRUE(window->written()) << window->lastMessage().toStdString();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const auto links = linksOf(path);
    EXPECT_EQ(targetsOf(links.value(1)), QStringList({"#3"}));
    EXPECT_EQ(targetsOf(links.value(2)), QStringList({"#6", "#9"}));
    const QString outline = DjvuFixture::djvused(path, "print-outline");
    EXPECT_TRUE(outline.contains("\"1 First steps\"")) << outline.toStdString();
    EXPECT_FALSE(outline.contains("Early")) << outline.toStdString();
    // The endings nest under the first chapter; the afterword does not.
    const QString nested = QString(outline).remove(QRegularExpression("\\s"));
    EXPECT_TRUE(nested.contains("\"#3\"(\"2Endings\"\"#6\")")) << outline.toStdString();
    EXPECT_TRUE(nested.contains("(\"3Afterword\"\"#9\")")) << outline.toStdString();
}

TEST_F(ReviewWindowTest, ALineNotLinkedBecomesAnEntryThatIsWritten)
{
    const QString path = book(bookWithALineNotLinked());
    open(smartJob(path, 1, 2, 1));
    ASSERT_EQ(window->model().rowCount(), 4) << window->lastMessage().toStdString();
    ASSERT_EQ(window->linesList->rowCount(), 1);
    EXPECT_EQ(window->linesList->item(0, 0)->text(), "1");
    EXPECT_EQ(window->linesList->item(0, 1)->text(), "Plates and maps");
    EXPECT_FALSE(window->linesList->item(0, 2)->text().isEmpty());
    EXPECT_FALSE(window->addLineButton->isEnabled()); // no line chosen yet

    window->linesList->selectRow(0);
    QTest::keyClick(window->linesList, Qt::Key_Insert);
    window->waitUntilIdle();
    ASSERT_EQ(window->model().rowCount(), 5);
    EXPECT_EQ(window->linesList->rowCount(), 0);
    // It stands where the line stands, after the early days, its area on the line's words,
    // leading where the next entry leads until the user says otherwise.
    EXPECT_EQ(title(2), "Plates and maps");
    EXPECT_EQ(window->table->currentIndex().row(), 2);
    EXPECT_EQ(table()->index(2, ReviewModel::TargetColumn).data().toInt(), 6);
    const PlanEntry& added = window->model().entries()[2].entry;
    EXPECT_EQ(added.contentsPage, 1);
    EXPECT_EQ(added.area.y, 2700);
    EXPECT_EQ(window->pageView->pages()[0].areas.size(), 3);
    EXPECT_TRUE(table()->setData(table()->index(2, ReviewModel::TargetColumn), "9"));
    QTest::keyClick(window->table, Qt::Key_Backtab); // a chapter of its own

    window->writeClick();
    window->waitUntilIdle();
    ASSERT_TRUE(window->written()) << window->lastMessage().toStdString();
    EXPECT_EQ(targetsOf(linksOf(path).value(1)), QStringList({"#3", "#4", "#9"}));
    const QString outline =
        DjvuFixture::djvused(path, "print-outline").remove(QRegularExpression("\\s"));
    EXPECT_TRUE(outline.contains("(\"Platesandmaps\"\"#9\")(\"2Endings\""))
        << outline.toStdString();
}

// Delete takes an entry out of the table and the book; Tab and Shift+Tab change the level
// the outline gets.
TEST_F(ReviewWindowTest, DeleteAndTabKeysReachTheWrittenOutline)
{
    const QString path = book(contentsBook());
    open(smartJob(path, 1, 2, 1));
    ASSERT_EQ(window->model().rowCount(), 4) << window->lastMessage().toStdString();
    struct Step
    {
        int row;
        Qt::Key key;
        int rows;  // entries after the key
        int level; // of the entry on `row` after the key, when it stays
    };
    const QList<Step> steps = {
        {3, Qt::Key_Tab, 4, 2},     // the afterword goes under the endings
        {3, Qt::Key_Tab, 4, 3},     //  and deeper
        {3, Qt::Key_Backtab, 4, 2}, //  and back
        {1, Qt::Key_Backtab, 4, 1}, // the early days become a chapter
        {1, Qt::Key_Backtab, 4, 1}, //  and no higher than that
        {0, Qt::Key_Delete, 3, 1},  // the beginnings are gone
    };
    for (const Step& step : steps) {
        window->table->selectRow(step.row);
        QTest::keyClick(window->table, step.key);
        ASSERT_EQ(window->model().rowCount(), step.rows);
        EXPECT_EQ(window->model().entries()[step.key == Qt::Key_Delete ? 0 : step.row].entry.level,
                  step.level)
            << step.row;
        if (step.key != Qt::Key_Delete)
            EXPECT_EQ(window->levelBox->value(), step.level);
    }
    EXPECT_EQ(title(0), "1.1 Early days");
    window->writeClick();
    window->waitUntilIdle();
    ASSERT_TRUE(window->written()) << window->lastMessage().toStdString();
    EXPECT_EQ(targetsOf(linksOf(path).value(1)), QStringList({"#4"}));
    const QString outline =
        DjvuFixture::djvused(path, "print-outline").remove(QRegularExpression("\\s"));
    EXPECT_FALSE(outline.contains("Beginnings")) << outline.toStdString();
    EXPECT_TRUE(
        outline.contains("(\"1.1Earlydays\"\"#4\")(\"2Endings\"\"#6\"(\"3Afterword\"\"#8\"))"))
        << outline.toStdString();
}

TEST_F(ReviewWindowTest, CancelLeavesTheFolderByteForByte)
{
    const QString path = book(contentsBook());
    const auto before = DjvuFixture::readFolder(dir.path());
    CreateOptions options;
    open(job(path, 1, 2, 1, true), options);
    ASSERT_EQ(window->model().rowCount(), 4);
    window->offsetBox->setValue(3);
    window->model().setTicked(0, false);
    window->cancelButton->click();
    window->waitUntilIdle();
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(window->written());
    window.reset();
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
}

TEST_F(ReviewWindowTest, PagesWithoutTextLayerAreNamed)
{
    const QString path = book(contentsBook(false));
    open(job(path, 1, 2, 1, false));
    EXPECT_EQ(window->model().rowCount(), 2);
    const QList<PageView::Page>& pages = window->pageView->pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].message.isEmpty()) << pages[0].message.toStdString();
    EXPECT_EQ(pages[1].message, "Page 2 has no text layer: no link was found on it.");
    EXPECT_TRUE(window->statusLabel->text().contains("Page 2 has no text layer"));

    // With the text-less page alone nothing is found, and nothing can be written.
    open(job(path, 2, 2, 1, false));
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_FALSE(window->writeButton->isEnabled());
    EXPECT_EQ(window->pageView->pages()[0].message,
              "Page 2 has no text layer: no link was found on it.");
}

TEST_F(ReviewWindowTest, AMissingDdjvuIsNamedAndTheEntriesStillShow)
{
    const QString path = book(contentsBook());
    // Only djvused on the tools' path.
    QTemporaryDir tools;
    ASSERT_TRUE(QFile::link(QStandardPaths::findExecutable("djvused"), tools.filePath("djvused")));
    const QByteArray path0 = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit());
    open(job(path, 1, 2, 1, false));
    window->table->selectRow(1);
    window->waitUntilIdle();
    qputenv("PATH", path0);
    const QString missing = "The ddjvu tool of DjVuLibre is missing: pages cannot be shown.";
    EXPECT_EQ(window->model().rowCount(), 4);
    for (const PageView::Page& page : window->pageView->pages()) {
        EXPECT_EQ(page.message, missing);
        EXPECT_EQ(page.areas.size(), 2);
    }
    EXPECT_EQ(window->thumbnail->text(), missing);
    EXPECT_TRUE(window->statusLabel->text().contains(missing));
}

// Closing the review while the book is still being read ends the reading tool; nothing changes.
TEST_F(ReviewWindowTest, ClosingWhileReadingEndsTheReadingTool)
{
    const QString path = book(contentsBook());
    const auto before = DjvuFixture::readFolder(dir.path());
    const QString marker = exe.filePath("marker");
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "ls", marker));
    window = std::make_unique<ReviewWindow>(job(path, 1, 2, 1, false), CreateOptions{}, exe.path(),
                                            texts, ReviewCaptions());
    window->start();
    const qint64 pid = DjvuFixture::waitForMarker(marker);
    ASSERT_GT(pid, 0);
    window.reset(); // returns once the reading has stopped
    EXPECT_FALSE(DjvuFixture::processAlive(pid));
    EXPECT_EQ(DjvuFixture::readFolder(dir.path()), before);
}

class ReviewFromTheWindowTest : public WindowTest
{
protected:
    QTemporaryDir dir;
    QString path;
    CreateTab* tab = nullptr;

    void SetUp() override
    {
        startShown();
        path = dir.filePath("book.djvu");
        QString error;
        ASSERT_TRUE(DjvuFixture::build(path, contentsBook(), &error)) << error.toStdString();
        tab = form->TabSheet2;
    }
    // Adds the book with the fields as they stand and opens its review.
    ReviewWindow* review()
    {
        filesToChoose << path;
        tab->Button4Click();
        tab->ListView2->selectRow(0);
        tab->ListView2Click();
        tab->previewAction->trigger();
        if (form->reviewWindow)
            form->reviewWindow->waitUntilIdle();
        return form->reviewWindow;
    }
};

TEST_F(ReviewFromTheWindowTest, PreviewOpensTheSelectedRowsReviewInTheWindowsLanguage)
{
    EXPECT_EQ(tab->previewButton->text(), QString::fromUtf8("Просмотр"));
    tab->previewButton->click();
    EXPECT_EQ(messages.size(), 1); // no row selected
    EXPECT_FALSE(form->reviewWindow);

    tab->Edit2->setText("2");
    ASSERT_TRUE(review());
    EXPECT_EQ(form->reviewWindow->model().rowCount(), 4);
    EXPECT_EQ(form->reviewWindow->writeButton->text(), QString::fromUtf8("Записать"));
    form->reviewWindow->cancelButton->click();
    QApplication::processEvents();
}

// Two contents ranges typed in the Create tab, each with its own offset, reviewed and written.
TEST_F(ReviewFromTheWindowTest, TwoRangesFromTheTabAreReviewedAndWrittenWithTheirOffsets)
{
    tab->Edit1->setText("1,2");
    tab->Edit3->setText("1,2");
    tab->CheckBox14->setChecked(false); // no contents link among the links
    ReviewWindow* review = this->review();
    ASSERT_TRUE(review) << messages.join('\n').toStdString();
    ASSERT_EQ(review->pageView->pages().size(), 2);
    QStringList targets;
    for (int row = 0; row < review->model().rowCount(); ++row)
        targets << review->table->model()->index(row, ReviewModel::TargetColumn).data().toString();
    EXPECT_EQ(targets, QStringList({"3", "4", "7", "9"}));
    // The window opened from the main window goes once it has written.
    const QPointer<ReviewWindow> open(review);
    review->writeClick();
    review->waitUntilIdle();
    if (open)
        ASSERT_TRUE(open->written()) << open->lastMessage().toStdString();
    const auto links = linksOf(path);
    EXPECT_EQ(targetsOf(links.value(1)), QStringList({"#3", "#4"}));
    EXPECT_EQ(targetsOf(links.value(2)), QStringList({"#7", "#9"}));
}

} // namespace

namespace {

// Pictures of the review of the shared sample book, in Russian and English, for the README.
// Taken only when TOCSMITH_SCREENSHOTS names a folder and TOCSMITH_REVIEW_BOOK the book (run
// by scripts/review-screenshots.sh); the book is reviewed in a copy and never written.
TEST_F(ReviewWindowTest, ScreenshotsOfTheSampleBooksReview)
{
    const QString folder = qEnvironmentVariable("TOCSMITH_SCREENSHOTS");
    const QString sample = qEnvironmentVariable("TOCSMITH_REVIEW_BOOK");
    if (folder.isEmpty() || sample.isEmpty())
        GTEST_SKIP() << "set TOCSMITH_SCREENSHOTS and TOCSMITH_REVIEW_BOOK to take the pictures";
    const QString path = dir.filePath("sample.djvu");
    ASSERT_TRUE(QFile::copy(sample, path));
    struct Shot
    {
        const char* name;
        int first, last, offset, row;
    };
    const QList<Shot> shots = {{"page1", 1, 1, 0, 2}, {"pages17-18", 17, 18, 16, 5}};
    const QList<std::pair<const char*, QString>> languages = {{"russian", QString()},
                                                              {"english", englishFile()}};
    for (const auto& [language, file] : languages) {
        for (const Shot& shot : shots) {
            CreateJob made = job(path, shot.first, shot.last, shot.offset, true);
            made.reading = ContentsReading::Smart;
            CreateOptions options;
            options.backup = false;
            window = std::make_unique<ReviewWindow>(made, options, exe.path(), texts,
                                                    ReviewCaptions(file));
            window->show();
            window->start();
            window->waitUntilIdle();
            ASSERT_GT(window->model().rowCount(), shot.row) << window->lastMessage().toStdString();
            window->table->selectRow(shot.row);
            window->waitUntilIdle();
            const QString name = QStringLiteral("review-%1-%2.png").arg(language, shot.name);
            EXPECT_TRUE(window->grab().save(QDir(folder).filePath(name)));
        }
    }
}

} // namespace
