#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text of one word between its XML element and the editor's text pane.
namespace OcrWordText {

// The element content as djvutoxml writes it (UTF-8, with character references) to text.
QString decode(QByteArrayView content);

// Text to element content: UTF-8 with "&", "<", ">" and control characters escaped, so
// the line stays valid XML whatever the user typed.
QByteArray encode(const QString& text);

// How a word shows in the pane. A space or line break inside a word would make the word
// look like two or break its line, so they show as no-break spaces.
QString shown(const QString& text);

// True for the characters that end a shown line in a text pane.
inline bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

} // namespace OcrWordText
