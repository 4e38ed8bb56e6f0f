#include "ui/main/Unit11111.h"

#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/WindowSettings.h"

#include <QAction>
#include <QTabWidget>

// The window's settings file: read as the window is made, written once as it goes. Each
// tab loads and saves its own settings; the window keeps those of its menu and size.

void TForm1::FormCreate()
{
    WindowSettings settings(settingsPath());

    // 1. Languages and their menu.
    findLanguages();

    // 2. Drop-down lists, and the enabling that follows from the border types.
    TabSheet2->chooseDefaults();
    TabSheet3->chooseDefaults();

    // 3. "Создать" is the active tab.
    PageControl1->setCurrentWidget(TabSheet2);

    // 4. The tabs' options.
    TabSheet2->loadSettings(settings);
    TabSheet3->loadSettings(settings);
    TabSheet1->loadSettings(settings);

    // 5. The remembered language.
    const QString language = settings.language();
    currentLanguage = language;
    if (!language.isEmpty())
        setlang(language);

    // 6. The menu options hold the opposite of their state; the toggles below invert them.
    N8->setChecked(settings.menuTop());
    N9->setChecked(settings.menuLog());

    // 7. Dropped files are welcome for the window's whole life, wherever they land: the
    //    text fields would otherwise take a dropped path as text.
    setAcceptDrops(true);
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);

    // 8.
    N8Click();
    N9Click();

    // 9. The size the user left the window at, when larger than the smallest.
    rememberedSize_ = QSize(settings.width(), settings.height());
    applyRememberedSize();
    centre();
}

void TForm1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    WindowSettings settings(settingsPath());
    TabSheet2->saveSettings(settings);
    TabSheet3->saveSettings(settings);
    TabSheet1->saveSettings(settings);
    settings.menuTop.set(!N8->isChecked());
    settings.menuLog.set(!N9->isChecked());
    settings.language.set(currentLanguage);
    settings.width.set(width());
    settings.height.set(height());
    settings.write();
}
