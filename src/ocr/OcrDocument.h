#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

// One page as the text pane shows it: one shown line per text line of the page, the words
// of a line joined by single spaces (a text line without words shows as an empty line).
struct OcrPageText
{
    QStringList lines;
    QList<int> wordsPerLine; // per shown line
    int words = 0;

    int textLines() const { return int(lines.size()); }
    bool hasWords() const { return words > 0; }
    // The number of spaces of each shown line: what an edit must keep.
    QList<int> separators() const;
};

// A document's text layer as the lines of the XML that djvutoxml writes, one element per
// line. The lines are kept as bytes; only word lines are ever rewritten, and only their
// text changes: every word keeps its box.
class OcrDocument
{
public:
    // Reads the XML dump. Refuses a dump whose word lines do not carry their text and a
    // box of four numbers on one line: such a file could not be written back faithfully.
    bool load(const QString& xmlPath, QString* error);
    bool setXml(const QByteArray& xml, QString* error);

    // The page table holds each page's first line and, last, the document's last line.
    int pageCount() const { return pageTable_.isEmpty() ? 0 : int(pageTable_.size()) - 1; }
    // Page numbers are 1-based.
    OcrPageText page(int number) const;

    // The boxes of a page's words, grouped as the shown lines are, in the page's pixels with
    // the origin at the top-left corner (as the dump writes them). Unreadable boxes are
    // empty rectangles.
    QList<QList<QRect>> wordBoxes(int number) const;
    // The page's size in pixels, from its element; empty when it does not say.
    QSize pageSize(int number) const;

    // The words of a page in their order, as text (not as shown).
    QStringList words(int number) const;

    // Where `shown` does not pair with the page's text lines ("line 3: ..."), or "" when
    // each text line has its shown line with one word per space-separated part.
    QString mismatch(int number, const QStringList& shown) const;
    // Puts the shown lines back into the page's word lines. Refused, changing nothing,
    // when they do not pair (see mismatch()).
    bool writeBack(int number, const QStringList& shown, QString* error);

    // Pages whose words differ from the document as loaded or last saved, ascending.
    QList<int> changedPages() const;
    bool isModified() const { return !changedPages().isEmpty(); }
    // The edited state is now what the document holds.
    void markSaved();

    // Every line, each followed by CR LF.
    QByteArray text() const;
    // An XML for djvuxmlparser that holds only the changed pages, aimed at `documentPath`:
    // their OBJECT elements with the edited words and without `usemap` (so the tool leaves
    // the page's hyperlinks alone). Empty when nothing changed.
    QByteArray changesXml(const QString& documentPath) const;

    // The file URL that djvuxmlparser reads for a path: every byte but letters, digits and
    // "-._~/" percent-encoded, so spaces, "&", "#" and non-ASCII letters survive.
    static QByteArray fileUrl(const QString& path);

private:
    // Indexes of the word lines of a page, grouped by text line.
    QList<QList<qsizetype>> textLinesOf(int number) const;
    qsizetype pageEnd(int number) const;

    QList<QByteArray> lines_;
    QList<QByteArray> saved_; // the lines as the document holds them
    QList<qsizetype> pageTable_;
    QSet<int> written_;
};
