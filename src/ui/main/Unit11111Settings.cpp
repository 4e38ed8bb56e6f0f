#include "ui/main/Unit11111.h"

#include "base/IniFile.h"
#include "jobs/JobPath.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/ColourSwatch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

// The window's settings file: read as the window is made, written once as it goes.

namespace {

const QString kCreate = QStringLiteral("Create");
const QString kEdit = QStringLiteral("Edit");
const QString kMenu = QStringLiteral("Menu");

} // namespace

void TForm1::FormCreate()
{
    IniFile ini(settingsPath());

    // 1. Languages and their menu.
    findLanguages();

    // 2. Drop-down lists, and the enabling that follows from the border types.
    TabSheet2->ComboBox1->setCurrentIndex(1);
    TabSheet2->ComboBox2->setCurrentIndex(0);
    TabSheet2->ComboBox3->setCurrentIndex(0);
    TabSheet3->ComboBox4->setCurrentIndex(1);
    TabSheet3->ComboBox5->setCurrentIndex(0);
    TabSheet2->ComboBox1Change();
    TabSheet3->ComboBox4Change();

    // 3. "Создать" is the active tab.
    PageControl1->setCurrentWidget(TabSheet2);

    // 4. Options of the create and contents-link tabs. Setting a control runs its change
    //    handler as a user's change would; the lists are empty, so nothing is stored.
    CreateTab* c = TabSheet2;
    ContentsLinkTab* l = TabSheet3;
    c->CheckBox5->setChecked(ini.readFlag(kCreate, QStringLiteral("Close"), false));
    c->CheckBox4->setChecked(ini.readFlag(kCreate, QStringLiteral("Clear"), false));
    c->CheckBox6->setChecked(ini.readFlag(kCreate, QStringLiteral("Backup"), true));
    c->CheckBox7->setChecked(ini.readFlag(kCreate, QStringLiteral("Edit"), false));
    c->CheckBox12->setChecked(ini.readFlag(kCreate, QStringLiteral("OCR"), false));
    c->outlineCheckBox->setChecked(ini.readFlag(kCreate, QStringLiteral("outline"), false));
    c->recogniseCheckBox->setChecked(ini.readFlag(kCreate, QStringLiteral("recognise"), true));
    c->CheckBox8->setChecked(ini.readFlag(kCreate, QStringLiteral("vis"), false));
    c->CheckBox9->setChecked(ini.readFlag(kCreate, QStringLiteral("hlite"), false));
    c->CheckBox14->setChecked(ini.readFlag(kCreate, QStringLiteral("oglav"), true));
    l->CheckBox15->setChecked(ini.readFlag(kCreate, QStringLiteral("all_page"), false));
    const int numberDefaults[] = {1, 100, 50, 500, 50, 4};
    const QList<QLineEdit*> numbers{l->Edit6, l->Edit7, l->Edit8, l->Edit9, l->Edit10, l->Edit11};
    for (int i = 0; i < numbers.size(); ++i)
        numbers[i]->setText(QString::number(
            ini.readInt(kCreate, QStringLiteral("oglav_%1").arg(i + 1), numberDefaults[i])));
    l->Edit12->setText(
        ini.readText(kCreate, QStringLiteral("oglav_7"), QStringLiteral("Go to content")));
    c->Edit13->setText(ini.readText(kCreate, QStringLiteral("goto"), QStringLiteral("Go to page")));

    // 5. The remembered language.
    const QString language = ini.readText(kMenu, QStringLiteral("Language"));
    currentLanguage = language;
    if (!language.isEmpty())
        setlang(language);

    // 6. Contents-link highlight and the four colours.
    l->CheckBox13->setChecked(ini.readFlag(kCreate, QStringLiteral("oglav_8"), false));
    l->Shape4->setColour(ini.readColour(kCreate, QStringLiteral("oglav_9"), 0));
    l->Shape3->setColour(ini.readColour(kCreate, QStringLiteral("oglav_10"), 0));
    c->Shape1->setColour(ini.readColour(kCreate, QStringLiteral("color1"), 0));
    c->Shape2->setColour(ini.readColour(kCreate, QStringLiteral("color2"), 0));

    // 7. The edit tab's options.
    TabSheet1->CheckBox1->setChecked(ini.readFlag(kEdit, QStringLiteral("Close"), false));
    TabSheet1->CheckBox2->setChecked(ini.readFlag(kEdit, QStringLiteral("Clear"), false));
    TabSheet1->CheckBox3->setChecked(ini.readFlag(kEdit, QStringLiteral("Backup"), true));

    // 8.
    c->CheckBox16->setChecked(ini.readFlag(kCreate, QStringLiteral("Prov"), true));

    // 9. The menu options hold the opposite of their state; the toggles below invert them.
    N8->setChecked(ini.readFlag(kMenu, QStringLiteral("Top"), false));
    N9->setChecked(ini.readFlag(kMenu, QStringLiteral("Protokol"), false));

    // 10. Dropped files are welcome for the window's whole life, wherever they land: the
    //     text fields would otherwise take a dropped path as text.
    setAcceptDrops(true);
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);

    // 11.
    N8Click();
    c->CheckBox14Click();
    l->CheckBox15Click();
    N9Click();

    // 12. The size the user left the window at, when larger than the smallest.
    rememberedSize_ = QSize(ini.readInt(kMenu, QStringLiteral("Width"), 0),
                            ini.readInt(kMenu, QStringLiteral("Height"), 0));
    applyRememberedSize();
    centre();
}

