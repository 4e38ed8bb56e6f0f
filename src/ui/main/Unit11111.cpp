#include "ui/main/Unit11111.h"

#include "base/EngineTexts.h"
#include "base/InstallLayout.h"
#include "base/LanguageFile.h"
#include "base/Plural.h"
#include "base/ReviewCaptions.h"
#include "base/Version.h"
#include "djvu/ToolRunner.h"
#include "jobs/CreateRowReader.h"
#include "jobs/JobPath.h"
#include "links/CreatePass.h"
#include "links/FixPass.h"
#include "links/PassControl.h"
#include "links/PassEnd.h"
#include "links/PassSummary.h"
#include "ui/main/OptionTips.h"
#include "ui/ocr/Unit5.h"
#include "ui/review/ReviewWindow.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/TabGrowth.h"
#include <QTableView>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString folderOrAppDir(const QString& folder)
{
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

} // namespace

TForm1::TForm1(const QString& exeFolder, QWidget* parent)
    : QMainWindow(parent), dialogs(this), exeFolder_(folderOrAppDir(exeFolder)),
      workDir_(QDir::tempPath() + QStringLiteral("/tocsmith-work-XXXXXX"))
{
    setWindowTitle(QStringLiteral("Tocsmith v. ") + QLatin1String(kTocsmithVersion));
    // The starting size is also the smallest; the user may make the window larger.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    buildWindow();
    OptionTips::applyBuiltIn(this);
    logSink.setMemo(Memo2);
    tools_ = std::make_unique<ToolRunner>(exeFolder_, workDir_.path(), &notices);
    FormCreate();
    if (currentLanguage.isEmpty())
        languageApplied(QStringLiteral("ru")); // the built-in texts are Russian
    Form5 = new TForm5(this);
    Form5->hide();
    // The editor's failures go through the window's one message box.
    Form5->setMessageShower([this](const QString& text, const QString& caption) {
        dialogs.showMessage(text, caption);
    });
}

TForm1::~TForm1()
{
    passCancel_.cancel(); // the document being worked on stays as it was
    waitForPass();
    FormDestroy();
    EngineTexts::useEnglish();
}

QString TForm1::settingsPath() const
{
    return InstallLayout::settingsFile(exeFolder_);
}

void TForm1::buildWindow()
{
    N7 = menuBar()->addMenu(QStringLiteral("Опции"));
    N7->setObjectName(QStringLiteral("N7"));
    N8 = N7->addAction(QStringLiteral("Всегда сверху"));
    N8->setObjectName(QStringLiteral("N8"));
    N8->setCheckable(true);
    N9 = N7->addAction(QStringLiteral("Показывать протокол"));
    N9->setObjectName(QStringLiteral("N9"));
    N9->setCheckable(true);
    N7->setToolTipsVisible(true);
    Language1 = menuBar()->addMenu(QStringLiteral("Язык/Language"));
    Language1->setObjectName(QStringLiteral("Language1"));
    // A click has already moved the check mark; the handlers only apply it.
    connect(N8, &QAction::triggered, this, &TForm1::applyTopmost);
    connect(N9, &QAction::triggered, this, &TForm1::applyLogVisible);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(false);
    TabSheet1 = new FixListTab(fixList, dialogs, texts);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet3 = new ContentsLinkTab(createList, dialogs);
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    TabSheet2 = new CreateTab(createList, *TabSheet3, dialogs, texts);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Редактировать"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Создать"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Ссылка на оглавление"));
    // Right of the tabs, where it takes no room from them: shown only while a pass runs.
    auto* passBox = new QWidget(PageControl1);
    auto* passRow = new QHBoxLayout(passBox);
    passRow->setContentsMargins(0, 0, 2, 2);
    passRow->setSpacing(4);
    ProgressBar1 = new QProgressBar(passBox);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(110);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    StopButton = new QPushButton(QStringLiteral("Стоп"), passBox);
    StopButton->setObjectName(QStringLiteral("StopButton"));
    passRow->addWidget(ProgressBar1);
    passRow->addWidget(StopButton);
    PageControl1->setCornerWidget(passBox, Qt::TopRightCorner);
    ProgressBar1->hide();
    StopButton->hide();
    progressSink_.setBar(ProgressBar1);
    layout->addWidget(PageControl1, 1);
    summaryLabel = new QLabel(central);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel->hide(); // until a pass has ended
    layout->addWidget(summaryLabel);

    Memo2 = new QPlainTextEdit(central);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setFixedHeight(kLogHeight);
    layout->addWidget(Memo2);
    setCentralWidget(central);
    fixGrowth_ = std::make_unique<TabGrowth>(TabSheet1, TabSheet1->ListView1);
    createGrowth_ = std::make_unique<TabGrowth>(TabSheet2, TabSheet2->ListView2);
    aboutAction = menuBar()->addAction(EngineTexts::say("e_about"));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    connect(aboutAction, &QAction::triggered, this, &TForm1::aboutClick);

    connect(TabSheet1->xpButton4, &QAbstractButton::clicked, this, &TForm1::Button1Click);
    connect(TabSheet2->Button3, &QAbstractButton::clicked, this, &TForm1::Button3Click);
    connect(TabSheet2->N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(TabSheet2->previewButton, &QAbstractButton::clicked, this, &TForm1::previewClick);
    connect(TabSheet2->previewAction, &QAction::triggered, this, &TForm1::previewClick);
    connect(StopButton, &QAbstractButton::clicked, this, &TForm1::StopButtonClick);
}

void TForm1::N8Click()
{
    N8->setChecked(!N8->isChecked());
    applyTopmost();
}

void TForm1::N9Click()
{
    N9->setChecked(!N9->isChecked());
    applyLogVisible();
}

void TForm1::applyTopmost()
{
    const bool on = N8->isChecked();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    const QPoint position = pos();
    // Changing the flags re-creates the native window; show it again where it was. Drops
    // stay accepted (the attribute belongs to the widget).
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        move(position);
        show();
    }
}

