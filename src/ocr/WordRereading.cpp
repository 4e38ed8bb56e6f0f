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
    return (other.known || number.match(other.word.text).hasMatch()) && other.confidence >= 80.0f &&
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
