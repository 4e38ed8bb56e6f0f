#pragma once

#include "reading/BookPages.h"
#include "reading/PageNumberMap.h"
#include "reading/SmartEntry.h"

#include <QList>
#include <QSet>
#include <QString>

// Where the entries of a contents lead in a book whose scan lost or gained pages: the
// distance between printed and document page, stretch by stretch, from the page numbers
// printed in the book and else from the headings found for the entries.
class OffsetStretches
{
public:
    // The arabic stretches of the book's page-number map after the contents.
    static OffsetStretches fromMap(BookPages& book, int lastContentsPage);
    // Runs of entries whose headings stand at one distance from their printed numbers; an
    // entry at odds with the entries around it is left out. None when the headings give no
    // run of two entries, or the runs interleave (the evidence contradicts itself).
    static OffsetStretches fromHeadings(const QList<SmartEntry>& entries, BookPages& book,
                                        const QSet<int>& contentsPages);

    bool isEmpty() const { return stretches_.isEmpty(); }
    // The distance at this printed number: its stretch's, or the nearest stretch's.
    int offsetAt(qint64 printed) const;
    // The first arabic entry's printed number, or 0.
    static qint64 firstNumber(const QList<SmartEntry>& entries);
    // "pages 6–60: +5; 61–107: −8".
    QString describe() const { return PageNumberMap::describe(stretches_); }

private:
    QList<PageNumberMap::Stretch> stretches_; // by page
};
