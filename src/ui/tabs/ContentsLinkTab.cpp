#include "ui/tabs/ContentsLinkTab.h"

#include "jobs/CreateRow.h"

#include "jobs/CreateList.h"
#include "ui/widgets/ChoiceList.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/TabLook.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WindowDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum Column
{
    kShape = CreateColumn::LinkShape,
    kBorderType = CreateColumn::LinkBorderType,
    kAlwaysVisible = CreateColumn::LinkAlwaysVisible,
    kHighlight = CreateColumn::LinkHighlight,
    kBorderWidth = CreateColumn::LinkBorderWidth,
    kColour1 = CreateColumn::LinkColour1,
    kColour2 = CreateColumn::LinkColour2,
    kPage = CreateColumn::LinkPage, // to LinkTarget: page, left, bottom, width, height, target page
    kComment = CreateColumn::LinkComment,
    kEveryPage = CreateColumn::LinkEveryPage,
};

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void placeBefore(QLabel* l, const QWidget* field, int gap)
{
    l->adjustSize();
    l->move(field->x() - gap - l->width(), field->y() + (field->height() - l->height()) / 2);
}

} // namespace

ContentsLinkTab::ContentsLinkTab(CreateList& list, WindowDialogs& dialogs, QWidget* parent)
    : QWidget(parent), list_(list), dialogs_(dialogs)
{
    build();
    connectHandlers();
}

void ContentsLinkTab::build()
{
    groupContentsLink =
        named(new QGroupBox(QStringLiteral("Ссылка на оглавление"), this), "groupContentsLink");
    groupContentsLink->setGeometry(8, 8, 270, 188);
    QWidget* g = groupContentsLink;
    labelBorderType = named(new QLabel(QStringLiteral("Тип границы"), g), "labelBorderType");
    labelBorderType->setGeometry(10, 22, 250, 18);
    ComboBox5 = named(new QComboBox(g), "ComboBox5");
    ComboBox5->addItems({QStringLiteral("Прямоугольник"), QStringLiteral("Овал")});
    ComboBox5->setGeometry(10, 42, 250, 24);
    ComboBox4 = named(new QComboBox(g), "ComboBox4");
    ComboBox4->addItems({QStringLiteral("Не показывать"), QStringLiteral("По умолчанию"),
                         QStringLiteral("Простая граница"), QStringLiteral("Прямая тень"),
                         QStringLiteral("Обратная тень"),
                         QStringLiteral("Прямая тень от гравировки"),
                         QStringLiteral("Обратная тень от гравировки")});
    ComboBox4->setGeometry(10, 70, 250, 24);
    Edit5 = named(new QLineEdit(QStringLiteral("0"), g), "Edit5");
    Edit5->setReadOnly(true);
    Edit5->setGeometry(204, 122, 38, 22);
    UpDown2 = named(new UpDown(Edit5, 0, 100, g), "UpDown2");
    UpDown2->setGeometry(242, 122, 18, 22);
    Label10 = named(new QLabel(QStringLiteral("Ширина границы"), g), "Label10");
    // Above the field, ending just inside the spin buttons' right edge.
    Label10->adjustSize();
    Label10->move(UpDown2->x() + UpDown2->width() - 5 - Label10->width(), 102);
    CheckBox10 = named(new QCheckBox(QStringLiteral("Всегда видно"), g), "CheckBox10");
    CheckBox10->setGeometry(10, 100, 140, 20);
    CheckBox13 = named(new QCheckBox(QStringLiteral("Подсветка области"), g), "CheckBox13");
    CheckBox13->setGeometry(10, 124, 180, 20);
    Button10 = named(new QPushButton(QStringLiteral("Цвет1"), g), "Button10");
    Button10->setGeometry(10, 152, 80, 26);
    Shape3 = named(new ColourSwatch(g), "Shape3");
    Shape3->setGeometry(94, 154, 26, 22);
    Button20 = named(new QPushButton(QStringLiteral("Цвет2"), g), "Button20");
    Button20->setGeometry(144, 152, 80, 26);
    Shape4 = named(new ColourSwatch(g), "Shape4");
    Shape4->setGeometry(228, 154, 26, 22);

    groupPlacement = named(new QGroupBox(QStringLiteral("Расположение"), this), "groupPlacement");
    groupPlacement->setGeometry(286, 8, 259, 178);
    QWidget* p = groupPlacement;
    CheckBox15 = named(new QCheckBox(QStringLiteral("На каждой странице"), p), "CheckBox15");
    CheckBox15->setGeometry(10, 22, 240, 20);
    Edit6 = named(new QLineEdit(QStringLiteral("1"), p), "Edit6");
    Edit7 = named(new QLineEdit(QStringLiteral("100"), p), "Edit7");
    Edit8 = named(new QLineEdit(QStringLiteral("50"), p), "Edit8");
    Edit9 = named(new QLineEdit(QStringLiteral("500"), p), "Edit9");
    Edit10 = named(new QLineEdit(QStringLiteral("50"), p), "Edit10");
    Label11 = named(new QLabel(QStringLiteral("Страница"), p), "Label11");
    labelLeftOffset = named(new QLabel(QStringLiteral("Отступ слева"), p), "labelLeftOffset");
    labelBottomOffset = named(new QLabel(QStringLiteral("Отступ снизу"), p), "labelBottomOffset");
    labelWidth = named(new QLabel(QStringLiteral("Ширина"), p), "labelWidth");
    labelHeight = named(new QLabel(QStringLiteral("Высота"), p), "labelHeight");
    const QList<QLineEdit*> fields{Edit6, Edit7, Edit8, Edit9, Edit10};
    const QList<QLabel*> labels{Label11, labelLeftOffset, labelBottomOffset, labelWidth,
                                labelHeight};
    for (int i = 0; i < fields.size(); ++i) {
        fields[i]->setGeometry(170, 48 + 25 * i, 79, 22);
        placeBefore(labels[i], fields[i], 10);
    }

    Edit11 = named(new QLineEdit(QStringLiteral("3"), this), "Edit11");
    Edit11->setGeometry(456, 194, 89, 22);
    Label16 = named(new QLabel(QStringLiteral("Ссылка (страница)"), this), "Label16");
    placeBefore(Label16, Edit11, 10);
    Edit12 = named(new QLineEdit(QStringLiteral("Go to content"), this), "Edit12");
    Edit12->setGeometry(296, 222, 249, 22);
    Label17 = named(new QLabel(QStringLiteral("Комментарий"), this), "Label17");
    placeBefore(Label17, Edit12, 10);

    contactLabel = makeContactLabel(this);
}

