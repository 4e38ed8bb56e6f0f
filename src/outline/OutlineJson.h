#pragma once

#include "outline/Outline.h"
#include "outline/OutlineText.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The outline as JSON, for scripts: a list of bookmarks, each an object
// {"title": "...", "page": N, "children": [...]}, with "url" (the target as the document
// holds it) in place of "page" when the target is not a page of the document. The schema is
// docs/outline.schema.json. A page read back becomes "#N", unless OutlineText::keepTargetForms
// gives it the form the document used.
namespace OutlineJson {

// Empty, with *error naming the bookmark, when a title or a target is not UTF-8 (JSON text
// cannot carry such bytes; the text format can).
QByteArray write(const Outline& outline, int pageCount, const QList<QByteArray>& pageIds,
                 QString* error);

// The errors each name their place: "line 3, column 7: ..." for JSON that does not read,
// "[2].children[0]: ..." for a bookmark that is not right.
OutlineText::Parsed read(const QByteArray& json, int pageCount);

} // namespace OutlineJson
