// The page-number map of a 2,000-page book (every page's text read from one djvused run as it
// streams, each page's printed number taken and the map built) against djvused's own
// `output-txt` of the same book, whose output is only read and thrown away. Both run in turns
// in each iteration; the counters give each one's time and their ratio.
#include "DjvuFixture.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "reading/PageNumberMap.h"
#include "reading/PageText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kPages = 2000;

// A running head with the page number, a heading now and then, 30 lines of running text.
FixturePage generatedPage(int number)
{
    FixturePage page;
    page.width = 1200;
    page.height = 1700;
    const QStringList head = {"THE", "RUNNING", "TITLE"};
    if (number % 2)
        page.lines << FixtureLine::layout(20, 1640, head, 30, 8, 6)
                   << FixtureLine::layout(1100, 1640, {QString::number(number - 8)}, 30, 8, 6);
    else
        page.lines << FixtureLine::layout(20, 1640, QStringList{QString::number(number - 8)} + head,
                                          30, 8, 6);
    for (int line = 0; line < 30; ++line) {
        QStringList words;
        for (int w = 0; w < 10; ++w)
            words << QStringLiteral("word%1x%2y%3").arg(number).arg(line).arg(w);
        page.lines << FixtureLine::layout(20, 1560 - line * 50, words, 30, 8, 6);
    }
    return page;
}

QString book()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        QList<FixturePage> pages;
        for (int p = 1; p <= kPages; ++p)
            pages << generatedPage(p);
        path = dir.filePath(QStringLiteral("book.djvu"));
        QString error;
        if (!DjvuFixture::build(path, pages, &error)) {
            std::fprintf(stderr, "cannot build the book: %s\n", qPrintable(error));
            std::exit(1);
        }
    }
    return path;
}

void BM_PageNumberMapAgainstDjvused(benchmark::State& state)
{
    const QString path = book();
    QTemporaryDir work;
    RecordingMessageSink messages;
    ToolRunner tools(QStringLiteral(TOCSMITH_OUT_DIR), work.path(), &messages);
    const QStringList args = {path, QStringLiteral("-e"), QStringLiteral("output-txt")};
    double djvusedSeconds = 0, mapSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        qint64 bytes = 0;
        if (!tools
                 .stream(QStringLiteral("djvused"), args,
                         [&](QByteArrayView piece) { bytes += piece.size(); })
                 .succeeded())
            state.SkipWithError("djvused failed");
        djvusedSeconds += timer.nsecsElapsed() / 1e9;

        timer.restart();
        PageNumberMap map;
        PageTextDumpReader reader([&](int number, PageText&& page) { map.add(number, page); });
        if (!tools
                 .stream(QStringLiteral("djvused"), args,
                         [&](QByteArrayView piece) { reader.feed(piece); })
                 .succeeded() ||
            !reader.finish())
            state.SkipWithError("the map's run failed");
        map.finish();
        const double seconds = timer.nsecsElapsed() / 1e9;
        mapSeconds += seconds;
        state.SetIterationTime(seconds);
        if (map.stretches().size() != 1 || map.pageOf(PrintedNumber::Arabic, 1000) != 1008)
            state.SkipWithError("the map is wrong");
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["djvused_s"] = benchmark::Counter(djvusedSeconds / double(state.iterations()));
    state.counters["map_s"] = benchmark::Counter(mapSeconds / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(mapSeconds / djvusedSeconds);
}
BENCHMARK(BM_PageNumberMapAgainstDjvused)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
