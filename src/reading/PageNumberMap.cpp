#include "reading/PageNumberMap.h"

#include "base/EngineTexts.h"

#include <algorithm>

namespace {

// How far apart two pages may be and still vouch for each other's numbers.
constexpr int kNeighbourhood = 6;

// "- 14 -", "[7]", "xiv.": the number without the marks printed around it; digits misread as
// letters ("l3", "1O") read as digits where the word holds a digit at all.
bool readToken(QString token, PrintedNumber* number)
{
    static const QString marks = QStringLiteral("-\u2013\u2014[]().,:;|*'\"\u2022\u00b7");
    while (!token.isEmpty() && marks.contains(token.front()))
        token.remove(0, 1);
    while (!token.isEmpty() && marks.contains(token.back()))
        token.chop(1);
    if (token.isEmpty() || token.size() > 6)
        return false;
    if (std::any_of(token.begin(), token.end(), [](QChar c) { return c.isDigit(); })) {
        for (QChar& c : token) {
            if (c == QLatin1Char('o') || c == QLatin1Char('O'))
                c = QLatin1Char('0');
            else if (c == QLatin1Char('l') || c == QLatin1Char('I') || c == QLatin1Char('i'))
                c = QLatin1Char('1');
        }
        return PrintedNumber::readArabic(token, number) && !number->tooLong && number->value > 0;
    }
    return PrintedNumber::readRoman(token, number);
}

bool overlapsVertically(const ZoneBox& a, const ZoneBox& b)
{
    return a.ymin < b.ymax && b.ymin < a.ymax;
}

// The lines standing beside `edge` (the topmost or bottommost line), left to right.
QList<const TextLine*> rowOf(const PageText& page, const TextLine& edge)
{
    QList<const TextLine*> row;
    for (const TextLine& line : page.lines)
        if (!line.words.isEmpty() && overlapsVertically(line.box, edge.box))
            row << &line;
    std::sort(row.begin(), row.end(),
              [](const TextLine* a, const TextLine* b) { return a->box.xmin < b->box.xmin; });
    return row;
}

QString signedOffset(int offset)
{
    return offset < 0 ? QStringLiteral("\u2212%1").arg(-offset) : QStringLiteral("+%1").arg(offset);
}

} // namespace

QList<PrintedNumber> PageNumberMap::candidates(const PageText& page)
{
    QList<PrintedNumber> found;
    const TextLine *top = nullptr, *bottom = nullptr;
    int height = page.box.ymax;
    for (const TextLine& line : page.lines) {
        if (line.words.isEmpty())
            continue;
        height = std::max(height, line.box.ymax);
        if (!top || line.box.ymax > top->box.ymax)
            top = &line;
        if (!bottom || line.box.ymin < bottom->box.ymin)
            bottom = &line;
    }
    if (!top || height <= 0)
        return found;
    auto add = [&](const QString& word) {
        PrintedNumber n;
        if (readToken(word, &n))
            found << n;
    };
    // A header: the number first or last in the top row, alone or beside a running title.
    if (top->box.ymin >= height * 4 / 5) {
        const QList<const TextLine*> row = rowOf(page, *top);
        qsizetype words = 0;
        for (const TextLine* line : row)
            words += line->words.size();
        if (words <= 12) {
            add(row.first()->words.first().text);
            if (words > 1)
                add(row.last()->words.last().text);
        }
    }
    // A footer: a number alone in the bottom row.
    if (bottom != top && bottom->box.ymax <= height / 5) {
        const QList<const TextLine*> row = rowOf(page, *bottom);
        QString joined;
        for (const TextLine* line : row)
            joined += line->text().remove(QLatin1Char(' '));
        add(joined);
    }
    return found;
}

void PageNumberMap::add(int page, const PageText& text)
{
    const QList<PrintedNumber> found = candidates(text);
    if (!found.isEmpty())
        read_.insert(page, found);
}