void TForm1::applyLogVisible()
{
    if (N9->isChecked()) {
        Memo2->setFixedHeight(kLogHeight + extra_.height() / 3);
        setOuterHeight(kHeightWithLog);
        Memo2->show();
    } else {
        Memo2->setFixedHeight(0);
        Memo2->hide();
        setOuterHeight(kHeightWithoutLog);
    }
}

int TForm1::outerHeight() const
{
    return frameGeometry().height();
}

void TForm1::setOuterHeight(int height)
{
    const int frame = frameGeometry().height() - geometry().height();
    const QSize extra = extra_;
    int smallest = height - std::max(0, frame);
    if (!summaryLabel->isHidden())
        smallest += summaryLabel->sizeHint().height() + 3;
    setMinimumSize(kClientWidth, smallest);
    resize(kClientWidth + extra.width(), smallest + extra.height());
    if (!isVisible())
        return;
    // A window manager's title bar eats into the client area; with large fonts or frames,
    // grow the window rather than clip the bottom of the tabs.
    centralWidget()->layout()->activate();
    // The tabs' controls where the tabs put them, before any growth.
    int needed = std::max(fixGrowth_->naturalBottom(), createGrowth_->naturalBottom());
    for (const QWidget* child : TabSheet3->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->objectName() != QLatin1String("contactLabel") && !child->isWindow())
            needed = std::max(needed, child->geometry().bottom() + 1);
    needed += 4; // the contact line sits beside the last row
    const int tabShare = extra.height() - (N9->isChecked() ? extra.height() / 3 : 0);
    const int shortfall = needed - (PageControl1->currentWidget()->height() - tabShare);
    if (shortfall > 0) {
        setMinimumSize(kClientWidth, smallest + shortfall);
        resize(kClientWidth + extra.width(), smallest + shortfall + extra.height());
    }
}

void TForm1::applyRememberedSize()
{
    resize(std::max(width(), rememberedSize_.width()),
           std::max(height(), rememberedSize_.height()));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    extra_ = QSize(std::max(0, width() - minimumWidth()), std::max(0, height() - minimumHeight()));
    // The log takes a third of the extra height, the lists the rest.
    const int logShare = N9->isChecked() ? extra_.height() / 3 : 0;
    if (N9->isChecked())
        Memo2->setFixedHeight(kLogHeight + logShare);
    fixGrowth_->apply(QSize(extra_.width(), extra_.height() - logShare));
    createGrowth_->apply(QSize(extra_.width(), extra_.height() - logShare));
}

