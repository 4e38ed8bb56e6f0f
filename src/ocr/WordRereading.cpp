#include "ocr/WordRereading.h"

#include "base/CancelToken.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <QRegularExpression>

#include <cmath>
#include <memory>

namespace {

bool stopAsked(void* token, int)
{
    return token && static_cast<const CancelToken*>(token)->isCancelled();
}

// The letters and digits of a word in lower case, the Cyrillic letters that look like Latin
// ones made those: "TEKCT" and "текст" are the same print.
QString shapes(const QString& word)
{
    static const QString latin = QStringLiteral("abcehkmoptxy");
    static const QString cyrillic = QStringLiteral("авсенкмортху");
    QString out;
    for (const QChar c : word.toLower()) {
        if (!c.isLetterOrNumber())
            continue;
        const qsizetype at = cyrillic.indexOf(c);
        out += at >= 0 ? latin[at] : c;
    }
    return out;
}

// A leader, or a title's last word glued to one ("descent...........").
bool endsInLeader(const TextWord& w)
{
    return w.text.endsWith(QLatin1String("..."));
}

bool isNumber(const TextWord& w)
{
    return !w.text.isEmpty() && w.text.front().isDigit() && w.text.back().isDigit();
}

// A word of letters, perhaps joined by hyphens or apostrophes, perhaps in brackets or quotes
// or followed by punctuation.
bool lettersOnly(const QString& word)
{
    static const QRegularExpression letters(
        QStringLiteral("^[(\\[\"'«]?\\p{L}+(?:[-'’]\\p{L}+)*[)\\].,:;\"'»]*$"),
        QRegularExpression::UseUnicodePropertiesOption);
    return letters.match(word).hasMatch();
}

// A word where a contents line's page number stands that was read as letters: short, of
// letters' height, and no roman number.
bool misreadNumber(const TextWord& w, int usual)
{
    static const QRegularExpression roman(QStringLiteral("^[ivxlcdm]+$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return !w.text.isEmpty() && w.text.size() <= 4 && !isNumber(w) &&
           !roman.match(w.text).hasMatch() && 5 * (w.box.ymax - w.box.ymin) >= 3 * usual;
}

} // namespace

bool PageRecognizer::surerElsewhere(const ReadWord& own, const ReadWord& other)
{
    // A word of the other language's list, or a number: letters guessed from no list, or
    // dots read as letters, are no better a word.
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    // Every list holds words of one letter ("а", "о"): such a word may as well be a number.
    qsizetype ownLetters = 0;
    for (const QChar c : own.word.text)
        ownLetters += c.isLetter() ? 1 : 0;
    // A word of letters alone is as good, when the first reading mixed symbols or digits into
    // its letters ("ОЗМО$ЕО" for "DJVUSED"): no word of either language looks like that.
    // The first is no reading at all, so a fairly sure one does.
    const bool mended = lettersOnly(other.word.text) && !lettersOnly(own.word.text);
    return (other.known || mended || number.match(other.word.text).hasMatch()) &&
           other.confidence >= (mended ? 60.0f : 80.0f) &&
           other.confidence >= own.confidence + 10.0f && !(own.known && ownLetters > 1) &&
           shapes(own.word.text) != shapes(other.word.text);
}

bool rereadWords(tesseract::TessBaseAPI& other, const PictureScale& picture, int usual,
                 const CancelToken* cancel, QList<QList<PageRecognizer::ReadWord>>* lines,
                 double* sure)
{
    other.SetPageSegMode(tesseract::PSM_SINGLE_WORD);
    for (QList<PageRecognizer::ReadWord>& line : *lines) {
        for (PageRecognizer::ReadWord& w : line) {
            const ZoneBox& b = w.word.box;
            // Sure words stay, and so do dots, lower than letters.
            if (w.confidence >= 90.0f || 2 * (b.ymax - b.ymin) < usual)
                continue;
            const int pad = 4;
            const int left = std::max(int(std::lround(b.xmin / picture.sx)) - pad, 0);
            const int right = std::min(int(std::lround(b.xmax / picture.sx)) + pad, picture.width);
            const int top =
                std::max(int(std::lround((picture.pageHeight - b.ymax) / picture.sy)) - pad, 0);
            const int bottom = std::min(
                int(std::lround((picture.pageHeight - b.ymin) / picture.sy)) + pad, picture.height);
            if (right <= left || bottom <= top)
                continue;
            other.SetRectangle(left, top, right - left, bottom - top);
            tesseract::ETEXT_DESC monitor;
            monitor.cancel = &stopAsked;
            monitor.cancel_this = const_cast<CancelToken*>(cancel);
            if (other.Recognize(&monitor) != 0)
                continue;
            if (cancel && cancel->isCancelled())
                return false;
            std::unique_ptr<tesseract::ResultIterator> it(other.GetIterator());
            if (!it || it->Empty(tesseract::RIL_WORD))
                continue;
            std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
            const PageRecognizer::ReadWord again{{QString::fromUtf8(utf8.get()).trimmed(), b},
                                                 it->Confidence(tesseract::RIL_WORD),
                                                 it->WordIsFromDictionary()};
            if (it->Next(tesseract::RIL_WORD) || !PageRecognizer::surerElsewhere(w, again))
                continue;
            *sure += double(again.confidence - w.confidence) * w.word.text.size();
            w = again;
        }
    }
    return true;
}

bool readNumbersAfterLeaders(tesseract::TessBaseAPI& api, const PictureScale& picture, int usual,
                             const CancelToken* cancel,
                             QList<QList<PageRecognizer::ReadWord>>* lines)
{
    if (usual <= 0)
        return true;
    // The column's right edge: where the lines that end in a number end, else the page's.
    int column = 0;
    QList<TextLine> made;
    for (const QList<PageRecognizer::ReadWord>& line : std::as_const(*lines)) {
        made << PageRecognizer::lineOf(line, usual);
        if (!made.last().words.isEmpty() && isNumber(made.last().words.last()))
            column = std::max(column, made.last().words.last().box.xmax);
    }
    const int right = column > 0
                          ? std::min(int(std::lround((column + usual) / picture.sx)), picture.width)
                          : picture.width;
    static const QRegularExpression pageNumber(
        QStringLiteral("^[.,:\\-\\s]*(\\d{1,4}|[ivxlcdm]{1,7})\\.?$"),
        QRegularExpression::CaseInsensitiveOption);
    api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const TextLine& read = made[i];
        const qsizetype count = read.words.size();
        // Where the number after a leader was read as letters ("SL" for "31"), that word is
        // read again as digits alone.
        const bool misread = count >= 2 && endsInLeader(read.words[count - 2]) &&
                             misreadNumber(read.words.last(), usual);
        if (count == 0 || (!endsInLeader(read.words.last()) && !misread))
            continue;
        const int pad = usual / 4;
        const ZoneBox& last = read.words.last().box;
        const int left = misread ? std::max(int(std::lround((last.xmin - pad) / picture.sx)), 0)
                                 : int(std::lround(last.xmax / picture.sx));
        const int end =
            misread ? std::min(int(std::lround((last.xmax + pad) / picture.sx)), picture.width)
                    : right;
        const int top =
            std::max(int(std::lround((picture.pageHeight - read.box.ymax - pad) / picture.sy)), 0);
        const int bottom =
            std::min(int(std::lround((picture.pageHeight - read.box.ymin + pad) / picture.sy)),
                     picture.height);
        if (end - left < usual / 2 || bottom <= top)
            continue;
        api.SetRectangle(left, top, end - left, bottom - top);
        api.SetVariable("tessedit_char_whitelist", misread ? "0123456789" : "");
        tesseract::ETEXT_DESC monitor;
        monitor.cancel = &stopAsked;
        monitor.cancel_this = const_cast<CancelToken*>(cancel);
        const int status = api.Recognize(&monitor);
        api.SetVariable("tessedit_char_whitelist", "");
        if (cancel && cancel->isCancelled())
            return false;
        std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
        if (status != 0 || !it)
            continue;
        QString text;
        float confidence = 100;
        int l = 0, t = 0, r = 0, b = 0, first = -1;
        do {
            if (it->Empty(tesseract::RIL_WORD))
                continue;
            std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
            text += QString::fromUtf8(utf8.get()).trimmed();
            confidence = std::min(confidence, it->Confidence(tesseract::RIL_WORD));
            int wl = 0, wt = 0, wr = 0, wb = 0;
            it->BoundingBox(tesseract::RIL_WORD, &wl, &wt, &wr, &wb);
            l = first < 0 ? wl : std::min(l, wl);
            t = first < 0 ? wt : std::min(t, wt);
            r = std::max(r, wr);
            b = std::max(b, wb);
            first = 0;
        } while (it->Next(tesseract::RIL_WORD));
        const QRegularExpressionMatch m = pageNumber.match(text);
        if (first < 0 || !m.hasMatch() || confidence < 60.0f)
            continue;
        const ZoneBox box{int(std::lround(l * picture.sx)),
                          picture.pageHeight - int(std::lround(b * picture.sy)),
                          int(std::lround(r * picture.sx)),
                          picture.pageHeight - int(std::lround(t * picture.sy))};
        if (misread)
            (*lines)[i].last() = {{m.captured(1), box}, confidence, false};
        else
            (*lines)[i].append({{m.captured(1), box}, confidence, false});
    }
    api.SetPageSegMode(tesseract::PSM_AUTO);
    return true;
}
