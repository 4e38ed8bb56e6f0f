#include "PrintedContents.h"

namespace {

constexpr int kCharWidth = 24;
constexpr int kHeight = 40;

FixtureWord wordAt(int left, int bottom, const QString& text)
{
    return {left, bottom, left + std::max<int>(1, int(text.size()) * kCharWidth), bottom + kHeight,
            text};
}

// Words laid out from `left`; the x after the last one.
int place(QList<FixtureWord>* into, int left, int bottom, const QStringList& words)
{
    int x = left;
    for (const QString& w : words) {
        into->append(wordAt(x, bottom, w));
        x = into->last().right + 20;
    }
    return x;
}

// One printed row of the page, its words by the block the OCR puts them in.
struct Row
{
    QList<FixtureWord> numbering, title, number;
};

} // namespace

PrintedContents PrintedContents::print(const QList<PrintedEntry>& entries,
                                       const PrintedLayout& layout)
{
    PrintedContents out;
    out.truth = entries;
    out.page.lines << FixtureLine::layout(300, 3150, {QStringLiteral("Contents")}, 60, 36);
    const qsizetype half = layout.twoColumns ? (entries.size() + 1) / 2 : entries.size();
    QList<Row> columns[2];
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const PrintedEntry& e = entries[i];
        const int column = i < half ? 0 : 1;
        const int columnLeft = column == 0 ? 300 : 1340;
        const int numberRight = layout.twoColumns ? columnLeft + 900 : 2200;
        QList<Row>& rows = columns[column];
        const int left = columnLeft + (e.level - 1) * layout.indentPerLevel;
        const QStringList words = e.title.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QList<QStringList> pieces{words};
        if (layout.wrapAfterWords > 0 && words.size() > layout.wrapAfterWords)
            pieces = {words.mid(0, layout.wrapAfterWords), words.mid(layout.wrapAfterWords)};
        for (qsizetype p = 0; p < pieces.size(); ++p) {
            Row row;
            const int bottom = 3000 - int(rows.size()) * layout.lineGap;
            int x = left + (p > 0 ? 80 : 0);
            if (p == 0 && !e.numbering.isEmpty()) {
                x = place(&row.numbering, x, bottom,
                          e.numbering.split(QLatin1Char(' '), Qt::SkipEmptyParts));
                if (layout.numberingApart)
                    x = std::max(x, left + 200);
            }
            x = place(&row.title, x, bottom, pieces[p]);
            if (p == pieces.size() - 1 && !e.number.isEmpty()) {
                const int numberLeft = numberRight - int(e.number.size()) * kCharWidth;
                if (layout.leaders && numberLeft - x > 60)
                    row.title.append(
                        {x, bottom, numberLeft - 20, bottom + 10, QStringLiteral("..........")});
                row.number.append(wordAt(numberLeft, bottom, e.number));
            }
            rows << row;
        }
    }
    // The OCR's lines: straight across both columns when there are two, every block of
    // words on its own where the layout keeps them apart.
    const qsizetype rowCount = std::max(columns[0].size(), columns[1].size());
    QList<FixtureLine> numberingBlock, titleBlock, numberBlock;
    for (qsizetype r = 0; r < rowCount; ++r) {
        FixtureLine across;
        for (const QList<Row>& rows : columns) {
            if (r >= rows.size())
                continue;
            const Row& row = rows[r];
            if (layout.numberingApart) {
                if (!row.numbering.isEmpty())
                    numberingBlock << FixtureLine{row.numbering};
            } else {
                across.words << row.numbering;
            }
            across.words << row.title;
            if (layout.numbersInOwnBlock) {
                if (!row.number.isEmpty())
                    numberBlock << FixtureLine{row.number};
            } else {
                across.words << row.number;
            }
        }
        if (!across.words.isEmpty())
            titleBlock << across;
    }
    out.page.lines << numberingBlock << titleBlock << numberBlock;
    return out;
}

PrintedContents PrintedContents::printIndex(const QList<QPair<QString, QStringList>>& terms,
                                            bool twoColumns)
{
    PrintedContents out;
    out.page.lines << FixtureLine::layout(300, 3150, {QStringLiteral("Index")}, 60, 36);
    const qsizetype half = twoColumns ? (terms.size() + 1) / 2 : terms.size();
    QList<FixtureLine> rows;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        const qsizetype r = i < half ? i : i - half;
        const int left = i < half ? 300 : 1340;
        const int bottom = 3000 - int(r) * 70;
        QStringList words = terms[i].first.split(QLatin1Char(' '));
        words.last() += QLatin1Char(',');
        const QStringList& numbers = terms[i].second;
        for (qsizetype n = 0; n < numbers.size(); ++n) {
            words << numbers[n] + (n + 1 < numbers.size() ? QStringLiteral(",") : QString());
            out.truth.append({QString(), terms[i].first, numbers[n], 1, numbers[n].toInt()});
        }
        if (r >= rows.size())
            rows << FixtureLine();
        place(&rows[r].words, left, bottom, words);
    }
    out.page.lines << rows;
    return out;
}

QList<FixturePage> PrintedContents::book(const QList<FixturePage>& first, int count)
{
    QList<FixturePage> pages = first;
    while (pages.size() < count)
        pages << FixturePage::ofLines(
            {{QStringLiteral("Text"), QStringLiteral("of"), QStringLiteral("page"),
              QString::number(pages.size() + 1)}});
    return pages;
}
