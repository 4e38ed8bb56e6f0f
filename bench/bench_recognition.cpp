// Recognition of pages without text: one printed page (drawn by ddjvu, read by Tesseract's
// library), and a book of eight such pages recognised with one and with two jobs at once.
// "bench_recognition --book FILE.djvu PAGES" recognises those pages of a real book instead.
#include "DjvuFixture.h"
#include "djvu/ToolRunner.h"
#include "ocr/PageRecognition.h"
#include "ocr/PageRecognizer.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A contents page of 20 entries.
FixturePage printedPage(int number)
{
    FixturePage page;
    page.hasText = false;
    page.printed << QStringLiteral("CONTENTS");
    for (int i = 1; i <= 20; ++i)
        page.printed << QStringLiteral("%1.%2 Section number %2 of part %1 %3")
                            .arg(number)
                            .arg(i)
                            .arg(number * 20 + i);
    page.printedScale = 3;
    return page;
}

const QString& book()
{
    static const QString path = [] {
        const QString p = folder().filePath("printed.djvu");
        QList<FixturePage> pages;
        for (int i = 1; i <= 8; ++i)
            pages << printedPage(i);
        QString error;
        if (!DjvuFixture::build(p, pages, &error))
            qFatal("%s", qPrintable(error));
        return p;
    }();
    return path;
}

QString given; // --book FILE
QList<int> givenPages;

ToolRunner runner()
{
    return ToolRunner(QCoreApplication::applicationDirPath(), folder().path(), nullptr);
}

void BM_RecognisePage(benchmark::State& state)
{
    ToolRunner tools = runner();
    PageRecognizer recognizer(tools, QStringLiteral("eng"));
    const QString path = given.isEmpty() ? book() : given;
    const int page = given.isEmpty() ? 1 : givenPages.value(0, 1);
    for (auto _ : state) {
        PageText text;
        QString error;
        if (!recognizer.recognise(path, page, &text, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RecognisePage)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every page of the book, with state.range(0) jobs.
void BM_RecogniseBook(benchmark::State& state)
{
    ToolRunner tools = runner();
    const QString path = given.isEmpty() ? book() : given;
    QList<int> pages = givenPages;
    if (given.isEmpty())
        pages = {1, 2, 3, 4, 5, 6, 7, 8};
    PageRecognition::Settings settings;
    settings.jobs = int(state.range(0));
    for (auto _ : state) {
        const PageRecognition::Outcome out =
            PageRecognition::recognise(tools, path, pages, settings);
        if (!out.ok())
            state.SkipWithError(qPrintable(out.error));
    }
    state.counters["pages"] = double(pages.size());
}
BENCHMARK(BM_RecogniseBook)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--book"));
    if (at > 0 && at + 2 < args.size()) {
        given = args[at + 1];
        for (const QString& p : args[at + 2].split(QLatin1Char(',')))
            givenPages << p.toInt();
        argc = int(at);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
