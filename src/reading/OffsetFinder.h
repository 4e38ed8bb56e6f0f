#pragma once

#include "reading/BookPages.h"
#include "reading/SmartEntry.h"

#include <QSet>

// Finds the page offset of a contents from the book itself: the pages on which the
// entries' titles stand as headings, and failing those the page numbers printed in the
// pages' margins. Refuses when the evidence is missing or disagrees.
class OffsetFinder
{
public:
    struct Outcome
    {
        bool found = false;
        int offset = 0;
        QString note;  // how the offset was found, for the log
        QString error; // why none was found
    };

    // The arabic entries whose heading stands on exactly one page of the book, in order:
    // that page and the entry's printed number.
    struct HeadingFound
    {
        int page = 0;
        qint64 printed = 0;
    };
    static QList<HeadingFound> headingsFound(const QList<SmartEntry>& entries, BookPages& book,
                                             const QSet<int>& contentsPages);

    // checked: each link is checked against its heading afterwards, so the offset most
    // headings agree on will do even where the offset drifts and no value has a majority.
    static Outcome find(const QList<SmartEntry>& entries, BookPages& book,
                        const QSet<int>& contentsPages, bool halve, bool checked = false);
};