void ContentsLinkTab::connectHandlers()
{
    connect(ComboBox5, &QComboBox::activated, this, &ContentsLinkTab::ComboBox5Change);
    connect(ComboBox4, &QComboBox::activated, this, &ContentsLinkTab::ComboBox4Change);
    connect(CheckBox10, &QCheckBox::toggled, this,
            [this](bool on) { list_.store(kAlwaysVisible, flag(on)); });
    connect(CheckBox13, &QCheckBox::toggled, this, &ContentsLinkTab::CheckBox13Click);
    connect(CheckBox15, &QCheckBox::toggled, this, &ContentsLinkTab::CheckBox15Click);
    connect(Edit5, &QLineEdit::textChanged, this,
            [this](const QString& t) { list_.storeNumber(kBorderWidth, t); });
    const QList<QLineEdit*> numbers{Edit6, Edit7, Edit8, Edit9, Edit10, Edit11};
    for (int i = 0; i < numbers.size(); ++i)
        connect(numbers[i], &QLineEdit::textChanged, this,
                [this, i](const QString& t) { list_.storeNumber(kPage + i, t); });
    connect(Edit12, &QLineEdit::textChanged, this,
            [this](const QString& t) { list_.store(kComment, t); });
    connect(Button10, &QPushButton::clicked, this, &ContentsLinkTab::Button10Click);
    connect(Button20, &QPushButton::clicked, this, &ContentsLinkTab::Button20Click);
}

void ContentsLinkTab::putColumns(QStringList& columns) const
{
    columns[kShape] = QString::number(ComboBox5->currentIndex());
    columns[kBorderType] = QString::number(ComboBox4->currentIndex());
    columns[kAlwaysVisible] = flag(CheckBox10->isChecked());
    columns[kHighlight] = flag(CheckBox13->isChecked());
    columns[kBorderWidth] = Edit5->text();
    columns[kColour1] = Shape3->colourText();
    columns[kColour2] = Shape4->colourText();
    const QList<QLineEdit*> numbers{Edit6, Edit7, Edit8, Edit9, Edit10, Edit11};
    for (int i = 0; i < numbers.size(); ++i)
        columns[kPage + i] = numbers[i]->text();
    columns[kComment] = Edit12->text();
    columns[kEveryPage] = flag(CheckBox15->isChecked());
}

void ContentsLinkTab::ComboBox5Change()
{
    const bool oval = ChoiceList::ovalChosen(ComboBox5);
    if (oval && ChoiceList::shadowChosen(ComboBox4)) {
        ChoiceList::choose(ComboBox4, BorderType::Border);
        ComboBox4Change();
    }
    if (oval)
        CheckBox13->setChecked(false); // when it was checked, its click actions run
    updateActions();
    list_.store(kShape, QString::number(ComboBox5->currentIndex()));
}

void ContentsLinkTab::ComboBox4Change()
{
    if (ChoiceList::ovalChosen(ComboBox5) && ChoiceList::shadowChosen(ComboBox4))
        ChoiceList::choose(ComboBox4, BorderType::Border); // no shadows for ovals
    updateActions();
    list_.store(kBorderType, QString::number(ComboBox4->currentIndex()));
}

void ContentsLinkTab::CheckBox13Click()
{
    updateActions();
    list_.store(kHighlight, flag(CheckBox13->isChecked()));
}

void ContentsLinkTab::CheckBox15Click()
{
    updateActions();
    list_.store(kEveryPage, flag(CheckBox15->isChecked()));
}

void ContentsLinkTab::updateActions()
{
    // The highlight as the shape allows, the border's width and colours as its type.
    CheckBox13->setEnabled(!ChoiceList::ovalChosen(ComboBox5));
    Button20->setEnabled(CheckBox13->isChecked());
    const bool shadow = ChoiceList::shadowChosen(ComboBox4);
    for (QWidget* w : std::initializer_list<QWidget*>{Label10, Edit5, UpDown2})
        w->setEnabled(shadow);
    Button10->setEnabled(ChoiceList::plainBorderChosen(ComboBox4));
    // A link on every page has no page of its own.
    for (QWidget* w : std::initializer_list<QWidget*>{Edit6, Label11})
        w->setEnabled(!CheckBox15->isChecked());
}

void ContentsLinkTab::Button10Click()
{
    quint32 colour = 0;
    if (!dialogs_.pickColour(&colour))
        return;
    Shape3->setColour(colour);
    list_.store(kColour1, Shape3->colourText());
}

void ContentsLinkTab::Button20Click()
{
    quint32 colour = 0;
    if (!dialogs_.pickColour(&colour))
        return;
    Shape4->setColour(colour);
    list_.store(kColour2, Shape4->colourText());
}

void ContentsLinkTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContactLabel(contactLabel);
}
