#pragma once

#include "djvu/TextDump.h"

#include <QList>
#include <QString>

// What became of every printed line of the contents pages: an entry, the continuation of
// one, the contents' own heading, a running head or footer, or a line not read, with why.
// The reading fills it in; the log, the plan, the report and the review show it, and lines
// not read can be turned into entries by hand.
struct LineAccount
{
    enum class Role
    {
        Entry,        // the first line of an entry
        Continuation, // a further line of an entry: the rest of its title, or its number
        Heading,      // the contents' own heading ("Contents", "Оглавление")
        RunningLine,  // a running head or footer
        Blank,        // nothing but leaders or marks
        NotRead       // no entry could be made of it
    };

    // Why a line is not read or its entry has no link.
    enum class Reason
    {
        None,
        NoPageNumber,       // a title line without a page number, not among the entries
        NumberUnderNoTitle, // a number alone with no title above it
        NumberUnreadable,   // its number reads only through misreadings its neighbours deny
        TitleNotFound,      // its entry has no number and its title is on no page
        TargetUnconfirmed   // its heading is not where its number leads, and pages were lost
                            // or gained near it
    };

    struct Line
    {
        int page = 0; // the contents page, counted from 1
        QString text; // the line's words as the OCR gives them
        ZoneBox box;
        Role role = Role::NotRead;
        Reason reason = Reason::None;
        int entry = -1;        // Entry and Continuation: the entry's index in the reading
        bool linked = false;   // Entry: its entry got a link
        bool inferred = false; // Entry: its page is the next entry's (the line prints none)
    };

    QList<Line> lines;

    // Lines an entry could be made of: entries and lines not read.
    int countable() const;
    int linkedCount() const;
    // Countable lines without a link, in page order.
    QList<Line> unlinked() const;
    static bool isUnlinked(const Line& line)
    {
        return (line.role == Role::Entry && !line.linked) || line.role == Role::NotRead;
    }

    // "27 of 29 lines linked" in the language of the engine's texts.
    QString summary() const;
    // "Page 7, "Index": no page number, not read." for one line not linked.
    static QString describe(const Line& line);
    // The reason as the report file names it: "noPageNumber", "numberUnreadable", ...
    static const char* reasonName(Reason reason);
};
