#include "ocr/PageRecognizer.h"

#include "base/CancelToken.h"
#include "base/EngineTexts.h"
#include "djvu/ToolRunner.h"
#include "ocr/WordRereading.h"

#include <QDir>
#include <QRegularExpression>

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <dlfcn.h>

#include <clocale>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// A grey picture: "P5 W H 255" then one byte a pixel.
bool readPgm(const QByteArray& pgm, int* width, int* height, qsizetype* dataAt)
{
    if (!pgm.startsWith("P5"))
        return false;
    int numbers[3] = {0, 0, 0};
    qsizetype i = 2;
    for (int& n : numbers) {
        for (;;) { // blanks and comments
            while (i < pgm.size() && QChar::isSpace(uchar(pgm[i])))
                ++i;
            if (i < pgm.size() && pgm[i] == '#') {
                while (i < pgm.size() && pgm[i] != '\n')
                    ++i;
                continue;
            }
            break;
        }
        qsizetype start = i;
        while (i < pgm.size() && pgm[i] >= '0' && pgm[i] <= '9' && i - start < 9)
            n = n * 10 + (pgm[i++] - '0');
        if (i == start)
            return false;
    }
    ++i; // the one blank after the maximum
    *width = numbers[0];
    *height = numbers[1];
    *dataAt = i;
    return numbers[2] == 255 && *width > 0 && *height > 0 &&
           pgm.size() - i >= qint64(*width) * *height;
}

// The library may spread one page over several processors with OpenMP threads that spin
// while they wait: on a busy machine that costs more than it gains, and pages are recognised
// side by side anyway. Set for the calling thread.
void oneThreadPerPage()
{
    // Its parallel parts name their own thread count: only the dynamic adjustment, which
    // gives fewer threads to a busy machine, lowers that.
    using Set = void (*)(int);
    if (auto set = reinterpret_cast<Set>(dlsym(RTLD_DEFAULT, "omp_set_num_threads")))
        set(1);
    if (auto set = reinterpret_cast<Set>(dlsym(RTLD_DEFAULT, "omp_set_dynamic")))
        set(1);
}

bool stopAsked(void* token, int)
{
    return token && static_cast<const CancelToken*>(token)->isCancelled();
}

ZoneBox unite(const ZoneBox& a, const ZoneBox& b)
{
    return {std::min(a.xmin, b.xmin), std::min(a.ymin, b.ymin), std::max(a.xmax, b.xmax),
            std::max(a.ymax, b.ymax)};
}

using ReadWord = PageRecognizer::ReadWord;

// The words of one pass, line by line, with what is needed to weigh it against another.
struct Reading
{
    QList<QList<ReadWord>> lines;
    QList<int> sureHeights; // of the words read with some confidence
    double sure = 0;        // confidence summed over letters
    qsizetype letters = 0;
    qsizetype sureLetters = 0; // letters of the words read with some confidence
};

template <typename ToPage>
void readWords(tesseract::ResultIterator& it, const ToPage& toPage, Reading* reading)
{
    const auto word = tesseract::RIL_WORD;
    bool first = true;
    do {
        if (it.Empty(word))
            continue;
        std::unique_ptr<char[]> utf8(it.GetUTF8Text(word));
        const QString wordText = QString::fromUtf8(utf8.get()).trimmed();
        int l = 0, t = 0, r = 0, b = 0;
        if (wordText.isEmpty() || !it.BoundingBox(word, &l, &t, &r, &b))
            continue;
        const float confidence = it.Confidence(word);
        // Specks and pictures come out as words no one can read.
        if (confidence < 20.0f && wordText.size() < 3 && !wordText.front().isLetterOrNumber())
            continue;
        if (first || it.IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            if (reading->lines.isEmpty() || !reading->lines.last().isEmpty())
                reading->lines.append(QList<ReadWord>());
        }
        first = false;
        const ZoneBox box = toPage(l, t, r, b);
        QList<int> letterEnds;
        tesseract::ResultIterator letter(it);
        do {
            int sl = 0, st = 0, sr = 0, sb = 0;
            if (letter.BoundingBox(tesseract::RIL_SYMBOL, &sl, &st, &sr, &sb))
                letterEnds << toPage(sl, st, sr, sb).xmax;
        } while (letter.Next(tesseract::RIL_SYMBOL) &&
                 !letter.IsAtBeginningOf(tesseract::RIL_WORD));
        if (confidence >= 60.0f) {
            reading->sureHeights << box.ymax - box.ymin;
            reading->sureLetters += wordText.size();
        }
        reading->lines.last().append(
            {{wordText, box}, confidence, it.WordIsFromDictionary(), letterEnds});
        reading->sure += double(confidence) * wordText.size();
        reading->letters += wordText.size();
    } while (it.Next(word));
}

