#pragma once

#include <QByteArray>
#include <QList>

// One bookmark of a document's outline. Titles and targets are kept as the bytes the
// document holds (UTF-8 as a rule), so an outline read and written back is the same.
struct Bookmark
{
    int level = 0;     // 0 for a top bookmark, one more for each step of nesting
    QByteArray title;  // may be empty
    QByteArray target; // "#12" names page 12; "#p0012.djvu" a page by its identifier
    bool operator==(const Bookmark&) const = default;
};

// A document's outline as a flat list in reading order. It is well nested when the first
// bookmark is at level 0 and no bookmark is more than one level deeper than the one before.
class Outline
{
public:
    QList<Bookmark> bookmarks;

    bool isEmpty() const { return bookmarks.isEmpty(); }
    int count() const { return int(bookmarks.size()); }
    bool isWellNested() const;
    bool operator==(const Outline&) const = default;

    // "#N": the target of page N.
    static QByteArray pageTarget(int page);
    // N when the target is "#N" written as pageTarget writes it; 0 otherwise.
    static int pageOf(const QByteArray& target);
};
