#pragma once

#include "reading/PageText.h"
#include "reading/PrintedNumber.h"

#include <QList>
#include <QMap>
#include <QString>

// The page numbers a book prints in its headers and footers, page by page, and from them
// the document page of each printed number. A number read on one page counts only where a
// page nearby agrees with it (the same distance between printed and document page), so a
// stray figure label or chapter number is never taken for a page number. Pages between two
// agreeing pages of the same stretch (blank pages, plates, chapter openers) are filled in.
class PageNumberMap
{
public:
    // A run of pages with one distance between printed number and document page.
    struct Stretch
    {
        int firstPage = 0;
        int lastPage = 0;
        int offset = 0; // document page = printed number + offset
        PrintedNumber::Kind kind = PrintedNumber::Arabic;
    };

    // The numbers a header or footer of this page could be: the first or last word of its
    // top row, or a number standing alone in its bottom row. Misread digits ("l3", "1O")
    // are read as the digits they stand for.
    static QList<PrintedNumber> candidates(const PageText& page);

    // Pages are added in any order; finish() works out the stretches.
    void add(int page, const PageText& text);
    void finish();

    // The document page that carries this printed number; 0 where the map is silent.
    int pageOf(PrintedNumber::Kind kind, qint64 printed) const;
    // Of these stretches, the one of this kind whose printed numbers lie nearest this one;
    // null when there is none.
    static const Stretch* nearest(const QList<Stretch>& stretches, PrintedNumber::Kind kind,
                                  qint64 printed);
    // The printed number a page carries, read or filled in; None when unknown.
    PrintedNumber numberOf(int page) const;

    const QList<Stretch>& stretches() const { return stretches_; }
    bool isEmpty() const { return stretches_.isEmpty(); }
    // "pages 6–60: +5; 61–107: −8" for the arabic stretches.
    static QString describe(const QList<Stretch>& stretches);

private:
    QMap<int, QList<PrintedNumber>> read_; // candidates by page
    QList<Stretch> stretches_;             // arabic first, then roman, each by page
};
