#include "cli/CliLanguage.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/StopSignals.h"
#include "cli/UsageError.h"

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

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: tocsmith-cli ocr-recognise FILE.djvu [--pages LIST] [--all] [--jobs N] "
    "[--ocr-language L] [--no-backup] [--keep-backups N]\n"
    "\n"
    "Recognises the printed text of pages of FILE.djvu and writes it into the document's\n"
    "text layer, so that viewers can search and select it. By default every page without\n"
    "a text layer is recognised; --pages LIST (1,17-18) names the pages, and only those\n"
    "of them without text are recognised unless --all asks to recognise them anyway.\n"
    "Pages are drawn by ddjvu and read by the Tesseract library.\n"
    "\n"
    "  --jobs N          recognise up to N pages at once (default: the processors)\n"
    "  --ocr-language L  Tesseract's languages joined by '+' (default: rus+eng in a\n"
    "                    Russian locale, eng otherwise)\n"
    "Before its change the document is backed up beside it, unless --no-backup:\n"
    "FILE.djvu.backup holds the original, FILE.djvu.backup.2... each later change;\n"
    "--keep-backups N keeps the original's and the N latest (default 5).\n"
    "A failure or a stop (SIGINT, SIGTERM) leaves the document unchanged.\n"
    "\n"
    "Exit status: 0 done, 1 the pages could not be recognised or written, 2 usage error,\n"
    "130 stopped.\n";

const char kHelpRussian[] =
    "Использование: tocsmith-cli ocr-recognise FILE.djvu [--pages LIST] [--all] [--jobs N] "
    "[--ocr-language L] [--no-backup] [--keep-backups N]\n"
    "\n"
    "Распознаёт напечатанный текст страниц FILE.djvu и записывает его в текстовый слой\n"
    "документа, чтобы по нему можно было искать и выделять. По умолчанию распознаются все\n"
    "страницы без текстового слоя; --pages LIST (1,17-18) называет страницы, и из них\n"
    "распознаются только страницы без текста, если --all не велит распознать и остальные.\n"
    "Страницы рисует ddjvu, читает библиотека Tesseract.\n"
    "\n"
    "  --jobs N          распознавать до N страниц сразу (по умолчанию — по числу процессоров)\n"
    "  --ocr-language L  языки Tesseract через '+' (по умолчанию rus+eng в русской локали,\n"
    "                    иначе eng)\n"
    "Перед изменением копия документа сохраняется рядом с ним, если не задан --no-backup:\n"
    "FILE.djvu.backup — исходный, FILE.djvu.backup.2... — каждое следующее изменение;\n"
    "--keep-backups N хранит копию исходного и N последних (по умолчанию 5).\n"
    "Ошибка или остановка (SIGINT, SIGTERM) оставляют документ без изменений.\n"
    "\n"
    "Код завершения: 0 готово, 1 страницы не удалось распознать или записать, 2 неверный\n"
    "вызов, 130 остановлено.\n";

int usage(const QString& problem)
{
    return usageError("ocr-recognise", problem, kHelp, kHelpRussian);
}

// Takes "NAME VALUE" or "NAME=VALUE" out of args, before any "--".
bool takeValue(QStringList* args, const QString& name, QString* value, bool* given)
{
    const qsizetype end = args->indexOf(QLatin1String("--"));
    for (qsizetype i = 0; i < (end < 0 ? args->size() : end); ++i) {
        const QString& a = (*args)[i];
        if (a == name) {
            if (i + 1 >= args->size())
                return false;
            *value = (*args)[i + 1];
            args->remove(i, 2);
            *given = true;
            return true;
        }
        if (a.startsWith(name + QLatin1Char('='))) {
            *value = a.mid(name.size() + 1);
            args->removeAt(i);
            *given = true;
            return true;
        }
    }
    return true;
}

} // namespace