bool overlap(const ZoneBox& a, const ZoneBox& b)
{
    return a.xmin < b.xmax && b.xmin < a.xmax && a.ymin < b.ymax && b.ymin < a.ymax;
}

// The sure words of a margin strip that no word of the page's reading covers: each joins
// the line beside it (a page number the layout left out of its title's line), or else makes
// a line of its own above (top) or below the others.
void addMarginWords(const Reading& margin, bool top, Reading* reading)
{
    auto lineBox = [](const QList<ReadWord>& line) {
        ZoneBox box = line.first().word.box;
        for (const ReadWord& w : line)
            box = unite(box, w.word.box);
        return box;
    };
    QList<QList<ReadWord>> added;
    for (const QList<ReadWord>& line : margin.lines) {
        QList<ReadWord> alone;
        for (const ReadWord& w : line) {
            bool covered = false;
            for (const QList<ReadWord>& other : std::as_const(reading->lines))
                for (const ReadWord& o : other)
                    covered = covered || overlap(o.word.box, w.word.box);
            if (covered || w.confidence < 70.0f)
                continue;
            reading->sure += double(w.confidence) * w.word.text.size();
            reading->letters += w.word.text.size();
            const int middle = (w.word.box.ymin + w.word.box.ymax) / 2;
            QList<ReadWord>* beside = nullptr;
            for (QList<ReadWord>& other : reading->lines) {
                const ZoneBox box = other.isEmpty() ? ZoneBox{} : lineBox(other);
                if (!other.isEmpty() && box.ymin <= middle && middle <= box.ymax)
                    beside = &other;
            }
            if (!beside) {
                alone << w;
                continue;
            }
            qsizetype at = 0;
            while (at < beside->size() && (*beside)[at].word.box.xmin < w.word.box.xmin)
                ++at;
            beside->insert(at, w);
        }
        if (!alone.isEmpty())
            added << alone;
    }
    reading->lines = top ? added + reading->lines : reading->lines + added;
}

// A lone page number or running head in a margin is often left out of a page's reading:
// each margin strip is read again as a block, and the sure words found there that overlap
// none read already are added. Each strip is given as a picture of its own: set as a
// rectangle of the whole picture, a strip with a running head above a figure can come out
// as nothing at all. firstRow: where the part given starts, for the boxes.
template <typename Pass>
bool readMargins(tesseract::TessBaseAPI& api, const uchar* pixels, int width, int height,
                 int* firstRow, const Pass& pass, Reading* reading)
{
    const int strip = height * 3 / 20;
    for (const bool top : {true, false}) {
        *firstRow = top ? 0 : height - strip;
        api.SetImage(pixels + qsizetype(*firstRow) * width, width, strip, 1, width);
        api.SetSourceResolution(PageRecognizer::kDpi);
        Reading margin;
        if (!pass(tesseract::PSM_SINGLE_BLOCK, &margin))
            return false;
        addMarginWords(margin, top, reading);
    }
    *firstRow = 0;
    api.SetImage(pixels, width, height, 1, width);
    api.SetSourceResolution(PageRecognizer::kDpi);
    return true;
}

} // namespace

struct PageRecognizer::Engine
{
    tesseract::TessBaseAPI api;
    // The set's languages after the first, each alone: doubtful words are read again with them.
    std::vector<std::unique_ptr<tesseract::TessBaseAPI>> others;
};

PageRecognizer::PageRecognizer(ToolRunner& tools, QString languages)
    : tools_(tools), languages_(std::move(languages))
{
}

PageRecognizer::~PageRecognizer()
{
    if (!engine_)
        return;
    engine_->api.End();
    for (const auto& other : engine_->others)
        other->End();
}

