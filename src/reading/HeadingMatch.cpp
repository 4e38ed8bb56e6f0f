#include "reading/HeadingMatch.h"

#include "reading/ContentsLine.h"
#include "reading/PrintedNumber.h"

#include <algorithm>

namespace {

bool isLabel(const QString& w)
{
    static const QStringList labels = {
        QStringLiteral("chapter"),  QStringLiteral("lecture"),  QStringLiteral("appendix"),
        QStringLiteral("part"),     QStringLiteral("section"),  QStringLiteral("book"),
        QStringLiteral("глава"),    QStringLiteral("лекция"),   QStringLiteral("приложение"),
        QStringLiteral("часть"),    QStringLiteral("раздел"),   QStringLiteral("книга"),
        QStringLiteral("параграф"), QStringLiteral("chapitre"), QStringLiteral("kapitel"),
        QStringLiteral("teil"),     QStringLiteral("anhang"),   QStringLiteral("partie")};
    return labels.contains(w);
}

int numberWord(const QString& w)
{
    static const QStringList words = {
        QStringLiteral("one"),      QStringLiteral("two"),       QStringLiteral("three"),
        QStringLiteral("four"),     QStringLiteral("five"),      QStringLiteral("six"),
        QStringLiteral("seven"),    QStringLiteral("eight"),     QStringLiteral("nine"),
        QStringLiteral("ten"),      QStringLiteral("eleven"),    QStringLiteral("twelve"),
        QStringLiteral("thirteen"), QStringLiteral("fourteen"),  QStringLiteral("fifteen"),
        QStringLiteral("sixteen"),  QStringLiteral("seventeen"), QStringLiteral("eighteen"),
        QStringLiteral("nineteen"), QStringLiteral("twenty")};
    return int(words.indexOf(w)) + 1;
}

bool hasDigit(const QString& w)
{
    return std::any_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); });
}

bool isNumbering(const QString& w)
{
    return !w.isEmpty() && w.at(0).isDigit();
}

// "l.2", "1.l", "2.O": a numbering whose digits the OCR read as letters.
QString digitsOf(QString w)
{
    if (!hasDigit(w))
        return w;
    for (const QChar c : std::as_const(w))
        if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char('l') &&
            c != QLatin1Char('i') && c != QLatin1Char('o'))
            return w;
    w.replace(QLatin1Char('l'), QLatin1Char('1'));
    w.replace(QLatin1Char('i'), QLatin1Char('1'));
    w.replace(QLatin1Char('o'), QLatin1Char('0'));
    return w;
}

int editDistance(const QString& a, const QString& b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

int letters(const QStringList& words)
{
    int n = 0;
    for (const QString& w : words)
        n += int(w.size());
    return n;
}

// The key's words found at the start of `seq`: all of them, or (a heading cut short) the
// sequence ends after the numbering and at least two title words, or six letters of an
// unnumbered title.
bool startsWith(const QStringList& seq, const QStringList& key)
{
    const bool numbered = isNumbering(key.first());
    qsizetype i = 0;
    for (; i < key.size() && i < seq.size(); ++i) {
        const bool same =
            isNumbering(key[i]) ? key[i] == seq[i] : HeadingMatch::sameWord(key[i], seq[i]);
        if (!same)
            return false;
    }
    if (i == key.size())
        return true;
    // The sequence ended first.
    return numbered ? i >= std::min<qsizetype>(3, key.size()) : letters(seq) >= 6;
}

// The lines of the upper part a heading may be broken over.
constexpr int kJoinedLines = 4;

} // namespace

