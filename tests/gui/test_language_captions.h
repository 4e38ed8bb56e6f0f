#pragma once

// What the main window shows to the user as text, gathered for the language tests: every
// caption, tab, menu entry, list header, drop-down item and the note box, each under a key
// that stays the same for the same window.

#include "ui/main/Unit11111.h"
#include "ui/ocr/Unit5.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/UpDown.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <cmath>

namespace language_test {

using Captions = QMap<QString, QString>;

inline bool inMainWindow(const TForm1& form, const QWidget* widget)
{
    return widget->window() == &form && !form.Form5->isAncestorOf(widget);
}

template <typename T> QList<T*> shown(const TForm1& form)
{
    QList<T*> found;
    for (T* w : form.findChildren<T*>()) {
        if (inMainWindow(form, w))
            found << w;
    }
    return found;
}

inline Captions captionsOf(const TForm1& form)
{
    Captions c;
    int i = 0;
    for (QAbstractButton* b : shown<QAbstractButton>(form))
        c[QString("button %1 %2").arg(i++).arg(b->objectName())] = b->text();
    for (QLabel* l : shown<QLabel>(form))
        c[QString("label %1 %2").arg(i++).arg(l->objectName())] = l->text();
    for (QGroupBox* g : shown<QGroupBox>(form))
        c[QString("group %1 %2").arg(i++).arg(g->objectName())] = g->title();
    for (QTabBar* t : shown<QTabBar>(form)) {
        for (int k = 0; k < t->count(); ++k)
            c[QString("tab %1 %2").arg(i).arg(k)] = t->tabText(k);
        ++i;
    }
    for (QComboBox* box : shown<QComboBox>(form)) {
        for (int k = 0; k < box->count(); ++k)
            c[QString("item %1 %2 %3").arg(i).arg(box->objectName()).arg(k)] = box->itemText(k);
        ++i;
    }
    for (QTableView* view : shown<QTableView>(form)) {
        for (int k = 0; k < 4; ++k) {
            c[QString("header %1 %2 %3").arg(i).arg(view->objectName()).arg(k)] =
                view->model()->headerData(k, Qt::Horizontal).toString();
        }
        ++i;
    }
    // Menus are windows of their own; those of the editor window are not counted.
    for (QMenu* menu : form.findChildren<QMenu*>()) {
        if (form.Form5->isAncestorOf(menu))
            continue;
        c[QString("menu %1 %2").arg(i++).arg(menu->objectName())] = menu->title();
        for (QAction* a : menu->actions()) {
            if (!a->isSeparator())
                c[QString("entry %1 %2").arg(i++).arg(a->objectName())] = a->text();
        }
    }
    // The note box wraps its lines, so only its words count.
    c["note"] = form.TabSheet1->RichEdit1->toPlainText().simplified();
    return c;
}

// The keys whose texts differ between two gatherings.
inline QStringList changed(const Captions& before, const Captions& after)
{
    QStringList keys;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.value(it.key()) != it.value())
            keys << it.key();
    }
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (!after.contains(it.key()))
            keys << it.key();
    }
    return keys;
}

inline int leftOn(const TForm1& form, const QWidget* w)
{
    return w->mapTo(&form, QPoint()).x();
}
inline int rightOn(const TForm1& form, const QWidget* w)
{
    return leftOn(form, w) + w->width();
}

// Where each label whose width follows its text must stand against its field: the gap
// between the label's right edge and the field's left edge (for the contents-link border
// width: 5 pixels inside the right edge of the spin buttons), and "по" centred between the
// two page fields, halves to the even pixel. Returns a description of each misplaced label.
inline QStringList misplacedLabels(const TForm1& form)
{
    QStringList wrong;
    const CreateTab* c = form.TabSheet2;
    const ContentsLinkTab* l = form.TabSheet3;
    const auto before = [&](const QLabel* label, const QWidget* field, int gap) {
        if (rightOn(form, label) != leftOn(form, field) - gap ||
            label->width() < label->sizeHint().width())
            wrong << label->objectName() + " " + label->text();
    };
    before(l->Label17, l->Edit12, 10);
    before(c->labelKindOfWork, c->ComboBox3, 10);
    before(c->labelBorderWidth, c->Edit4, 10);
    if (rightOn(form, l->Label10) != rightOn(form, l->UpDown2) - 5)
        wrong << "Label10";
    before(l->Label16, l->Edit11, 10);
    before(l->Label11, l->Edit6, 10);
    before(l->labelLeftOffset, l->Edit7, 10);
    before(l->labelBottomOffset, l->Edit8, 10);
    before(l->labelWidth, l->Edit9, 10);
    before(l->labelHeight, l->Edit10, 10);
    before(c->labelComment, c->Edit13, 10);
    before(c->labelPagesFrom, c->Edit1, 5);
    const double middle =
        (leftOn(form, c->Edit1) + c->Edit1->width() + leftOn(form, c->Edit2)) / 2.0;
    if (leftOn(form, c->labelPagesTo) !=
        int(std::nearbyint(middle - c->labelPagesTo->width() / 2.0)))
        wrong << "labelPagesTo";
    return wrong;
}

} // namespace language_test
