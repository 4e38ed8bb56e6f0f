#pragma once

#include "reading/PageText.h"

#include <QString>

// What names the parts of a book in its contents: the heading of a contents, a part line
// above it, a heading word that opens a part, the title of the page a part begins on.
namespace OutlineParts {

// "Contents", "Оглавление", "Содержание", "ОГЛАВЛЕНИЕ", spaced out or not: the heading of a
// contents, which is never an entry of its own.
bool isContentsHeading(const QString& title);
// "Part II. Methods", "Часть 2", "Книга первая", "Volume 3": a line that opens a part.
bool isPartHeading(const QString& title);
// The first title line above the contents heading of a contents page, a running head and
// lines ending in a page number aside; empty when the page shows none.
QString partLine(const PageText& page);
// The first line of words at the top of a page: the title of the part it belongs to, as a
// running head gives it.
QString pageTitle(const PageText& page);

} // namespace OutlineParts
