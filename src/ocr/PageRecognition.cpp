#include "ocr/PageRecognition.h"

#include "base/CancelToken.h"
#include "base/EngineTexts.h"
#include "djvu/BookGuard.h"
#include "djvu/PageTexts.h"
#include "djvu/SafeChange.h"
#include "djvu/ToolRunner.h"
#include "ocr/PageRecognizer.h"
#include "reading/PageLines.h"

#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace PageRecognition {

namespace {

int wordCount(const PageText& text)
{
    int words = 0;
    for (const TextLine& line : text.lines)
        words += int(line.words.size());
    return words;
}

} // namespace

bool parseMode(const QString& name, Mode* mode)
{
    if (name == QLatin1String("auto"))
        *mode = Mode::Auto;
    else if (name == QLatin1String("always"))
        *mode = Mode::Always;
    else if (name == QLatin1String("never"))
        *mode = Mode::Never;
    else
        return false;
    return true;
}

bool poorText(const PageText& text)
{
    return wordCount(text) < 3;
}

bool wanted(Mode mode, const PageText& text)
{
    switch (mode) {
    case Mode::Never:
        return false;
    case Mode::Always:
        return true;
    case Mode::Auto:
        return !text.hasLayer || poorText(text);
    }
    return false;
}

namespace {

struct Done
{
    int page;
    int words;
    double seconds;
};

} // namespace

Outcome recognise(const ToolRunner& tools, const QString& path, const QList<int>& pages,
                  const Settings& settings)
{
    Outcome out;
    if (pages.isEmpty())
        return out;
    const bool choose = settings.languageChoices.size() > 1;
    QString languages = choose ? settings.languageChoices.first() : settings.languages;
    QString error;
    if (PageRecognizer::dataFolder(languages, &error).isEmpty()) {
        out.error = error;
        return out;
    }
    // The first page is read with every language set; the surest reads the rest.
    qsizetype first = 0;
    if (choose) {
        ToolRunner runner(tools.exeFolder(), tools.workFolder(), nullptr);
        runner.setCancelToken(settings.cancel);
        QList<double> confidences;
        QList<PageText> texts;
        QElapsedTimer clock;
        clock.start();
        for (const QString& choice : settings.languageChoices) {
            PageRecognizer recognizer(runner, choice);
            recognizer.setCancelToken(settings.cancel);
            recognizer.setOneBlockToo(settings.oneBlockToo);
            recognizer.setMarginsOnly(settings.marginsOnly);
            PageText text;
            if (!recognizer.recognise(path, pages.first(), &text, &error)) {
                out.error = settings.cancel && settings.cancel->isCancelled()
                                ? EngineTexts::say("e_ocr_stopped")
                                : error;
                out.cancelled = settings.cancel && settings.cancel->isCancelled();
                return out;
            }
            confidences << recognizer.confidence();
            texts << std::move(text);
        }
        const qsizetype best = bestChoice(confidences);
        languages = settings.languageChoices[best];
        if (settings.onPage)
            settings.onPage(pages.first(), wordCount(texts[best]), clock.elapsed() / 1000.0);
        out.pages.insert(pages.first(), std::move(texts[best]));
        first = 1;
    }
    out.languages = languages;
    if (first == pages.size())
        return out;
    CancelToken stop; // every job's: set by a failure or by the caller's stop
    std::mutex mutex;
    std::condition_variable changed;
    QList<Done> done;
    int running = std::clamp(settings.jobs, 1, int(pages.size() - first));
    std::atomic<qsizetype> next{first};
    auto work = [&] {
        ToolRunner runner(tools.exeFolder(), tools.workFolder(), nullptr);
        runner.setCancelToken(&stop);
        PageRecognizer recognizer(runner, languages);
        recognizer.setCancelToken(&stop);
        recognizer.setOneBlockToo(settings.oneBlockToo);
        recognizer.setMarginsOnly(settings.marginsOnly);
        for (qsizetype i = next++; i < pages.size() && !stop.isCancelled(); i = next++) {
            QElapsedTimer clock;
            clock.start();
            PageText text;
            QString why;
            const bool read = recognizer.recognise(path, pages[i], &text, &why);
            std::lock_guard lock(mutex);
            if (!read && settings.keepGoing && !stop.isCancelled()) {
                out.failed.insert(pages[i], why);
                continue;
            }
            if (!read) {
                if (out.error.isEmpty() && !stop.isCancelled())
                    out.error = why;
                stop.cancel();
                break;
            }
            const int words = wordCount(text);
            out.pages.insert(pages[i], std::move(text));
            done.append({pages[i], words, clock.elapsed() / 1000.0});
            changed.notify_all();
        }
        std::lock_guard lock(mutex);
        --running;
        changed.notify_all();
    };
    std::vector<std::thread> threads;
    for (int j = running; j > 0; --j)
        threads.emplace_back(work);
    // Progress is told on the caller's thread; its stop is passed on to every job.
    {
        std::unique_lock lock(mutex);
        while (running > 0 || !done.isEmpty()) {
            changed.wait_for(lock, std::chrono::milliseconds(50));
            if (settings.cancel && settings.cancel->isCancelled())
                stop.cancel();
            const QList<Done> told = std::exchange(done, {});
            if (!settings.onPage)
                continue;
            lock.unlock();
            for (const Done& d : told)
                settings.onPage(d.page, d.words, d.seconds);
            lock.lock();
        }
    }
    for (std::thread& t : threads)
        t.join();
    if (settings.cancel && settings.cancel->isCancelled()) {
        out.cancelled = true;
        out.error = EngineTexts::say("e_ocr_stopped");
    }
    if (!out.error.isEmpty()) {
        out.pages.clear();
        out.failed.clear();
    }
    return out;
}

