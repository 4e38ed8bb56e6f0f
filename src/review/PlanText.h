#pragma once

#include "links/ContentsPlan.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The entries of Create plans as text a person can read and edit, one entry a line:
//
//   @ /books/a.djvu
//   + 3 | 1 | 15 | 19 | 310 2874 1650 96 | "Go to page 15" | Chapter one
//
// A line "@ PATH" starts a document's entries. Each entry line holds its mark ("+" written,
// "-" left out), the contents page it stands on, its level (followed by "unnumbered" for an
// entry without numbering), the printed number, the target page, the area (left, bottom,
// width, height), the link's comment as the hyperlink script writes it, and the title.
// Lines starting with "#" and blank lines are ignored.
class PlanText
{
public:
    struct Entry
    {
        PlanEntry entry;
        bool ticked = true;
        int line = 0; // where it stands in the text, from 1
    };
    struct Document
    {
        QString path;
        QList<Entry> entries;
    };

    // The text of one document's entries, with `ticked` saying which are written (all
    // when empty).
    static QByteArray write(const ContentsPlan& plan, const QList<bool>& ticked = {});
    // The explanation that heads a plan file.
    static QByteArray heading();
    // False, with *error naming the line, when a line does not read.
    static bool parse(const QByteArray& text, QList<Document>* documents, QString* error);

    // The plan with the document's ticked entries in place of its own. False, naming the
    // line, when an entry does not fit the plan (a page that was not read as contents, a
    // target outside the book).
    static bool apply(const Document& document, ContentsPlan* plan, QString* error);
};
