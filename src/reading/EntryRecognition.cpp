#include "reading/EntryRecognition.h"

#include <climits>
#include <cstdlib>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A page number that fits a 32-bit whole number; longer digit runs name no page.
bool readPageNumber(const QByteArray& digits, qint64* value)
{
    bool ok = false;
    const qlonglong v = digits.toLongLong(&ok);
    if (!ok || v > INT_MAX)
        return false;
    *value = v;
    return true;
}

const QByteArray kBulletTail = "\\200\\242";  // last two bytes of the bullet "•"
const QByteArray kEmDash = "\\342\\200\\224"; // "—"

} // namespace

EntryRecognition::EntryRecognition(Settings settings)
    : settings_(std::move(settings)), trimmedComment_(settings_.comment.trimmed())
{
}

void EntryRecognition::startPage()
{
    lastTop_ = 0;
    lastLeft_ = 0;
    pageBoxKnown_ = false;
}

void EntryRecognition::setPageBox(const ZoneBox& box)
{
    pageBox_ = box;
    pageBoxKnown_ = true;
}

EntryRecognition::Tally EntryRecognition::takeTally()
{
    const Tally tally = tally_;
    tally_ = {};
    return tally;
}

bool EntryRecognition::contentsNumber(const QByteArray& text, QByteArray* digits)
{
    digits->clear();
    int runs = 0;
    bool inRun = false;
    for (char c : text) {
        if (isDigit(c)) {
            if (!inRun)
                ++runs;
            inRun = true;
            *digits += c;
        } else {
            inRun = false;
        }
    }
    if (runs > 1)
        digits->clear();
    return runs == 1;
}

void EntryRecognition::indexNumbers(QByteArray text, QList<QByteArray>* list, QByteArray* digits)
{
    list->clear();
    digits->clear();
    if (!text.contains('\\') || text.contains(kEmDash)) {
        const qsizetype dash = text.indexOf(kEmDash);
        if (dash >= 0)
            text.replace(dash, kEmDash.size(), "-");
    }
    if (text.contains('\\')) {
        // Escaped letters before the number ("стр.15"): keep what follows the last escape.
        text.remove(0, text.lastIndexOf('\\') + 1);
        text.remove(0, 3);
        for (char c : std::as_const(text)) {
            if (isDigit(c))
                *digits += c;
        }
        return;
    }
    for (;;) {
        qsizetype firstOther = 0;
        while (firstOther < text.size() && isDigit(text[firstOther]))
            ++firstOther;
        if (firstOther == text.size())
            break;
        if (firstOther > 0)
            *list << text.left(firstOther);
        text.remove(0, firstOther + 1);
    }
    if (!list->isEmpty() && !text.isEmpty())
        *list << text;
    else if (list->isEmpty())
        *digits = text;
}

qint64 EntryRecognition::targetPage(qint64 printed, int offset, bool halve)
{
    return (halve ? printed / 2 : printed) + offset;
}

qint64 EntryRecognition::roundHalfEven(qint64 a, qint64 b)
{
    if (a < 0)
        return -roundHalfEven(-a, b);
    qint64 q = a / b;
    const qint64 r2 = 2 * (a % b);
    if (r2 > b || (r2 == b && (q % 2) != 0))
        ++q;
    return q;
}

QByteArray EntryRecognition::commentFor(qint64 page) const
{
    if (trimmedComment_.isEmpty())
        return settings_.comment; // empty, or blanks only: written as it is, without number
    return trimmedComment_ + ' ' + QByteArray::number(page);
}

bool EntryRecognition::accept(qint64 page, const Word& word) const
{
    if (settings_.kind != WorkKind::Contents)
        return true;
    if (word.wordsInLine <= 1)
        return false; // a contents entry has its title before the number
    return !(page < lastPage_ && lastOrdinal_ == word.pageOrdinal);
}

bool EntryRecognition::targetBeyond(qint64 page) const
{
    return targetPage(page, settings_.offset, settings_.halve) > settings_.pageCount;
}

bool EntryRecognition::contentsArea(ZoneBox zone, int previousLineTop, Area* area, int* alignedLeft,
                                    bool* placed) const
{
    *placed = true;
    // Within one column, areas start at the leftmost edge of the entries above them.
    if (lastLeft_ != 0 && lastLeft_ < zone.xmin && lastRight_ > zone.xmin)
        zone.xmin = lastLeft_;
    *alignedLeft = zone.xmin;
    qint64 reference = lastTop_;
    if ((reference == 0 || reference < zone.ymax) && previousLineTop != 0 &&
        previousLineTop > zone.ymax)
        reference = qint64(previousLineTop) - zone.ymin + zone.ymax;
    if ((reference == 0 || reference < zone.ymax) && previousLineTop < zone.ymax)
        reference = zone.ymin;
    const qint64 height = std::llabs(reference - zone.ymax);
    if (height == 0)
        return false;
    *placed = placeBox(zone.xmin, zone.ymin, qint64(zone.xmax) - zone.xmin, height, area);
    return *placed;
}

bool EntryRecognition::placeBox(qint64 x, qint64 y, qint64 width, qint64 height, Area* area) const
{
    // An area number has at most nine digits, so that the Fix pass can read it back.
    constexpr qint64 kLargest = 999'999'999;
    for (const qint64 v : {x, y, width, height, x + width, y + height})
        if (v > kLargest || v < -kLargest)
            return false;
    if (pageBoxKnown_) {
        // Some of it must lie on the page; an area partly beyond an edge stays as it is.
        const qint64 x1 = std::min(x, x + width), x2 = std::max(x, x + width);
        const qint64 y1 = std::min(y, y + height), y2 = std::max(y, y + height);
        if (x2 < std::min(pageBox_.xmin, pageBox_.xmax) ||
            x1 > std::max(pageBox_.xmin, pageBox_.xmax) ||
            y2 < std::min(pageBox_.ymin, pageBox_.ymax) ||
            y1 > std::max(pageBox_.ymin, pageBox_.ymax))
            return false;
    }
    area->box = {int(x), int(y), int(width), int(height)};
    return true;
}