bool PageRecognizer::ready(QString* error)
{
    if (engine_)
        return true;
    const QString folder = dataFolder(languages_, error);
    if (folder.isEmpty())
        return false;
    // The library reads its numbers with the C library's functions.
    static std::once_flag numeric;
    std::call_once(numeric, [] { std::setlocale(LC_NUMERIC, "C"); });
    oneThreadPerPage();
    auto engine = std::make_unique<Engine>();
    if (engine->api.Init(QDir(folder).absolutePath().toLocal8Bit().constData(),
                         languages_.toLatin1().constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        *error = EngineTexts::say("e_ocr_no_language").arg(languages_);
        return false;
    }
    engine->api.SetPageSegMode(tesseract::PSM_AUTO);
    // Its remarks on each page ("Detected 66 diacritics") are no concern of the log's.
    engine->api.SetVariable("debug_file", "/dev/null");
    const QStringList names = languages_.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < names.size(); ++i) {
        auto other = std::make_unique<tesseract::TessBaseAPI>();
        if (other->Init(QDir(folder).absolutePath().toLocal8Bit().constData(),
                        names[i].toLatin1().constData(), tesseract::OEM_LSTM_ONLY) != 0) {
            *error = EngineTexts::say("e_ocr_no_language").arg(names[i]);
            return false;
        }
        other->SetVariable("debug_file", "/dev/null");
        engine->others.push_back(std::move(other));
    }
    engine_ = std::move(engine);
    return true;
}

bool PageRecognizer::recognise(const QString& path, int page, PageText* text, QString* error)
{
    if (!ready(error))
        return false;
    const QString ddjvu = QStringLiteral("ddjvu");
    if (!tools_.available(ddjvu)) {
        *error = EngineTexts::say("e_render_no_tool");
        return false;
    }
    const ToolRun size =
        tools_.capture(QStringLiteral("djvused"),
                       {path, QStringLiteral("-e"), QStringLiteral("select %1; size").arg(page)});
    int pageWidth = 0, pageHeight = 0;
    if (size.succeeded()) {
        const QList<QByteArray> words = size.standardOutput.simplified().split(' ');
        for (const QByteArray& w : words) {
            if (w.startsWith("width="))
                pageWidth = w.mid(6).toInt();
            else if (w.startsWith("height="))
                pageHeight = w.mid(7).toInt();
        }
    }
    if (size.cancelled || tools_.cancelled()) {
        *error = EngineTexts::say("e_ocr_cancelled").arg(page);
        return false;
    }
    if (pageWidth <= 0 || pageHeight <= 0) {
        *error = EngineTexts::say("e_render_no_size").arg(page).arg(path, size.failureText());
        return false;
    }
    const ToolRun drawn =
        tools_.capture(ddjvu, {QStringLiteral("-format=pgm"), QStringLiteral("-page=%1").arg(page),
                               QStringLiteral("-scale=%1").arg(kDpi), path, QStringLiteral("-")});
    if (drawn.cancelled || tools_.cancelled()) {
        *error = EngineTexts::say("e_ocr_cancelled").arg(page);
        return false;
    }
    if (!drawn.succeeded()) {
        *error = EngineTexts::say("e_render_failed").arg(page).arg(path, drawn.failureText());
        return false;
    }
    if (!recogniseImage(drawn.standardOutput, pageWidth, pageHeight, text, error)) {
        *error = EngineTexts::say("e_ocr_page_failed").arg(page).arg(path, *error);
        return false;
    }
    return true;
}

