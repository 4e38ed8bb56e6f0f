#pragma once

#include <QString>
#include <QStringList>

// The tooltip of every option of the window, by the control's object name: what the option
// does (section Tips of a language file).
namespace TipTexts {

// The object names that carry a tip, in table order.
const QStringList& names();
QString russianText(const QString& name);
QString englishText(const QString& name);

} // namespace TipTexts
