// Each tab's options: its part of a pass's options, its end-of-run options, the choices it
// starts with, and its settings in the settings file.

#include "jobs/JobPath.h"
#include "jobs/JobValues.h"
#include "links/CreatePass.h"
#include "links/PassEnd.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/ChoiceList.h"
#include "ui/widgets/ColourSwatch.h"
#include "ui/widgets/WindowSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <array>
#include <tuple>
#include <utility>

void CreateTab::chooseDefaults()
{
    ChoiceList::choose(ComboBox1, JobDefaults::borderType);
    ChoiceList::choose(ComboBox2, JobDefaults::shape);
    ChoiceList::choose(ComboBox3, JobDefaults::kind);
    ComboBox1Change();
}

void CreateTab::putOptions(CreateOptions& options) const
{
    options.backup = CheckBox6->isChecked();
    options.removeOcr = CheckBox12->isChecked();
    options.checkPageCount = CheckBox16->isChecked();
    options.align = CheckBox7->isChecked();
    options.borderType = ChoiceList::chosen<BorderType>(ComboBox1);
    options.shape = ChoiceList::chosen<AreaShape>(ComboBox2);
    options.kind = ChoiceList::chosen<WorkKind>(ComboBox3);
}

EndOptions CreateTab::endOptions() const
{
    return {CheckBox4->isChecked(), CheckBox5->isChecked()};
}

namespace {

// A control shows a setting's value, or gives it.
void putValue(QCheckBox* box, bool on)
{
    box->setChecked(on);
}
bool valueOf(const QCheckBox* box)
{
    return box->isChecked();
}
void putValue(ColourSwatch* swatch, quint32 colour)
{
    swatch->setColour(colour);
}
quint32 valueOf(const ColourSwatch* swatch)
{
    return swatch->colour();
}
void putValue(QLineEdit* field, const QString& text)
{
    field->setText(text);
}
QString valueOf(const QLineEdit* field)
{
    return field->text();
}

// A tab's controls beside their settings: loading and saving read the same table. Setting a
// control runs its change handler as a user's change would; at loading the lists are
// empty, so nothing is stored.
template <typename Table> void load(const Table& table)
{
    std::apply([](const auto&... row) { (putValue(row.first, (*row.second)()), ...); }, table);
}
template <typename Table> void save(const Table& table)
{
    std::apply([](const auto&... row) { (row.second->set(valueOf(row.first)), ...); }, table);
}

template <typename Settings> auto flagsOf(const CreateTab& t, Settings& s)
{
    return std::tuple{std::pair{t.CheckBox5, &s.createClose},
                      std::pair{t.CheckBox4, &s.createClear},
                      std::pair{t.CheckBox6, &s.createBackup},
                      std::pair{t.CheckBox7, &s.createAlign},
                      std::pair{t.CheckBox12, &s.createRemoveOcr},
                      std::pair{t.outlineCheckBox, &s.createOutline},
                      std::pair{t.recogniseCheckBox, &s.createRecognise},
                      std::pair{t.CheckBox8, &s.createAlwaysVisible},
                      std::pair{t.CheckBox9, &s.createHighlight},
                      std::pair{t.CheckBox14, &s.createContentsLink},
                      std::pair{t.CheckBox16, &s.createCheckPageCount}};
}
template <typename Settings> auto othersOf(const CreateTab& t, Settings& s)
{
    return std::tuple{std::pair{t.Edit13, &s.createComment},
                      std::pair{t.Shape1, &s.createBorderColour},
                      std::pair{t.Shape2, &s.createHighlightColour}};
}

} // namespace

void CreateTab::loadSettings(const WindowSettings& s)
{
    load(flagsOf(*this, s));
    load(othersOf(*this, s));
    CheckBox14Click();
}

void CreateTab::saveSettings(WindowSettings& s) const
{
    save(flagsOf(*this, s));
    save(othersOf(*this, s));
}

void ContentsLinkTab::chooseDefaults()
{
    ChoiceList::choose(ComboBox4, JobDefaults::borderType);
    ChoiceList::choose(ComboBox5, JobDefaults::shape);
    ComboBox4Change();
}

namespace {

// The settings of the six number fields, in the fields' order.
template <typename Settings> auto linkNumbers(Settings& s)
{
    return std::array{&s.linkPage,  &s.linkLeft,   &s.linkBottom,
                      &s.linkWidth, &s.linkHeight, &s.linkTarget};
}

template <typename Settings> auto linkSettingsOf(const ContentsLinkTab& t, Settings& s)
{
    return std::tuple{
        std::pair{t.Edit12, &s.linkComment}, std::pair{t.CheckBox13, &s.linkHighlight},
        std::pair{t.Shape4, &s.linkHighlightColour}, std::pair{t.Shape3, &s.linkBorderColour}};
}

} // namespace

void ContentsLinkTab::loadSettings(const WindowSettings& s)
{
    putValue(CheckBox15, s.linkEveryPage());
    const QList<QLineEdit*> numbers{Edit6, Edit7, Edit8, Edit9, Edit10, Edit11};
    const auto settings = linkNumbers(s);
    for (int i = 0; i < numbers.size(); ++i)
        numbers[i]->setText(QString::number((*settings[i])()));
    load(linkSettingsOf(*this, s));
    CheckBox15Click();
}

void ContentsLinkTab::saveSettings(WindowSettings& s) const
{
    s.linkEveryPage.set(valueOf(CheckBox15));
    // A field that holds no integer leaves its key as it was.
    const QList<QLineEdit*> numbers{Edit6, Edit7, Edit8, Edit9, Edit10, Edit11};
    const auto settings = linkNumbers(s);
    for (int i = 0; i < numbers.size(); ++i)
        if (JobPath::isWholeNumber(numbers[i]->text()))
            settings[i]->set(numbers[i]->text().toInt());
    save(linkSettingsOf(*this, s));
}

void FixListTab::putOptions(FixOptions& options) const
{
    options.backup = CheckBox3->isChecked();
}

EndOptions FixListTab::endOptions() const
{
    return {CheckBox2->isChecked(), CheckBox1->isChecked()};
}

namespace {

template <typename Settings> auto flagsOf(const FixListTab& t, Settings& s)
{
    return std::tuple{std::pair{t.CheckBox1, &s.fixClose}, std::pair{t.CheckBox2, &s.fixClear},
                      std::pair{t.CheckBox3, &s.fixBackup}};
}

} // namespace

void FixListTab::loadSettings(const WindowSettings& s)
{
    load(flagsOf(*this, s));
}

void FixListTab::saveSettings(WindowSettings& s) const
{
    save(flagsOf(*this, s));
}