bool PageRecognizer::recogniseImage(const QByteArray& pgm, int pageWidth, int pageHeight,
                                    PageText* text, QString* error)
{
    if (!ready(error))
        return false;
    int width = 0, height = 0;
    qsizetype dataAt = 0;
    if (!readPgm(pgm, &width, &height, &dataAt)) {
        *error = EngineTexts::say("e_ocr_no_picture");
        return false;
    }
    if (qint64(width) * height > kMaxPixels) {
        *error = EngineTexts::say("e_ocr_too_big").arg(width).arg(height);
        return false;
    }
    // A blank page draws as one grey: nothing to read there, and no failure either.
    const uchar* pixels = reinterpret_cast<const uchar*>(pgm.constData() + dataAt);
    *text = PageText();
    text->box = {0, 0, pageWidth, pageHeight};
    text->hasLayer = true;
    confidence_ = 0;
    tesseract::TessBaseAPI& api = engine_->api;
    api.SetImage(pixels, width, height, 1, width);
    api.SetSourceResolution(kDpi);
    const double sx = double(pageWidth) / width;
    const double sy = double(pageHeight) / height;
    // Picture rows count from the top, the page's from the bottom.
    int firstRow = 0; // of the part of the picture given to the library
    auto toPage = [&](int left, int top, int right, int bottom) {
        top += firstRow;
        bottom += firstRow;
        ZoneBox b;
        b.xmin = std::clamp(int(std::lround(left * sx)), 0, pageWidth);
        b.xmax = std::clamp(int(std::lround(right * sx)), 0, pageWidth);
        b.ymin = std::clamp(pageHeight - int(std::lround(bottom * sy)), 0, pageHeight);
        b.ymax = std::clamp(pageHeight - int(std::lround(top * sy)), 0, pageHeight);
        return b;
    };
    // One pass of the library over the picture (or the part of it set) in a layout mode.
    auto pass = [&](tesseract::PageSegMode mode, Reading* reading) {
        api.SetPageSegMode(mode);
        tesseract::ETEXT_DESC monitor;
        monitor.cancel = &stopAsked;
        monitor.cancel_this = const_cast<CancelToken*>(cancel_);
        const int status = api.Recognize(&monitor);
        if (cancel_ && cancel_->isCancelled()) {
            *error = EngineTexts::say("e_ocr_stopped");
            return false;
        }
        if (status != 0) {
            *error = EngineTexts::say("e_ocr_engine_failed");
            return false;
        }
        std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
        if (it)
            readWords(*it, toPage, reading);
        return true;
    };
    auto fail = [&] {
        api.SetPageSegMode(tesseract::PSM_AUTO);
        api.Clear();
        return false;
    };
    Reading reading;
    if (!marginsOnly_ && !pass(tesseract::PSM_AUTO, &reading))
        return fail();
    // The layout analysis may leave out a column of page numbers beside their titles; read as
    // one block of lines, such a page gives them. The reading surer of more letters is kept.
    if (oneBlockToo_ && !marginsOnly_) {
        Reading block;
        if (!pass(tesseract::PSM_SINGLE_BLOCK, &block))
            return fail();
        if (block.sureLetters > reading.sureLetters + reading.sureLetters / 20 + 2)
            reading = std::move(block);
    }
    if (!readMargins(api, pixels, width, height, &firstRow, pass, &reading))
        return fail();
    std::sort(reading.sureHeights.begin(), reading.sureHeights.end());
    const int usual =
        reading.sureHeights.isEmpty() ? 0 : reading.sureHeights[reading.sureHeights.size() / 2];
    if (marginsOnly_) {
        api.SetPageSegMode(tesseract::PSM_AUTO);
        api.Clear();
        for (const QList<ReadWord>& read : std::as_const(reading.lines))
            if (!read.isEmpty())
                text->lines.append(lineOf(read, usual));
        text->hasLayer = false;
        return true;
    }
    const PictureScale picture{width, height, pageHeight, sx, sy};
    // A title word glued to its leader is read again on its own below, without the dots.
    for (QList<ReadWord>& line : reading.lines)
        line = PageRecognizer::unglued(line);
    if (!readNumbersAfterLeaders(api, picture, usual, cancel_, &reading.lines)) {
        *error = EngineTexts::say("e_ocr_stopped");
        return fail();
    }
    api.SetPageSegMode(tesseract::PSM_AUTO);
    api.Clear();
    for (const auto& other : engine_->others) {
        other->SetImage(pixels, width, height, 1, width);
        other->SetSourceResolution(kDpi);
        const bool read =
            rereadWords(*other, picture, usual, cancel_, &reading.lines, &reading.sure);
        other->Clear();
        if (!read) {
            *error = EngineTexts::say("e_ocr_stopped");
            return false;
        }
    }
    if (reading.letters > 0)
        confidence_ = reading.sure / double(reading.letters);
    for (const QList<ReadWord>& read : std::as_const(reading.lines))
        if (!read.isEmpty())
            text->lines.append(lineOf(read, usual));
    return true;
}
