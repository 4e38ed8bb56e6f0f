#pragma once

// Compares an outline a run wrote with the outline a book's author made by hand: how many
// of the author's bookmarks the run found, and how many of the run's bookmarks are right.

#include "links/Outline.h"

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
OutlineScore compare(const Outline& author, const Outline& written, const QByteArray& listing);

// The title as compared: lower case, letters and digits only.
QString normalised(const QByteArray& title);

} // namespace OutlineEvaluation
