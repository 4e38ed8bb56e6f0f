#include "reading/RunningLines.h"

#include "reading/ContentsLine.h"

#include <algorithm>

namespace {

// A page's height: its own box, or the extent of its lines when the box is missing.
int pageTop(const PageText& page)
{
    int top = page.box.ymax;
    for (const TextLine& line : page.lines)
        top = std::max(top, line.box.ymax);
    return top;
}

// "2", "- 2 -", "— 14 —", "[7]": a line that is a page number and nothing else.
bool loneNumber(const TextLine& line, PrintedNumber* number)
{
    QString text = line.text();
    static const QString strip = QStringLiteral("-\u2013\u2014[]()|");
    QString core;
    for (const QChar c : text)
        if (!strip.contains(c) && !c.isSpace())
            core += c;
    return PrintedNumber::readAny(core, number) && !number->tooLong;
}

int medianHeight(const PageText& page)
{
    QList<int> heights;
    for (const TextLine& line : page.lines)
        heights << line.box.ymax - line.box.ymin;
    if (heights.isEmpty())
        return 0;
    std::sort(heights.begin(), heights.end());
    return heights[heights.size() / 2];
}

} // namespace

namespace RunningLines {

QList<bool> flags(const PageText& page)
{
    QList<bool> result(page.lines.size(), false);
    const int top = pageTop(page);
    if (top <= 0)
        return result;
    const int band = top * 8 / 100;
    const int lineHeight = medianHeight(page);
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        const ZoneBox& b = page.lines[i].box;
        const bool high = b.ymin >= top - band;
        const bool low = b.ymax <= band;
        if (!high && !low)
            continue;
        // Set apart from the body: no line outside the margin comes near it.
        int gap = INT_MAX;
        for (qsizetype j = 0; j < page.lines.size(); ++j) {
            const ZoneBox& o = page.lines[j].box;
            if (j == i || (high ? o.ymin >= top - band : o.ymax <= band))
                continue;
            gap = std::min(gap, high ? b.ymin - o.ymax : o.ymin - b.ymax);
        }
        PrintedNumber number;
        // A number alone right under its title is that entry's page, not the folio; an
        // entry with its leader stays an entry however close to the edge it stands.
        if (!loneNumber(page.lines[i], &number) && ContentsLine::read(page.lines[i]).leader)
            continue;
        result[i] = gap >= lineHeight * 4 / 5;
    }
    return result;
}

PrintedNumber folio(const PageText& page)
{
    const QList<bool> running = flags(page);
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        PrintedNumber number;
        if (running[i] && loneNumber(page.lines[i], &number))
            return number;
    }
    return {};
}

} // namespace RunningLines
