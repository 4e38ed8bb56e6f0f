#include "djvu/TextDump.h"

#include <QRegularExpression>
#include <QVarLengthArray>

namespace {

qsizetype skipBlanks(QByteArrayView line, qsizetype i)
{
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
        ++i;
    return i;
}

// Reads one signed decimal whole number at i; false when there is none or it overflows.
bool readNumber(QByteArrayView line, qsizetype* i, int* value)
{
    qsizetype p = skipBlanks(line, *i);
    bool negative = false;
    if (p < line.size() && line[p] == '-') {
        negative = true;
        ++p;
    }
    const qsizetype digitsStart = p;
    qint64 v = 0;
    while (p < line.size() && line[p] >= '0' && line[p] <= '9') {
        v = v * 10 + (line[p] - '0');
        if (v > qint64(INT_MAX) + 1)
            return false;
        ++p;
    }
    if (p == digitsStart)
        return false;
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    *value = int(v);
    *i = p;
    return true;
}

// "(name " at the start of the line, leading blanks aside; returns the index after it.
qsizetype recordStart(QByteArrayView line, QByteArrayView name)
{
    qsizetype i = skipBlanks(line, 0);
    if (i >= line.size() || line[i] != '(')
        return -1;
    ++i;
    if (!line.sliced(i).startsWith(name))
        return -1;
    i += name.size();
    if (i < line.size() && line[i] != ' ' && line[i] != '\t')
        return -1;
    return i;
}

bool readBox(QByteArrayView line, qsizetype* i, ZoneBox* box)
{
    return readNumber(line, i, &box->xmin) && readNumber(line, i, &box->ymin) &&
           readNumber(line, i, &box->xmax) && readNumber(line, i, &box->ymax);
}

// The byte a backslash and `c` stand for: \a \b \t \n \v \f \r, and any other stands for
// itself (\" \\ \').
char escaped(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 't':
        return '\t';
    case 'n':
        return '\n';
    case 'v':
        return '\v';
    case 'f':
        return '\f';
    case 'r':
        return '\r';
    default:
        return c;
    }
}

// Undoes djvused's C escapes into `bytes`, a QByteArray or a QVarLengthArray of char. The
// bytes never outnumber the escaped text: they are written in place, then cut to size.
template <typename Bytes> void unescapeInto(QByteArrayView quoted, Bytes& bytes)
{
    bytes.resize(quoted.size());
    char* out = bytes.data();
    const char* in = quoted.data();
    const qsizetype size = quoted.size();
    for (qsizetype i = 0; i < size; ++i) {
        char c = in[i];
        if (c != '\\' || i + 1 >= size) {
            *out++ = c;
            continue;
        }
        c = in[++i];
        if (c >= '0' && c <= '7') {
            int v = 0;
            int n = 0;
            while (n < 3 && i < size && in[i] >= '0' && in[i] <= '7') {
                v = v * 8 + (in[i] - '0');
                ++i;
                ++n;
            }
            --i;
            *out++ = char(v);
            continue;
        }
        *out++ = escaped(c);
    }
    bytes.resize(out - bytes.data());
}

} // namespace

namespace TextDump {

qsizetype closingQuote(QByteArrayView line, qsizetype open)
{
    for (qsizetype i = open + 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            return i;
    }
    return -1;
}

QString unescape(QByteArrayView quoted)
{
    // A word's text fits the stack: one allocation, the string's own.
    QVarLengthArray<char, 256> bytes;
    unescapeInto(quoted, bytes);
    return QString::fromUtf8(QByteArrayView(bytes.constData(), bytes.size()));
}

QByteArray unescapeBytes(QByteArrayView quoted)
{
    QByteArray bytes;
    unescapeInto(quoted, bytes);
    return bytes;
}

bool parsePageSelection(QByteArrayView line, PageSelection* selection)
{
    qsizetype i = skipBlanks(line, 0);
    if (!line.sliced(i).startsWith("select"))
        return false;
    i += 6;
    if (i >= line.size() || (line[i] != ' ' && line[i] != '\t'))
        return false; // "select;" (the whole document) and the like select no page
    i = skipBlanks(line, i);
    if (i >= line.size())
        return false;
    if (line[i] == '"') {
        const qsizetype close = closingQuote(line, i);
        if (close < 0)
            return false;
        selection->identifier = unescape(line.sliced(i + 1, close - i - 1));
        selection->pageNumber = 0;
        static const QRegularExpression pageComment(QStringLiteral("^\\s*#\\s*page\\s+(\\d+)"));
        const auto match = pageComment.match(QString::fromLatin1(line.sliced(close + 1)));
        if (match.hasMatch())
            selection->pageNumber = match.captured(1).toInt();
        return true;
    }
    if (line[i] == '\'') {
        // Old releases quoted raw names with single quotes: the name runs to the last one.
        qsizetype end = line.size();
        while (end > i + 1 && (line[end - 1] == '\r' || line[end - 1] == ' '))
            --end;
        if (end <= i + 1 || line[end - 1] != '\'')
            return false;
        selection->identifier = QString::fromUtf8(line.sliced(i + 1, end - i - 2));
        selection->pageNumber = 0;
        return true;
    }
    return false;
}

bool parseLineRecord(QByteArrayView line, ZoneBox* box, bool* malformed)
{
    *malformed = false;
    qsizetype i = recordStart(line, "line");
    if (i < 0)
        return false;
    ZoneBox read;
    if (!readBox(line, &i, &read)) {
        *malformed = true;
        return false;
    }
    *box = read;
    return true;
}

bool parsePageRecord(QByteArrayView line, ZoneBox* box)
{
    qsizetype i = recordStart(line, "page");
    return i >= 0 && readBox(line, &i, box);
}

bool isWordRecord(QByteArrayView line)
{
    return recordStart(line, "word") >= 0;
}

bool parseWordRecord(QByteArrayView line, ZoneBox* box, QByteArray* text, bool* malformed)
{
    *malformed = false;
    qsizetype i = recordStart(line, "word");
    if (i < 0)
        return false;
    ZoneBox read;
    if (!readBox(line, &i, &read)) {
        *malformed = true;
        return false;
    }
    const qsizetype open = line.indexOf('"', i);
    if (open < 0)
        return false; // a word split further into characters carries no text of its own
    const qsizetype close = closingQuote(line, open);
    if (close < 0) {
        *malformed = true;
        return false;
    }
    *box = read;
    if (text)
        *text = line.sliced(open + 1, close - open - 1).toByteArray();
    return true;
}

int normaliseTabs(QByteArray* line)
{
    int extraWords = 0;
    const qsizetype open = line->indexOf('"');
    if (open < 0)
        return 0;
    for (;;) {
        const qsizetype close = closingQuote(*line, open);
        qsizetype tab = -1;
        bool escapeBefore = false;
        for (qsizetype i = open + 1; i < close; ++i) {
            if ((*line)[i] != '\\')
                continue;
            if ((*line)[i + 1] == 't') {
                tab = i;
                break;
            }
            escapeBefore = true;
            ++i;
        }
        if (tab < 0)
            return extraWords;
        if (escapeBefore)
            ++extraWords;
        line->remove(open + 1, tab + 2 - (open + 1));
    }
}

} // namespace TextDump
