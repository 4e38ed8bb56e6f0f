#pragma once

#include <QStringList>
#include <QWidget>

class ColourSwatch;
class CreateList;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;
class WindowDialogs;
class WindowSettings;

// The "Ссылка на оглавление" tab: how the contents link looks, where it sits and where it
// leads. Every change is copied at once into the target row of the Create list (columns 14
// to 27 and 29); a new row takes all of them. Nothing is ever read back from a row.
//
// Caption-bearing members (member -> built-in caption):
//   groupContentsLink -> "Ссылка на оглавление"   labelBorderType -> "Тип границы"
//   ComboBox5 items -> "Прямоугольник", "Овал"
//   ComboBox4 items -> "Не показывать", "По умолчанию", "Простая граница", "Прямая тень",
//       "Обратная тень", "Прямая тень от гравировки", "Обратная тень от гравировки"
//   Label10 -> "Ширина границы"   CheckBox10 -> "Всегда видно"
//   CheckBox13 -> "Подсветка области"   Button10 -> "Цвет1"   Button20 -> "Цвет2"
//   groupPlacement -> "Расположение"   CheckBox15 -> "На каждой странице"
//   Label11 -> "Страница"   labelLeftOffset -> "Отступ слева"
//   labelBottomOffset -> "Отступ снизу"   labelWidth -> "Ширина"   labelHeight -> "Высота"
//   Label16 -> "Ссылка (страница)"   Label17 -> "Комментарий"
//   contactLabel -> the project line
class ContentsLinkTab : public QWidget
{
    Q_OBJECT
public:
    ContentsLinkTab(CreateList& list, WindowDialogs& dialogs, QWidget* parent = nullptr);

    QGroupBox* groupContentsLink;
    QLabel* labelBorderType;
    QComboBox* ComboBox5;
    QComboBox* ComboBox4;
    QLabel* Label10;
    QLineEdit* Edit5;
    UpDown* UpDown2;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox13;
    QPushButton* Button10;
    ColourSwatch* Shape3;
    QPushButton* Button20;
    ColourSwatch* Shape4;
    QGroupBox* groupPlacement;
    QCheckBox* CheckBox15;
    QLabel* Label11;
    QLineEdit* Edit6;
    QLabel* labelLeftOffset;
    QLineEdit* Edit7;
    QLabel* labelBottomOffset;
    QLineEdit* Edit8;
    QLabel* labelWidth;
    QLineEdit* Edit9;
    QLabel* labelHeight;
    QLineEdit* Edit10;
    QLabel* Label16;
    QLineEdit* Edit11;
    QLabel* Label17;
    QLineEdit* Edit12;
    QLabel* contactLabel;

    // Writes columns 14 to 27 and 29 of a row being added (columns as numbered in a row).
    void putColumns(QStringList& columns) const;

    // The drop-down lists show the default choices.
    void chooseDefaults();
    void loadSettings(const WindowSettings& settings);
    void saveSettings(WindowSettings& settings) const;

    // Enables each control as the others' values allow: the one place that does.
    void updateActions();

    void ComboBox5Change();
    void ComboBox4Change();
    void CheckBox13Click();
    void CheckBox15Click();
    void Button10Click();
    void Button20Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void connectHandlers();

    CreateList& list_;
    WindowDialogs& dialogs_;
};
