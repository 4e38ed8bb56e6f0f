#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The pages of a document as "djvused -e ls" lists them. Page lines look like
// "   3 P    10262  p0003.djvu", optionally followed by " F=<save name>" and
// " T=<page title>"; their type column is "P". Other components (included files "I",
// shared annotations "A", thumbnails "T", unknown "?") are not pages, nor is the closing
// "T <thumbnails>" line of a book with thumbnails.
class PageListing
{
public:
    struct Page
    {
        int position = 0;   // 1-based listing position: the page number the user gives
        QString rest;       // everything after the size column: identifier and suffixes
        QString identifier; // the identifier alone, suffixes cut off
    };

    // With error given, a listing cut short (empty, cut mid-line), holding a line that is not
    // a component line, numbering its pages out of turn, or listing another number of pages
    // than expectedPages (when that is given, as "djvused -e n" prints it) sets *error,
    // saying so; it is left alone otherwise. A page title that holds a line break makes
    // such a listing.
    static PageListing parse(const QByteArray& capture, QString* error = nullptr,
                             int expectedPages = -1);

    int pageCount() const { return int(pages_.size()); }
    const QList<Page>& pages() const { return pages_; }

    // The listing position of the page a text dump names, compared without regard to
    // case; 0 when no page has that identifier.
    int positionOf(const QString& identifier) const;

private:
    QList<Page> pages_;
    QHash<QString, int> byIdentifier_; // folded identifiers, and each suffix-less prefix
};
