#include "reading/PageLines.h"

#include <QSet>

#include <algorithm>

namespace {

struct Placed
{
    TextWord word;
    int line = 0; // the OCR line it came in
    int column = 0;
};

int height(const ZoneBox& b)
{
    return b.ymax - b.ymin;
}

int centre2(const ZoneBox& b)
{
    return b.ymin + b.ymax; // twice the vertical centre
}

bool hasLetters(const QString& text)
{
    int letters = 0;
    for (const QChar c : text)
        letters += c.isLetter() ? 1 : 0;
    return letters >= 2;
}

// The x where a second column starts, or 0: an empty vertical band in the middle part of the
// page with text on both sides, and words (not only numbers) on the right-hand side too.
int secondColumn(const QList<Placed>& words)
{
    if (words.size() < 8)
        return 0;
    int left = INT_MAX, right = INT_MIN;
    for (const Placed& p : words) {
        left = std::min(left, p.word.box.xmin);
        right = std::max(right, p.word.box.xmax);
    }
    // Boxes come from the document: their span may not fit an int.
    const qint64 width = qint64(right) - left;
    if (width <= 0)
        return 0;
    constexpr int kBuckets = 200;
    QList<int> cover(kBuckets, 0);
    for (const Placed& p : words) {
        const int a = int((qint64(p.word.box.xmin) - left) * kBuckets / width);
        const int b = int((qint64(p.word.box.xmax) - left) * kBuckets / width);
        for (int k = std::max(a, 0); k < std::min(b + 1, kBuckets); ++k)
            ++cover[k];
    }
    QList<int> heights;
    for (const Placed& p : words)
        heights << height(p.word.box);
    std::sort(heights.begin(), heights.end());
    const int wordHeight = heights[heights.size() / 2];
    // A heading or two may cross the band; the words of the columns may not.
    const int allowance = 2;
    int bestStart = -1, bestLength = 0;
    for (int k = kBuckets * 25 / 100; k < kBuckets * 75 / 100;) {
        if (cover[k] > allowance) {
            ++k;
            continue;
        }
        int end = k;
        while (end < kBuckets && cover[end] <= allowance)
            ++end;
        // Of the empty bands, the one nearest the middle: the gutter between two columns,
        // rather than the space between titles and their numbers.
        const int middle = kBuckets / 2;
        // Wider than 2 % of the text and than two lines' height: no space between words.
        const bool wideEnough = (end - k) * 100 >= kBuckets * 2 &&
                                qint64(end - k) * width >= qint64(2) * kBuckets * wordHeight;
        if (wideEnough && (bestStart < 0 || std::abs(k + (end - k) / 2 - middle) <
                                                std::abs(bestStart + bestLength / 2 - middle))) {
            bestLength = end - k;
            bestStart = k;
        }
        k = end;
    }
    if (bestStart < 0)
        return 0;
    const int split = left + int(qint64(bestStart + bestLength / 2) * width / kBuckets);
    int leftWords = 0, rightWords = 0, rightLettered = 0;
    for (const Placed& p : words) {
        if ((p.word.box.xmin + p.word.box.xmax) / 2 < split) {
            ++leftWords;
        } else {
            ++rightWords;
            rightLettered += hasLetters(p.word.text) ? 1 : 0;
        }
    }
    const qsizetype all = words.size();
    if (leftWords * 4 < all || rightWords * 4 < all || rightLettered * 3 < rightWords)
        return 0;
    return split;
}

struct Building
{
    QList<int> words; // indices into the placed words
    qint64 centreSum = 0, heightSum = 0;
    int centre2() const { return int(centreSum / words.size()); }
    int height() const { return int(heightSum / words.size()); }
};

// Lines of one column: each word joins the line whose band its own overlaps most, by at
// least two fifths of the smaller height; lines top to bottom, words left to right.
QList<QList<int>> linesOf(const QList<Placed>& words, const QList<int>& column)
{
    QList<int> order = column;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return centre2(words[a].word.box) > centre2(words[b].word.box);
    });
    QList<Building> lines;
    for (const int i : std::as_const(order)) {
        const ZoneBox& box = words[i].word.box;
        int best = -1;
        double bestShare = 0.4;
        for (qsizetype l = std::max<qsizetype>(0, lines.size() - 3); l < lines.size(); ++l) {
            const Building& line = lines[l];
            const int lineTop2 = line.centre2() + line.height();
            const int lineBottom2 = line.centre2() - line.height();
            const int overlap2 =
                std::min(lineTop2, 2 * box.ymax) - std::max(lineBottom2, 2 * box.ymin);
            const int smaller2 = 2 * std::max(1, std::min(height(box), line.height()));
            const double share = double(overlap2) / smaller2;
            if (share >= bestShare) {
                bestShare = share;
                best = int(l);
            }
        }
        if (best < 0) {
            lines.append(Building{});
            best = int(lines.size()) - 1;
        }
        Building& line = lines[best];
        line.words << i;
        line.centreSum += centre2(box);
        line.heightSum += height(box);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Building& a, const Building& b) {
        return a.centre2() > b.centre2();
    });
    QList<QList<int>> out;
    for (Building& line : lines) {
        std::stable_sort(line.words.begin(), line.words.end(), [&](int a, int b) {
            return words[a].word.box.xmin < words[b].word.box.xmin;
        });
        out << line.words;
    }
    return out;
}

