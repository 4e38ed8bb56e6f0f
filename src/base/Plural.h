#pragma once

#include "base/EngineTexts.h"

#include <QString>

// A count with its noun in the form the number asks for. A language text gives the forms
// apart by "|": two for English ("%1 bookmark|%1 bookmarks": one, other), three for Russian
// ("%1 закладка|%1 закладки|%1 закладок": one, few, many); a text of one form serves every
// count.
namespace Plural {

// The form of `forms` that suits n, its %1 left to fill.
QString pick(const QString& forms, qint64 n);
// The engine text of `key` (see EngineTexts) for n, with n put in.
QString count(EngineKey key, qint64 n);

} // namespace Plural
