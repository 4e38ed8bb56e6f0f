#pragma once

#include <QWidget>

struct EndOptions;
class FixList;
struct FixOptions;
class MessageTexts;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTableView;
class WindowDialogs;
class WindowSettings;

// The "Редактировать" tab: the Fix list, how files get into it, its context menu and the
// three options of the Fix pass. The pass itself is started by the main window.
//
// Caption-bearing members (member -> built-in caption):
//   ListView1 headers 0, 1 (model FixList) -> "Путь", "Файл"
//   xpButton3 -> "Добавить"          xpButton4 -> "Исправить"
//   CheckBox1 -> "Закрыть по завершению"
//   CheckBox2 -> "Очистить список по завершению"
//   CheckBox3 -> "Создавать резервную копию"
//   RichEdit1 -> the nine lines of the note (setNoteLines)
//   N1 -> "Удалить"                  N6 -> "Открыть"   (context menu PopupMenu1)
//   contactLabel -> the project line
class FixListTab : public QWidget
{
    Q_OBJECT
public:
    FixListTab(FixList& list, WindowDialogs& dialogs, const MessageTexts& texts,
               QWidget* parent = nullptr);

    QTableView* ListView1;
    QPushButton* xpButton3; // "Добавить"
    QPushButton* xpButton4; // "Исправить": the window starts the Fix pass
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QTextEdit* RichEdit1;
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N6;
    QLabel* contactLabel;

    static QStringList defaultNoteLines();
    // The note box shows these lines; the language file may give other ones.
    void setNoteLines(const QStringList& lines);
    QString noteText() const;

    // The tab's part of the Fix pass's options, and what the window does after the run.
    void putOptions(FixOptions& options) const;
    EndOptions endOptions() const;
    void loadSettings(const WindowSettings& settings);
    void saveSettings(WindowSettings& settings) const;

    void open1(const QString& path);
    void Button2Click();
    void N1Click();
    void N6Click();
    // While a pass runs the list cannot be changed.
    void setListLocked(bool locked);
    bool listLocked() const { return locked_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncSelection();

    FixList& list_;
    WindowDialogs& dialogs_;
    const MessageTexts& texts_;
    bool locked_ = false;
};
