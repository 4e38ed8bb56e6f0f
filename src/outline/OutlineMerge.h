#pragma once

#include "outline/Outline.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Adds new bookmarks to an outline a document already has, so that a second run over
// another contents, or the same one again, keeps what is there.
namespace OutlineMerge {

// The title as compared: lower case, letters and digits only.
QString looseTitle(const QByteArray& title);

// `current` with the bookmarks of `added` that it lacks. An added bookmark with the same
// page and the same loose title as a bookmark under the same parent is that bookmark (its
// children are merged in turn); any other goes, with its children, among its siblings after
// the last one whose page is not after its own. The bookmarks of `current` keep their titles
// and the form of their targets. pageIds: the document's page identifiers in page order,
// for targets that name a page by its identifier.
Outline merge(const Outline& current, const Outline& added, const QList<QByteArray>& pageIds);

} // namespace OutlineMerge
