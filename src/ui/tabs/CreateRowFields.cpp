#include "ui/tabs/CreateRowFields.h"

#include "base/ColourText.h"
#include "jobs/CreateRow.h"
#include "jobs/JobPath.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/widgets/ColourSwatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace C = CreateColumn;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Selects a list's item by the column's number; false when it names no item.
bool choose(QComboBox* list, const QString& column)
{
    if (!JobPath::isWholeNumber(column))
        return false;
    const int index = column.toInt();
    if (index < 0 || index >= list->count())
        return false;
    list->setCurrentIndex(index);
    return true;
}

} // namespace

namespace CreateRowFields {

QString offsetText(const CreateTab& tab)
{
    // A list, or an offset typed with its sign, carries its own signs.
    const QString text = tab.Edit3->text();
    if (text.contains(QLatin1Char(',')) || text.startsWith(QLatin1Char('-')))
        return text;
    return tab.radioMinus->isChecked() ? QLatin1Char('-') + text : text;
}

QStringList columnsOf(const CreateTab& tab, const ContentsLinkTab& linkTab)
{
    QStringList columns(CreateRow::kColumnCount);
    columns[C::FirstPage] = tab.Edit1->text();
    columns[C::LastPage] = tab.Edit2->text();
    columns[C::Offset] = offsetText(tab);
    columns[C::Kind] = QString::number(tab.ComboBox3->currentIndex());
    columns[C::BorderType] = QString::number(tab.ComboBox1->currentIndex());
    columns[C::Shape] = QString::number(tab.ComboBox2->currentIndex());
    columns[C::BorderColour] = tab.Shape1->colourText();
    columns[C::HighlightColour] = tab.Shape2->colourText();
    columns[C::ShadowWidth] = tab.Edit4->text();
    columns[C::AlwaysVisible] = flag(tab.CheckBox8->isChecked());
    columns[C::Highlight] = flag(tab.CheckBox9->isChecked());
    columns[C::Halve] = flag(tab.CheckBox11->isChecked());
    columns[C::ContentsLink] = flag(tab.CheckBox14->isChecked());
    linkTab.putColumns(columns);
    columns[C::Comment] = tab.Edit13->text();
    columns[C::Outline] = flag(tab.outlineCheckBox->isChecked());
    columns[C::Reading] = flag(tab.smartReadingCheckBox->isChecked());
    columns[C::OffsetAuto] = flag(tab.offsetAutoCheckBox->isChecked());
    columns[C::Recognise] = flag(tab.recogniseCheckBox->isChecked());
    return columns.mid(1);
}

void show(CreateTab& tab, const QStringList& cols)
{
    const auto on = [&cols](int column) { return cols.value(column) == QLatin1String("1"); };
    tab.Edit1->setText(cols.value(C::FirstPage));
    tab.Edit2->setText(cols.value(C::LastPage));
    tab.outlineCheckBox->setChecked(on(C::Outline));
    tab.smartReadingCheckBox->setChecked(on(C::Reading));
    tab.offsetAutoCheckBox->setChecked(on(C::OffsetAuto));
    // A row made before the column existed recognises as its reading does by default.
    tab.recogniseCheckBox->setChecked(cols.value(C::Recognise).isEmpty() ? on(C::Reading)
                                                                         : on(C::Recognise));

    const QString offset = cols.value(C::Offset);
    if (offset.contains(QLatin1Char(','))) {
        tab.radioPlus->setChecked(true); // each offset of a list carries its own sign
        tab.Edit3->setText(offset);
    } else {
        if (!JobPath::isWholeNumber(offset))
            return;
        const qint64 value = offset.toInt();
        tab.Edit3->setText(QString::number(qAbs(value)));
        (value < 0 ? tab.radioMinus : tab.radioPlus)->setChecked(true);
    }

    if (!choose(tab.ComboBox3, cols.value(C::Kind)) ||
        !choose(tab.ComboBox1, cols.value(C::BorderType)) ||
        !choose(tab.ComboBox2, cols.value(C::Shape)))
        return;
    // The snapping rules do not run on loading, but the enabled controls must match.
    tab.updateActions();

    quint32 colour = 0;
    if (!ColourText::toValue(cols.value(C::BorderColour), &colour))
        return;
    tab.Shape1->setColour(colour);
    if (!ColourText::toValue(cols.value(C::HighlightColour), &colour))
        return;
    tab.Shape2->setColour(colour);

    tab.Edit4->setText(cols.value(C::ShadowWidth));

    tab.CheckBox8->setChecked(on(C::AlwaysVisible));
    tab.CheckBox9->setChecked(on(C::Highlight));
    tab.CheckBox11->setChecked(on(C::Halve));
}

} // namespace CreateRowFields
