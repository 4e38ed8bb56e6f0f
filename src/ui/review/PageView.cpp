#include "ui/review/PageView.h"

#include <QMouseEvent>
#include <QPainter>

PageView::PageView(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void PageView::setPages(const QList<Page>& pages)
{
    pages_ = pages;
    pagesChanged();
}

int PageView::pageIndex(int number) const
{
    for (qsizetype i = 0; i < pages_.size(); ++i)
        if (pages_[i].number == number)
            return int(i);
    return -1;
}

void PageView::pagesChanged()
{
    updateSize();
    update();
}

void PageView::setLook(const QByteArray& shape, const QByteArray& border)
{
    shape_ = shape;
    dotted_ = border.trimmed().isEmpty() || border.contains("none");
    update();
}

void PageView::setSelectedRow(int row)
{
    selected_ = row;
    update();
}

void PageView::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, 0.25, 4.0);
    updateSize();
    update();
}

QSize PageView::sizeHint() const
{
    int height = kGap;
    for (qsizetype i = 0; i < pages_.size(); ++i)
        height += pageRect(int(i)).height() + kGap;
    return {int(kPageWidth * zoom_) + 2 * kGap, height};
}

void PageView::updateSize()
{
    resize(sizeHint());
    setMinimumSize(sizeHint());
}

QRect PageView::pageRect(int index) const
{
    int top = kGap;
    const int width = int(kPageWidth * zoom_);
    for (int i = 0; i <= index; ++i) {
        const QSize size = pages_[i].size.isEmpty() ? QSize(1000, 1414) : pages_[i].size;
        const int height = int(double(width) * size.height() / size.width());
        if (i == index)
            return {kGap, top, width, height};
        top += height + kGap;
    }
    return {};
}

QRect PageView::mapArea(int index, const QRect& box) const
{
    const Page& page = pages_[index];
    if (page.size.isEmpty())
        return {};
    const QRect onScreen = pageRect(index);
    const double scale = double(onScreen.width()) / page.size.width();
    // The page counts up from its bottom edge, the screen down from its top.
    const int left = onScreen.left() + int(box.x() * scale);
    const int top = onScreen.top() + int((page.size.height() - box.y() - box.height()) * scale);
    return {left, top, std::max(int(box.width() * scale), 2),
            std::max(int(box.height() * scale), 2)};
}

QRect PageView::areaOnScreen(int row) const
{
    for (qsizetype i = 0; i < pages_.size(); ++i)
        for (const Area& area : pages_[i].areas)
            if (area.row == row)
                return mapArea(int(i), area.box);
    return {};
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (qsizetype i = 0; i < pages_.size(); ++i) {
        const Page& page = pages_[i];
        const QRect rect = pageRect(int(i));
        if (page.image.isNull())
            painter.fillRect(rect, Qt::white);
        else
            painter.drawImage(rect, page.image);
        for (const Area& area : page.areas) {
            const QRect box = mapArea(int(i), area.box);
            QColor colour = area.written ? QColor(0, 90, 220) : QColor(150, 150, 150);
            QPen pen(colour, area.row == selected_ ? 3 : 1.5);
            if (dotted_ || !area.written)
                pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
            colour.setAlpha(area.row == selected_ ? 90 : 25);
            painter.setBrush(area.row == selected_ ? QColor(255, 200, 0, 110) : colour);
            if (shape_ == "oval")
                painter.drawEllipse(box);
            else
                painter.drawRect(box);
        }
        if (!page.message.isEmpty()) {
            painter.setPen(Qt::darkRed);
            painter.drawText(rect.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                             page.message);
        }
    }
}

void PageView::mousePressEvent(QMouseEvent* event)
{
    for (qsizetype i = 0; i < pages_.size(); ++i) {
        for (const Area& area : pages_[i].areas) {
            if (mapArea(int(i), area.box).contains(event->position().toPoint())) {
                emit rowClicked(area.row);
                return;
            }
        }
    }
    QWidget::mousePressEvent(event);
}
