#include "reading/ContentsLine.h"

#include "reading/MisreadNumber.h"

#include <QRegularExpression>

namespace {

using Piece = ContentsLine::Piece;

// A leader run inside a word: two or more leader characters, or one that is not a dot.
bool findLastLeaderRun(const QString& text, qsizetype* start, qsizetype* end)
{
    qsizetype i = text.size();
    while (i > 0) {
        if (!ContentsLine::isLeaderChar(text[i - 1])) {
            --i;
            continue;
        }
        qsizetype j = i;
        while (j > 0 && ContentsLine::isLeaderChar(text[j - 1]))
            --j;
        const bool run = i - j >= 2 || text[j] != QLatin1Char('.');
        if (run) {
            *start = j;
            *end = i;
            return true;
        }
        i = j;
    }
    return false;
}

bool allLeader(const QString& text)
{
    for (const QChar c : text)
        if (!ContentsLine::isLeaderChar(c))
            return false;
    return !text.isEmpty();
}

QList<Piece> piecesOf(const TextLine& line)
{
    QList<Piece> pieces;
    for (const TextWord& word : line.words) {
        const QString text = word.text.trimmed();
        if (text.isEmpty())
            continue;
        if (allLeader(text)) {
            pieces << Piece{text, word.box, true};
            continue;
        }
        qsizetype start = 0, end = 0;
        if (!findLastLeaderRun(text, &start, &end)) {
            pieces << Piece{text, word.box, false};
            continue;
        }
        // "ОГЛАВЛЕНИЕМ.....", ".....5", "DJVU-ДОКУМЕНТА.....5": title, leader, number.
        if (start > 0)
            pieces << Piece{text.left(start), ContentsLine::partOf(word.box, 0, start, text.size()),
                            false};
        pieces << Piece{text.mid(start, end - start),
                        ContentsLine::partOf(word.box, start, end, text.size()), true};
        if (end < text.size())
            pieces << Piece{text.mid(end),
                            ContentsLine::partOf(word.box, end, text.size(), text.size()), false};
    }
    return pieces;
}

const QRegularExpression& dottedFirst()
{
    // "2.1", "1.", and "A.1", "IV.2", "§1.1" where a letter, a roman numeral or a section
    // sign leads the numbers.
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,4}(\\.\\d{1,4})*|§\\d{1,4}(\\.\\d{1,4})+|([A-Z]|[IVX]{1,5})(\\.\\d{1,4})+)\\.?$"));
    return re;
}

const QRegularExpression& dottedMore()
{
    static const QRegularExpression re(QStringLiteral("^\\.\\d{1,4}(\\.\\d{1,4})*\\.?$"));
    return re;
}

ContentsLine::Style styleOfWord(const QString& word)
{
    static const QStringList parts = {QStringLiteral("part"),  QStringLiteral("часть"),
                                      QStringLiteral("книга"), QStringLiteral("book"),
                                      QStringLiteral("teil"),  QStringLiteral("díl"),
                                      QStringLiteral("část"),  QStringLiteral("partie")};
    static const QStringList chapters = {
        QStringLiteral("chapter"),    QStringLiteral("глава"),    QStringLiteral("kapitel"),
        QStringLiteral("kapitola"),   QStringLiteral("chapitre"), QStringLiteral("capitolo"),
        QStringLiteral("capítulo"),   QStringLiteral("rozdział"), QStringLiteral("appendix"),
        QStringLiteral("приложение"), QStringLiteral("lecture"),  QStringLiteral("лекция")};
    static const QStringList sections = {QStringLiteral("section"),   QStringLiteral("раздел"),
                                         QStringLiteral("параграф"),  QStringLiteral("§"),
                                         QStringLiteral("abschnitt"), QStringLiteral("oddíl")};
    const QString w = word.toLower();
    if (parts.contains(w))
        return ContentsLine::PartWord;
    if (chapters.contains(w))
        return ContentsLine::ChapterWord;
    if (sections.contains(w))
        return ContentsLine::SectionWord;
    return ContentsLine::NoNumbering;
}

