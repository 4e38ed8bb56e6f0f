#include "ui/widgets/ColourSwatch.h"

#include "base/ColourText.h"

#include <QPainter>

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void ColourSwatch::setColour(quint32 colour)
{
    colour_ = colour & 0xFFFFFF;
    setToolTip(QLatin1Char('#') + colourText());
    update();
}

QString ColourSwatch::colourText() const
{
    return ColourText::fromValue(colour_);
}

void ColourSwatch::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QColor fill(int(colour_ & 0xFF), int((colour_ >> 8) & 0xFF), int((colour_ >> 16) & 0xFF));
    painter.fillRect(contentsRect(), isEnabled() ? fill : fill.lighter(130));
    painter.end();
    QFrame::paintEvent(event);
}
