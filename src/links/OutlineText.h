#pragma once

#include "links/Outline.h"

#include <QByteArray>
#include <QStringList>

// The outline as plain UTF-8 text, one bookmark a line: two spaces per level, the title,
// a tab, the target. A target "#N" naming a page of the document shows as the number N,
// any other target as the document holds it; a number read back becomes "#N" again.
//
// So that every outline comes back exactly, a few characters are written as escapes: a
// backslash as \\, a tab as \t, a line feed as \n, a carriage return as \r, any other
// control character, and any byte that is not UTF-8, as \xHH, a space that begins a title
// as \x20, a byte order mark that begins a title as \xef\xbb\xbf, and the
// first byte of a target that is only digits (not a page) as \xHH too.
namespace OutlineText {

QByteArray write(const Outline& outline, int pageCount);

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