void PageNumberMap::finish()
{
    stretches_.clear();
    for (const PrintedNumber::Kind kind : {PrintedNumber::Arabic, PrintedNumber::Roman}) {
        // Each page's number that a page nearby agrees with, and how many agree.
        QList<std::pair<int, int>> confirmed; // page, offset
        for (auto it = read_.cbegin(); it != read_.cend(); ++it) {
            int bestOffset = 0, bestSupport = 0;
            for (const PrintedNumber& n : it.value()) {
                if (n.kind != kind)
                    continue;
                const int offset = it.key() - int(n.value);
                int support = 0;
                for (auto near = read_.lowerBound(it.key() - kNeighbourhood);
                     near != read_.cend() && near.key() <= it.key() + kNeighbourhood; ++near) {
                    if (near.key() == it.key())
                        continue;
                    for (const PrintedNumber& m : near.value())
                        if (m.kind == kind && near.key() - int(m.value) == offset) {
                            ++support;
                            break;
                        }
                }
                if (support > bestSupport) {
                    bestSupport = support;
                    bestOffset = offset;
                }
            }
            if (bestSupport > 0)
                confirmed.append({it.key(), bestOffset});
        }
        // Runs of one offset; a short run between two runs of another offset is a misreading.
        struct Run
        {
            Stretch stretch;
            int pages = 0;
        };
        QList<Run> runs;
        for (const auto& [page, offset] : confirmed) {
            if (runs.isEmpty() || runs.last().stretch.offset != offset)
                runs.append({{page, page, offset, kind}, 0});
            runs.last().stretch.lastPage = page;
            ++runs.last().pages;
        }
        for (qsizetype i = 1; i + 1 < runs.size(); ++i) {
            if (runs[i].pages < 3 && runs[i - 1].stretch.offset == runs[i + 1].stretch.offset &&
                runs[i].pages < std::min(runs[i - 1].pages, runs[i + 1].pages)) {
                runs[i - 1].stretch.lastPage = runs[i + 1].stretch.lastPage;
                runs[i - 1].pages += runs[i + 1].pages;
                runs.remove(i, 2);
                --i;
            }
        }
        for (const Run& run : std::as_const(runs))
            stretches_ << run.stretch;
    }
}

int PageNumberMap::pageOf(PrintedNumber::Kind kind, qint64 printed) const
{
    for (const Stretch& s : stretches_) {
        const qint64 page = printed + s.offset;
        if (s.kind == kind && page >= s.firstPage && page <= s.lastPage)
            return int(page);
    }
    return 0;
}

const PageNumberMap::Stretch* PageNumberMap::nearest(const QList<Stretch>& stretches,
                                                     PrintedNumber::Kind kind, qint64 printed)
{
    const Stretch* best = nullptr;
    qint64 bestDistance = 0;
    for (const Stretch& s : stretches) {
        if (s.kind != kind)
            continue;
        const qint64 first = s.firstPage - s.offset, last = s.lastPage - s.offset;
        const qint64 distance = printed < first  ? first - printed
                                : printed > last ? printed - last
                                                 : 0;
        if (!best || distance < bestDistance) {
            best = &s;
            bestDistance = distance;
        }
    }
    return best;
}

PrintedNumber PageNumberMap::numberOf(int page) const
{
    for (const Stretch& s : stretches_)
        if (page >= s.firstPage && page <= s.lastPage)
            return {s.kind, page - s.offset, false};
    return {};
}

QString PageNumberMap::describe(const QList<Stretch>& stretches)
{
    QStringList parts;
    for (const Stretch& s : stretches)
        if (s.kind == PrintedNumber::Arabic)
            parts << QStringLiteral("%1\u2013%2: %3")
                         .arg(s.firstPage)
                         .arg(s.lastPage)
                         .arg(signedOffset(s.offset));
    return EngineTexts::say("e_stretch").arg(parts.join(QStringLiteral("; ")));
}