void EntryRecognition::remember(qint64 page, const ZoneBox& zone, int left, int ordinal)
{
    lastPage_ = page;
    lastTop_ = zone.ymax;
    lastLeft_ = left;
    lastRight_ = zone.xmax;
    lastOrdinal_ = ordinal;
}

// The areas of an accepted number: one at the end of a contents line, one over a lone index
// number, or one slice of the word for each number of an index list.
QList<EntryRecognition::Area> EntryRecognition::areasOf(const Word& word, qint64 page,
                                                        const QByteArray& digits,
                                                        const QList<QByteArray>& listTexts,
                                                        const QList<qint64>& list, int* left)
{
    const bool index2 = settings_.kind == WorkKind::Index2;
    QList<Area> areas;
    const ZoneBox& z = word.zone;
    const qint64 height = std::llabs(qint64(z.ymax) - z.ymin);
    const qint64 span = qint64(z.xmax) - z.xmin;
    bool placed = true;
    if (!index2) {
        Area area;
        if (contentsArea(z, word.previousLineTop, &area, left, &placed)) {
            area.printed = digits;
            area.targetPage = targetPage(page, settings_.offset, settings_.halve);
            area.comment = commentFor(page);
            areas << area;
        } else if (!placed) {
            ++tally_.outsidePage;
        }
    } else if (list.isEmpty()) {
        Area area;
        placed = placeBox(z.xmin, z.ymin, span, height, &area);
        area.printed = digits;
        area.targetPage = targetPage(page, settings_.offset, settings_.halve);
        area.comment = commentFor(page);
        if (placed)
            areas << area;
        else
            ++tally_.outsidePage;
    } else {
        const qint64 n = list.size();
        for (qint64 k = 0; k < n; ++k) {
            Area area;
            if (!placeBox(z.xmin + roundHalfEven(span * k, n), z.ymin, roundHalfEven(span, n),
                          height, &area)) {
                ++tally_.outsidePage;
                continue;
            }
            area.printed = listTexts[k];
            area.targetPage = targetPage(list[k], settings_.offset, settings_.halve);
            area.comment = commentFor(list[k]);
            areas << area;
        }
    }
    return areas;
}

QList<EntryRecognition::Area> EntryRecognition::examine(const Word& word)
{
    QByteArray text = word.text;
    if (text.contains(kBulletTail))
        text = QByteArray::number(lastPage_); // a bullet repeats the last entry's page

    const bool index2 = settings_.kind == WorkKind::Index2;
    if (index2 ? text.startsWith('\\') : text.contains('\\'))
        return {};

    qint64 page = 0;
    QList<QByteArray> listTexts;
    QByteArray digits;
    if (index2)
        indexNumbers(text, &listTexts, &digits);
    else if (!contentsNumber(text, &digits))
        return {};
    if (digits.isEmpty() && listTexts.isEmpty())
        return {};
    QList<qint64> list;
    for (const QByteArray& t : std::as_const(listTexts)) {
        if (list.size() == kMaxNumbersPerWord)
            break;
        qint64 n = 0;
        if (!readPageNumber(t, &n))
            return {};
        list << n;
    }
    if (list.isEmpty() && !readPageNumber(digits, &page))
        return {};

    // Where an entry could stand: contents need a title before the number, and both
    // contents and the first index kind take only the last word of a text line.
    const bool entryPlace =
        index2 ||
        (word.lastOfLine && (settings_.kind != WorkKind::Contents || word.wordsInLine > 1));
    // The check looks at the page the link would lead to, offset and halving applied.
    bool beyond = false;
    if (settings_.checkPageCount && list.isEmpty() && targetBeyond(page)) {
        page = lastPage_;
        beyond = targetBeyond(page);
        if (beyond && page != 0 && settings_.kind != WorkKind::Contents) {
            ++tally_.beyondLastPage;
            remember(page, word.zone, word.zone.xmin, word.pageOrdinal);
            return {};
        }
    }
    if (page == 0 && list.isEmpty()) {
        if (beyond && entryPlace)
            ++tally_.beyondLastPage;
        return {};
    }
    if (!accept(page, word)) {
        if (entryPlace)
            ++tally_.fallingNumber;
        return {};
    }
    if (!index2 && !word.lastOfLine)
        return {};
    if (beyond) {
        ++tally_.beyondLastPage;
        remember(page, word.zone, word.zone.xmin, word.pageOrdinal);
        return {};
    }

    int left = word.zone.xmin;
    QList<Area> areas = areasOf(word, page, digits, listTexts, list, &left);
    remember(page, word.zone, left, word.pageOrdinal);
    // "#-2" would be read by viewers as "two pages back": a target before the first page
    // can only be a wrong link, so it gets no area (the entry still counts as the last).
    areas.removeIf([this](const Area& area) {
        if (area.targetPage < 1) {
            ++tally_.beforeFirstPage;
            return true;
        }
        if (settings_.checkPageCount && area.targetPage > settings_.pageCount) {
            ++tally_.beyondLastPage;
            return true;
        }
        return false;
    });
    tally_.made += int(areas.size());
    return areas;
}
