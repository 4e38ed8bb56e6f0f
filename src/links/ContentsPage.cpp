#include "links/ContentsPage.h"

#include "links/RunningLines.h"

#include <algorithm>

namespace {

struct Draft
{
    QList<ContentsLine> lines;
    ContentsLine number; // the line whose number the entry takes
    bool hasNumber = false;
    bool nextLine = false;
};

int pageWidth(const PageText& page)
{
    int width = page.box.xmax - page.box.xmin;
    for (const TextLine& line : page.lines)
        width = std::max(width, line.box.xmax);
    return width;
}

// A bare number (no leader before it) is the entry's page only where the page's numbers
// stand: at their right-hand column, or set well apart from the title.
void dropStrayNumbers(QList<ContentsLine>* lines, int width)
{
    int column = 0;
    for (const ContentsLine& line : std::as_const(*lines))
        if (line.hasNumber())
            column = std::max(column, line.numberBox.xmax);
    const int tolerance = std::max(width * 3 / 100, 1);
    for (ContentsLine& line : *lines) {
        if (!line.hasNumber() || line.numberAfterLeader || line.numberOnly())
            continue;
        const bool atColumn = line.numberBox.xmax >= column - tolerance;
        const bool apart = line.gapBeforeNumber >= 2 * std::max(line.height(), 1);
        if (!atColumn && !apart)
            line.dropNumber();
    }
}

// The line goes on the title of the draft: a bare numbering ("Глава 1", "1.") takes the
// line below it, and a title broken over lines continues on a line indented further.
bool continues(const Draft& draft, const ContentsLine& line)
{
    if (draft.lines.isEmpty() || line.style != ContentsLine::NoNumbering || !line.hasTitle())
        return false;
    const ContentsLine& first = draft.lines.first();
    const ContentsLine& last = draft.lines.last();
    if (last.leader || draft.lines.size() >= 3)
        return false;
    const int height = std::max(last.height(), 1);
    if (last.box.ymin - line.box.ymax > height * 3 / 2)
        return false; // too far below
    if (line.height() * 3 < height * 2 || line.height() * 2 > height * 3)
        return false; // another size of type: a heading above the entries, not a title
    if (first.words.isEmpty() && !first.numbering.isEmpty())
        return true;
    return line.box.xmin > first.box.xmin + height / 2;
}

SmartEntry entryOf(const Draft& draft, int pageNumber)
{
    SmartEntry e;
    e.contentsPage = pageNumber;
    const ContentsLine& first = draft.lines.first();
    e.numbering = first.numbering;
    e.style = first.style;
    e.depth = first.depth;
    for (const ContentsLine& line : draft.lines)
        e.words << line.words;
    QStringList all;
    if (!e.numbering.isEmpty())
        all << e.numbering;
    all << e.words;
    e.title = all.join(QLatin1Char(' '));
    e.left = first.box.xmin;
    ZoneBox box = first.box;
    auto cover = [&](const ZoneBox& b) {
        box.xmin = std::min(box.xmin, b.xmin);
        box.ymin = std::min(box.ymin, b.ymin);
        box.xmax = std::max(box.xmax, b.xmax);
        box.ymax = std::max(box.ymax, b.ymax);
        e.lineBoxes << b;
    };
    for (const ContentsLine& line : draft.lines)
        cover(line.box);
    if (draft.hasNumber) {
        if (draft.nextLine)
            cover(draft.number.box);
        e.number = draft.number.number;
        e.printed = draft.number.numberText;
        e.found = draft.nextLine ? SmartEntry::Found::NextLine : SmartEntry::Found::SameLine;
    } else {
        e.found = SmartEntry::Found::Lost;
        e.trailingDigits = draft.lines.last().trailingDigits;
    }
    e.area = {box.xmin, box.ymin, box.xmax - box.xmin, box.ymax - box.ymin};
    return e;
}

} // namespace

namespace ContentsPage {

Reading read(const PageText& page, int pageNumber)
{
    Reading reading;
    const QList<bool> running = RunningLines::flags(page);
    QList<ContentsLine> lines;
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        if (running[i])
            continue;
        const ContentsLine line = ContentsLine::read(page.lines[i]);
        if (line.hasTitle() || line.hasNumber())
            lines << line;
    }
    reading.onlyNumbers =
        !lines.isEmpty() && std::all_of(lines.begin(), lines.end(),
                                        [](const ContentsLine& l) { return l.numberOnly(); });
    dropStrayNumbers(&lines, pageWidth(page));

    QList<Draft> drafts;
    std::optional<Draft> pending;
    auto flush = [&] {
        if (pending)
            drafts << *pending;
        pending.reset();
    };
    for (const ContentsLine& line : std::as_const(lines)) {
        if (line.numberOnly()) {
            if (pending) {
                pending->number = line;
                pending->hasNumber = true;
                pending->nextLine = true;
                flush();
            }
            continue; // a number under no title names nothing
        }
        if (pending && continues(*pending, line)) {
            pending->lines << line;
        } else {
            flush();
            pending = Draft{{line}, {}, false, false};
        }
        if (line.hasNumber()) {
            pending->number = line;
            pending->hasNumber = true;
            flush();
        }
    }
    flush();

    // A title without a number is an entry whose number was lost only where it looks like
    // one: numbered, ending in a leader, or set among the numbered entries of the page.
    int firstNumbered = -1, lastNumbered = -1, minLeft = INT_MAX, maxLeft = INT_MIN;
    for (int i = 0; i < drafts.size(); ++i) {
        if (!drafts[i].hasNumber)
            continue;
        if (firstNumbered < 0)
            firstNumbered = i;
        lastNumbered = i;
        minLeft = std::min(minLeft, drafts[i].lines.first().box.xmin);
        maxLeft = std::max(maxLeft, drafts[i].lines.first().box.xmin);
    }
    const int slack = pageWidth(page) / 50;
    for (int i = 0; i < drafts.size(); ++i) {
        const Draft& d = drafts[i];
        if (!d.hasNumber) {
            const ContentsLine& first = d.lines.first();
            const bool among = i > firstNumbered && i < lastNumbered &&
                               first.box.xmin >= minLeft - slack &&
                               first.box.xmin <= maxLeft + slack;
            if (first.numbering.isEmpty() && !d.lines.last().leader && !among)
                continue;
        }
        reading.entries << entryOf(d, pageNumber);
    }
    return reading;
}

} // namespace ContentsPage
