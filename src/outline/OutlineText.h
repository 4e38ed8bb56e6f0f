#pragma once

#include "outline/Outline.h"

#include <QByteArray>
#include <QStringList>

// The outline as plain UTF-8 text, one bookmark a line: two spaces per level, the title,
// a tab, the target. A target naming a page of the document, as "#N" or by the page's
// identifier ("#p0002.djvu"), shows as the page number; any other target as the document
// holds it. A number read back becomes "#N" again, unless keepTargetForms gives it the form
// the document used for that bookmark.
//
// So that every outline comes back exactly, a few characters are written as escapes: a
// backslash as \\, a tab as \t, a line feed as \n, a carriage return as \r, any other
// control character, and any byte that is not UTF-8, as \xHH, a space that begins a title
// as \x20, a byte order mark that begins a title as \xef\xbb\xbf, and the
// first byte of a target that is only digits (not a page) as \xHH too.
namespace OutlineText {

// pageIds: the identifiers of the document's pages in page order ("djvused -e ls").
QByteArray write(const Outline& outline, int pageCount, const QList<QByteArray>& pageIds = {});

// The page a target names: "#N", or "#<identifier>" of one of pageIds; 0 for anything else.
int pageOfTarget(const QByteArray& target, const QList<QByteArray>& pageIds);

// Gives each page target of `imported` the form the document's current outline uses for
// it: the same bookmark's own target when the bookmark at that place names the same page,
// else the first form used for that page. Exported text imported back so changes nothing.
void keepTargetForms(Outline* imported, const Outline& current, const QList<QByteArray>& pageIds);

struct Parsed
{
    Outline outline;
    QStringList errors; // "line N: why", in line order
};
// A line without a tab, an indent that is not whole levels or jumps by more than one
// level, a page outside 1..pageCount, an unknown escape: each is an error of its line.
// Blank lines are skipped.
Parsed read(const QByteArray& text, int pageCount);

} // namespace OutlineText
