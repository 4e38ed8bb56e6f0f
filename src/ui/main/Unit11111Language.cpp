#include "base/CaptionKeys.h"
#include "base/EngineTexts.h"
#include "base/IniFile.h"
#include "base/LanguageFile.h"
#include "base/LanguageList.h"
#include "base/ReviewCaptions.h"
#include "djvu/ToolRunner.h"
#include "ui/main/OptionTips.h"
#include "ui/main/Unit11111.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/UpDown.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>

// The language menu and the application of a language file to the window's captions, lists
// and message texts.

namespace {

constexpr auto kMenu = kMenuSection;
constexpr auto kEdit = kEditSection;
constexpr auto kCreate = kCreateSection;
constexpr CaptionSection<ReviewTable> kReview;

struct TabCaption
{
    QTabWidget* tabs;
    QWidget* page;
};

struct ColumnHeader
{
    QAbstractItemModel* model;
    int column;
};

void setCaption(QAbstractButton* button, const QString& text)
{
    button->setText(text);
}
void setCaption(QLabel* label, const QString& text)
{
    label->setText(text);
}
void setCaption(QGroupBox* group, const QString& text)
{
    group->setTitle(text);
}
void setCaption(QAction* action, const QString& text)
{
    action->setText(text);
}
void setCaption(QMenu* menu, const QString& text)
{
    menu->setTitle(text);
}
void setCaption(const TabCaption& tab, const QString& text)
{
    tab.tabs->setTabText(tab.tabs->indexOf(tab.page), text);
}
void setCaption(const ColumnHeader& header, const QString& text)
{
    header.model->setHeaderData(header.column, Qt::Horizontal, text);
}

// One key of the file: a non-empty text becomes the caption of every control given; a
// missing or empty one leaves them as they are.
template <typename Table, typename... Controls>
void caption(const IniFile& file, CaptionSection<Table> section,
             std::type_identity_t<TextKey<Table>> key, const Controls&... controls)
{
    const QString text = captionText(file, section, key);
    if (text.isEmpty())
        return;
    (setCaption(controls, text), ...);
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// Reloads the items of drop-down lists from one group of keys; each list keeps the position
// chosen in it. Setting the items from here is no choice of the user's, so it runs no rule.
void reloadItems(const IniFile& file, std::initializer_list<CreateKey> itemKeys,
                 std::initializer_list<QComboBox*> lists)
{
    QStringList keys;
    for (const CreateKey key : itemKeys)
        keys << QString::fromLatin1(key.name());
    for (QComboBox* list : lists) {
        const QSignalBlocker quiet(list);
        const int chosen = list->currentIndex();
        const QStringList items =
            LanguageFile::listItems(file, kCreate.name(), keys, itemsOf(list));
        if (items == itemsOf(list))
            continue;
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(chosen < list->count() ? chosen : -1);
    }
}

int leftIn(const QWidget* parent, const QWidget* widget)
{
    if (widget->parentWidget() == parent)
        return widget->x();
    return parent->mapFromGlobal(widget->mapToGlobal(QPoint(0, 0))).x();
}

// The label takes the width of its text, its top and height stay.
void fitWidth(QLabel* label)
{
    label->resize(label->sizeHint().width(), label->height());
}

// Puts the label's right edge `gap` pixels before the left edge of its field.
void alignBefore(QLabel* label, const QWidget* field, int gap)
{
    fitWidth(label);
    label->move(leftIn(label->parentWidget(), field) - gap - label->width(), label->y());
}

// Puts the label's right edge `gap` pixels before the right edge of `widget`.
void alignInside(QLabel* label, const QWidget* widget, int gap)
{
    fitWidth(label);
    const int right = leftIn(label->parentWidget(), widget) + widget->width();
    label->move(right - gap - label->width(), label->y());
}

// Centres the label between two fields of one row; halves go to the even pixel.
void centreBetween(QLabel* label, const QWidget* first, const QWidget* second)
{
    fitWidth(label);
    const QWidget* parent = label->parentWidget();
    const double middle = (leftIn(parent, first) + first->width() + leftIn(parent, second)) / 2.0;
    label->move(int(std::nearbyint(middle - label->width() / 2.0)), label->y());
}

} // namespace

void TForm1::findLanguages()
{
    const LanguageList found = LanguageList::find(LanguageFile::folderIn(exeFolder()));
    for (const LanguageList::Entry& language : found.entries()) {
        languageFiles << language.fileName;
        languageDisplayNames << language.displayName;
        QAction* entry = Language1->addAction(language.displayName);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, &TForm1::aa);
        languageActions << entry;
    }
}

