#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The line formats the OCR document keeps a page in: djvutoxml's XML, one word element a
// line, and djvused's text records. Each reads or rewrites one line, so a saved document
// differs from the read one only in the words the user changed.
namespace OcrLines {

extern const QByteArray kObject;
extern const QByteArray kLine;

bool isXmlWordLine(const QByteArray& line);
// The word's text: from the first ">" to the next "<".
bool contentSpan(const QByteArray& line, qsizetype* from, qsizetype* to);
QString xmlWordOf(const QByteArray& line);
// A word line is rewritten whole, so it must hold its word element and nothing else: any
// other element on it (a second word, a text line, a page) would be lost.
bool isWordAlone(const QByteArray& line, qsizetype contentEnd);
// A page's opening tag is rewritten (its file address) when the page is saved, so it must
// stand alone on its line: the tag and nothing else, its address quoted.
bool isPageStartAlone(const QByteArray& line);
// The four numbers of the coords attribute, as written, or empty when they are not four
// integers.
QByteArray boxOf(const QByteArray& line);
QByteArray wordLine(const QByteArray& box, const QString& word);
int spacesIn(const QString& line);
// The quotes around a word record's text, when the record is alone on its line with its
// text: "(word 1 2 3 4 "text")" and only closing parentheses after it.
bool wordQuotes(QByteArrayView line, qsizetype* open, qsizetype* close);
// The quotes of a word record checked by wordQuotes() when the document was read.
void wordSpan(QByteArrayView line, qsizetype* open, qsizetype* close);

// A word's box: its x and y ranges, low to high, and whether its second number (the XML's
// "bottom") was the higher one.
struct WordBox
{
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool bottomHigh = true;
};
bool xmlWordBox(const QByteArray& line, WordBox* box);
bool recordWordBox(const QByteArray& line, WordBox* box);

// The parts of a line between single spaces, each with where it starts and ends.
struct Span
{
    qsizetype from = 0, to = 0;
};
QList<Span> spansOf(const QStringList& parts);
// The spans that touch the closed range [from, to].
void touching(const QList<Span>& spans, qsizetype from, qsizetype to, qsizetype* first,
              qsizetype* count);

} // namespace OcrLines
