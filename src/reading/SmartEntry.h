#pragma once

#include "reading/BorderExpression.h"
#include "reading/ContentsLine.h"
#include "reading/PrintedNumber.h"

#include <QList>
#include <QString>

// One entry of a contents as the smart reading understands it.
struct SmartEntry
{
    // How the entry's page number was found.
    enum class Found
    {
        SameLine, // at the end of the title's (last) line
        NextLine, // alone on the line after the title
        Glued,    // digits at the end of the last title word ("G46")
        ByTitle,  // lost by the OCR: the page that has the title as a heading
        Inferred, // the line prints none (a part title): the page of the entry after it
        Lost      // nowhere: no link
    };

    int contentsPage = 0; // the contents page the entry stands on
    QString title;        // numbering and title words, leaders and page number removed
    QString numbering;    // "2.1", "Глава 3"; empty when the title has none
    ContentsLine::Style style = ContentsLine::NoNumbering;
    int depth = 0;
    int level = 1;
    QString printed; // the page number as printed; empty when lost
    PrintedNumber number;
    QString misreadAs; // the word the OCR gave, when the number was read through misreadings
    int target = 0;    // the page the link leads to; 0: no link
    BorderExpression::Box area; // x, y: bottom-left corner, as the areas of the script
    Found found = Found::SameLine;
    bool checked = false;  // the check found its heading on the page the link leads to
    bool withheld = false; // the check could not confirm where its link leads: none

    int left = 0;             // left edge of the entry's first line, for levels from indentation
    QStringList words;        // title words after the numbering
    QString trailingDigits;   // for a glued number
    QList<ZoneBox> lineBoxes; // the text lines the entry covers
};
