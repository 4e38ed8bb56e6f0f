#pragma once

#include "djvu/TextDump.h"

#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>

// The text layer of one page as lines of words with their boxes, read from the expression
// djvused prints for a page: (page ... (column ... (region ... (para ... (line ...
// (word x0 y0 x1 y1 "text") ...))))). Boxes are DjVu's: origin at the bottom-left corner.
struct TextWord
{
    QString text; // unescaped
    ZoneBox box;
};

struct TextLine
{
    ZoneBox box;
    QList<TextWord> words;
    QString text() const; // the words joined by single blanks
};

struct PageText
{
    ZoneBox box;           // the page's own box
    QList<TextLine> lines; // in the order of the text layer
    bool hasLayer = false; // the page has a text layer at all

    // Reads one page expression. Nesting of any depth is fine; words may sit directly in
    // lines or deeper; a line holding only a text gets one word per blank-separated piece.
    // False, with *error set, when the expression does not read.
    static bool parse(QByteArrayView expression, PageText* page, QString* error);
    // Reads the pages of a "djvused -e output-txt" dump, by page number. Pages the dump
    // does not name have no text layer.
    static bool parseDump(QByteArrayView dump, QMap<int, PageText>* pages, QString* error);
};

// Reads a "djvused -e output-txt" dump piece by piece as the tool prints it, handing on each
// page as soon as its expression is complete, so the whole dump is never held.
class PageTextDumpReader
{
public:
    using PageSink = std::function<void(int number, PageText&& page)>;
    explicit PageTextDumpReader(PageSink onPage) : onPage_(std::move(onPage)) {}

    // False once a page did not read: error() says which and why; later pieces are ignored.
    bool feed(QByteArrayView piece);
    // The dump ended here.
    bool finish();
    QString error() const { return error_; }

private:
    void takeLine(QByteArrayView line);
    bool flush();

    PageSink onPage_;
    QByteArray partial_; // a line whose line feed has not come yet
    QByteArray expression_;
    int current_ = 0;
    int ordinal_ = 0;
    QString error_;
};

// Hands out the text of a book's pages on demand, so that a caller can read them all in one
// tool run or one at a time. Page numbers count from 1.
class PageTextSource
{
public:
    virtual ~PageTextSource() = default;
    virtual int pageCount() const = 0;
    // The text of one page; a page without a text layer has hasLayer false.
    virtual PageText page(int number) = 0;
    // Asks for the pages to be read as well as the source can (a page without text
    // recognised, say), all at once; returns those whose text changed.
    virtual QList<int> complete(const QList<int>& /*pages*/) { return {}; }
};

// A source over pages already read.
class StoredPageTexts : public PageTextSource
{
public:
    StoredPageTexts(int pageCount, QMap<int, PageText> pages)
        : pageCount_(pageCount), pages_(std::move(pages))
    {
    }
    int pageCount() const override { return pageCount_; }
    PageText page(int number) override { return pages_.value(number); }

private:
    int pageCount_;
    QMap<int, PageText> pages_;
};