namespace HeadingMatch {

QList<Line> bodyLines(const PageText& page)
{
    QList<Line> lines;
    // The header and footer rows: the topmost and bottommost lines and those beside them,
    // when a gap sets them apart from the body.
    const TextLine *top = nullptr, *bottom = nullptr;
    int height = page.box.ymax, lineHeight = 0;
    QList<int> heights;
    for (const TextLine& line : page.lines) {
        if (line.words.isEmpty())
            continue;
        height = std::max(height, line.box.ymax);
        heights << line.box.ymax - line.box.ymin;
        if (!top || line.box.ymax > top->box.ymax)
            top = &line;
        if (!bottom || line.box.ymin < bottom->box.ymin)
            bottom = &line;
    }
    if (!heights.isEmpty()) {
        std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
        lineHeight = heights[heights.size() / 2];
    }
    auto setApart = [&](const TextLine* edge, bool high) {
        if (!edge ||
            (high ? edge->box.ymin < height * 87 / 100 : edge->box.ymax > height * 13 / 100))
            return false;
        int gap = INT_MAX;
        for (const TextLine& o : page.lines) {
            if (o.words.isEmpty() || (o.box.ymin < edge->box.ymax && edge->box.ymin < o.box.ymax))
                continue;
            gap = std::min(gap, high ? edge->box.ymin - o.box.ymax : o.box.ymin - edge->box.ymax);
        }
        return gap >= lineHeight * 4 / 5;
    };
    const bool header = setApart(top, true), footer = setApart(bottom, false);
    for (qsizetype i = 0; i < page.lines.size(); ++i) {
        const TextLine& line = page.lines[i];
        auto beside = [&](const TextLine* edge) {
            return line.box.ymin < edge->box.ymax && edge->box.ymin < line.box.ymax;
        };
        if ((header && beside(top)) || (footer && beside(bottom)))
            continue;
        QStringList words;
        for (const TextWord& w : line.words)
            words << w.text;
        lines.append({ContentsLine::comparable(words), line.box.ymin >= height * 2 / 5});
    }
    return lines;
}

QStringList normalised(const QStringList& comparable)
{
    QStringList out = comparable;
    bool labelled = false;
    if (out.size() >= 2 && isLabel(out.first())) {
        out.removeFirst();
        labelled = true;
    }
    if (out.isEmpty())
        return out;
    QString& first = out.first();
    PrintedNumber roman;
    if (const int n = numberWord(first); n > 0)
        first = QString::number(n);
    else if (labelled && PrintedNumber::readRoman(first, &roman) && first.size() > 1)
        first = QString::number(roman.value);
    else
        first = digitsOf(first);
    return out;
}

QStringList key(const QStringList& title)
{
    if (title.isEmpty())
        return {};
    const bool numbered = isNumbering(title.first());
    // The numbering and up to three words; an unnumbered title needs enough letters.
    const QStringList key = title.mid(0, numbered ? 4 : 3);
    if (numbered)
        return key.size() >= 2 || title.size() == 1 ? key : QStringList{};
    return letters(key) >= 6 ? key : QStringList{};
}

bool sameWord(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const qsizetype shorter = std::min(a.size(), b.size());
    if (shorter < 4 || hasDigit(a) || hasDigit(b))
        return false;
    return editDistance(a, b) <= std::max<qsizetype>(1, shorter / 4);
}

bool onPage(const QStringList& title, const QList<Line>& lines)
{
    const QStringList k = key(title);
    if (k.isEmpty())
        return false;
    const qsizetype longest = title.size() + 3;
    // A numbered title whose number the page lost: its words alone, where they are many.
    const QStringList words = isNumbering(k.first()) ? title.mid(1, 3) : QStringList{};
    const bool wordsAlone = words.size() >= 2 && letters(words) >= 12;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList first = normalised(lines[i].words);
        if (first.isEmpty() || first.size() > longest)
            continue;
        // A chapter heading over several lines of the upper part.
        QStringList seq = first;
        for (qsizetype j = i + 1; lines[i].upper && j < lines.size() && j < i + kJoinedLines &&
                                  seq.size() < k.size() + 1;
             ++j) {
            if (!lines[j].upper || lines[j].words.size() > longest)
                break;
            seq << lines[j].words;
        }
        if (startsWith(lines[i].upper ? seq : first, k))
            return true;
        if (wordsAlone && lines[i].upper && !isNumbering(first.first()) && startsWith(seq, words))
            return true;
    }
    return false;
}

} // namespace HeadingMatch
