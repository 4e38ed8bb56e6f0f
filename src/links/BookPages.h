#pragma once

#include "links/PageText.h"
#include "links/PrintedNumber.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// The pages of a book as the smart reading searches them: each page's text read once from
// the source, its lines in comparable form, and the number it prints in its margin.
class BookPages
{
public:
    explicit BookPages(PageTextSource& source) : source_(source) {}

    int pageCount() const { return source_.pageCount(); }
    const PageText& text(int page);
    PrintedNumber folio(int page);

    // A heading key of a title: its numbering and first words in comparable form; empty
    // when the title is too short to be told apart from ordinary text.
    static QStringList headingKey(const QStringList& comparableTitle);
    // The pages from `from` to `to`, those in `skip` aside, on which a line of the body (not
    // a running head or footer) begins with the title's heading key and is not much longer
    // than the title.
    QList<int> pagesWithHeading(const QStringList& comparableTitle, int from, int to,
                                const QSet<int>& skip);

private:
    struct Page
    {
        PageText text;
        QList<QStringList> lines; // comparable words of each body line
        PrintedNumber folio;
    };
    const Page& page(int number);

    PageTextSource& source_;
    QHash<int, Page> pages_;
};