int runOcrRecogniseCommand(const QStringList& arguments)
{
    QStringList args = arguments;
    QString pagesText, jobsText, languages;
    bool pagesGiven = false, jobsGiven = false, languageGiven = false;
    if (!takeValue(&args, QStringLiteral("--pages"), &pagesText, &pagesGiven))
        return usage(EngineTexts::say("e_opt_needs_value").arg(QStringLiteral("--pages")));
    if (!takeValue(&args, QStringLiteral("--jobs"), &jobsText, &jobsGiven))
        return usage(EngineTexts::say("e_opt_needs_value").arg(QStringLiteral("--jobs")));
    if (!takeValue(&args, QStringLiteral("--ocr-language"), &languages, &languageGiven))
        return usage(EngineTexts::say("e_opt_needs_value").arg(QStringLiteral("--ocr-language")));
    int keepBackups = BackupCopy::kKeepDefault;
    QString problem;
    if (!takeKeepBackups(&args, &keepBackups, &problem))
        return usage(problem);
    const CommandArguments split = CommandArguments::split(args);
    if (split.has("--help") || split.has("-h")) {
        std::fputs(CliLanguage::inLocale(kHelp, kHelpRussian), stdout);
        return 0;
    }
    for (const QString& option : split.options)
        if (option != QLatin1String("--no-backup") && option != QLatin1String("--all"))
            return usage(EngineTexts::say("e_cli_unknown_option") + QStringLiteral(": ") + option);
    if (split.names.size() != 1)
        return usage(
            EngineTexts::say(split.names.isEmpty() ? "e_cli_no_document" : "e_cli_one_document"));
    // The tools run in the work folder: a relative name is made whole first.
    const QString file = QFileInfo(split.names.first()).absoluteFilePath();
    const bool all = split.has("--all");
    const int backups = split.has("--no-backup") ? -1 : keepBackups;
    int jobs = std::max(1, QThread::idealThreadCount());
    if (jobsGiven) {
        bool number = false;
        jobs = jobsText.toInt(&number);
        if (!number || jobs < 1 || jobs > 256)
            return usage(
                EngineTexts::say("e_opt_not_whole").arg(QStringLiteral("--jobs"), jobsText));
    }
    QList<ContentsRange> ranges;
    if (pagesGiven && !PageRanges::read(pagesText, &ranges))
        return usage(EngineTexts::say("e_opt_bad_pages").arg(pagesText));
    if (!languageGiven)
        languages = PageRecognizer::languagesFor(
            CliLanguage::localeIsRussian() ? QStringLiteral("ru") : QStringLiteral("en"));

    CommandTools tools;
    if (!tools.ready()) {
        std::fprintf(stderr, "tocsmith-cli ocr-recognise: %s\n",
                     EngineTexts::say("e_cli_no_work").toLocal8Bit().constData());
        return 1;
    }
    const CancelToken& stop = StopSignals::install();
    tools.runner().setCancelToken(&stop);
    auto failed = [&](const QString& text) {
        if (stop.isCancelled()) {
            tools.log.addLine(EngineTexts::say("e_ocr_stopped") + QLatin1Char('\n') +
                              EngineTexts::say("e_not_changed"));
            return StopSignals::kExitStatus;
        }
        tools.messages.showMessage(text, QString());
        return 1;
    };
    QString error;
    if (PageRecognizer::dataFolder(languages, &error).isEmpty())
        return failed(error);

    BookGuard guard(file, &tools.runner(), &tools.log);
    if (!guard.open(&error))
        return failed(error);
    const ToolRun counted = tools.runner().capture(
        QStringLiteral("djvused"), {file, QStringLiteral("-e"), QStringLiteral("n")});
    bool number = false;
    const int pageCount = counted.standardOutput.trimmed().toInt(&number);
    if (!counted.succeeded() || !number)
        return failed(EngineTexts::say("e_could_not_read").arg(file, counted.failureText()));
    QList<int> asked;
    if (ranges.isEmpty()) {
        for (int p = 1; p <= pageCount; ++p)
            asked << p;
    }
    for (const ContentsRange& range : std::as_const(ranges)) {
        if (range.lastPage > pageCount)
            return failed(EngineTexts::say("e_pages_outside")
                              .arg(range.firstPage)
                              .arg(range.lastPage)
                              .arg(file, Plural::count("e_n_pages", pageCount)));
        for (int p = range.firstPage; p <= range.lastPage; ++p)
            asked << p;
    }
    // The pages that already carry text keep it, unless every asked page is to be read.
    QList<int> pages = asked;
    if (!all) {
        const ToolRun printed = tools.runner().capture(
            QStringLiteral("djvused"), {file, QStringLiteral("-e"), PageTexts::commands(asked)});
        const PageTexts texts = PageTexts::parse(printed.standardOutput, asked);
        if (!printed.succeeded() || !texts.ok())
            return failed(EngineTexts::say("e_could_not_read")
                              .arg(file, texts.ok() ? printed.failureText() : texts.error));
        pages.clear();
        for (const PageTexts::Page& page : texts.pages)
            if (!page.hasText)
                pages << page.number;
    }
    if (pages.isEmpty()) {
        tools.log.addLine(EngineTexts::say("e_ocr_nothing").arg(file));
        return 0;
    }
    QElapsedTimer clock;
    clock.start();
    PageRecognition::Settings settings;
    settings.languages = languages;
    if (!languageGiven)
        settings.languageChoices = PageRecognizer::languageChoices(languages);
    settings.jobs = jobs;
    settings.cancel = &stop;
    int done = 0;
    settings.onPage = [&](int page, int words, double seconds) {
        tools.log.addLine(
            QStringLiteral("[%1/%2] ").arg(++done).arg(pages.size()) +
            EngineTexts::say("e_ocr_page_done").arg(page).arg(words).arg(seconds, 0, 'f', 1));
    };
    const PageRecognition::Outcome read =
        PageRecognition::recognise(tools.runner(), file, pages, settings);
    if (!read.ok())
        return failed(read.error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    if (settings.languageChoices.size() > 1)
        tools.log.addLine(
            EngineTexts::say("e_ocr_language_chosen").arg(read.languages).arg(pages.first()));
    // A page where nothing was read keeps having no text layer.
    QMap<int, PageText> kept;
    for (auto it = read.pages.cbegin(); it != read.pages.cend(); ++it) {
        if (it.value().lines.isEmpty())
            tools.log.addLine(EngineTexts::say("e_ocr_empty_page").arg(it.key()));
        else
            kept.insert(it.key(), it.value());
    }
    if (kept.isEmpty())
        return failed(EngineTexts::say("e_ocr_nothing_read").arg(file) + QLatin1Char('\n') +
                      EngineTexts::say("e_not_changed"));
    if (!PageRecognition::keep(tools.runner(), guard, file, kept, backups, &error))
        return failed(error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    tools.log.addLine(
        EngineTexts::say("e_ocr_written").arg(PageRecognition::pageList(kept.keys()), file));
    tools.log.addLine(QStringLiteral("%1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return 0;
}
