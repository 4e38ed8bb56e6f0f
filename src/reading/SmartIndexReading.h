#pragma once

#include "jobs/JobValues.h"
#include "reading/SmartReading.h"

// Reads the page references of an index with the smart reading's rules: leaders of any kind,
// a number on the line after its title, digits glued to the last word where the page's number
// column calls for them, "15–17", "15-17" and "15ff" linking their first page, and the page's
// own printed number in its head or foot never a reference.
//   Kind 1: the last reference of each line is its entry; the area covers the line (and the
//           number's line when the number stands alone under its title).
//   Kind 2: every reference gets an area of its own: the box of its number.
// The entries come out as the smart reading's, so SmartPlan::pagesOf turns them into the plan.
class SmartIndexReading
{
public:
    struct Settings
    {
        QList<int> indexPages;            // page numbers of the index, in order
        WorkKind kind = WorkKind::Index1; // one of the index kinds
        std::optional<int> offset;        // none: found from the page numbers printed in the book
        bool halve = false;               // printed page numbers are divided by 2
    };

    // One reference inside a word: where its text stands in the word, and its first page.
    struct Reference
    {
        qsizetype start = 0, end = 0; // characters of the word it takes
        QString printed;              // the first page as printed: "15" of "15–17"
        PrintedNumber number;
    };

    static SmartReading::Result read(PageTextSource& book, const Settings& settings);

    // "15", "15,", "(15)", "15–17", "15-17", "15ff.", "15f", "15,17": the references a word
    // holds; false when it is anything else ("G4", "1990s", "ff.").
    static bool readReferences(const QString& word, QList<Reference>* references);
};
