#pragma once

#include <QHash>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

// Lets a tab laid out by coordinates use the room a larger window gives: its list grows by
// the extra width and height, the controls right of the list move right, the controls
// below it move down. At no extra room every control is where the tab put it.
class TabGrowth
{
public:
    // Takes the controls' places as they are now (the tab's own layout).
    TabGrowth(QWidget* tab, QWidget* list);

    void apply(QSize extra);
    // The lowest bottom edge of the controls where the tab put them.
    int naturalBottom() const;

private:
    QPointer<QWidget> list_;
    QRect listPlace_;
    QHash<QWidget*, QRect> places_;
};
