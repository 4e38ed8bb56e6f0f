// The Create pass on a 2,000-page book with a text layer on every page and a 10-page
// contents: our own work (recognition and the script) against the djvused runs, the whole
// run against the three whole-book djvused runs of reading the whole text layer (ls,
// output-txt and the saving run) side by side, and the process's peak memory.
//
// The book is generated once by a child process (so building it does not count towards
// this process's memory) and kept in the system's temporary folder.
#include "CreateRows.h"
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/PageListing.h"
#include "djvu/ToolRunner.h"
#include "jobs/CreateRowReader.h"
#include "links/ContentsWalk.h"
#include "links/CreatePass.h"
#include "links/HyperlinkScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr int kPages = 2000;
constexpr int kFirstContentsPage = 3;
constexpr int kContentsPages = 10;
constexpr int kEntriesPerContentsPage = 40;
constexpr int kLinesPerPage = 30;
constexpr int kWordsPerLine = 9;

QString bookPath()
{
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("tocsmith-bench-book-%1.djvu").arg(kPages));
}

int generate(const QString& path)
{
    QList<FixturePage> pages;
    int printed = 1;
    for (int i = 1; i <= kPages; ++i) {
        FixturePage page;
        int bottom = 3300;
        if (i >= kFirstContentsPage && i < kFirstContentsPage + kContentsPages) {
            for (int e = 0; e < kEntriesPerContentsPage; ++e, bottom -= 75) {
                page.lines << FixtureLine::layout(250, bottom,
                                                  {"Глава", QString::number(printed), "Раздел",
                                                   "книги", "........", QString::number(printed)},
                                                  40, 22, 18);
                printed += 4;
            }
        } else {
            for (int l = 0; l < kLinesPerPage; ++l, bottom -= 100) {
                QStringList words;
                for (int w = 0; w < kWordsPerLine; ++w)
                    words << (w % 3 == 0 ? QStringLiteral("слово") : QStringLiteral("text"));
                page.lines << FixtureLine::layout(250, bottom, words, 40, 22, 18);
            }
        }
        pages << page;
    }
    QString error;
    const QString partial = path + QStringLiteral(".part");
    if (!DjvuFixture::build(partial, pages, &error)) {
        std::fprintf(stderr, "bench_create: %s\n", qPrintable(error));
        return 1;
    }
    return QFile::rename(partial, path) ? 0 : 1;
}

bool ensureBook()
{
    if (QFileInfo::exists(bookPath()))
        return true;
    std::fprintf(stderr, "bench_create: generating %s (once)...\n", qPrintable(bookPath()));
    return QProcess::execute(QCoreApplication::applicationFilePath(),
                             {QStringLiteral("--generate"), bookPath()}) == 0;
}

