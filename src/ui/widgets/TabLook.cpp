#include "ui/widgets/TabLook.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>

void setUpReportView(QTableView* view)
{
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->setWordWrap(false);
    // A long folder keeps its start and its end; the tooltip holds the whole path.
    view->setTextElideMode(Qt::ElideMiddle);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setDefaultSectionSize(600);
}

QLabel* makeContactLabel(QWidget* tab)
{
    auto* label = new QLabel(QStringLiteral("Tocsmith · DjVu contents"), tab);
    label->setObjectName(QStringLiteral("contactLabel"));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 200));
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

void placeContactLabel(QLabel* label)
{
    const QWidget* tab = label->parentWidget();
    label->adjustSize();
    label->move(tab->width() - label->width() - 8, tab->height() - label->height() - 4);
}

namespace {

class EmptyClickFilter : public QObject
{
public:
    explicit EmptyClickFilter(QTableView* view) : QObject(view), view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (!view_->indexAt(press->position().toPoint()).isValid())
                view_->clearSelection();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView* view_;
};

} // namespace

void clearSelectionOnEmptyClick(QTableView* view)
{
    view->viewport()->installEventFilter(new EmptyClickFilter(view));
}
