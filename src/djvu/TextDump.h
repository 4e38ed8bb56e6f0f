#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Readers for the lines that "djvused -e output-txt" prints. The dump is ASCII: text
// outside ASCII stays in djvused's escaped form (backslash and three octal digits per
// UTF-8 byte), and recognition relies on that, so word texts are kept escaped.

struct ZoneBox
{
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    bool operator==(const ZoneBox&) const = default;
};

// A line that selects a page. Three forms are in use: `select "id" # page N` (today),
// `select "id"` and, from old releases, `select 'id'`.
struct PageSelection
{
    QString identifier; // unescaped
    int pageNumber = 0; // from "# page N"; 0 when the line has none
};

namespace TextDump {
bool parsePageSelection(QByteArrayView line, PageSelection* selection);
// "(line xmin ymin xmax ymax"; false for any other line. *malformed is set when the line
// opens a line record whose numbers do not read.
bool parseLineRecord(QByteArrayView line, ZoneBox* box, bool* malformed);
// `(word xmin ymin xmax ymax "text"`; the text is returned as printed (escaped), when asked
// for (text not null).
bool parseWordRecord(QByteArrayView line, ZoneBox* box, QByteArray* text, bool* malformed);
bool isWordRecord(QByteArrayView line);
// "(page xmin ymin xmax ymax": the box of the whole page.
bool parsePageRecord(QByteArrayView line, ZoneBox* box);

// Drops everything of a word record's text up to and including its last tab escape
// ("\t"). Each tab that follows an earlier escape counts as one more word of the text line
// (OCR glued "Глава<tab>15" into one word). Returns the number of such tabs.
int normaliseTabs(QByteArray* line);

// Undoes djvused's C escapes (\" \\ \n \t \ooo ...) and reads the bytes as UTF-8.
QString unescape(QByteArrayView quoted);
// The same, giving the bytes as they are.
QByteArray unescapeBytes(QByteArrayView quoted);
// Index of the closing double quote of a quoted text that starts after `open`, honouring
// backslash escapes; -1 when there is none.
qsizetype closingQuote(QByteArrayView line, qsizetype open);
} // namespace TextDump
