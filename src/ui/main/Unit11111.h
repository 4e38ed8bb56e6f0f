#pragma once

#include "base/CancelToken.h"
#include "base/IniFile.h"
#include "base/MessageTexts.h"
#include "jobs/CreateList.h"
#include "jobs/FixList.h"
#include "ui/main/MemoLogSink.h"
#include "ui/main/ProgressBarSink.h"
#include "ui/main/QtTranslations.h"
#include "ui/main/WindowNotices.h"
#include "ui/widgets/WindowDialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class ContentsLinkTab;
class QLabel;
class TabGrowth;
struct PassOutcome;
struct EndOptions;
struct PassEndActions;
class CreateTab;
class FixListTab;
class PassControl;
class QAction;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QThread;
class QUrl;
class TForm5;
class ReviewWindow;
struct CreateOptions;
class ToolRunner;

// The main window: the options menu, the three tabs, the log pane, the settings file read
// at start and written at exit, dropped files, and the two batch passes, which run on a
// worker thread so the window stays responsive.
//
// Caption-bearing members of the window itself (member -> built-in caption):
//   N7 (menu) -> "Опции"   N8 -> "Всегда сверху"   N9 -> "Показывать протокол"
//   Language1 (menu) -> "Язык/Language"
//   PageControl1 tabs 0, 1, 2 (TabSheet1, TabSheet2, TabSheet3) -> "Редактировать",
//       "Создать", "Ссылка на оглавление"
//   StopButton -> "Стоп" (beside ProgressBar1, right of the tabs, shown while a pass runs)
// The tabs' own controls are public members of TabSheet1 (FixListTab), TabSheet2
// (CreateTab) and TabSheet3 (ContentsLinkTab); see their headers.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    // exeFolder plays the executable's folder: "Tocsmith.ini", "language/" and "bin/"
    // live there.
    explicit TForm1(const QString& exeFolder = QString(), QWidget* parent = nullptr);
    ~TForm1() override;

    static constexpr int kClientWidth = 561;
    static constexpr int kHeightWithLog = 508;
    static constexpr int kHeightWithoutLog = 368;
    static constexpr int kLogHeight = 135;

    QMenu* N7;
    QAction* N8;
    QAction* N9;
    QMenu* Language1;
    QTabWidget* PageControl1;
    FixListTab* TabSheet1;
    CreateTab* TabSheet2;
    ContentsLinkTab* TabSheet3;
    QPlainTextEdit* Memo2;
    QLabel* summaryLabel; // under the tabs: what the last pass did, even with the log hidden
    QAction* aboutAction; // the version and the DjVuLibre tools found
    QProgressBar* ProgressBar1;
    QPushButton* StopButton;
    TForm5* Form5;

    // Every log line and message box reads its text here (the language file fills it).
    MessageTexts texts;
    // Language state, kept by the language unit.
    QStringList languageFiles;        // file names without folder, in menu order
    QStringList languageDisplayNames; // "&" + Main/name
    QList<QAction*> languageActions;
    QString currentLanguage;       // empty until a language is applied
    QtTranslations qtTranslations; // Qt's own dialogs and buttons follow the language

    WindowDialogs dialogs; // replaceable modal dialogs (tests)
    // The engine's notices, shown through the dialogs once a pass has ended.
    WindowNotices notices{dialogs, texts};
    MemoLogSink logSink;
    FixList fixList;
    CreateList createList;

    QString exeFolder() const { return exeFolder_; }
    QString settingsPath() const;
    QString workFolder() const { return workDir_.path(); }
    ToolRunner& toolRunner() { return *tools_; }

    void findLanguages();
    void aa();
    void setlang(const QString& fileName);
    // Puts the check mark on the language in use and gives the engine and Qt's own dialogs
    // the window's language.
    void languageApplied(const QString& qtCode);

    void N8Click();
    void N9Click();
    void Button1Click(); // "Исправить": the Fix pass
    void Button3Click(); // "Создать": the Create pass
    void N2Click();      // "Открыть в редакторе"
    // "Просмотр": plans the selected Create row and opens its review, which writes it or not.
    void previewClick();
    QPointer<ReviewWindow> reviewWindow; // the review open now, if any
    void StopButtonClick();
    void aboutClick();
    // The drop rules: first file only, .djvu/.djv in any case, to the active tab's list.
    void filesDropped(const QList<QUrl>& urls);

    bool passRunning() const { return passThread_ != nullptr; }
    // Waits until a running pass has ended (tests, shut-down).
    void waitForPass();
    // The outer height of the window as the window system reports it.
    int outerHeight() const;
    // Writes the settings file; runs once (at close or destruction).
    void FormDestroy();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildWindow();
    void FormCreate();
    void applyTopmost();
    void applyLogVisible();
    void setOuterHeight(int height);
    void applyRememberedSize();
    void centre();
    // The work gets a tool runner and texts of its own, taken as the pass starts, so that
    // nothing it reads changes under it (the language may change meanwhile).
    using PassWork =
        std::function<void(ToolRunner& tools, const MessageTexts& texts, const PassControl&)>;
    void runPass(PassWork work, std::function<void()> done);
    // What may be used now: the lists are locked and the progress and stop shown while a
    // pass runs; stop once only.
    void updateActions();
    // The job-wide options of the Create tab as its controls show them.
    CreateOptions createOptions() const;
    void applyEndActions(const PassEndActions& actions);
    void showOutcome(const PassOutcome& outcome, int rowCount);

    QString exeFolder_;
    QTemporaryDir workDir_;
    std::unique_ptr<ToolRunner> tools_;
    QThread* passThread_ = nullptr;
    CancelToken passCancel_;
    ProgressBarSink progressSink_;
    bool closeAfterPass_ = false;
    bool destroyed_ = false;
    std::unique_ptr<TabGrowth> fixGrowth_;
    std::unique_ptr<TabGrowth> createGrowth_;
    QSize extra_;          // the room the user gave the window beyond its smallest size
    QSize rememberedSize_; // the size of the last session (settings file)
};
