#pragma once

#include "djvu/AnnotationScanner.h"

#include <QByteArray>
#include <QList>

// The left edge and width of one hyperlink area: the two numbers alignment may change.
struct AreaBox
{
    int left = 0;
    int width = 0;
    friend bool operator==(const AreaBox&, const AreaBox&) = default;
};

// The figures measured over the areas of one page.
struct ColumnFigures
{
    qint64 leftMin = 0;
    qint64 leftMax = 0;
    qint64 widthMin = 0;
    qint64 widthMax = 0;
    qint64 secondEdge = 0; // the left edge of the right column
    qint64 leftWidth = 0;  // the widest area of the left column
    qint64 rightWidth = 0; // the widest area of the right column
};

struct PageAlignment
{
    ColumnFigures figures;
    QList<AreaBox> leftAligned; // new left edges, widths as they were
    QList<AreaBox> aligned;     // new left edges and new widths
};

// Lines up the hyperlink areas of a page in at most two columns: an area whose left edge
// lies beyond the narrowest area of the leftmost column belongs to the right column. Every
// area of a column gets the column's left edge and width.
class AreaAlignment
{
public:
    static PageAlignment alignPage(const QList<AreaBox>& areas);

    // Aligns every page block of a scanned script on its own; one entry per scanned area.
    // Areas whose link leaves the document keep their boxes and count for no column; no
    // aligned area reaches past the right edge of its page (pageWidths: by page number,
    // from 1; a page without a width has no such limit). Where lines hold several areas side
    // by side, they are aligned only when each line puts each of them into a column of its
    // own, as on a page in two columns; otherwise such lines keep their boxes. No area ends
    // over another area that it did not already overlap.
    struct Result
    {
        QList<AreaBox> leftAligned;
        QList<AreaBox> aligned;
    };
    static Result alignScript(const AnnotationScan& scan, const QList<int>& pageWidths = {});
    // The widths of the pages, in page order, from what "djvused -e size" prints.
    static QList<int> pageWidths(const QByteArray& sizes);

    // The script with each area's left edge and width set to its box. A number keeps its
    // own spelling where its value stays; no other character of the script changes.
    static QByteArray rewrite(const QByteArray& script, const QList<ScannedArea>& areas,
                              const QList<AreaBox>& boxes);

private:
    static void keepSharedLines(const AnnotationScan& scan, const QList<qsizetype>& indexes,
                                const PageAlignment& page, Result* result);
    static void keepClear(const AnnotationScan& scan, const QList<qsizetype>& indexes,
                          QList<AreaBox>* boxes);
    static AreaBox withinPage(AreaBox aligned, const AreaBox& original, int pageWidth);
};