// Words that share one box (a line given as a text only) carry no geometry to order by.
bool boxesTell(const PageText& page)
{
    for (const TextLine& line : page.lines) {
        for (qsizetype i = 0; i < line.words.size(); ++i) {
            const ZoneBox& b = line.words[i].box;
            if (b.xmax <= b.xmin || b.ymax <= b.ymin)
                return false;
            if (i > 0 && b.xmin == line.words[i - 1].box.xmin &&
                b.xmax == line.words[i - 1].box.xmax)
                return false;
        }
    }
    return true;
}

void escapeInto(const QString& text, QByteArray* out)
{
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            *out += '\\';
            *out += c;
        } else if (c == '\t') {
            *out += "\\t";
        } else if (u < 0x20 || u >= 0x7f) {
            *out += '\\';
            *out += char('0' + (u >> 6));
            *out += char('0' + ((u >> 3) & 7));
            *out += char('0' + (u & 7));
        } else {
            *out += c;
        }
    }
}

QByteArray boxText(const ZoneBox& b)
{
    return QByteArray::number(b.xmin) + ' ' + QByteArray::number(b.ymin) + ' ' +
           QByteArray::number(b.xmax) + ' ' + QByteArray::number(b.ymax);
}

} // namespace

namespace PageLines {

Arrangement arrange(const PageText& page)
{
    Arrangement result;
    result.page = page;
    if (!boxesTell(page))
        return result;
    QList<Placed> words;
    for (qsizetype l = 0; l < page.lines.size(); ++l)
        for (const TextWord& w : page.lines[l].words)
            words.append({w, int(l), 0});
    const int split = secondColumn(words);
    QList<int> columns[2];
    for (qsizetype i = 0; i < words.size(); ++i) {
        const ZoneBox& b = words[i].word.box;
        const int c = split > 0 && (b.xmin + b.xmax) / 2 >= split ? 1 : 0;
        words[i].column = c;
        columns[c] << int(i);
    }
    QList<QList<int>> lines = linesOf(words, columns[0]);
    if (split > 0)
        lines << linesOf(words, columns[1]);

    // The OCR's own lines, as the same indices, to see whether anything changed.
    QList<QList<int>> ocr;
    int next = 0;
    for (const TextLine& line : page.lines) {
        QList<int> ids;
        for (qsizetype k = 0; k < line.words.size(); ++k)
            ids << next++;
        ocr << ids;
    }
    if (ocr == lines)
        return result;

    result.reordered = true;
    result.columns = split > 0 ? 2 : 1;
    result.page.lines.clear();
    for (const QList<int>& ids : std::as_const(lines)) {
        TextLine line;
        line.box = words[ids.first()].word.box;
        for (const int i : ids) {
            const ZoneBox& b = words[i].word.box;
            line.box = {std::min(line.box.xmin, b.xmin), std::min(line.box.ymin, b.ymin),
                        std::max(line.box.xmax, b.xmax), std::max(line.box.ymax, b.ymax)};
            line.words << words[i].word;
        }
        result.page.lines << line;
    }
    return result;
}

QByteArray expression(const PageText& page)
{
    QByteArray out = "(page " + boxText(page.box);
    for (const TextLine& line : page.lines) {
        out += "\n (line " + boxText(line.box);
        for (const TextWord& word : line.words) {
            out += "\n  (word " + boxText(word.box) + " \"";
            escapeInto(word.text, &out);
            out += "\")";
        }
        out += ')';
    }
    out += ")\n";
    return out;
}

} // namespace PageLines
