#include "reading/ContentsPage.h"

#include "reading/PageLines.h"
#include "reading/RunningLines.h"

#include <algorithm>

namespace {

struct Draft
{
    QList<ContentsLine> lines;
    ContentsLine number; // the line whose number the entry takes
    bool hasNumber = false;
    bool nextLine = false;
    QList<int> sources; // the page lines the draft is made of, its number's line included
};

// A line of the page with the page line it was read from.
struct Read
{
    ContentsLine line;
    int source = 0;
};

// "Contents", "Table of contents", "Оглавление", "Содержание (продолжение)": the heading a
// contents or index page sets above its entries.
bool isHeadingText(const ContentsLine& line)
{
    static const QStringList headings = {QStringLiteral("contents"),
                                         QStringLiteral("tableofcontents"),
                                         QStringLiteral("contentscontinued"),
                                         QStringLiteral("оглавление"),
                                         QStringLiteral("содержание"),
                                         QStringLiteral("inhalt"),
                                         QStringLiteral("inhaltsverzeichnis"),
                                         QStringLiteral("sommaire"),
                                         QStringLiteral("tabledesmatières"),
                                         QStringLiteral("obsah"),
                                         QStringLiteral("spistreści"),
                                         QStringLiteral("indice"),
                                         QStringLiteral("índice"),
                                         QStringLiteral("index")};
    QString joined = ContentsLine::comparable(line.words).join(QString());
    for (const QString& tail :
         {QStringLiteral("continued"), QStringLiteral("продолжение"), QStringLiteral("cont")})
        if (joined.size() > tail.size() && joined.endsWith(tail) &&
            headings.contains(joined.chopped(tail.size())))
            joined.chop(tail.size());
    return line.numbering.isEmpty() && headings.contains(joined);
}

// "CONTENTS ix", "viii CONTENTS": the contents' heading repeated with the page's own
// number, a running head.
bool isRunningHead(const ContentsLine& line)
{
    if (line.leader)
        return false; // "Contents ........ 5": the contents' own entry
    ContentsLine rest = line;
    PrintedNumber n;
    if (!rest.hasNumber() && rest.numbering.isEmpty() && rest.words.size() >= 2 &&
        PrintedNumber::readAny(rest.words.first(), &n))
        rest.words.removeFirst();
    else if (!rest.hasNumber())
        return false;
    // "Index 105" is the entry of the book's index, not a running head.
    return isHeadingText(rest) &&
           ContentsLine::comparable(rest.words).join(QString()) != QLatin1String("index");
}

bool startsLowerCase(const ContentsLine& line)
{
    return line.numbering.isEmpty() && !line.words.isEmpty() && line.words.first().at(0).isLower();
}

// Words of a title broken over lines: "vari-" "ables" join as one word, and a fragment
// the OCR repeated whole on the next line ("optimiza-" "optimization") gives way to it.
void appendLineWords(QStringList* words, const QStringList& next)
{
    if (words->isEmpty() || next.isEmpty() || words->last().size() < 2 ||
        !words->last().endsWith(QLatin1Char('-'))) {
        *words << next;
        return;
    }
    const QString fragment = words->last().chopped(1);
    const QString& first = next.first();
    if (first.startsWith(fragment, Qt::CaseInsensitive))
        words->last() = first;
    else if (first.at(0).isLower())
        words->last() = fragment + first;
    else
        words->last() += first;
    *words << next.mid(1);
}

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
    // A page that sets its numbers right after the titles, most of them away from any
    // column, has no column to hold them to.
    int bare = 0, bareAtColumn = 0;
    for (const ContentsLine& line : std::as_const(*lines)) {
        if (!line.hasNumber() || line.numberAfterLeader || line.numberOnly())
            continue;
        ++bare;
        bareAtColumn += line.numberBox.xmax >= column - tolerance ? 1 : 0;
    }
    if (bare >= 3 && bareAtColumn * 2 < bare)
        return;
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
    if (startsLowerCase(line) ||
        (!last.words.isEmpty() && last.words.last().endsWith(QLatin1Char('-'))))
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
        appendLineWords(&e.words, line.words);
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
        if (draft.number.numberMisread)
            e.misreadAs = draft.number.numberAsPrinted;
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

Reading read(const PageText& ocrPage, int pageNumber)
{
    Reading reading;
    const PageText page = PageLines::arrange(ocrPage).page;
    const QList<bool> running = RunningLines::flags(page);
    for (const TextLine& line : page.lines) {
        LineAccount::Line account;
        account.page = pageNumber;
        account.text = line.text();
        account.box = line.box;
        reading.lines << account;
    }
    QList<ContentsLine> lines;
    QList<int> sources;
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        if (running[i]) {
            reading.lines[i].role = LineAccount::Role::RunningLine;
            continue;
        }
        const ContentsLine line = ContentsLine::read(page.lines[i]);
        if (isRunningHead(line)) {
            reading.lines[i].role = LineAccount::Role::RunningLine;
        } else if (line.hasTitle() || line.hasNumber()) {
            lines << line;
            sources << int(i);
        } else {
            reading.lines[i].role = LineAccount::Role::Blank;
        }
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
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const ContentsLine& line = lines[k];
        if (line.numberOnly()) {
            if (pending) {
                pending->number = line;
                pending->hasNumber = true;
                pending->nextLine = true;
                pending->sources << sources[k];
                flush();
            } else {
                LineAccount::Line& account = reading.lines[sources[k]];
                account.role = LineAccount::Role::NotRead;
                account.reason = LineAccount::Reason::NumberUnderNoTitle;
            }
            continue;
        }
        if (pending && continues(*pending, line)) {
            pending->lines << line;
            pending->sources << sources[k];
        } else {
            flush();
            pending = Draft{{line}, {}, false, false, {sources[k]}};
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
        const ContentsLine& first = d.lines.first();
        bool entry = true;
        if (!d.hasNumber) {
            const bool among = i > firstNumbered && i < lastNumbered &&
                               first.box.xmin >= minLeft - slack &&
                               first.box.xmin <= maxLeft + slack;
            entry = !first.numbering.isEmpty() || d.lines.last().leader || among;
        }
        if (entry && reading.entries.isEmpty() && !d.hasNumber && isHeadingText(first))
            entry = false;
        for (qsizetype k = 0; k < d.sources.size(); ++k) {
            LineAccount::Line& account = reading.lines[d.sources[k]];
            account.entry = entry ? int(reading.entries.size()) : -1;
            if (k > 0) {
                account.role = LineAccount::Role::Continuation;
            } else if (entry) {
                account.role = LineAccount::Role::Entry;
            } else if (reading.entries.isEmpty() && isHeadingText(first)) {
                account.role = LineAccount::Role::Heading;
            } else {
                account.role = LineAccount::Role::NotRead;
                account.reason = LineAccount::Reason::NoPageNumber;
            }
        }
        if (entry)
            reading.entries << entryOf(d, pageNumber);
    }
    return reading;
}

} // namespace ContentsPage