void TForm1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    IniFile ini(settingsPath());
    CreateTab* c = TabSheet2;
    ContentsLinkTab* l = TabSheet3;
    ini.writeFlag(kCreate, QStringLiteral("Close"), c->CheckBox5->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("Clear"), c->CheckBox4->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("Backup"), c->CheckBox6->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("Edit"), c->CheckBox7->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("OCR"), c->CheckBox12->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("outline"), c->outlineCheckBox->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("recognise"), c->recogniseCheckBox->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("hlite"), c->CheckBox9->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("Vis"), c->CheckBox8->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("oglav"), c->CheckBox14->isChecked());

    ini.writeFlag(kEdit, QStringLiteral("Close"), TabSheet1->CheckBox1->isChecked());
    ini.writeFlag(kEdit, QStringLiteral("Clear"), TabSheet1->CheckBox2->isChecked());
    ini.writeFlag(kEdit, QStringLiteral("Backup"), TabSheet1->CheckBox3->isChecked());

    ini.writeFlag(kMenu, QStringLiteral("Top"), !N8->isChecked());
    ini.writeFlag(kMenu, QStringLiteral("Protokol"), !N9->isChecked());
    ini.writeText(kMenu, QStringLiteral("language"), currentLanguage);
    ini.writeInt(kMenu, QStringLiteral("Width"), width());
    ini.writeInt(kMenu, QStringLiteral("Height"), height());

    ini.writeFlag(kCreate, QStringLiteral("oglav_8"), l->CheckBox13->isChecked());
    ini.writeColour(kCreate, QStringLiteral("oglav_9"), l->Shape4->colour());
    ini.writeColour(kCreate, QStringLiteral("oglav_10"), l->Shape3->colour());
    ini.writeColour(kCreate, QStringLiteral("color1"), c->Shape1->colour());
    ini.writeColour(kCreate, QStringLiteral("color2"), c->Shape2->colour());
    ini.writeText(kCreate, QStringLiteral("goto"), c->Edit13->text());
    ini.writeFlag(kCreate, QStringLiteral("all_page"), l->CheckBox15->isChecked());
    ini.writeFlag(kCreate, QStringLiteral("Prov"), c->CheckBox16->isChecked());

    // A field that holds no integer leaves its key as it was.
    const QList<QLineEdit*> numbers{l->Edit6, l->Edit7, l->Edit8, l->Edit9, l->Edit10, l->Edit11};
    for (int i = 0; i < numbers.size(); ++i)
        if (JobPath::isWholeNumber(numbers[i]->text()))
            ini.writeInt(kCreate, QStringLiteral("oglav_%1").arg(i + 1),
                         numbers[i]->text().toInt());
    ini.writeText(kCreate, QStringLiteral("oglav_7"), l->Edit12->text());
}
