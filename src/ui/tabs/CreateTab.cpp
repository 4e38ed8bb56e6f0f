#include "ui/tabs/CreateTab.h"

#include "base/MessageTexts.h"
#include "jobs/CreateList.h"
#include "jobs/CreateRow.h"
#include "jobs/JobPath.h"
#include "jobs/PageRanges.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateRowFields.h"
#include "ui/tabs/ListRows.h"
#include "ui/widgets/ChoiceList.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/TabLook.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WindowDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>

#include <algorithm>

namespace {

namespace C = CreateColumn;

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// Puts a label on the row of its field, its right edge `gap` pixels before the field.
void placeBefore(QLabel* l, const QWidget* field, int gap)
{
    l->adjustSize();
    l->move(field->x() - gap - l->width(), field->y() + (field->height() - l->height()) / 2);
}

} // namespace

CreateTab::CreateTab(CreateList& list, const ContentsLinkTab& linkTab, WindowDialogs& dialogs,
                     const MessageTexts& texts, QWidget* parent)
    : QWidget(parent), list_(list), linkTab_(linkTab), dialogs_(dialogs), texts_(texts)
{
    build();
    connectHandlers();
}

void CreateTab::build()
{
    buildLeftColumn();
    buildRightColumn();
    buildBorderGroup();
    buildOptions();
    buildMenu();
    updateActions();
}

void CreateTab::buildLeftColumn()
{
    // Left column: the list, the offset, the comment, the buttons.
    ListView2 = new QTableView(this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setModel(&list_);
    setUpReportView(ListView2);
    clearSelectionOnEmptyClick(ListView2);
    ListView2->horizontalHeader()->resizeSection(0, 150);
    for (int c = 2; c < CreateList::kViewColumnCount; ++c)
        ListView2->setColumnHidden(c, true);
    ListView2->setGeometry(8, 8, 250, 80);
    ListView2->installEventFilter(this);

    groupOffset = new QGroupBox(QStringLiteral("Смещение"), this);
    groupOffset->setObjectName(QStringLiteral("groupOffset"));
    groupOffset->setGeometry(8, 92, 250, 68);
    Edit3 = lineEdit(groupOffset, "Edit3", QStringLiteral("0"));
    Edit3->setGeometry(10, 20, 44, 22);
    radioPlus = new QRadioButton(QStringLiteral("Плюс"), groupOffset);
    radioPlus->setObjectName(QStringLiteral("radioPlus"));
    radioPlus->setGeometry(64, 20, 80, 22);
    radioPlus->setChecked(true);
    radioMinus = new QRadioButton(QStringLiteral("Минус"), groupOffset);
    radioMinus->setObjectName(QStringLiteral("radioMinus"));
    radioMinus->setGeometry(150, 20, 90, 22);
    CheckBox11 = checkBox(groupOffset, "CheckBox11", QStringLiteral("Делить на 2"));
    CheckBox11->setGeometry(10, 44, 135, 20);
    offsetAutoCheckBox = checkBox(groupOffset, "offsetAutoCheckBox", QStringLiteral("авто"));
    offsetAutoCheckBox->setGeometry(150, 44, 95, 20);

    Edit13 = lineEdit(this, "Edit13", QStringLiteral("Go to page"));
    Edit13->setGeometry(108, 166, 150, 22);
    labelComment = label(this, "labelComment", QStringLiteral("Комментарий"));
    placeBefore(labelComment, Edit13, 10);

    CheckBox14 = checkBox(this, "CheckBox14", QStringLiteral("Ссылка на оглавление"));
    CheckBox14->setGeometry(8, 194, 250, 20);
    CheckBox14->setChecked(true);

    Button4 = new QPushButton(QStringLiteral("Добавить"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(8, 218, 80, 27);
    Button3 = new QPushButton(QStringLiteral("Создать"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(93, 218, 80, 27);
    previewButton = new QPushButton(QStringLiteral("Просмотр"), this);
    previewButton->setObjectName(QStringLiteral("previewButton"));
    previewButton->setGeometry(178, 218, 80, 27);

    CheckBox5 = checkBox(this, "CheckBox5", QStringLiteral("Закрыть по завершению"));
    CheckBox5->setGeometry(8, 246, 250, 20);
    CheckBox4 = checkBox(this, "CheckBox4", QStringLiteral("Очистить список по завершению"));
    CheckBox4->setGeometry(8, 266, 250, 20);
    smartReadingCheckBox =
        checkBox(this, "smartReadingCheckBox", QStringLiteral("Умное чтение оглавления"));
    smartReadingCheckBox->setGeometry(8, 286, 250, 20);
}

void CreateTab::buildRightColumn()
{
    // Right column: pages, kind of work, the border group, the job-wide options.
    Edit1 = lineEdit(this, "Edit1", QStringLiteral("1"));
    Edit1->setGeometry(428, 8, 44, 22);
    Edit2 = lineEdit(this, "Edit2", QStringLiteral("1"));
    Edit2->setGeometry(501, 8, 44, 22);
    labelPagesFrom = label(this, "labelPagesFrom", QStringLiteral("Страницы с "));
    placeBefore(labelPagesFrom, Edit1, 5);
    labelPagesTo = label(this, "labelPagesTo", QStringLiteral("по"));
    labelPagesTo->adjustSize();
    labelPagesTo->move(
        qRound((Edit1->x() + Edit1->width() + Edit2->x()) / 2.0 - labelPagesTo->width() / 2.0),
        Edit1->y() + (Edit1->height() - labelPagesTo->height()) / 2);
    // The first-page field also takes a list of ranges ("1,17-18"), the offset field one
    // offset for each ("0,-3"); the last page is then unused. Whether they read is
    // checked when a file is added.
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), Edit1));
    Edit2->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit2));
    Edit3->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]*(,-?[0-9]*)*")), Edit3));

    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->addItems({QStringLiteral("Содержание"), QStringLiteral("Алфавитный указатель 1"),
                         QStringLiteral("Алфавитный указатель 2")});
    ComboBox3->setGeometry(365, 34, 180, 24);
    labelKindOfWork = label(this, "labelKindOfWork", QStringLiteral("Тип работы"));
    placeBefore(labelKindOfWork, ComboBox3, 10);
}

