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

// A document's text layer as lines of text, kept as bytes: either the XML that djvutoxml
// writes, one element per line, or the text expressions that djvused prints, one zone per
// line. Only word lines are ever rewritten, and only their text changes: every word keeps
// its box.
class OcrDocument
{
public:
    enum class Format
    {
        Xml,
        Djvused,
    };

    // Reads the XML dump. Refuses a dump whose word lines do not carry their text and a
    // box of four numbers on one line: such a file could not be written back faithfully.
    bool load(const QString& xmlPath, QString* error);
    bool setXml(const QByteArray& xml, QString* error);
    // Takes each page's text expression as djvused prints it (print-txt), page 1 first; an
    // empty one for a page without text. Refuses a word record that is not alone on its line
    // with its text (a word split into characters, say): it could not be written back.
    bool setPageExpressions(const QList<QByteArray>& pages, QString* error);
    // One page's expression as the lines setPageLines takes: blank lines dropped, line ends
    // cut, each word record checked as setPageExpressions does. `number` names the page in
    // *error. Borrowed lines point into `expression` and hold no bytes of their own: they
    // serve a document read and dropped before the expression goes.
    enum class LineBytes
    {
        Copied,
        Borrowed,
    };
    static bool expressionLines(QByteArrayView expression, int number, QList<QByteArray>* lines,
                                QString* error, LineBytes bytes = LineBytes::Copied);
    // Takes each page's lines from expressionLines(), page 1 first; none for a page without
    // text. The lines are moved, not copied.
    void setPageLines(QList<QList<QByteArray>> pages);
    Format format() const { return format_; }

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
    // each text line has its shown line and its words can be written back.
    QString mismatch(int number, const QStringList& shown) const;
    // Puts the shown lines back into the page's word lines. A line with a space more or less
    // splits or joins words: the part of the line that changed takes the boxes of the words
    // it touched, joined, and divides them between its new words in proportion to their
    // characters. Refused, changing nothing, when they do not pair (see mismatch()).
    bool writeBack(int number, const QStringList& shown, QString* error);

    // Gives a page without words (of a document read with setPageExpressions) the text of an
    // expression as djvused prints it, a recognised page's say; the page then counts as
    // changed. Refused, changing nothing, for a document read as XML, a page that has words,
    // or an expression whose words are not each alone on their line.
    bool setPageText(int number, QByteArrayView expression, QString* error);

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

    // A djvused script that sets the text of the changed pages (of a document read with
    // setPageExpressions), each page's expression whole. Empty when nothing changed.
    QByteArray changesScript() const;

private:
    // Indexes of the word lines of a page, grouped by text line.
    QList<QList<qsizetype>> textLinesOf(int number) const;
    qsizetype pageEnd(int number) const;

    bool isWordLine(const QByteArray& line) const;
    bool isTextLine(const QByteArray& line) const;
    QString wordOf(const QByteArray& line) const;
    QByteArray withWord(const QByteArray& line, const QString& word) const;
    bool take(QList<QByteArray> lines, QList<qsizetype> table, Format format, QString* error);

    Format format_ = Format::Xml;
    QList<QByteArray> lines_;
    // The word lines that replace the words of text line `words` for the shown line, when
    // the number of words changed; false with *error when they cannot be made.
    bool reshapedWords(const QList<qsizetype>& words, const QString& shown, qsizetype* first,
                       qsizetype* count, QList<QByteArray>* made, QString* error) const;

    QList<QByteArray> saved_; // the lines as the document holds them
    QList<qsizetype> savedTable_;
    QList<qsizetype> pageTable_;
    QSet<int> written_;
};
