#pragma once

#include <QString>
#include <QStringList>

// The 34 text columns of a Create-list row. Their numbers are named here only.
namespace CreateColumn {
enum : int
{
    File = 0,
    FirstPage = 1,
    LastPage = 2,
    Offset = 3,
    Kind = 4,
    BorderType = 5,
    Shape = 6,
    BorderColour = 7,
    HighlightColour = 8,
    ShadowWidth = 9,
    AlwaysVisible = 10,
    Highlight = 11,
    Halve = 12,
    ContentsLink = 13,
    LinkShape = 14,
    LinkBorderType = 15,
    LinkAlwaysVisible = 16,
    LinkHighlight = 17,
    LinkBorderWidth = 18,
    LinkColour1 = 19,
    LinkColour2 = 20,
    LinkPage = 21,
    LinkLeft = 22,
    LinkBottom = 23,
    LinkWidth = 24,
    LinkHeight = 25,
    LinkTarget = 26,
    LinkComment = 27,
    Comment = 28,
    LinkEveryPage = 29,
    Outline = 30,    // "1": the contents also become the outline
    Reading = 31,    // "1": the smart reading; "0" or missing (older rows): classic
    OffsetAuto = 32, // "1": the smart reading finds the offset
    Recognise = 33,  // "1": pages without text are recognised; "0": never; missing: as the
                     // reading's default (the smart reading recognises, the classic one not)
};
} // namespace CreateColumn

// One row of the Create list: the file's folder (ending in the platform's separator) and
// the 34 text columns of its job parameters, exactly as the list holds them. Rows made
// before the outline and reading columns existed hold 30 and read as before: no
// outline, the classic reading; rows made before the recognition column hold 33.
struct CreateRow
{
    static constexpr int kColumnCount = 34;

    QString folder;      // the row's caption
    QStringList columns; // always kColumnCount texts; column 0 is the file name

    CreateRow() : columns(kColumnCount) {}
    QString fullPath() const { return folder + columns.value(0); }
};

// One row of the Fix list.
struct FixRow
{
    QString folder; // ends in the platform's separator
    QString fileName;
    QString fullPath() const { return folder + fileName; }
};
