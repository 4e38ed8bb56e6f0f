#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The pages of a document as "djvused -e ls" lists them. Page lines look like
// "   3 P    10262  p0003.djvu", optionally followed by " F=<save name>" and
// " T=<page title>"; their type column is "P". Other components (included files "I",
// shared annotations "A", thumbnails "T") are not pages.
class PageListing
{
public:
    struct Page
    {
        int position = 0;   // 1-based listing position: the page number the user gives
        QString rest;       // everything after the size column: identifier and suffixes
        QString identifier; // the identifier alone, suffixes cut off
    };

    // With error given, a listing cut short (empty, cut mid-line) or holding a line that
    // is not a component line sets *error, saying so; it is left alone otherwise.
    static PageListing parse(const QByteArray& capture, QString* error = nullptr);

    int pageCount() const { return int(pages_.size()); }
    const QList<Page>& pages() const { return pages_; }

    // The listing position of the page a text dump names, compared without regard to
    // case; 0 when no page has that identifier.
    int positionOf(const QString& identifier) const;

private:
    QList<Page> pages_;
    QHash<QString, int> byIdentifier_; // folded identifiers, and each suffix-less prefix
};
