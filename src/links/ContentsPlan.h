#pragma once

#include "djvu/TextDump.h"
#include "outline/Outline.h"
#include "reading/BorderExpression.h"
#include "reading/LineAccount.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One recognised entry of a contents or index page: what it says and where it leads.
struct PlanEntry
{
    int contentsPage = 0;  // the page it stands on, as numbered in the document
    QStringList words;     // the words of its text line or lines, readable
    QString title;         // those words without the page number
    QByteArray printed;    // the page number as printed
    qint64 targetPage = 0; // where its link leads, offset and halving applied
    BorderExpression::Box area;
    QByteArray comment; // the area's comment, escaped for the script
    ZoneBox numberBox;  // the box of the word that holds the number
    // Its place in the outline: 0 when the reading does not know (a top bookmark), 1 for a
    // chapter, 2 for its sections, and so on. Front matter before the first numbered entry
    // stays at the top.
    int level = 0;
    bool numbered = true;
    bool checked = false;     // the smart check found its heading on the target page
    qint64 correctedFrom = 0; // the page the smart check moved the link from; 0: not moved
};

// The entries of one page of the contents range that has a text layer.
struct PlanPage
{
    int page = 0;
    QList<PlanEntry> entries;
    int range = 0; // which contents range of the job the page belongs to, counted from 0
};

// One contents range of the job, and what names the part it lists.
struct PlanRange
{
    int firstPage = 1;
    int lastPage = 1;
    QString partLine;  // a title line above the contents heading of its first page
    QString pageTitle; // the first line of the page its first entry leads to
};

// The contents link on one page, and what else the page keeps beside it.
struct ContentsLinkPlacement
{
    int page = 0;
    QByteArray area;
    bool keepsOthers = false; // the page's current annotations were read
    QList<QByteArray> kept;
};

// What a Create run will do to one document, before anything is written: recognition
// fills it in, the hyperlink script is written from it.
struct ContentsPlan
{
    QString path;
    int pageCount = 0;
    bool removeText = false;
    QByteArray shape;  // "rect" or "oval"
    QByteArray border; // the areas' border expression
    QList<PlanPage> pages;
    QList<ContentsLinkPlacement> contentsLinks;
    bool writesLinks = true; // the entries become hyperlinks
    bool writesOutline = false;
    Outline outline;         // the outline to write, made from the entries
    QList<PlanRange> ranges; // in page order; the pages' `range` counts in this list
    bool parts = true;       // a part bookmark over each part's entries
    // The outline the document has, which the new bookmarks are merged into (when asked).
    bool mergesOutline = false;
    Outline existingOutline;
    int offset = 0; // added to the printed numbers: the job's, or the one the reading found
    int existingBookmarks = 0; // the outline the document holds now, replaced when one is written
    QStringList notes;         // for the log, one line each
    LineAccount lines;         // the smart reading of a contents: what became of every printed line
    // How the job makes an entry's link, for entries made by hand of lines not linked: the
    // areas' comment, escaped (followed by the printed number when not blank), and halving.
    QByteArray entryComment;
    bool halve = false;

    int entryCount() const;
    // "Page 3: "Chapter one" 15 -> page 19, rect 300 2900 212 140", one line per entry.
    QStringList describeEntries() const;
};
