#include "ui/main/OptionTips.h"

#include "base/IniFile.h"
#include "base/TipTexts.h"

#include <QAction>
#include <QWidget>

namespace {

// Every tip goes to the controls of its object name.
template <typename Text> void applyTo(QWidget* window, Text textOf)
{
    for (const TipKey key : TipKey::all()) {
        const QString name = QString::fromLatin1(key.name());
        const QString tip = textOf(key);
        for (QWidget* w : window->findChildren<QWidget*>(name))
            w->setToolTip(tip);
        for (QAction* a : window->findChildren<QAction*>(name))
            a->setToolTip(tip);
    }
}

} // namespace

namespace OptionTips {

void applyBuiltIn(QWidget* window)
{
    applyTo(window, [](TipKey key) { return TipTexts::russianText(key); });
}

void apply(QWidget* window, const IniFile& file)
{
    applyTo(window, [&file](TipKey key) {
        return file.readText(QString::fromLatin1(TipTable::section),
                             QString::fromLatin1(key.name()), TipTexts::russianText(key));
    });
}

} // namespace OptionTips