void TForm1::centre()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect s = screen->geometry();
    const QRect w = frameGeometry();
    // Halves round to the even integer.
    const int left = int(std::nearbyint(s.width() / 2.0) - std::nearbyint(w.width() / 2.0));
    const int top = int(std::nearbyint(s.height() / 2.0) - std::nearbyint(w.height() / 2.0));
    move(s.x() + left, s.y() + top);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The frame is known only once the window system has decorated the window.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (frameGeometry().height() != geometry().height()) {
                applyLogVisible();
                applyRememberedSize();
                centre();
            }
        },
        Qt::QueuedConnection);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (passRunning()) {
        // Asked once; a yes stops the pass, and the window closes when it has ended.
        event->ignore();
        if (!closeAfterPass_ && dialogs.question(texts.text("mes7"), windowTitle())) {
            closeAfterPass_ = true;
            StopButtonClick();
        }
        return;
    }
    FormDestroy();
    event->accept();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    filesDropped(event->mimeData()->urls());
    event->acceptProposedAction();
}

void TForm1::filesDropped(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || passRunning())
        return;
    const QUrl& first = urls.first();
    if (!first.isLocalFile())
        return;
    const QString path = first.toLocalFile();
    if (!JobPath::isDjvuName(path))
        return;
    if (PageControl1->currentWidget() == TabSheet1)
        TabSheet1->open1(path);
    else if (PageControl1->currentWidget() == TabSheet2)
        TabSheet2->open2(path);
}

void TForm1::previewClick()
{
    if (passRunning() || reviewWindow)
        return;
    const int selected = createList.selected();
    if (selected < 0) {
        dialogs.showMessage(texts.text("mes1"), QString());
        return;
    }
    CreateJob job;
    QString error;
    if (!CreateRowReader::read(createList.at(selected), &job, &error)) {
        dialogs.showMessage(error, texts.text("mes3"));
        return;
    }
    const ReviewCaptions captions(
        QDir(LanguageFile::folderIn(exeFolder())).filePath(currentLanguage));
    reviewWindow = new ReviewWindow(job, createOptions(), exeFolder(), texts, captions, this);
    reviewWindow->setAttribute(Qt::WA_DeleteOnClose);
    reviewWindow->setWindowModality(Qt::WindowModal);
    const QString asked = texts.text("mes8");
    const QString title = windowTitle();
    reviewWindow->setOutlineQuestion([this, asked, title](const QString& path, int bookmarks) {
        return dialogs.askReplaceOutline(asked.arg(path, Plural::count("e_n_bookmarks", bookmarks)),
                                         title);
    });
    // The review's log joins the window's once it closes.
    connect(reviewWindow, &QDialog::finished, this, [this, review = reviewWindow.data()] {
        for (const QString& line : review->log())
            logSink.addLine(line);
    });
    reviewWindow->start();
    reviewWindow->show();
}

void TForm1::aboutClick()
{
    QStringList lines{windowTitle(),
                      EngineTexts::say("e_about_version").arg(QLatin1String(kTocsmithVersion)),
                      QString(), EngineTexts::say("e_about_tools")};
    for (const char* tool : {"djvused", "djvutoxml", "djvuxmlparser", "ddjvu"}) {
        const QString where = tools_->resolve(QLatin1String(tool));
        lines << QStringLiteral("%1: %2").arg(QLatin1String(tool),
                                              where.isEmpty() ? EngineTexts::say("e_tool_not_found")
                                                              : QDir::toNativeSeparators(where));
    }
    dialogs.showMessage(lines.join(QLatin1Char('\n')), EngineTexts::say("e_about"));
}

void TForm1::N2Click()
{
    if (passRunning())
        return;
    const int selected = createList.selected();
    if (selected < 0) {
        dialogs.showMessage(texts.text("mes1"), QString());
        return;
    }
    Form5->setBackup(createOptions().backup);
    Form5->openDocument(createList.at(selected).fullPath(), *tools_, texts, logSink);
}