// "3", "3.", "II", "IV:", "A" after a numbering word.
bool isNumberingValue(QString text)
{
    while (!text.isEmpty() && (text.endsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char(':'))))
        text.chop(1);
    PrintedNumber n;
    if (PrintedNumber::readAny(text, &n))
        return !n.tooLong;
    return text.size() == 1 && text[0].isLetter() && text[0].isUpper();
}

// Takes the numbering off the front of the title pieces.
void readNumbering(QList<Piece>* pieces, ContentsLine* line)
{
    if (pieces->isEmpty())
        return;
    const QString first = pieces->first().text;
    if (dottedFirst().match(first).hasMatch()) {
        QString joined = first;
        int taken = 1;
        while (taken < pieces->size() && dottedMore().match((*pieces)[taken].text).hasMatch())
            joined += (*pieces)[taken++].text;
        pieces->remove(0, taken);
        if (joined.endsWith(QLatin1Char('.')) && joined.count(QLatin1Char('.')) > 1)
            joined.chop(1); // "2.1." reads as "2.1"; a lone "1." keeps its dot
        line->numbering = joined;
        line->style = ContentsLine::Dotted;
        line->depth = int(QString(joined)
                              .remove(QRegularExpression(QStringLiteral("\\.$")))
                              .split(QLatin1Char('.'))
                              .size());
        return;
    }
    if (first.startsWith(QStringLiteral("§")) && first.size() > 1 &&
        isNumberingValue(first.mid(1))) {
        line->numbering = first;
        line->style = ContentsLine::SectionWord;
        line->depth = 1;
        pieces->removeFirst();
        return;
    }
    const ContentsLine::Style word = styleOfWord(first);
    if (word != ContentsLine::NoNumbering && pieces->size() >= 2 &&
        isNumberingValue((*pieces)[1].text)) {
        line->numbering = first + QLatin1Char(' ') + (*pieces)[1].text;
        line->style = word;
        line->depth = 1;
        pieces->remove(0, 2);
        return;
    }
    if (first.endsWith(QLatin1Char('.')) && first.size() > 1) {
        PrintedNumber roman;
        if (PrintedNumber::readRoman(first.chopped(1), &roman) &&
            first.chopped(1) == first.chopped(1).toUpper()) {
            line->numbering = first;
            line->style = ContentsLine::RomanNumbering;
            line->depth = 1;
            pieces->removeFirst();
        }
    }
}

bool isSingleLetter(const QString& text)
{
    return text.size() == 1 && text[0].isLetter();
}

// "S K A U T O V Á N Í": runs of three or more single letters set close together read as
// words; a gap clearly wider than the letters' own spacing separates two words.
QStringList joinLetterSpacing(const QList<Piece>& pieces)
{
    QStringList words;
    for (qsizetype i = 0; i < pieces.size();) {
        qsizetype j = i;
        while (j < pieces.size() && isSingleLetter(pieces[j].text))
            ++j;
        if (j - i < 3) {
            for (qsizetype k = i; k < std::max(j, i + 1); ++k)
                words << pieces[k].text;
            i = std::max(j, i + 1);
            continue;
        }
        int smallest = INT_MAX;
        for (qsizetype k = i + 1; k < j; ++k)
            smallest = std::min(smallest, pieces[k].box.xmin - pieces[k - 1].box.xmax);
        const int letterWidth = pieces[i].box.xmax - pieces[i].box.xmin;
        const int wordGap = std::max(smallest * 3 / 2, smallest + letterWidth / 2);
        QString word = pieces[i].text;
        for (qsizetype k = i + 1; k < j; ++k) {
            if (pieces[k].box.xmin - pieces[k - 1].box.xmax > wordGap) {
                words << word;
                word.clear();
            }
            word += pieces[k].text;
        }
        words << word;
        i = j;
    }
    return words;
}

} // namespace

QList<ContentsLine::Piece> ContentsLine::pieces(const TextLine& line)
{
    return piecesOf(line);
}

ZoneBox ContentsLine::partOf(const ZoneBox& box, qsizetype from, qsizetype to, qsizetype length)
{
    if (length <= 0)
        return box;
    const qint64 w = qint64(box.xmax) - box.xmin;
    return {int(box.xmin + w * from / length), box.ymin, int(box.xmin + w * to / length), box.ymax};
}

