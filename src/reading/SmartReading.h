#pragma once

#include "reading/LineAccount.h"
#include "reading/PageText.h"
#include "reading/SmartCheck.h"
#include "reading/SmartEntry.h"

#include <QList>
#include <QStringList>
#include <optional>

// A reading of contents pages that understands the page: titles over one or two lines,
// leaders of any kind, numbers on their own line or glued to the title, letter spacing,
// roman page numbers, numbering levels and indentation, running heads and footers, and
// entries whose number the OCR lost, found by their titles in the book. It can also find
// the page offset from the book itself.
class SmartReading
{
public:
    struct Settings
    {
        QList<int> contentsPages;                       // page numbers of the contents, in order
        std::optional<int> offset;                      // none: found from the book
        bool halve = false;                             // printed page numbers are divided by 2
        std::optional<int> romanOffset;                 // roman n leads to page n + this
        SmartCheck::Mode check = SmartCheck::Mode::Off; // links checked against the headings
    };

    struct Result
    {
        QList<SmartEntry> entries; // in reading order
        int offset = 0;
        QList<SmartCheck::Correction> corrections; // links the check moved
        QStringList notes;                         // what the log should say
        LineAccount account; // every line of the contents pages and what became of it
        QString error;       // not empty: the reading failed and nothing may be written
        bool ok() const { return error.isEmpty(); }
    };

    static Result read(PageTextSource& book, const Settings& settings);

    static int target(qint64 printed, int offset, bool halve);
};
