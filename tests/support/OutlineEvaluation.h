#pragma once

// Compares an outline a run wrote with the outline a book's author made by hand: how many
// of the author's bookmarks the run found, and how many of the run's bookmarks are right.

#include "outline/Outline.h"

#include <QString>
#include <QStringList>

struct OutlineScore
{
    int authorCount = 0;
    int writtenCount = 0;
    int authorMatched = 0; // author bookmarks the written outline holds
    int writtenRight = 0;  // written bookmarks the author's outline holds
    QStringList missed;    // author bookmarks not found, as "title -> page (under parent)"

    double found() const { return authorCount ? double(authorMatched) / authorCount : 0; }
    double right() const { return writtenCount ? double(writtenRight) / writtenCount : 0; }
    QString summary() const;
};

namespace OutlineEvaluation {

// Two bookmarks are the same when their titles, their pages and their parents' titles are
// the same; titles compared without case, spaces or punctuation. Targets are page numbers
// ("#12") or page identifiers ("#p0012.djvu"), read through the document's "djvused -e ls"
// listing.
// partsByOrder: top bookmarks that hold others are parts, and a part's children are under
// the same parent when their parts come in the same place (first, second, ...) of the two
// outlines, however the parts are titled; the parts themselves still count by title and page.
OutlineScore compare(const Outline& author, const Outline& written, const QByteArray& listing,
                     bool partsByOrder = false);

// The title as compared: lower case, letters and digits only.
QString normalised(const QByteArray& title);

} // namespace OutlineEvaluation
