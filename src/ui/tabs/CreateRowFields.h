#pragma once

#include <QString>
#include <QStringList>

class ContentsLinkTab;
class CreateTab;

// The Create tab's controls as the text columns of a Create-list row, and back.
namespace CreateRowFields {

// Columns 1 to 33 of a new row, as the controls and the contents-link tab show them.
QStringList columnsOf(const CreateTab& tab, const ContentsLinkTab& linkTab);
// The offset column: the typed offset with the sign the radio buttons give it.
QString offsetText(const CreateTab& tab);
// Puts a row's columns into the controls. A column that does not read ends the loading,
// leaving the controls after it as they were.
void show(CreateTab& tab, const QStringList& columns);

} // namespace CreateRowFields
