// The OCR editor on big books: opening (djvused's text, or djvutoxml + reading the dump),
// the first page alone, switching pages, and saving one edited page through either route.
// Books of 100 and 1,000 pages of 300 words each. "bench_ocr --write-book OUT.djvu PAGES"
// writes such a book for bench/ocr_routes.sh.
#include "DjvuFixture.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// 30 text lines of 10 words on every page.
FixturePage generatedPage(int number)
{
    FixturePage page;
    page.width = 1200;
    page.height = 1700;
    for (int line = 0; line < 30; ++line) {
        QStringList words;
        for (int w = 0; w < 10; ++w)
            words << QStringLiteral("слово%1x%2y%3").arg(number).arg(line).arg(w);
        page.lines << FixtureLine::layout(20, 1600 - line * 50, words, 30, 8, 6);
    }
    return page;
}

QString book(int pages)
{
    static QHash<int, QString> built;
    if (built.contains(pages))
        return built.value(pages);
    QList<FixturePage> list;
    for (int p = 1; p <= pages; ++p)
        list << generatedPage(p);
    const QString path = folder().filePath(QStringLiteral("книга %1.djvu").arg(pages));
    QString error;
    if (!DjvuFixture::build(path, list, &error)) {
        std::fprintf(stderr, "cannot build the book: %s\n", qPrintable(error));
        std::exit(1);
    }
    built.insert(pages, path);
    return path;
}

struct Session
{
    QTemporaryDir work;
    RecordingMessageSink messages;
    ToolRunner tools{QStringLiteral(TOCSMITH_OUT_DIR), work.path(), &messages};
    OcrDocument document;
};

std::unique_ptr<Session> opened(const QString& path,
                                OcrTextLayer::Route route = OcrTextLayer::Route::Djvused)
{
    auto session = std::make_unique<Session>();
    OcrTextLayer layer(session->tools);
    layer.setRoute(route);
    if (!layer.dump(path, session->document)) {
        std::fprintf(stderr, "cannot dump: %s\n", qPrintable(layer.error()));
        std::exit(1);
    }
    return session;
}

// Opening: djvused prints the text layer, the editor reads it and builds the page table.
void BM_OpenBook(benchmark::State& state)
{
    const QString path = book(int(state.range(0)));
    for (auto _ : state) {
        auto session = opened(path);
        benchmark::DoNotOptimize(session->document.pageCount());
    }
    state.counters["pages"] = double(state.range(0));
}
BENCHMARK(BM_OpenBook)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The XML route: djvutoxml writes "01.xml", the editor reads it.
void BM_OpenBookXml(benchmark::State& state)
{
    const QString path = book(int(state.range(0)));
    for (auto _ : state) {
        auto session = opened(path, OcrTextLayer::Route::Xml);
        benchmark::DoNotOptimize(session->document.pageCount());
    }
}
BENCHMARK(BM_OpenBookXml)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the editor shows first: page 1 and the number of pages.
void BM_OpenFirstPage(benchmark::State& state)
{
    const QString path = book(int(state.range(0)));
    Session session;
    OcrTextLayer layer(session.tools);
    for (auto _ : state) {
        OcrDocument first;
        int count = 0;
        if (!layer.dumpPage(path, 1, first, &count)) {
            state.SkipWithError(qPrintable(layer.error()));
            break;
        }
        benchmark::DoNotOptimize(first.page(1));
    }
}
BENCHMARK(BM_OpenFirstPage)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading an already written dump alone.
void BM_ReadDump(benchmark::State& state)
{
    auto session = opened(book(int(state.range(0))), OcrTextLayer::Route::Xml);
    const QString dump = session->tools.workPath(QStringLiteral("01.xml"));
    for (auto _ : state) {
        OcrDocument document;
        QString error;
        benchmark::DoNotOptimize(document.load(dump, &error));
    }
}
BENCHMARK(BM_ReadDump)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// One page change: the shown page is written back, the next one is shown.
void BM_SwitchPage(benchmark::State& state)
{
    auto session = opened(book(int(state.range(0))));
    OcrDocument& document = session->document;
    const int count = document.pageCount();
    int current = 1;
    QStringList shown = document.page(current).lines;
    QString error;
    for (auto _ : state) {
        document.writeBack(current, shown, &error);
        current = current % count + 1;
        shown = document.page(current).lines;
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_SwitchPage)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Saving one edited page: a copy of the book, djvused's set-txt (or djvuxmlparser) on that
// page only, the swap.
void BM_SaveOneEditedPage(benchmark::State& state)
{
    const QString path = book(int(state.range(0)));
    auto session =
        opened(path, state.range(1) ? OcrTextLayer::Route::Xml : OcrTextLayer::Route::Djvused);
    OcrTextLayer layer(session->tools);
    const int page = int(state.range(0)) / 2;
    int round = 0;
    QString error;
    for (auto _ : state) {
        QStringList shown = session->document.page(page).lines;
        shown[0].replace(0, 1, QString::number(++round % 10));
        session->document.writeBack(page, shown, &error);
        if (layer.save(session->document, path) != OcrTextLayer::SaveOutcome::Saved) {
            state.SkipWithError(qPrintable(layer.error()));
            break;
        }
    }
}
// The second argument: 0 djvused, 1 the XML route.
BENCHMARK(BM_SaveOneEditedPage)
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// For comparison: handing djvuxmlparser every page, as a whole-document import does.
void BM_ImportWholeDocument(benchmark::State& state)
{
    const QString path = book(int(state.range(0)));
    auto session = opened(path, OcrTextLayer::Route::Xml);
    OcrDocument& document = session->document;
    QString error;
    for (int p = 1; p <= document.pageCount(); ++p) {
        QStringList shown = document.page(p).lines;
        shown[0].replace(0, 1, QStringLiteral("Z"));
        document.writeBack(p, shown, &error);
    }
    OcrTextLayer layer(session->tools);
    for (auto _ : state) {
        if (layer.save(document, path) != OcrTextLayer::SaveOutcome::Saved) {
            state.SkipWithError(qPrintable(layer.error()));
            break;
        }
    }
}
BENCHMARK(BM_ImportWholeDocument)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--write-book") {
        QList<FixturePage> list;
        for (int p = 1; p <= QByteArray(argv[3]).toInt(); ++p)
            list << generatedPage(p);
        QString error;
        if (!DjvuFixture::build(QString::fromLocal8Bit(argv[2]), list, &error)) {
            std::fprintf(stderr, "cannot build the book: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
