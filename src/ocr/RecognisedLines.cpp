#include "ocr/PageRecognizer.h"

#include <QRegularExpression>

// How the words the library reads make a line: a contents line's leader of dots, read as
// letters or digits, becomes one word of dots.

namespace {

ZoneBox unite(const ZoneBox& a, const ZoneBox& b)
{
    return {std::min(a.xmin, b.xmin), std::min(a.ymin, b.ymin), std::max(a.xmax, b.xmax),
            std::max(a.ymax, b.ymax)};
}

} // namespace

using ReadWord = PageRecognizer::ReadWord;

// A row of dots between a title and its number reads as letters of no word ("иииннии"): its
// boxes are only as high as a dot, or the library is all but unsure of them, word after word.
// Such words become one leader of dots, as a text layer made elsewhere holds it. usual: the
// height of the page's letters.
// A title word glued to its leader, the leader's dots then misread as letters
// ("ЗАПУСК..........нннии"): the library's doubt is about the leader, so the word is cut
// where the dots begin, the title part kept as a word and the rest made a leader.
QList<ReadWord> PageRecognizer::unglued(const QList<ReadWord>& read)
{
    static const QRegularExpression glued(QStringLiteral("^([^.]{2,}?)(\\.{3,}.*)$"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    // Kept whole: a title glued to dots alone, and a number glued to its leader (the reading
    // splits both).
    static const QRegularExpression whole(QStringLiteral("^\\.+\\d*$"));
    QList<ReadWord> words;
    for (const ReadWord& w : read) {
        const QRegularExpressionMatch m = glued.match(w.word.text);
        if (!m.hasMatch() || whole.match(m.captured(2)).hasMatch()) {
            words << w;
            continue;
        }
        const ZoneBox& b = w.word.box;
        // Dots and the letters read for them are narrower than print: the cut is halfway
        // through the first dot after the title's last letter, or else guessed from the count
        // of letters.
        const qsizetype length = m.capturedLength(1);
        const int cut = w.letterEnds.size() == w.word.text.size()
                            ? (w.letterEnds[length - 1] + w.letterEnds[length]) / 2
                            : b.xmin + int((b.xmax - b.xmin) * length / w.word.text.size());
        words << ReadWord{{m.captured(1), {b.xmin, b.ymin, cut, b.ymax}}, 55.0f}
              << ReadWord{{QString(3, u'.'), {cut, b.ymin, b.xmax, b.ymax}}, 0.0f};
    }
    return words;
}

// Whether a row of dots begins at a word: dots, or dots as low as dots read as letters or
// digits (not a dash) and as wide as a few of them.
static bool dotsBegin(const TextWord& w, bool small, int usual)
{
    static const QRegularExpression dotLike(QStringLiteral("[.\\w]"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return w.text.startsWith(QLatin1String("...")) ||
           (small && 2 * (w.box.xmax - w.box.xmin) >= usual && dotLike.match(w.text).hasMatch());
}

// The words of a line, its leader's words made one word of dots. small: as low as dots;
// unsure: doubtful, and no title's word for all that.
static TextLine leadersJoined(const QList<ReadWord>& read, const QList<bool>& small,
                              const QList<bool>& unsure, int usual)
{
    const qsizetype n = read.size();
    // Doubtful words are a leader only where nothing but such words and numbers follow them
    // to the line's end, or where a leader has begun and no sure number ended it since: a
    // doubtful word inside a title stays a word.
    static const QRegularExpression guessedDigits(QStringLiteral("^[\\d.,:;\\-]+$"));
    static const QRegularExpression sureNumber(QStringLiteral("^\\d+$"));
    static const QRegularExpression withNumber(QStringLiteral("^\\.{3,}[1-9]\\d*$"));
    qsizetype tail = n;
    while (tail > 0 &&
           (small[tail - 1] || unsure[tail - 1] || read[tail - 1].word.text.front().isDigit()))
        --tail;
    TextLine line;
    bool lastLeader = false;
    bool begun = false;
    for (qsizetype i = 0; i < n; ++i) {
        const TextWord& w = read[i].word;
        // The leader begins where dots are, or digits the library guessed glued to dots.
        begun = (begun || dotsBegin(w, small[i], usual) ||
                 (unsure[i] && w.text.endsWith(QLatin1String("...")))) &&
                !(!unsure[i] && !small[i] && sureNumber.match(w.text).hasMatch());
        const bool nextToOne = (i > 0 && (small[i - 1] || unsure[i - 1])) ||
                               (i + 1 < n && (small[i + 1] || unsure[i + 1]));
        const auto leaderish = [&](qsizetype j) { return small[j] || unsure[j]; };
        // A word alone amid a leader is dots the library was sure were letters ("и").
        const bool amid = begun && i > 0 && i + 1 < n && leaderish(i - 1) && leaderish(i + 1);
        const bool trailing = (unsure[i] || amid) && nextToOne && (i >= tail || begun);
        // A word in brackets is a word of a title, however unsure the library is of it.
        const bool bracketed = w.text.startsWith(u'(') || w.text.endsWith(u')');
        // A number glued to its leader ("........40") is kept whole: the reading splits it.
        // Dots the library all but guessed to be digits ("0 00000", "2.004", "20...") among a
        // leader are that leader too: a page number it read is a sure one. Dots as low as
        // dots, some read as digits ("........00.4", "0..."), are a leader wherever they stand.
        const bool leader = (!w.text.front().isDigit() && !w.text.back().isDigit() &&
                             (small[i] || (trailing && !bracketed))) ||
                            ((trailing || (small[i] && w.text.contains(u'.'))) &&
                             guessedDigits.match(w.text).hasMatch() &&
                             (small[i] || !withNumber.match(w.text).hasMatch()));
        line.box = i == 0 ? w.box : unite(line.box, w.box);
        if (leader && lastLeader)
            line.words.last().box = unite(line.words.last().box, w.box);
        else
            line.words.append(w);
        if (leader) {
            const ZoneBox& b = line.words.last().box;
            line.words.last().text =
                QString(std::clamp((b.xmax - b.xmin) / std::max(usual / 3, 1), 3, 40), u'.');
        }
        lastLeader = leader;
    }
    return line;
}

// A title's word glued to its leader ("CHAPTER.......", "О\№Ми2......."): letters before the
// dots (the box may be only as high as the dots). Digits glued to dots ("20...", "04.2...")
// are dots the library guessed to be digits.
static bool gluedTitle(const QString& text)
{
    const qsizetype dots = text.indexOf(QLatin1String("..."));
    if (dots <= 0 || !text.endsWith(QLatin1String("...")))
        return false;
    qsizetype letters = 0, signs = 0;
    for (const QChar c : text.left(dots)) {
        letters += c.isLetter() ? 1 : 0;
        signs += c.isLetterOrNumber() ? 1 : 0;
    }
    return letters >= 1 && signs >= 2;
}

// A leader and its page number read as one word of letters' height, the dots partly as
// digits (".............2-.2.4...139"): the dots, then the number. Unchanged otherwise.
static QString leaderAndNumber(const QString& text)
{
    static const QRegularExpression glued(
        QStringLiteral("^\\.{3,}[\\d.,:;\\-]*\\.{2}([1-9]\\d{0,3})$"));
    const QRegularExpressionMatch m = glued.match(text);
    if (!m.hasMatch())
        return text;
    return QString(text.size() - m.capturedLength(1), u'.') + m.captured(1);
}

TextLine PageRecognizer::lineOf(const QList<ReadWord>& given, int usual)
{
    QList<ReadWord> read = unglued(given);
    const qsizetype n = read.size();
    QList<bool> small(n), unsure(n), title(n);
    for (qsizetype i = 0; i < n; ++i) {
        const ZoneBox& b = read[i].word.box;
        const bool dotHigh = 3 * (b.ymax - b.ymin) < usual;
        if (!dotHigh)
            read[i].word.text = leaderAndNumber(read[i].word.text);
        // A title glued to its leader is read as one word: the reading splits such a leader
        // off, and the title stays.
        title[i] = gluedTitle(read[i].word.text);
        small[i] = dotHigh && !title[i];
    }
    bool dotsSeen = false;
    for (qsizetype i = 0; i < n; ++i) {
        // A word of the language's list after a sure word is a title's word however unsure
        // the library is of it ("functions" before its leader). Dots read as letters may make
        // listed words too ("нити", "eee"), but short ones, or ones whose letters are as
        // narrow as the dots stand close.
        const ZoneBox& b = read[i].word.box;
        const QString& text = read[i].word.text;
        qsizetype letters = 0;
        for (const QChar c : text)
            letters += c.isLetter() ? 1 : 0;
        const bool listed = read[i].known && letters >= 4 && !small[i] &&
                            (i == 0 || read[i - 1].confidence >= 55.0f) &&
                            5 * (b.xmax - b.xmin) >= 2 * usual * text.size();
        // The word where the leader's dots begin, of letters' height and print width, is the
        // title's last word however it was misread ("od" for "JPEG"): dots read as letters
        // stand as low as dots, or among others such.
        const int high = b.ymax - b.ymin;
        const bool lastBeforeDots = letters > 0 && i + 1 < n && !dotsSeen &&
                                    5 * high >= 3 * usual && 5 * high <= 7 * usual &&
                                    2 * (b.xmax - b.xmin) >= usual &&
                                    dotsBegin(read[i + 1].word, small[i + 1], usual);
        dotsSeen = dotsSeen || dotsBegin(read[i].word, small[i], usual);
        unsure[i] = read[i].confidence < 55.0f && !title[i] && !listed && !lastBeforeDots;
    }
    return leadersJoined(read, small, unsure, usual);
}
