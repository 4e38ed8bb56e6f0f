#include "ocr/OcrLines.h"

#include "djvu/TextDump.h"
#include "ocr/OcrWordText.h"

#include <algorithm>

namespace OcrLines {

const QByteArray kObject = "<OBJECT data";
const QByteArray kLine = "<LINE";
namespace {
const QByteArray kWord = "<WORD";
const QByteArray kCoords = "coords=\"";
} // namespace

bool isXmlWordLine(const QByteArray& line)
{
    return line.contains(kWord) && line.contains(kCoords);
}

bool contentSpan(const QByteArray& line, qsizetype* from, qsizetype* to)
{
    const qsizetype open = line.indexOf('>');
    if (open < 0)
        return false;
    const qsizetype close = line.indexOf('<', open + 1);
    if (close < 0)
        return false;
    *from = open + 1;
    *to = close;
    return true;
}

QString xmlWordOf(const QByteArray& line)
{
    qsizetype from = 0, to = 0;
    if (!contentSpan(line, &from, &to))
        return {};
    return OcrWordText::decode(QByteArrayView(line).sliced(from, to - from));
}

bool isWordAlone(const QByteArray& line, qsizetype contentEnd)
{
    const QByteArray t = line.trimmed();
    return t.startsWith(kWord) && t.endsWith("</WORD>") && t.count('<') == 2 &&
           line.indexOf("</WORD>") == contentEnd;
}

bool isPageStartAlone(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    const QByteArray open = kObject + "=\"";
    return t.startsWith(open) && t.count('<') == 1 && t.endsWith('>') &&
           t.indexOf('"', open.size()) > 0;
}

QByteArray boxOf(const QByteArray& line)
{
    const qsizetype start = line.indexOf(kCoords);
    if (start < 0)
        return {};
    const qsizetype from = start + kCoords.size();
    const qsizetype end = line.indexOf('"', from);
    if (end < 0)
        return {};
    const QList<QByteArray> parts = line.mid(from, end - from).split(',');
    if (parts.size() != 4)
        return {};
    QByteArray box;
    for (const QByteArray& part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok)
            return {};
        if (!box.isEmpty())
            box += ',';
        box += QByteArray::number(n);
    }
    return box;
}

QByteArray wordLine(const QByteArray& box, const QString& word)
{
    return QByteArray(11, ' ') + "<WORD coords=\"" + box + "\">" + OcrWordText::encode(word) +
           "</WORD>";
}

int spacesIn(const QString& line)
{
    return int(line.count(u' '));
}

bool wordQuotes(QByteArrayView line, qsizetype* open, qsizetype* close)
{
    ZoneBox box;
    bool malformed = false;
    if (!TextDump::parseWordRecord(line, &box, nullptr, &malformed))
        return false;
    *open = line.indexOf('"');
    *close = TextDump::closingQuote(line, *open);
    for (qsizetype i = *close + 1; i < line.size(); ++i)
        if (line[i] != ')' && line[i] != ' ')
            return false;
    return true;
}

void wordSpan(QByteArrayView line, qsizetype* open, qsizetype* close)
{
    *open = line.indexOf('"');
    *close = TextDump::closingQuote(line, *open);
}

bool xmlWordBox(const QByteArray& line, WordBox* box)
{
    const QList<QByteArray> parts = boxOf(line).split(',');
    if (parts.size() != 4)
        return false;
    const int l = parts[0].toInt(), b = parts[1].toInt(), r = parts[2].toInt(),
              t = parts[3].toInt();
    *box = {std::min(l, r), std::min(b, t), std::max(l, r), std::max(b, t), b >= t};
    return true;
}

bool recordWordBox(const QByteArray& line, WordBox* box)
{
    ZoneBox zone;
    bool malformed = false;
    if (!TextDump::parseWordRecord(line, &zone, nullptr, &malformed) || malformed)
        return false;
    *box = {std::min(zone.xmin, zone.xmax), std::min(zone.ymin, zone.ymax),
            std::max(zone.xmin, zone.xmax), std::max(zone.ymin, zone.ymax), false};
    return true;
}

QList<Span> spansOf(const QStringList& parts)
{
    QList<Span> spans;
    qsizetype at = 0;
    for (const QString& part : parts) {
        spans.append({at, at + part.size()});
        at += part.size() + 1;
    }
    return spans;
}

void touching(const QList<Span>& spans, qsizetype from, qsizetype to, qsizetype* first,
              qsizetype* count)
{
    *first = -1;
    *count = 0;
    for (qsizetype k = 0; k < spans.size(); ++k) {
        if (spans[k].to >= from && spans[k].from <= to) {
            if (*first < 0)
                *first = k;
            ++*count;
        }
    }
}

} // namespace OcrLines