void CreateTab::buildBorderGroup()
{
    groupBorder = new QGroupBox(QStringLiteral("Тип границы"), this);
    groupBorder->setObjectName(QStringLiteral("groupBorder"));
    groupBorder->setGeometry(266, 60, 279, 156);
    ComboBox2 = new QComboBox(groupBorder);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("Прямоугольник"), QStringLiteral("Овал")});
    ComboBox2->setGeometry(10, 20, 130, 24);
    ComboBox1 = new QComboBox(groupBorder);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Не показывать"), QStringLiteral("По умолчанию"),
                         QStringLiteral("Простая граница"), QStringLiteral("Прямая тень"),
                         QStringLiteral("Обратная тень"),
                         QStringLiteral("Прямая тень от гравировки"),
                         QStringLiteral("Обратная тень от гравировки")});
    ComboBox1->setGeometry(10, 46, 259, 24);
    CheckBox8 = checkBox(groupBorder, "CheckBox8", QStringLiteral("Статическая"));
    CheckBox8->setGeometry(150, 22, 125, 20);
    Edit4 = lineEdit(groupBorder, "Edit4", QStringLiteral("0"));
    Edit4->setReadOnly(true);
    Edit4->setGeometry(213, 75, 38, 22);
    UpDown1 = new UpDown(Edit4, 0, 100, groupBorder);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(251, 75, 18, 22);
    labelBorderWidth = label(groupBorder, "labelBorderWidth", QStringLiteral("Ширина границы"));
    placeBefore(labelBorderWidth, Edit4, 10);
    colour1Button = new QPushButton(QStringLiteral("Цвет1"), groupBorder);
    colour1Button->setObjectName(QStringLiteral("colour1Button"));
    colour1Button->setGeometry(10, 101, 80, 26);
    Shape1 = new ColourSwatch(groupBorder);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(94, 103, 26, 22);
    colour2Button = new QPushButton(QStringLiteral("Цвет2"), groupBorder);
    colour2Button->setObjectName(QStringLiteral("colour2Button"));
    colour2Button->setGeometry(144, 101, 80, 26);
    Shape2 = new ColourSwatch(groupBorder);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(228, 103, 26, 22);
    CheckBox9 = checkBox(groupBorder, "CheckBox9", QStringLiteral("Подсветка области"));
    CheckBox9->setGeometry(10, 130, 259, 20);
}

