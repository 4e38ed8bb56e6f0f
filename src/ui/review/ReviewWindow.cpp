#include "ui/review/ReviewWindow.h"

#include "ui/review/PageView.h"
#include "ui/review/WholePagePicture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Entries whose title is not on their target page are marked in the table.
class FailedMarks : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::BackgroundRole && index.data(ReviewModel::FailedRole).toBool())
            return QColor(255, 210, 210);
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

ReviewWindow::ReviewWindow(const CreateJob& job, const CreateOptions& options,
                           const QString& exeFolder, const MessageTexts& texts,
                           const ReviewCaptions& captions, QWidget* parent)
    : QDialog(parent), job_(job), options_(options), exeFolder_(exeFolder), texts_(texts),
      captions_(captions)
{
    build();
}

ReviewWindow::~ReviewWindow()
{
    stopReading_.cancel();
    pool_.waitForDone();
}

void ReviewWindow::waitUntilIdle()
{
    while (pending_ > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

void ReviewWindow::build()
{
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(captions_.text("title") + QStringLiteral(" - ") +
                   QFileInfo(job_.path).fileName());
    resize(1180, 760);
    model_.setParent(this);
    model_.setHeaders(
        {captions_.text("h1"), captions_.text("h2"), captions_.text("h3"), captions_.text("h4")});
    model_.setCheckWords(
        {captions_.text("c1"), captions_.text("c2"), captions_.text("c3"), captions_.text("c4")});
    model_.setMovedWords(captions_.text("c5"));

    pageView = new PageView;
    pageScroll = new QScrollArea;
    pageScroll->setWidget(pageView);
    pageScroll->setAlignment(Qt::AlignHCenter);
    zoomInButton = new QPushButton(captions_.text("z1"));
    zoomOutButton = new QPushButton(captions_.text("z2"));
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomInButton);
    zoomRow->addWidget(zoomOutButton);
    zoomRow->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(zoomRow);
    left->addWidget(pageScroll, 1);

    table = new QTableView;
    auto* marks = new FailedMarks(this);
    marks->setSourceModel(&model_);
    table->setModel(marks);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(ReviewModel::TitleColumn, QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(22);
    levelLabel = new QLabel(captions_.text("l1"));
    levelBox = new QSpinBox;
    levelBox->setRange(1, ReviewModel::kDeepestLevel);
    offsetLabel = new QLabel(captions_.text("l2"));
    offsetBox = new QSpinBox;
    offsetBox->setRange(-9999, 9999);
    auto* edits = new QHBoxLayout;
    edits->addWidget(levelLabel);
    edits->addWidget(levelBox);
    edits->addSpacing(16);
    edits->addWidget(offsetLabel);
    edits->addWidget(offsetBox);
    edits->addStretch();
    targetLabel = new QLabel(captions_.text("l3"));
    thumbnail = new WholePagePicture;
    statusLabel = new QLabel(captions_.text("s1"));
    statusLabel->setWordWrap(true);
    auto* targetColumn = new QVBoxLayout;
    targetColumn->addWidget(targetLabel);
    targetColumn->addWidget(thumbnail, 1);
    deleteButton = new QPushButton(captions_.text("a2"));
    edits->addWidget(deleteButton);
    linesLabel = new QLabel(captions_.text("a3"));
    linesList = new QTableWidget(0, 3);
    linesList->setObjectName(QStringLiteral("linesList"));
    linesList->setHorizontalHeaderLabels(
        {captions_.text("h3"), captions_.text("h5"), captions_.text("h6")});
    linesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    linesList->setSelectionMode(QAbstractItemView::SingleSelection);
    linesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    linesList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    linesList->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    linesList->verticalHeader()->setVisible(false);
    linesList->verticalHeader()->setDefaultSectionSize(22);
    addLineButton = new QPushButton(captions_.text("a1"));
    auto* linesRow = new QHBoxLayout;
    linesRow->addWidget(linesLabel);
    linesRow->addStretch();
    linesRow->addWidget(addLineButton);
    auto* lower = new QHBoxLayout;
    lower->addLayout(targetColumn, 1);
    lower->addWidget(statusLabel, 1, Qt::AlignTop);
    writeButton = new QPushButton(captions_.text("b2"));
    cancelButton = new QPushButton(captions_.text("b3"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(writeButton);
    buttons->addWidget(cancelButton);
    auto* right = new QVBoxLayout;
    right->addWidget(table, 3);
    right->addLayout(edits);
    right->addLayout(linesRow);
    right->addWidget(linesList, 1);
    right->addLayout(lower, 1);
    right->addLayout(buttons);

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 5);
    whole->addLayout(right, 4);
    connectControls();
    updateActions();
}

void ReviewWindow::connectControls()
{
    connect(zoomInButton, &QPushButton::clicked, this,
            [this] { pageView->setZoom(pageView->zoom() * 1.25); });
    connect(zoomOutButton, &QPushButton::clicked, this,
            [this] { pageView->setZoom(pageView->zoom() / 1.25); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(writeButton, &QPushButton::clicked, this, &ReviewWindow::writeClick);
    connect(addLineButton, &QPushButton::clicked, this, &ReviewWindow::addLineClick);
    connect(deleteButton, &QPushButton::clicked, this, &ReviewWindow::deleteClick);
    connect(linesList, &QTableWidget::itemSelectionChanged, this, &ReviewWindow::updateActions);
    connect(linesList, &QTableWidget::cellDoubleClicked, this, &ReviewWindow::addLineClick);
    table->installEventFilter(this);
    linesList->installEventFilter(this);
    connect(pageView, &PageView::rowClicked, this, [this](int row) { table->selectRow(row); });
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectRow(current.row()); });
    connect(levelBox, &QSpinBox::valueChanged, this, [this](int level) {
        const int row = table->currentIndex().row();
        if (row >= 0 && model_.entries()[row].entry.level != level)
            model_.setLevel(row, level);
    });
    connect(offsetBox, &QSpinBox::valueChanged, this, [this](int offset) {
        if (offset != model_.offset())
            model_.setOffset(offset);
    });
    connect(&model_, &QAbstractItemModel::dataChanged, this, [this] {
        refreshAreas();
        showStatus();
        const int row = table->currentIndex().row();
        if (row >= 0 && row < model_.rowCount()) {
            const QSignalBlocker quiet(levelBox);
            levelBox->setValue(std::max(model_.entries()[row].entry.level, 1));
        }
    });
    for (auto rowsChanged : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&model_, rowsChanged, this, [this] {
            refreshAreas();
            showLines();
            showStatus();
        });
    connect(&model_, &ReviewModel::targetsChanged, this, [this] {
        readTexts();
        selectRow(table->currentIndex().row());
    });
}

void ReviewWindow::start()
{
    const ReviewSession session(exeFolder_, work_.path(), texts_);
    const CreateJob job = job_;
    const CreateOptions options = options_;
    background<ReviewSession::Result>(
        [this, session, job, options] { return session.plan(job, options, &stopReading_); },
        [this](const ReviewSession::Result& r) { planned(r); });
}

void ReviewWindow::planned(const ReviewSession::Result& result)
{
    planOk_ = result.ok && result.plan.entryCount() > 0;
    log_ = result.log;
    lastMessage_ = result.message;
    model_.setPlan(result.plan, job_.offsetAuto ? 0 : job_.offset);
    {
        const QSignalBlocker quiet(offsetBox);
        offsetBox->setValue(model_.offset());
    }
    pageView->setLook(result.plan.shape, result.plan.border);
    // The pages of every contents range, one under the other.
    QList<PageView::Page> pages;
    for (const ContentsRange& range : job_.ranges()) {
        const int last = result.plan.pageCount > 0 ? std::min(range.lastPage, result.plan.pageCount)
                                                   : std::min(range.lastPage, range.firstPage + 20);
        for (int number = std::max(range.firstPage, 1); number <= last; ++number)
            pages << PageView::Page{number, {}, {}, captions_.text("s1"), {}};
    }
    pageView->setPages(pages);
    for (const PageView::Page& page : std::as_const(pages))
        drawPage(page.number);
    refreshAreas();
    readTexts();
    showLines();
    updateActions();
    showStatus();
    if (model_.rowCount() > 0)
        table->selectRow(0);
}

void ReviewWindow::selectRow(int row)
{
    pageView->setSelectedRow(row);
    if (row < 0 || row >= model_.rowCount())
        return;
    const PlanEntry& entry = model_.entries()[row].entry;
    {
        const QSignalBlocker quiet(levelBox);
        levelBox->setValue(std::max(entry.level, 1));
    }
    const QRect area = pageView->areaOnScreen(row);
    if (!area.isEmpty())
        pageScroll->ensureVisible(area.center().x(), area.center().y(), 50, 120);
    drawThumbnail(int(entry.targetPage));
}

void ReviewWindow::showLines()
{
    const QList<int> open = model_.openLines();
    linesList->setRowCount(0);
    linesList->setRowCount(int(open.size()));
    for (qsizetype row = 0; row < open.size(); ++row) {
        const LineAccount::Line& line = model_.plan().lines.lines[open[row]];
        ReviewKey reason = "r4";
        switch (line.reason) {
        case LineAccount::Reason::NoPageNumber:
            reason = "r1";
            break;
        case LineAccount::Reason::NumberUnderNoTitle:
            reason = "r2";
            break;
        case LineAccount::Reason::NumberUnreadable:
            reason = "r3";
            break;
        case LineAccount::Reason::TitleNotFound:
        case LineAccount::Reason::None:
            break;
        }
        const QStringList cells{QString::number(line.page), line.text, captions_.text(reason)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::UserRole, open[row]);
            linesList->setItem(int(row), column, item);
        }
    }
    linesLabel->setVisible(!open.isEmpty());
    linesList->setVisible(!open.isEmpty());
    addLineButton->setVisible(!open.isEmpty());
    updateActions();
}

void ReviewWindow::updateActions()
{
    writeButton->setEnabled(planOk_ && !writing_);
    cancelButton->setEnabled(!writing_);
    addLineButton->setEnabled(!linesList->selectedItems().isEmpty());
}

void ReviewWindow::addLineClick()
{
    const QList<QTableWidgetItem*> chosen = linesList->selectedItems();
    if (chosen.isEmpty() || !planOk_ || writing_)
        return;
    const int row = model_.addLine(chosen.first()->data(Qt::UserRole).toInt());
    if (row < 0)
        return;
    table->selectRow(row);
    selectRow(row);
}

void ReviewWindow::deleteClick()
{
    const int row = table->currentIndex().row();
    if (row < 0 || writing_ || !model_.removeEntry(row))
        return;
    if (model_.rowCount() > 0)
        table->selectRow(std::min(row, model_.rowCount() - 1));
}

bool ReviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == table && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        // Tab takes the entry one level deeper, Shift+Tab one level up.
        const int row = table->currentIndex().row();
        if (row >= 0 && !writing_)
            model_.shiftLevel(row, key == Qt::Key_Tab ? 1 : -1);
        return true;
    }
    if (watched == table && key == Qt::Key_Delete) {
        deleteClick();
        return true;
    }
    if (watched == linesList && (key == Qt::Key_Insert || key == Qt::Key_Return)) {
        addLineClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ReviewWindow::showStatus()
{
    if (!planOk_) {
        statusLabel->setText(lastMessage_.isEmpty() ? captions_.text("s1") : lastMessage_);
        return;
    }
    int ticked = 0, failed = 0;
    for (const ReviewEntry& e : model_.entries()) {
        ticked += e.ticked ? 1 : 0;
        failed += e.check == ReviewEntry::Check::NotFound ? 1 : 0;
    }
    QStringList lines{captions_.text("s5").arg(ticked).arg(model_.rowCount()).arg(failed)};
    if (!model_.plan().lines.lines.isEmpty())
        lines << model_.plan().lines.summary();
    for (const PageView::Page& page : pageView->pages())
        if (!page.message.isEmpty() && page.message != captions_.text("s1"))
            lines << page.message;
    if (!lastMessage_.isEmpty())
        lines << lastMessage_;
    lines.removeDuplicates();
    statusLabel->setText(lines.join(QLatin1Char('\n')));
}

void ReviewWindow::writeClick()
{
    if (!planOk_ || writing_)
        return;
    writing_ = true;
    updateActions();
    statusLabel->setText(captions_.text("s4"));
    const ReviewSession session(exeFolder_, work_.path(), texts_);
    const CreateJob job = job_;
    const CreateOptions options = options_;
    const ContentsPlan reviewed = model_.reviewed();
    const CreatePass::OutlineQuestion question = question_;
    background<ReviewSession::Result>(
        [session, job, options, reviewed, question] {
            return session.write(job, options, reviewed, question);
        },
        [this](const ReviewSession::Result& result) {
            log_ = result.log;
            lastMessage_ = result.message;
            written_ = result.changed;
            writing_ = false;
            updateActions();
            if (written_) {
                accept();
                return;
            }
            showStatus();
        });
}
