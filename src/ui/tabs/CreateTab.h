#pragma once

#include <QWidget>

class ColourSwatch;
class ContentsLinkTab;
struct CreateOptions;
struct EndOptions;
class CreateList;
class MessageTexts;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class UpDown;
class WindowDialogs;
class WindowSettings;

// The "Создать" tab: the Create list and the editor of its rows' parameters. A new row takes
// what the controls show; each later change of a control is stored into the target row;
// selecting a row shows its values again. The Create pass is started by the main window.
//
// Caption-bearing members (member -> built-in caption):
//   ListView2 headers 0..3 (model CreateList) -> "Путь", "Файл", "1 стр.", "2 стр."
//   labelPagesFrom -> "Страницы с "   labelPagesTo -> "по"
//   groupOffset -> "Смещение"   radioPlus -> "Плюс"   radioMinus -> "Минус"
//   CheckBox11 -> "Делить на 2"   offsetAutoCheckBox -> "авто"
//   smartReadingCheckBox -> "Умное чтение оглавления"
//   recogniseCheckBox -> "Распознавать страницы без текста"
//   labelKindOfWork -> "Тип работы"   ComboBox3 items -> "Содержание",
//       "Алфавитный указатель 1", "Алфавитный указатель 2"
//   groupBorder -> "Тип границы"   ComboBox2 items -> "Прямоугольник", "Овал"
//   ComboBox1 items -> "Не показывать", "По умолчанию", "Простая граница", "Прямая тень",
//       "Обратная тень", "Прямая тень от гравировки", "Обратная тень от гравировки"
//   labelBorderWidth -> "Ширина границы"
//   colour1Button -> "Цвет1"   colour2Button -> "Цвет2"
//   CheckBox8 -> "Статическая"   CheckBox9 -> "Подсветка области"
//   labelComment -> "Комментарий"
//   CheckBox14 -> "Ссылка на оглавление"
//   Button4 -> "Добавить"   Button3 -> "Создать"   previewButton -> "Просмотр"
//   CheckBox5 -> "Закрыть по завершению"   CheckBox4 -> "Очистить список по завершению"
//   CheckBox6 -> "Создавать резервную копию"   CheckBox16 -> "Проверять количество страниц"
//   CheckBox7 -> "Выровнять содержание"   CheckBox12 -> "Удалять OCR"
//   outlineCheckBox -> "Создавать оглавление (закладки)"
//   deleteAction -> "Удалить"   N4 -> "Открыть"   N2 -> "Открыть в редакторе"
//       previewAction -> "Просмотр" (context menu PopupMenu2)
//   contactLabel -> the project line
class CreateTab : public QWidget
{
    Q_OBJECT
public:
    CreateTab(CreateList& list, const ContentsLinkTab& linkTab, WindowDialogs& dialogs,
              const MessageTexts& texts, QWidget* parent = nullptr);

    QTableView* ListView2;
    QLabel* labelPagesFrom;
    QLineEdit* Edit1;
    QLabel* labelPagesTo;
    QLineEdit* Edit2;
    QGroupBox* groupOffset;
    QLineEdit* Edit3;
    QRadioButton* radioPlus;
    QRadioButton* radioMinus;
    QCheckBox* CheckBox11;
    QCheckBox* offsetAutoCheckBox; // the smart reading finds the offset; needs smartReading
    QCheckBox* smartReadingCheckBox;
    // The row's pages without a text layer are recognised; off, they are never recognised.
    QCheckBox* recogniseCheckBox;
    QLabel* labelKindOfWork;
    QComboBox* ComboBox3;
    QGroupBox* groupBorder;
    QComboBox* ComboBox2;
    QComboBox* ComboBox1;
    QLabel* labelBorderWidth;
    QLineEdit* Edit4;
    UpDown* UpDown1;
    QPushButton* colour1Button;
    ColourSwatch* Shape1;
    QPushButton* colour2Button;
    ColourSwatch* Shape2;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QLabel* labelComment;
    QLineEdit* Edit13;
    QCheckBox* CheckBox14;
    QPushButton* Button4;
    QPushButton* Button3;
    QPushButton* previewButton; // opens the review of the selected row; the window handles it
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox16;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox12;
    QCheckBox* outlineCheckBox; // the row's contents also become the document's outline
    QMenu* PopupMenu2;
    QAction* deleteAction;
    QAction* N4;
    QAction* N2; // "Открыть в редакторе": the window opens the OCR editor
    QAction* previewAction; // "Просмотр", as previewButton
    QLabel* contactLabel;

    // Appends a row for the file with the values the controls show.
    void open2(const QString& path);
    void Button4Click();
    void deleteClick();
    void N4Click();
    // Loads the selected row into the controls (a click or a key release in the list).
    void ListView2Click();

    // Handlers of the user's choices (the drop-down lists run them on "activated" only, so
    // setting a list from code runs no rule).
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void colour1Click();
    void colour2Click();
    void CheckBox14Click();

    // The drop-down lists show the jobs' default choices.
    void chooseDefaults();
    // The tab's part of the Create pass's options, and what the window does after the run.
    void putOptions(CreateOptions& options) const;
    EndOptions endOptions() const;
    void loadSettings(const WindowSettings& settings);
    void saveSettings(WindowSettings& settings) const;

    // Enables each control as the others' values and the lock allow: the one place that does.
    void updateActions();

    void setListLocked(bool locked);
    bool listLocked() const { return locked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void buildLeftColumn();
    void buildRightColumn();
    void buildBorderGroup();
    void buildOptions();
    void buildMenu();
    void connectHandlers();
    void syncSelection();

    CreateList& list_;
    const ContentsLinkTab& linkTab_;
    WindowDialogs& dialogs_;
    const MessageTexts& texts_;
    bool locked_ = false;
};