void TForm1::languageApplied(const QString& qtCode)
{
    qtTranslations.use(qtCode);
    texts.lendToEngine();
    dialogs.djvuFilesName = texts.text("e_djvu_files");
    dialogs.outlineAnswerCaptions.clear();
    const std::initializer_list<MessageKey> answers = {"e_outline_replace", "e_outline_replace_all",
                                                       "e_outline_merge", "e_outline_skip"};
    for (const MessageKey key : answers)
        dialogs.outlineAnswerCaptions << texts.text(key);
    aboutAction->setText(texts.text("e_about"));
    const QString shown = languageDisplayNames.value(languageFiles.indexOf(currentLanguage));
    for (QAction* entry : languageActions)
        entry->setChecked(!currentLanguage.isEmpty() && entry->text() == shown);
}

void TForm1::aa()
{
    const auto* entry = qobject_cast<const QAction*>(sender());
    if (entry == nullptr)
        return;
    // The last language shown under this caption: of two files giving the same name, the
    // later one is taken.
    QString fileName;
    for (qsizetype i = 0; i < languageDisplayNames.size(); ++i) {
        if (languageDisplayNames[i] == entry->text())
            fileName = languageFiles.value(i);
    }
    setlang(fileName);
}

void TForm1::setlang(const QString& fileName)
{
    currentLanguage = fileName;
    const IniFile file =
        IniFile::snapshotOf(QDir(LanguageFile::folderIn(exeFolder())).filePath(fileName));

    FixListTab* const fix = TabSheet1;
    CreateTab* const create = TabSheet2;
    ContentsLinkTab* const link = TabSheet3;

    caption(file, kMenu, "N7", N7);
    caption(file, kMenu, "N8", N8);
    caption(file, kMenu, "N9", N9);
    caption(file, kMenu, "N10", Language1);

    caption(file, kEdit, "TT1", TabCaption{PageControl1, fix});
    caption(file, kEdit, "TT2", TabCaption{PageControl1, create});
    caption(file, kEdit, "TT3", TabCaption{PageControl1, link}, link->groupContentsLink);
    caption(file, kEdit, "L10", ColumnHeader{&fixList, 0}, ColumnHeader{&createList, 0});
    caption(file, kEdit, "L11", ColumnHeader{&fixList, 1}, ColumnHeader{&createList, 1});
    caption(file, kEdit, "L22", ColumnHeader{&createList, 2});
    caption(file, kEdit, "L23", ColumnHeader{&createList, 3});
    caption(file, kEdit, "B3", fix->xpButton3, create->Button4);
    caption(file, kEdit, "B4", fix->xpButton4);
    caption(file, kEdit, "B5", StopButton);
    caption(file, kEdit, "ch1", fix->CheckBox1, create->CheckBox5);
    caption(file, kEdit, "ch2", fix->CheckBox2, create->CheckBox4);
    caption(file, kEdit, "ch3", fix->CheckBox3, create->CheckBox6);
    const QStringList note = fix->RichEdit1->toPlainText().split(QLatin1Char('\n'));
    const QStringList newNote = LanguageFile::noteLines(file, note);
    if (newNote != note)
        fix->setNoteLines(newNote);

    caption(file, kCreate, "p1", create->groupOffset);
    caption(file, kCreate, "r1", create->radioPlus);
    caption(file, kCreate, "r2", create->radioMinus);
    caption(file, kCreate, "ch11", create->CheckBox11);
    caption(file, kCreate, "ch14", create->CheckBox14);
    caption(file, kCreate, "ch16", create->CheckBox16);
    caption(file, kCreate, "ch7", create->CheckBox7);
    caption(file, kCreate, "ch12", create->CheckBox12);
    caption(file, kCreate, "ch17", create->outlineCheckBox);
    caption(file, kCreate, "ch18", create->smartReadingCheckBox);
    caption(file, kCreate, "ch19", create->offsetAutoCheckBox);
    caption(file, kCreate, "ch20", create->recogniseCheckBox);
    caption(file, kCreate, "ch8", create->CheckBox8);
    caption(file, kCreate, "ch9", create->CheckBox9, link->CheckBox13);
    caption(file, kCreate, "B2", create->Button3);
    caption(file, kCreate, "jB1", create->colour1Button, link->Button10);
    caption(file, kCreate, "jB2", create->colour2Button, link->Button20);
    caption(file, kCreate, "l4", create->labelPagesFrom);
    caption(file, kCreate, "l5", create->labelPagesTo);
    caption(file, kCreate, "l9", create->labelKindOfWork);
    caption(file, kCreate, "l7", create->labelBorderWidth, link->Label10);
    caption(file, kCreate, "l8", create->labelComment, link->Label17);

    reloadItems(file, {"c31", "c32", "c33"}, {create->ComboBox3});
    reloadItems(file, {"c21", "c22"}, {create->ComboBox2, link->ComboBox5});
    reloadItems(file, {"c11", "c12", "c13", "c14", "c15", "c16", "c17"},
                {create->ComboBox1, link->ComboBox4});

    caption(file, kCreate, "ch10", link->CheckBox10);
    caption(file, kCreate, "ch15", link->CheckBox15);
    caption(file, kCreate, "p2", create->groupBorder, link->labelBorderType);
    caption(file, kCreate, "gr1", link->groupPlacement);
    caption(file, kCreate, "l11", link->Label11);
    caption(file, kCreate, "l12", link->labelLeftOffset);
    caption(file, kCreate, "l13", link->labelBottomOffset);
    caption(file, kCreate, "l14", link->labelWidth);
    caption(file, kCreate, "l15", link->labelHeight);
    caption(file, kCreate, "l16", link->Label16);

    caption(file, kMenu, "N1", fix->N1, create->deleteAction);
    caption(file, kMenu, "N4", fix->N6, create->N4);
    caption(file, kMenu, "N2", create->N2);
    caption(file, kReview, "b1", create->previewButton, create->previewAction);

    LanguageFile::loadMessages(file.path(), texts);
    OptionTips::apply(this, file);
    languageApplied(QtTranslations::codeOf(file));

    // Labels whose width follows their text keep their distance to their fields.
    alignBefore(link->Label17, link->Edit12, 10);
    alignBefore(create->labelKindOfWork, create->ComboBox3, 10);
    alignBefore(create->labelBorderWidth, create->Edit4, 10);
    alignInside(link->Label10, link->UpDown2, 5);
    alignBefore(link->Label16, link->Edit11, 10);
    alignBefore(link->Label11, link->Edit6, 10);
    alignBefore(link->labelLeftOffset, link->Edit7, 10);
    alignBefore(link->labelBottomOffset, link->Edit8, 10);
    alignBefore(link->labelWidth, link->Edit9, 10);
    alignBefore(link->labelHeight, link->Edit10, 10);
    alignBefore(create->labelComment, create->Edit13, 10);
    alignBefore(create->labelPagesFrom, create->Edit1, 5);
    centreBetween(create->labelPagesTo, create->Edit1, create->Edit2);
}