qsizetype bestChoice(const QList<double>& confidences)
{
    // A few points either way are the noise of one page, not another language.
    constexpr double kClearly = 5.0;
    qsizetype best = 0;
    for (qsizetype i = 1; i < confidences.size(); ++i)
        if (confidences[i] > confidences[best] + kClearly)
            best = i;
    return best;
}

bool keep(ToolRunner& tools, BookGuard& guard, const QString& path,
          const QMap<int, PageText>& pages, int backups, QString* error)
{
    QByteArray script;
    QList<int> numbers;
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        script += "select " + QByteArray::number(it.key()) + "\nset-txt\n" +
                  PageLines::expression(it.value()) + ".\n";
        numbers << it.key();
    }
    if (numbers.isEmpty())
        return true;
    const QString scriptFile = QStringLiteral("ocr.dsed");
    if (!tools.writeWorkFile(scriptFile, script, error))
        return false;
    SafeChange change(path, &tools, &guard);
    change.setBackups(backups);
    if (!change.prepare(error))
        return false;
    const ToolRun saved = tools.discard(QStringLiteral("djvused"),
                                        {change.workingCopy(), QStringLiteral("-f"),
                                         tools.workPath(scriptFile), QStringLiteral("-s")});
    QFile::remove(tools.workPath(scriptFile));
    if (!saved.clean()) {
        *error = EngineTexts::say("e_could_not_change").arg(path, saved.failureText());
        return false;
    }
    // Every page must read back with the words it was given.
    const ToolRun printed =
        tools.capture(QStringLiteral("djvused"),
                      {change.workingCopy(), QStringLiteral("-e"), PageTexts::commands(numbers)});
    const PageTexts back = PageTexts::parse(printed.standardOutput, numbers);
    bool same = printed.succeeded() && back.ok() && back.pages.size() == numbers.size();
    for (const PageTexts::Page& page : back.pages) {
        PageText read;
        QString why;
        const PageText& given = pages[page.number];
        same = same && PageText::parse(page.text, &read, &why) &&
               read.lines.size() == given.lines.size();
        for (qsizetype i = 0; same && i < read.lines.size(); ++i)
            same = read.lines[i].text() == given.lines[i].text();
    }
    if (!same) {
        *error = EngineTexts::say("e_could_not_change")
                     .arg(path, back.ok() ? printed.failureText() : back.error);
        return false;
    }
    if (!change.commit(error)) {
        *error = EngineTexts::say("e_left_as_is").arg(path, *error);
        return false;
    }
    guard.record();
    return true;
}

QString pageList(const QList<int>& pages)
{
    QStringList parts;
    for (qsizetype i = 0; i < pages.size();) {
        qsizetype j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1)
            ++j;
        parts << (j == i ? QString::number(pages[i])
                         : QStringLiteral("%1-%2").arg(pages[i]).arg(pages[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace PageRecognition
