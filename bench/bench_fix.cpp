// The Fix pass on a 1,000-page book with 50 hyperlinks on every page: the whole pass, and
// apart from it our own text processing, djvused's dump and djvused's save.
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/AnnotationScanner.h"
#include "djvu/ToolRunner.h"
#include "links/AreaAlignment.h"
#include "links/FixPass.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kPages = 1000;
constexpr int kLinksPerPage = 50;

struct Book
{
    QTemporaryDir dir;
    QString original;
    QByteArray capture; // what djvused -e output-ant prints for it

    Book()
    {
        original = QDir(dir.path()).filePath("book.djvu");
        QList<FixturePage> pages;
        for (int p = 0; p < kPages; ++p) {
            FixturePage page;
            QStringList areas;
            for (int i = 0; i < kLinksPerPage; ++i) {
                // Two columns of contents entries, a few pixels out of line.
                const bool right = i >= kLinksPerPage / 2;
                const int x = (right ? 1300 : 150) + (i * 7 + p) % 11;
                const int w = (right ? 950 : 1000) - (i * 13 + p) % 40;
                const int y = 3300 - (i % (kLinksPerPage / 2)) * 120;
                areas << QStringLiteral("(maparea \"#p%1.djvu\" \"Chapter %2, see rect\" "
                                        "(%3 %4 %5 %6 60) (border #0000ff) (hilite #ffff00))")
                             .arg((p + i) % kPages + 1, 4, 10, QChar('0'))
                             .arg(i + 1)
                             .arg(i % 5 == 0 ? "oval" : "rect")
                             .arg(x)
                             .arg(y)
                             .arg(w);
            }
            page.annotations = areas.join('\n');
            pages << page;
        }
        QString error;
        if (!DjvuFixture::build(original, pages, &error)) {
            std::fprintf(stderr, "cannot build the book: %s\n", qPrintable(error));
            std::abort();
        }
        capture = DjvuFixture::djvused(original, "output-ant").toUtf8();
    }

    QString freshCopy(const QString& name) const
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile::remove(path);
        QFile::copy(original, path);
        return path;
    }
};

Book& book()
{
    static Book instance;
    return instance;
}

void BM_FixPassWhole(benchmark::State& state)
{
    Book& b = book();
    QTemporaryDir work;
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools(QCoreApplication::applicationDirPath(), work.path(), &messages);
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = b.freshCopy("pass.djvu");
        state.ResumeTiming();
        const PassOutcome outcome =
            FixPass(tools, texts, log, messages)
                .run({{QDir(b.dir.path()).path() + "/", "pass.djvu"}}, FixOptions{false});
        if (outcome.filesChanged != 1)
            state.SkipWithError("the pass failed");
        (void)path;
    }
    state.counters["pages"] = kPages;
    state.counters["links"] = kPages * kLinksPerPage;
}

void BM_ScanAlignRewrite(benchmark::State& state)
{
    const QByteArray& capture = book().capture;
    for (auto _ : state) {
        const AnnotationScan scan = AnnotationScanner::scan(capture);
        const AreaAlignment::Result aligned = AreaAlignment::alignScript(scan);
        QByteArray left = AreaAlignment::rewrite(capture, scan.areas, aligned.leftAligned);
        QByteArray script = AreaAlignment::rewrite(capture, scan.areas, aligned.aligned);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(script.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * book().capture.size());
    state.counters["areas"] = double(AnnotationScanner::scan(capture).areas.size());
}

void BM_DjvusedOutputAnt(benchmark::State& state)
{
    QTemporaryDir work;
    ToolRunner tools(QCoreApplication::applicationDirPath(), work.path(), nullptr);
    for (auto _ : state) {
        const ToolRun run =
            tools.capture("djvused", {book().original, "-e", "output-ant"}, "myfile.dsed");
        if (!run.clean())
            state.SkipWithError("djvused failed");
    }
}

void BM_DjvusedSaveScript(benchmark::State& state)
{
    Book& b = book();
    QTemporaryDir work;
    ToolRunner tools(QCoreApplication::applicationDirPath(), work.path(), nullptr);
    const AnnotationScan scan = AnnotationScanner::scan(b.capture);
    const QByteArray script =
        AreaAlignment::rewrite(b.capture, scan.areas, AreaAlignment::alignScript(scan).aligned);
    QFile file(tools.workPath("myfile.dsed"));
    file.open(QIODevice::WriteOnly);
    file.write(script);
    file.close();
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = b.freshCopy("save.djvu");
        state.ResumeTiming();
        const ToolRun run = tools.discard("djvused", {path, "-f", file.fileName(), "-s"});
        if (!run.clean())
            state.SkipWithError("djvused failed");
    }
}

} // namespace

BENCHMARK(BM_FixPassWhole)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScanAlignRewrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DjvusedOutputAnt)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DjvusedSaveScript)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    book(); // built once, outside every measurement
    std::fprintf(stderr, "book: %d pages, %d links, capture %lld bytes\n", kPages,
                 kPages * kLinksPerPage, static_cast<long long>(book().capture.size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