CreateRow rowFor(const QString& path)
{
    return CreateTest::row(path, kFirstContentsPage, kFirstContentsPage + kContentsPages - 1, 12);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// Work files as the engine leaves them after its two reading runs.
struct Captures
{
    QTemporaryDir work;
    MessageTexts texts;
    RecordingMessageSink messages;
    ToolRunner tools{QCoreApplication::applicationDirPath(), work.path(), &messages};
    qint64 dumpBytes = 0;

    Captures()
    {
        tools.capture("djvused", {bookPath(), "-e", "ls"}, CreatePass::kListingFile);
        tools.capture("djvused", {bookPath(), "-e", "output-txt"}, CreatePass::kDumpFile);
        dumpBytes = QFileInfo(tools.workPath(CreatePass::kDumpFile)).size();
    }
};

Captures& captures()
{
    static Captures c;
    return c;
}

// Our own work: the listing, the streamed walk over the dump, recognition, the script.
void BM_OwnWork(benchmark::State& state)
{
    Captures& c = captures();
    int areas = 0;
    for (auto _ : state) {
        QFile listingFile(c.tools.workPath(CreatePass::kListingFile));
        listingFile.open(QIODevice::ReadOnly);
        const PageListing listing = PageListing::parse(listingFile.readAll());
        HyperlinkScript script;
        EntryRecognition::Settings settings;
        settings.comment = "Go to page";
        settings.offset = 12;
        settings.checkPageCount = true;
        settings.pageCount = listing.pageCount();
        ContentsWalk walk(listing, kFirstContentsPage, kFirstContentsPage + kContentsPages - 1,
                          settings, "rect", "(xor )", script);
        QFile dump(c.tools.workPath(CreatePass::kDumpFile));
        dump.open(QIODevice::ReadOnly);
        while (!dump.atEnd()) {
            QByteArray line = dump.readLine();
            line.chop(1);
            walk.feed(line);
        }
        walk.finish();
        areas = walk.areasWritten();
        benchmark::DoNotOptimize(script.text().size());
    }
    state.counters["areas"] = areas;
    state.counters["dump_MB"] = c.dumpBytes / 1048576.0;
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(BM_OwnWork)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DjvusedListing(benchmark::State& state)
{
    Captures& c = captures();
    for (auto _ : state)
        c.tools.capture("djvused", {bookPath(), "-e", "ls"}, "listing.bench");
}
BENCHMARK(BM_DjvusedListing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DjvusedTextDump(benchmark::State& state)
{
    Captures& c = captures();
    for (auto _ : state)
        c.tools.capture("djvused", {bookPath(), "-e", "output-txt"}, "dump.bench");
}
BENCHMARK(BM_DjvusedTextDump)->Unit(benchmark::kMillisecond)->Iterations(3);

// The book's hyperlink script, from a dry run, written into the work folder under `name`.
QByteArray writeDryRunScript(Captures& c, const QString& name)
{
    QByteArray script;
    RecordingLogSink log;
    CreatePass dry(c.tools, c.texts, log, c.messages);
    dry.setScriptSink([&script](const QString&, const QByteArray& s) { script = s; });
    CreateOptions options;
    options.dryRun = true;
    dry.run(CreateRowReader::jobsOf({rowFor(bookPath())}), options);
    DjvuFixture::writeAll(c.tools.workPath(name), script);
    return script;
}

// The final run: djvused applies the hyperlink script and saves the book.
void BM_DjvusedSave(benchmark::State& state)
{
    Captures& c = captures();
    const QByteArray script = writeDryRunScript(c, "save.bench.dsed");
    QTemporaryDir folder;
    const QString copy = folder.filePath("book.djvu");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        QFile::copy(bookPath(), copy);
        state.ResumeTiming();
        c.tools.discard("djvused", {copy, "-f", "save.bench.dsed", "-s"});
    }
    state.counters["script_KB"] = script.size() / 1024.0;
}
BENCHMARK(BM_DjvusedSave)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole pass: three djvused runs, the safe copy and rename, and our own work.
void BM_CreatePassWhole(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString copy = folder.filePath("book.djvu");
    QTemporaryDir work;
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools(QCoreApplication::applicationDirPath(), work.path(), &messages);
    CreateOptions options;
    options.backup = false;
    int changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        QFile::copy(bookPath(), copy);
        state.ResumeTiming();
        const CreateOutcome outcome = CreatePass(tools, texts, log, messages)
                                          .run(CreateRowReader::jobsOf({rowFor(copy)}), options);
        changed += outcome.filesChanged;
    }
    if (!messages.messages.isEmpty())
        state.SkipWithError(qPrintable(messages.messages.first().text));
    state.counters["files_changed"] = changed;
    state.counters["book_MB"] = QFileInfo(bookPath()).size() / 1048576.0;
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(BM_CreatePassWhole)->Unit(benchmark::kMillisecond)->Iterations(3);

double millisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Side by side on fresh copies: a whole Create run, which reads the listing and the text of
// the contents pages only, and the three runs of a design that dumps the whole text layer.
void BM_WholeRunAgainstThreeWholeBookRuns(benchmark::State& state)
{
    Captures& c = captures();
    writeDryRunScript(c, "old.bench.dsed");
    QTemporaryDir folder;
    const QString copy = folder.filePath("book.djvu");
    CreateOptions options;
    options.backup = false;
    double whole = 0, old = 0;
    for (auto _ : state) {
        QFile::remove(copy);
        QFile::copy(bookPath(), copy);
        old += millisecondsOf([&] {
            c.tools.capture("djvused", {copy, "-e", "ls"}, "listing.bench");
            c.tools.capture("djvused", {copy, "-e", "output-txt"}, "dump.bench");
            c.tools.discard("djvused", {copy, "-f", "old.bench.dsed", "-s"});
        });
        QFile::remove(copy);
        QFile::copy(bookPath(), copy);
        RecordingLogSink log;
        whole += millisecondsOf([&] {
            CreatePass(c.tools, c.texts, log, c.messages)
                .run(CreateRowReader::jobsOf({rowFor(copy)}), options);
        });
    }
    const double n = double(state.iterations());
    state.counters["whole_run_ms"] = whole / n;
    state.counters["three_runs_ms"] = old / n;
    state.counters["ratio"] = whole / old;
}
BENCHMARK(BM_WholeRunAgainstThreeWholeBookRuns)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--generate")
        return generate(QString::fromLocal8Bit(argv[2]));
    if (!ensureBook()) {
        std::fputs("bench_create: could not generate the book\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
