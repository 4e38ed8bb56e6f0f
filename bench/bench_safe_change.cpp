// A safe change of one page, bundled and indirect: our own part alone on a 1,000-page book
// (copying the set, comparing the files the tool left, renaming), and the whole change with
// djvused's save on a 100-page book (djvused saves an indirect 1,000-page book in about
// three minutes, which would swamp every figure here).
#include "DjvuFixture.h"
#include "djvu/SafeChange.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct Books
{
    QTemporaryDir dir;
    QString bundled;
    QString index;

    explicit Books(int kPages)
    {
        bundled = QDir(dir.path()).filePath("book.djvu");
        index = QDir(dir.path()).filePath("indirect/index.djvu");
        QList<FixturePage> pages;
        for (int p = 0; p < kPages; ++p) {
            FixturePage page;
            page.lines << FixtureLine::layout(200, 3000, {"Chapter", QString::number(p + 1)});
            pages << page;
        }
        QString error;
        if (!DjvuFixture::build(bundled, pages, &error) ||
            !DjvuFixture::buildIndirect(index, pages, &error)) {
            std::fprintf(stderr, "cannot build the books: %s\n", qPrintable(error));
            std::abort();
        }
    }
};

Books& thousand()
{
    static Books instance(1000);
    return instance;
}

Books& hundred()
{
    static Books instance(100);
    return instance;
}

void change(benchmark::State& state, const QString& path, bool runTool)
{
    int round = 0;
    for (auto _ : state) {
        SafeChange change(path);
        QString error;
        bool ok = change.prepare(&error);
        if (ok && runTool)
            ok = DjvuFixture::applyScript(
                change.workingCopy(),
                QStringLiteral("select 2\nset-ant\n(maparea \"#1\" \"%1\" (rect 1 1 5 5))\n.\n")
                    .arg(++round),
                &error);
        if (!ok || !change.commit(&error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
}

void BM_BundledPageChange100(benchmark::State& state)
{
    change(state, hundred().bundled, true);
}
void BM_IndirectPageChange100(benchmark::State& state)
{
    change(state, hundred().index, true);
}
void BM_BundledOwnPart1000(benchmark::State& state)
{
    change(state, thousand().bundled, false);
}
void BM_IndirectOwnPart1000(benchmark::State& state)
{
    change(state, thousand().index, false);
}

BENCHMARK(BM_BundledPageChange100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndirectPageChange100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BundledOwnPart1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndirectOwnPart1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    thousand(); // built once, outside every measurement
    hundred();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
