#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class PageListing;

// The annotations of every page as "djvused -e output-ant" prints them, cut into whole
// top-level expressions. Each expression is checked to be balanced and is given back on a
// single line, so that none of it can end the set-ant block it is written into.
class PageAnnotations
{
public:
    // false, with a sentence in *error, when a page's annotations do not read as balanced
    // expressions or a block has no closing "." line.
    static bool parse(const QByteArray& capture, const PageListing& listing, PageAnnotations* out,
                      QString* error);

    // The expressions of a page (listing position), in their order.
    QList<QByteArray> of(int page) const { return pages_.value(page); }

    // A (maparea "<link>" "<comment>" ...) whose link and comment, unescaped, are these.
    static bool isAreaWith(const QByteArray& expression, const QString& link,
                           const QString& comment);

private:
    QMap<int, QList<QByteArray>> pages_;
};
