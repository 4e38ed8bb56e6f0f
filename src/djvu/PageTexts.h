#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The text layers of chosen pages, read in one djvused run that prints, for each page in
// turn, its size ("width=W height=H ...") and then its text expression, and at the end the
// last page's size once more. A size line starts every page's part and the last one closes
// the last part: no line of a text expression can start so, since its lines start with "("
// or a blank and djvused escapes line breaks inside quoted texts. A page without text
// prints the empty expression (page 0 0 0 0 "") or, with older releases, nothing at all.
class PageTexts
{
public:
    struct Page
    {
        int number = 0;
        bool hasText = false;
        QByteArray text; // the page's expression, lines ending in a line feed
    };

    // The -e argument that prints these pages.
    static QString commands(const QList<int>& pageNumbers);
    // Only a capture holding every asked page, each expression whole, reads; a capture cut
    // short or holding anything else sets error.
    static PageTexts parse(const QByteArray& capture, const QList<int>& pageNumbers);

    bool ok() const { return error.isEmpty(); }

    QList<Page> pages;
    QString error;
};
