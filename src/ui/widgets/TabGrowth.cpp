#include "ui/widgets/TabGrowth.h"

TabGrowth::TabGrowth(QWidget* tab, QWidget* list) : list_(list), listPlace_(list->geometry())
{
    for (QWidget* child : tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The contact line places itself at the tab's corner.
        if (child != list && !child->isWindow() &&
            child->objectName() != QLatin1String("contactLabel"))
            places_.insert(child, child->geometry());
    }
}

void TabGrowth::apply(QSize extra)
{
    if (!list_)
        return;
    const int dw = std::max(0, extra.width());
    const int dh = std::max(0, extra.height());
    list_->setGeometry(listPlace_.adjusted(0, 0, dw, dh));
    for (auto it = places_.constBegin(); it != places_.constEnd(); ++it) {
        QRect place = it.value();
        if (place.left() >= listPlace_.right())
            place.translate(dw, 0);
        else if (place.top() >= listPlace_.bottom())
            place.translate(0, dh);
        it.key()->setGeometry(place);
    }
}

int TabGrowth::naturalBottom() const
{
    int bottom = listPlace_.bottom() + 1;
    for (const QRect& place : places_)
        bottom = std::max(bottom, place.bottom() + 1);
    return bottom;
}
