#include "ui/tabs/FixListTab.h"

#include "base/MessageTexts.h"
#include "jobs/FixList.h"
#include "ui/widgets/TabLook.h"
#include "ui/widgets/WindowDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

FixListTab::FixListTab(FixList& list, WindowDialogs& dialogs, const MessageTexts& texts,
                       QWidget* parent)
    : QWidget(parent), list_(list), dialogs_(dialogs), texts_(texts)
{
    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(&list_);
    setUpReportView(ListView1);
    clearSelectionOnEmptyClick(ListView1);
    ListView1->horizontalHeader()->resizeSection(0, 150);
    ListView1->setGeometry(8, 8, 207, 150);

    xpButton3 = new QPushButton(QStringLiteral("Добавить"), this);
    xpButton3->setObjectName(QStringLiteral("xpButton3"));
    xpButton3->setGeometry(232, 64, 80, 27);
    xpButton4 = new QPushButton(QStringLiteral("Исправить"), this);
    xpButton4->setObjectName(QStringLiteral("xpButton4"));
    xpButton4->setGeometry(8, 222, 90, 27);

    CheckBox1 = new QCheckBox(QStringLiteral("Закрыть по завершению"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("Очистить список по завершению"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3 = new QCheckBox(QStringLiteral("Создавать резервную копию"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setChecked(true);
    int top = 192;
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3}) {
        box->setGeometry(112, top - 2, 330, 22);
        top += 32;
    }

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setEnabled(false);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    {
        QPalette p = RichEdit1->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(g, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
            p.setColor(g, QPalette::Text, p.color(QPalette::Active, QPalette::WindowText));
        }
        RichEdit1->setPalette(p);
    }
    RichEdit1->setGeometry(328, 8, 217, 178);
    setNoteLines(defaultNoteLines());

    contactLabel = makeContactLabel(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("Удалить"));
    N1->setObjectName(QStringLiteral("N1"));
    PopupMenu1->addSeparator();
    N6 = PopupMenu1->addAction(QStringLiteral("Открыть"));
    N6->setObjectName(QStringLiteral("N6"));

    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos));
    });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FixListTab::syncSelection);
    connect(&list_, &QAbstractItemModel::modelReset, this, &FixListTab::syncSelection);
    connect(xpButton3, &QPushButton::clicked, this, &FixListTab::Button2Click);
    connect(N1, &QAction::triggered, this, &FixListTab::N1Click);
    connect(N6, &QAction::triggered, this, &FixListTab::N6Click);
}

QStringList FixListTab::defaultNoteLines()
{
    return {QStringLiteral("                        Примечание"),
            QStringLiteral("   1. Для создания содержания  "),
            QStringLiteral("необходимо наличие OCR (как минимум "),
            QStringLiteral("на страницах содержания)."),
            QStringLiteral("   2. Выравнивание содержания работает "),
            QStringLiteral("только для гиперссылок вида "),
            QStringLiteral("прямоугольник и овал."),
            QStringLiteral("   3. При выравнивании стиль границ "),
            QStringLiteral("остается как есть.")};
}

void FixListTab::setNoteLines(const QStringList& lines)
{
    // The lines are wrapped paragraphs: a line that begins with blanks starts a paragraph,
    // any other continues the one before, and the box wraps them to its own width. The first
    // paragraph is the heading, centred. Later paragraphs keep their leading blanks, so the
    // box's text, read back line by line, gives the same paragraphs again.
    auto trimEnd = [](QString text) {
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        return text;
    };
    QStringList paragraphs;
    for (const QString& line : lines) {
        if (paragraphs.isEmpty())
            paragraphs << line.trimmed();
        else if (line.startsWith(QLatin1Char(' ')))
            paragraphs << trimEnd(line);
        else if (!line.trimmed().isEmpty())
            paragraphs.last() = trimEnd(paragraphs.last()) + QLatin1Char(' ') + line.trimmed();
    }
    RichEdit1->clear();
    QTextCursor cursor(RichEdit1->document());
    for (int i = 0; i < paragraphs.size(); ++i) {
        QTextBlockFormat format;
        format.setAlignment(i == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        format.setBottomMargin(i == 0 ? 2 : 1);
        if (i == 0)
            cursor.setBlockFormat(format);
        else
            cursor.insertBlock(format);
        cursor.insertText(paragraphs[i]);
    }
}

QString FixListTab::noteText() const
{
    return RichEdit1->toPlainText();
}

void FixListTab::syncSelection()
{
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    list_.setSelected(rows.isEmpty() ? -1 : rows.first().row());
}

void FixListTab::open1(const QString& path)
{
    list_.append(path);
}

void FixListTab::Button2Click()
{
    if (locked_)
        return;
    const QString path = dialogs_.openDjvuFile();
    if (!path.isEmpty())
        open1(path);
}

void FixListTab::N1Click()
{
    if (list_.selected() < 0) {
        dialogs_.showMessage(texts_.text("mes1"), QString());
        return;
    }
    if (!locked_)
        list_.removeAt(list_.selected());
}

void FixListTab::N6Click()
{
    if (list_.selected() < 0) {
        dialogs_.showMessage(texts_.text("mes1"), QString());
        return;
    }
    dialogs_.openInShell(list_.at(list_.selected()).fullPath());
}

void FixListTab::setListLocked(bool locked)
{
    locked_ = locked;
    xpButton3->setEnabled(!locked);
    xpButton4->setEnabled(!locked);
    N1->setEnabled(!locked);
}

void FixListTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContactLabel(contactLabel);
}
