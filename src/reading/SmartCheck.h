#pragma once

#include "reading/BookPages.h"
#include "reading/SmartEntry.h"

#include <QSet>
#include <QStringList>

// Checks each linked entry of a contents against the book: its heading (numbering and first
// words, at the start of a body line) must stand on the page the link leads to. Scanned books
// lose and gain pages, so the offset drifts; where the heading stands on one other page
// between the entry's neighbours, the link is moved there.
class SmartCheck
{
public:
    enum class Mode
    {
        Off,    // links stay as read
        Check,  // links are corrected where the book clearly says otherwise
        Strict, // a link that would need a correction fails the document instead
    };

    struct Correction
    {
        int entry = 0; // index into the entries
        int from = 0;  // the page the link led to
        int to = 0;    // the page it leads to now
    };

    struct Outcome
    {
        QList<Correction> corrections;
        int confirmed = 0;   // heading found on the page the link leads to
        int unconfirmed = 0; // heading found nowhere, or on several pages: link kept
        int uncheckable = 0; // title too short to be told apart from ordinary text
        // heading found nowhere, and the confirmed links around lie at another distance:
        // no link
        int withheld = 0;
        QStringList notes; // for the log
        QString error;     // strict mode: why the document must stay as it is
    };

    // Checks and corrects the targets of `entries` in reading order. Entries without a target
    // and those already found by their title are left alone; `skip` holds the contents pages.
    static Outcome run(QList<SmartEntry>* entries, BookPages& book, const QSet<int>& skip,
                       Mode mode);

    // The title in the form headings are compared in.
    static QStringList comparableTitle(const SmartEntry& entry);
    // "page 3, "Chapter one"": the entry as the log names it.
    static QString describe(const SmartEntry& entry);
};
