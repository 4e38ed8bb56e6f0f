#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/StopSignals.h"

#include "base/CancelToken.h"
#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "djvu/BookGuard.h"
#include "djvu/PageTexts.h"
#include "jobs/PageRanges.h"
#include "ocr/PageRecognition.h"
#include "ocr/PageRecognizer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <variant>

namespace {

// What ocr-recognise is asked to do.
struct Request
{
    QString file;
    QList<ContentsRange> ranges; // empty: every page
    bool all = false;            // the pages with text too
    int backups = BackupCopy::kKeepDefault;
    int jobs = 1;
    QString languages;
    bool languageGiven = false;
};

// One run over the document. A failure that a stop caused is said as the stop.
class RecogniseRun
{
public:
    RecogniseRun(CommandTools& tools, const Request& request)
        : tools_(tools), request_(request), stop_(StopSignals::install())
    {
        tools_.runner().setCancelToken(&stop_);
    }
    int run();

private:
    int failed(const QString& text);
    // The pages to recognise, or the exit status when they cannot be told.
    std::variant<QList<int>, int> choosePages();
    int recognise(BookGuard& guard, const QList<int>& pages);

    CommandTools& tools_;
    const Request& request_;
    const CancelToken& stop_;
};

int RecogniseRun::failed(const QString& text)
{
    if (stop_.isCancelled()) {
        tools_.log.addLine(EngineTexts::say("e_ocr_stopped") + QLatin1Char('\n') +
                           EngineTexts::say("e_not_changed"));
        return StopSignals::kExitStatus;
    }
    return tools_.fail(text);
}

std::variant<QList<int>, int> RecogniseRun::choosePages()
{
    const QString& file = request_.file;
    const ToolRun counted = tools_.runner().capture(
        QStringLiteral("djvused"), {file, QStringLiteral("-e"), QStringLiteral("n")});
    bool number = false;
    const int pageCount = counted.standardOutput.trimmed().toInt(&number);
    if (!counted.succeeded() || !number)
        return failed(EngineTexts::say("e_could_not_read").arg(file, counted.failureText()));
    QList<int> asked;
    if (request_.ranges.isEmpty()) {
        for (int p = 1; p <= pageCount; ++p)
            asked << p;
    }
    for (const ContentsRange& range : request_.ranges) {
        if (range.lastPage > pageCount)
            return failed(EngineTexts::say("e_pages_outside")
                              .arg(range.firstPage)
                              .arg(range.lastPage)
                              .arg(file, Plural::count("e_n_pages", pageCount)));
        for (int p = range.firstPage; p <= range.lastPage; ++p)
            asked << p;
    }
    // The pages that already carry text keep it, unless every asked page is to be read.
    if (request_.all)
        return asked;
    const ToolRun printed = tools_.runner().capture(
        QStringLiteral("djvused"), {file, QStringLiteral("-e"), PageTexts::commands(asked)});
    const PageTexts texts = PageTexts::parse(printed.standardOutput, asked);
    if (!printed.succeeded() || !texts.ok())
        return failed(EngineTexts::say("e_could_not_read")
                          .arg(file, texts.ok() ? printed.failureText() : texts.error));
    QList<int> pages;
    for (const PageTexts::Page& page : texts.pages)
        if (!page.hasText)
            pages << page.number;
    return pages;
}

int RecogniseRun::run()
{
    QString error;
    if (PageRecognizer::dataFolder(request_.languages, &error).isEmpty())
        return failed(error);
    BookGuard guard(request_.file, &tools_.runner(), &tools_.log);
    if (!guard.open(&error))
        return failed(error);
    const std::variant<QList<int>, int> chosen = choosePages();
    if (const int* status = std::get_if<int>(&chosen))
        return *status;
    const QList<int>& pages = std::get<QList<int>>(chosen);
    if (pages.isEmpty()) {
        tools_.log.addLine(EngineTexts::say("e_ocr_nothing").arg(request_.file));
        return 0;
    }
    return recognise(guard, pages);
}

int RecogniseRun::recognise(BookGuard& guard, const QList<int>& pages)
{
    const QString& file = request_.file;
    QElapsedTimer clock;
    clock.start();
    PageRecognition::Settings settings;
    settings.languages = request_.languages;
    if (!request_.languageGiven)
        settings.languageChoices = PageRecognizer::languageChoices(request_.languages);
    settings.jobs = request_.jobs;
    settings.cancel = &stop_;
    int done = 0;
    settings.onPage = [&](int page, int words, double seconds) {
        tools_.log.addLine(
            QStringLiteral("[%1/%2] ").arg(++done).arg(pages.size()) +
            EngineTexts::say("e_ocr_page_done").arg(page).arg(words).arg(seconds, 0, 'f', 1));
    };
    const PageRecognition::Outcome read =
        PageRecognition::recognise(tools_.runner(), file, pages, settings);
    if (!read.ok())
        return failed(read.error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    if (settings.languageChoices.size() > 1)
        tools_.log.addLine(
            EngineTexts::say("e_ocr_language_chosen").arg(read.languages).arg(pages.first()));
    // A page where nothing was read keeps having no text layer.
    QMap<int, PageText> kept;
    for (auto it = read.pages.cbegin(); it != read.pages.cend(); ++it) {
        if (it.value().lines.isEmpty())
            tools_.log.addLine(EngineTexts::say("e_ocr_empty_page").arg(it.key()));
        else
            kept.insert(it.key(), it.value());
    }
    if (kept.isEmpty())
        return failed(EngineTexts::say("e_ocr_nothing_read").arg(file) + QLatin1Char('\n') +
                      EngineTexts::say("e_not_changed"));
    QString error;
    if (!PageRecognition::keep(tools_.runner(), guard, file, kept, request_.backups, &error))
        return failed(error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    tools_.log.addLine(
        EngineTexts::say("e_ocr_written").arg(PageRecognition::pageList(kept.keys()), file));
    tools_.log.addLine(QStringLiteral("%1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return 0;
}

} // namespace

int runOcrRecogniseCommand(const QStringList& args)
{
    Command command("ocr-recognise", [](const QString& option) {
        return EngineTexts::say("e_cli_unknown_option") + QStringLiteral(": ") + option;
    });
    Request request;
    QString pagesText, jobsText;
    bool pagesGiven = false, jobsGiven = false, noBackup = false;
    const auto given = [](QString* text, bool* seen) {
        return [text, seen](const QString& v, QString*) {
            *text = v;
            *seen = true;
            return true;
        };
    };
    // The pages and the backups are told of in the opening and the closing texts.
    constexpr OptionHelp inOpening = CommandLine::describedIn("ocr-recognise");
    constexpr OptionHelp inEnd = CommandLine::describedIn("ocr-recognise:end");
    command.options.value(QStringLiteral("--jobs"), "ocr-recognise --jobs",
                          given(&jobsText, &jobsGiven));
    command.options.value(QStringLiteral("--ocr-language"), "ocr-recognise --ocr-language",
                          given(&request.languages, &request.languageGiven));
    command.options.value(QStringLiteral("--pages"), inOpening, given(&pagesText, &pagesGiven));
    command.options.flag(QStringLiteral("--all"), inOpening, &request.all);
    command.options.value(
        QStringLiteral("--keep-backups"), inEnd,
        [&request](const QString& v, QString* problem) {
            return readKeepBackups(v, &request.backups, problem);
        },
        "e_cli_keep_backups");
    command.options.flag(QStringLiteral("--no-backup"), inEnd, &noBackup);
    command.options.describe(inEnd.key);
    QString name;
    if (const std::optional<int> status = command.readOne(args, &name))
        return *status;
    // The tools run in the work folder: a relative name is made whole first.
    request.file = QFileInfo(name).absoluteFilePath();
    if (noBackup)
        request.backups = -1;
    request.jobs = std::max(1, QThread::idealThreadCount());
    if (jobsGiven) {
        bool number = false;
        request.jobs = jobsText.toInt(&number);
        if (!number || request.jobs < 1 || request.jobs > 256)
            return command.refuse(
                EngineTexts::say("e_opt_not_whole").arg(QStringLiteral("--jobs"), jobsText));
    }
    if (pagesGiven && !PageRanges::read(pagesText, &request.ranges))
        return command.refuse(EngineTexts::say("e_opt_bad_pages").arg(pagesText));
    if (!request.languageGiven)
        request.languages = PageRecognizer::languagesFor(
            CliLanguage::localeIsRussian() ? QStringLiteral("ru") : QStringLiteral("en"));

    CommandTools tools;
    if (!tools.ready())
        return command.noWorkFolder();
    return RecogniseRun(tools, request).run();
}