void CreateTab::buildOptions()
{
    CheckBox6 = checkBox(this, "CheckBox6", QStringLiteral("Создавать резервную копию"));
    CheckBox6->setChecked(true);
    CheckBox16 = checkBox(this, "CheckBox16", QStringLiteral("Проверять количество страниц"));
    CheckBox16->setChecked(true);
    CheckBox7 = checkBox(this, "CheckBox7", QStringLiteral("Выровнять содержание"));
    CheckBox12 = checkBox(this, "CheckBox12", QStringLiteral("Удалять OCR"));
    outlineCheckBox =
        checkBox(this, "outlineCheckBox", QStringLiteral("Создавать оглавление (закладки)"));
    recogniseCheckBox =
        checkBox(this, "recogniseCheckBox", QStringLiteral("Распознавать страницы без текста"));
    recogniseCheckBox->setChecked(true);
    // Six options below the border group, within the height of the left column.
    int top = 216;
    for (QCheckBox* box :
         {CheckBox6, CheckBox16, CheckBox7, CheckBox12, outlineCheckBox, recogniseCheckBox}) {
        box->setGeometry(266, top, 279, 15);
        top += 15;
    }

    contactLabel = makeContactLabel(this);
}

void CreateTab::buildMenu()
{
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    deleteAction = PopupMenu2->addAction(QStringLiteral("Удалить"));
    deleteAction->setObjectName(QStringLiteral("deleteAction"));
    PopupMenu2->addSeparator();
    N4 = PopupMenu2->addAction(QStringLiteral("Открыть"));
    N4->setObjectName(QStringLiteral("N4"));
    N2 = PopupMenu2->addAction(QStringLiteral("Открыть в редакторе"));
    N2->setObjectName(QStringLiteral("N2"));
    previewAction = PopupMenu2->addAction(QStringLiteral("Просмотр"));
    previewAction->setObjectName(QStringLiteral("previewAction"));
}

void CreateTab::connectHandlers()
{
    connect(ListView2, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu2->popup(ListView2->viewport()->mapToGlobal(pos));
    });
    connect(ListView2->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CreateTab::syncSelection);
    connect(&list_, &QAbstractItemModel::modelReset, this, &CreateTab::syncSelection);
    connect(ListView2, &QAbstractItemView::clicked, this, &CreateTab::ListView2Click);
    connect(Button4, &QPushButton::clicked, this, &CreateTab::Button4Click);
    connect(deleteAction, &QAction::triggered, this, &CreateTab::deleteClick);
    connect(N4, &QAction::triggered, this, &CreateTab::N4Click);

    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& t) {
        updateActions();
        QList<ContentsRange> ranges;
        if (!PageRanges::isList(t, Edit3->text()))
            list_.storeNumber(C::FirstPage, t);
        else if (PageRanges::read(t, &ranges))
            list_.store(C::FirstPage, t.trimmed());
    });
    connect(Edit2, &QLineEdit::textChanged, this,
            [this](const QString& t) { list_.storeNumber(C::LastPage, t); });
    connect(Edit3, &QLineEdit::textChanged, this, [this](const QString& t) {
        updateActions();
        const QStringList offsets = t.split(QLatin1Char(','));
        if (std::all_of(offsets.begin(), offsets.end(), JobPath::isWholeNumber))
            list_.store(C::Offset, CreateRowFields::offsetText(*this));
    });
    for (QRadioButton* sign : {radioPlus, radioMinus})
        connect(sign, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                list_.store(C::Offset, CreateRowFields::offsetText(*this));
        });
    connect(ComboBox3, &QComboBox::activated, this, &CreateTab::ComboBox3Change);
    connect(ComboBox1, &QComboBox::activated, this, &CreateTab::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &CreateTab::ComboBox2Change);
    connect(colour1Button, &QPushButton::clicked, this, &CreateTab::colour1Click);
    connect(colour2Button, &QPushButton::clicked, this, &CreateTab::colour2Click);
    connect(Edit4, &QLineEdit::textChanged, this,
            [this](const QString& t) { list_.storeNumber(C::ShadowWidth, t); });
    connect(CheckBox14, &QCheckBox::toggled, this, &CreateTab::CheckBox14Click);
    // The boxes that only store their state.
    const std::pair<QCheckBox*, int> stored[] = {{CheckBox8, C::AlwaysVisible},
                                                 {CheckBox9, C::Highlight},
                                                 {CheckBox11, C::Halve},
                                                 {outlineCheckBox, C::Outline},
                                                 {offsetAutoCheckBox, C::OffsetAuto},
                                                 {recogniseCheckBox, C::Recognise}};
    for (const auto& [box, column] : stored)
        connect(box, &QCheckBox::toggled, this, [this, column](bool on) {
            updateActions();
            list_.store(column, flag(on));
        });
    connect(smartReadingCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            offsetAutoCheckBox->setChecked(false); // only the smart reading finds the offset
        updateActions();
        list_.store(C::Reading, flag(on));
    });
    connect(Edit13, &QLineEdit::textChanged, this,
            [this](const QString& t) { list_.store(C::Comment, t); });
}

