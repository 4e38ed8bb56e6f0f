#pragma once

// Prints synthetic contents and index pages in the many ways books set them, each with the
// truth a reader would take from it, for table-driven tests of the readings. The pages are
// FixturePages, so the one fixture builder makes real books of them.

#include "DjvuFixture.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PrintedEntry
{
    QString numbering; // "2.1", "Chapter 3", "" for none
    QString title;     // the words after the numbering
    QString number;    // the page number as the page prints it ("l3" for a misread 13); ""
    int level = 1;
    // What a reader takes from the line: the page the entry names, 0 when the line prints
    // none (its page is the next entry's, inferred).
    int page = 0;
    QString fullTitle() const
    {
        return numbering.isEmpty() ? title : numbering + QLatin1Char(' ') + title;
    }
};

struct PrintedLayout
{
    QString name;
    bool leaders = true;            // dot leaders between titles and numbers
    bool numbersInOwnBlock = false; // the OCR gives all titles first, then all numbers
    bool numberingApart = false;    // section numbers in a block of their own, left of titles
    bool twoColumns = false;        // the entries in two columns, left one first
    int indentPerLevel = 0;         // indentation of each level below the first
    int wrapAfterWords = 0;         // titles longer than this go on over a second line
    int lineGap = 80;               // distance from one line's bottom to the next
};

struct PrintedContents
{
    FixturePage page;
    QList<PrintedEntry> truth;

    // One contents page: a "Contents" heading and the entries laid out as the layout says.
    static PrintedContents print(const QList<PrintedEntry>& entries, const PrintedLayout& layout);
    // An index page: "term, 12, 15" lines, in two columns when asked; the truth's entries
    // carry the printed numbers as pages.
    static PrintedContents printIndex(const QList<QPair<QString, QStringList>>& terms,
                                      bool twoColumns);
    // A book: these pages first, then plain pages up to `count`.
    static QList<FixturePage> book(const QList<FixturePage>& first, int count);
};
