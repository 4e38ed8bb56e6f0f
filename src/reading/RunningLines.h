#pragma once

#include "reading/PageText.h"
#include "reading/PrintedNumber.h"

#include <QList>

// Running heads and footers of a page: a lone page number, or a line without a leader set
// apart in the top or bottom margin, such as a running title or a copyright line.
namespace RunningLines {

// One flag per line of the page: true for a header or footer line.
QList<bool> flags(const PageText& page);
// The page's own printed number ("2", "- 14 -", "xiv") from its header or footer, or None.
PrintedNumber folio(const PageText& page);

} // namespace RunningLines
