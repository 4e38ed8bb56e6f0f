#include "ui/main/OptionTips.h"

#include "base/IniFile.h"
#include "base/TipTexts.h"

#include <QAction>
#include <QWidget>

namespace {

template <typename Text> void applyTo(QWidget* window, Text textOf)
{
    for (const QString& name : TipTexts::names()) {
        const QString tip = textOf(name);
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
    applyTo(window, [](const QString& name) { return TipTexts::russianText(name); });
}

void apply(QWidget* window, const IniFile& file)
{
    applyTo(window, [&file](const QString& name) {
        return file.readText(QStringLiteral("Tips"), name, TipTexts::russianText(name));
    });
}

} // namespace OptionTips