bool ContentsLine::isLeaderChar(QChar c)
{
    switch (c.unicode()) {
    case '.':
    case '_':
    case 0x00B7: // ·
    case 0x2022: // •
    case 0x2026: // …
    case 0x2025: // ‥
    case 0x22EF: // ⋯
    case 0x2219: // ∙
        return true;
    default:
        return false;
    }
}

QString ContentsLine::title() const
{
    QStringList all;
    if (!numbering.isEmpty())
        all << numbering;
    all << words;
    return all.join(QLatin1Char(' '));
}

ContentsLine ContentsLine::read(const TextLine& textLine)
{
    ContentsLine line;
    line.box = textLine.box;
    QList<Piece> pieces = piecesOf(textLine);

    if (!pieces.isEmpty() && !pieces.last().leader) {
        const Piece& last = pieces.last();
        const bool afterLeader = pieces.size() >= 2 && pieces[pieces.size() - 2].leader;
        QString text = last.text;
        if (afterLeader && text.size() > 1 && text.endsWith(QLatin1Char('.')))
            text.chop(1); // "..... 15."
        PrintedNumber number;
        const bool roman = PrintedNumber::readRoman(text, &number);
        MisreadNumber::Reading misread;
        bool exact = PrintedNumber::readArabic(text, &number) || roman;
        // A misread number needs a title before it that is more than a bare numbering word.
        const bool titled =
            pieces.size() >= 3 ||
            (pieces.size() == 2 &&
             (afterLeader || styleOfWord(pieces.first().text) == ContentsLine::NoNumbering));
        if (!exact && titled && MisreadNumber::read(text, &misread)) {
            number = misread.number;
            text = misread.text;
            line.numberMisread = true;
        }
        if (exact || line.numberMisread) {
            line.number = number;
            line.numberText = text;
            line.numberAsPrinted = last.text;
            line.numberBox = last.box;
            line.numberAfterLeader = afterLeader;
            line.gapBeforeNumber =
                pieces.size() >= 2 ? last.box.xmin - pieces[pieces.size() - 2].box.xmax : 0;
            pieces.removeLast();
        }
    }
    while (!pieces.isEmpty() && pieces.last().leader) {
        line.leader = true;
        pieces.removeLast();
    }
    pieces.removeIf([](const Piece& p) { return p.leader; });
    readNumbering(&pieces, &line);
    line.words = joinLetterSpacing(pieces);
    if (!line.hasNumber() && !line.leader && !pieces.isEmpty()) {
        static const QRegularExpression glued(QStringLiteral("^(.*\\D)?(\\d{1,9})$"));
        const auto m = glued.match(pieces.last().text);
        if (m.hasMatch())
            line.trailingDigits = m.captured(2);
    }
    return line;
}

void ContentsLine::dropNumber()
{
    if (!hasNumber())
        return;
    words << (numberAsPrinted.isEmpty() ? numberText : numberAsPrinted);
    if (!numberMisread && !numberAfterLeader && number.kind == PrintedNumber::Arabic)
        trailingDigits = numberText;
    number = {};
    numberText.clear();
    numberAsPrinted.clear();
    numberMisread = false;
    numberAfterLeader = false;
}

QStringList ContentsLine::comparable(const QStringList& words)
{
    QStringList out;
    for (QString w : words) {
        w = w.toLower();
        w.replace(QChar(0x0451), QChar(0x0435)); // ё → е
        qsizetype a = 0, b = w.size();
        while (a < b && !w[a].isLetterOrNumber())
            ++a;
        while (b > a && !w[b - 1].isLetterOrNumber())
            --b;
        const bool continuesNumbering = a > 0 && w[a - 1] == QLatin1Char('.') && !out.isEmpty() &&
                                        w[a].isDigit() &&
                                        out.last().at(out.last().size() - 1).isDigit();
        w = w.mid(a, b - a);
        if (w.isEmpty())
            continue;
        if (continuesNumbering)
            out.last() += QLatin1Char('.') + w;
        else
            out << w;
    }
    return out;
}
