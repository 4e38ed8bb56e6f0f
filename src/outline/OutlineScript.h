#pragma once

#include "outline/Outline.h"

#include <QByteArray>
#include <QString>

// The outline in djvused's own syntax: `(bookmarks ("title" "target" children...) ...)`.
namespace OutlineScript {

// The djvused script that gives a document this outline: "set-outline" with the
// expression up to a lone "." line, or "remove-outline" for an empty outline. Every string
// is quoted with octal escapes, so no line of the data can read as "." and any title comes
// back byte for byte. Empty with *error set when the outline cannot be written: it is not
// well nested, or a text holds a zero byte, which djvused drops.
QByteArray script(const Outline& outline, QString* error);

// What "djvused -e print-outline" printed, read strictly: nothing (no outline) or one
// `(bookmarks ...)` expression of bookmarks of two quoted strings and their children, with
// nothing after it. Anything else, a capture cut short included, sets *error.
Outline parse(const QByteArray& printed, QString* error);

} // namespace OutlineScript