void CreateTab::open2(const QString& path)
{
    list_.append(path, CreateRowFields::columnsOf(*this, linkTab_));
}

void CreateTab::Button4Click()
{
    if (locked_)
        return;
    // A list of ranges must read whole, offsets and all, as the run reads the row.
    QList<ContentsRange> ranges;
    const bool pagesRead =
        PageRanges::isList(Edit1->text(), Edit3->text())
            ? PageRanges::readFields(Edit1->text(), Edit2->text(),
                                     CreateRowFields::offsetText(*this),
                                     &ranges) == PageRanges::Field::None
            : JobPath::isWholeNumber(Edit1->text()) && JobPath::isWholeNumber(Edit2->text());
    if (!pagesRead) {
        dialogs_.showMessage(texts_.text("mes6"), QString());
        return;
    }
    const QString path = dialogs_.openDjvuFile();
    if (!path.isEmpty())
        open2(path);
}

void CreateTab::deleteClick()
{
    ListRows::removeSelected(list_, locked_, dialogs_, texts_);
}

void CreateTab::N4Click()
{
    ListRows::openSelected(list_, dialogs_, texts_);
}

void CreateTab::syncSelection()
{
    ListRows::followView(ListView2, list_);
}

void CreateTab::ListView2Click()
{
    const int index = list_.selected();
    // The controls' own change handlers store into the selected row while they are set;
    // they store the values just loaded, so the row does not change.
    if (index >= 0)
        CreateRowFields::show(*this, list_.at(index).columns);
}

void CreateTab::updateActions()
{
    // The border's width and colours as its type, shape and highlight allow.
    for (QWidget* w : std::initializer_list<QWidget*>{labelBorderWidth, Edit4, UpDown1})
        w->setEnabled(ChoiceList::shadowChosen(ComboBox1));
    colour1Button->setEnabled(ChoiceList::plainBorderChosen(ComboBox1));
    CheckBox9->setEnabled(!ChoiceList::ovalChosen(ComboBox2));
    colour2Button->setEnabled(CheckBox9->isChecked());
    // Only the smart reading finds the offset; a found offset is not typed.
    offsetAutoCheckBox->setEnabled(smartReadingCheckBox->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{Edit3, radioPlus, radioMinus})
        w->setEnabled(!offsetAutoCheckBox->isChecked());
    // A list of ranges has no last page.
    Edit2->setEnabled(!PageRanges::isList(Edit1->text(), Edit3->text()));
    // A running pass holds the list.
    for (QWidget* w : std::initializer_list<QWidget*>{Button4, Button3, previewButton})
        w->setEnabled(!locked_);
    for (QAction* a : {deleteAction, N2, previewAction})
        a->setEnabled(!locked_);
}

void CreateTab::ComboBox1Change()
{
    if (ChoiceList::ovalChosen(ComboBox2) && ChoiceList::shadowChosen(ComboBox1))
        ChoiceList::choose(ComboBox1, BorderType::Border);
    updateActions();
    list_.store(C::BorderType, QString::number(ComboBox1->currentIndex()));
}

void CreateTab::ComboBox2Change()
{
    const bool oval = ChoiceList::ovalChosen(ComboBox2);
    if (oval && ChoiceList::shadowChosen(ComboBox1)) {
        ChoiceList::choose(ComboBox1, BorderType::Border);
        ComboBox1Change();
    }
    if (oval)
        CheckBox9->setChecked(false); // when it was checked, its click actions run
    updateActions();
    list_.store(C::Shape, QString::number(ComboBox2->currentIndex()));
}

void CreateTab::ComboBox3Change()
{
    list_.store(C::Kind, QString::number(ComboBox3->currentIndex()));
}

void CreateTab::colour1Click()
{
    quint32 colour = 0;
    if (!dialogs_.pickColour(&colour))
        return;
    Shape1->setColour(colour);
    list_.store(C::BorderColour, Shape1->colourText());
}

void CreateTab::colour2Click()
{
    quint32 colour = 0;
    if (!dialogs_.pickColour(&colour))
        return;
    Shape2->setColour(colour);
    list_.store(C::HighlightColour, Shape2->colourText());
}

void CreateTab::CheckBox14Click()
{
    list_.store(C::ContentsLink, flag(CheckBox14->isChecked()));
}

void CreateTab::setListLocked(bool locked)
{
    locked_ = locked;
    updateActions();
}

bool CreateTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView2 && event->type() == QEvent::KeyRelease)
        ListView2Click();
    return QWidget::eventFilter(watched, event);
}

void CreateTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContactLabel(contactLabel);
}
