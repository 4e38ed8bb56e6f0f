#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "cli/BatchOptions.h"
#include "cli/BatchRunner.h"
#include "cli/CliLanguage.h"
#include "cli/CliWorkFolder.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "cli/DocumentLoop.h"
#include "cli/LastMessageSink.h"
#include "cli/StopSignals.h"
#include "cli/UsageError.h"
#include "djvu/ToolRunner.h"
#include "links/FixPass.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kFixUsage[] =
    "Usage: tocsmith-cli fix [--no-backup] [--keep-backups N] [--language FILE.lng] FILE.djvu...\n"
    "\n"
    "Aligns the rectangle and oval hyperlinks of each document page by page: the links of\n"
    "a page fall into a left and a right column, and every link of a column gets the\n"
    "column's left edge and width. Nothing else of the annotations changes.\n"
    "The files are treated in order; the first failure stops the run, and the files\n"
    "before it stay done.\n"
    "\n"
    "With --jobs N > 1 or --keep-going every file is tried instead.\n"
    "\n"
    "Options:\n"
    "  --no-backup           do not back each file up beside it (FILE.djvu.backup holds\n"
    "                        the original, FILE.djvu.backup.2... each later change)\n"
    "  --keep-backups N      keep the original's backup and the N latest (default 5)\n"
    "  --language FILE.lng   take the log and message texts from this language file\n"
    "  -h, --help            show this help\n"
    "\n"
    "A file whose links are already aligned is left untouched and reported unchanged.\n"
    "The run ends with a line that counts the files changed, unchanged and failed.\n"
    "\n"
    "Exit status: 0 every file was aligned, 1 a file failed, 2 wrong usage, 130 stopped by\n"
    "SIGINT or SIGTERM (the file being worked on stays as it was).\n";

const char kFixUsageRussian[] =
    "Использование: tocsmith-cli fix [--no-backup] [--keep-backups N] [--language FILE.lng] "
    "FILE.djvu...\n"
    "\n"
    "Выравнивает прямоугольные и овальные гиперссылки каждого документа постранично:\n"
    "ссылки страницы делятся на левый и правый столбцы, и каждая ссылка столбца получает\n"
    "его левый край и ширину. Остальные аннотации не меняются.\n"
    "Файлы обрабатываются по порядку; первая ошибка останавливает запуск, а файлы до неё\n"
    "остаются обработанными.\n"
    "\n"
    "С --jobs N > 1 или --keep-going обрабатывается каждый файл.\n"
    "\n"
    "Параметры:\n"
    "  --no-backup           не сохранять копию файла рядом с ним (FILE.djvu.backup —\n"
    "                        исходный файл, FILE.djvu.backup.2... — каждое следующее изменение)\n"
    "  --keep-backups N      хранить копию исходного файла и N последних (по умолчанию 5)\n"
    "  --language FILE.lng   брать тексты журнала и сообщений из этого файла языка\n"
    "  -h, --help            показать эту справку\n"
    "\n"
    "Файл, ссылки которого уже выровнены, не трогается и считается оставленным без\n"
    "изменений. Запуск кончается строкой с числом изменённых, оставленных без изменений\n"
    "и ошибочных файлов.\n"
    "\n"
    "Код завершения: 0 все файлы выровнены, 1 ошибка в файле, 2 неверный вызов, 130\n"
    "остановлено SIGINT или SIGTERM (обрабатываемый файл остаётся как был).\n";

int refuse(const QString& what)
{
    return usageError("fix", what, kFixUsage, kFixUsageRussian);
}

} // namespace

int runFixCommand(const QStringList& arguments)
{
    QStringList args = arguments;
    BatchOptions batch;
    QString batchError;
    if (!BatchOptions::take(&args, &batch, &batchError))
        return refuse(batchError);
    bool backup = true;
    int keepBackups = BackupCopy::kKeepDefault;
    QString language;
    QStringList files;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnd || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            std::fputs(CliLanguage::inLocale(kFixUsage, kFixUsageRussian), stdout);
            std::fputs(BatchOptions::helpText(), stdout);
            return 0;
        } else if (arg == QLatin1String("--no-backup")) {
            backup = false;
        } else if (arg == QLatin1String("--keep-backups") ||
                   arg.startsWith(QLatin1String("--keep-backups="))) {
            QStringList option = args.mid(i, arg.contains(u'=') ? 1 : 2);
            QString problem;
            if (!takeKeepBackups(&option, &keepBackups, &problem))
                return refuse(problem);
            i += arg.contains(u'=') ? 0 : 1;
        } else if (arg == QLatin1String("--language")) {
            if (i + 1 >= args.size())
                return refuse(EngineTexts::say("e_opt_language_name"));
            language = args[++i];
        } else if (arg.startsWith(QLatin1String("--language="))) {
            language = arg.mid(int(sizeof("--language=")) - 1);
        } else {
            return refuse(EngineTexts::say("e_opt_unknown_quoted").arg(arg));
        }
    }
    if (files.isEmpty())
        return refuse(EngineTexts::say("e_opt_no_file"));

    MessageTexts texts;
    if (!CliLanguage::choose(language, &texts))
        return refuse(EngineTexts::say("e_opt_no_language").arg(language));

    if (batch.jobs > 1) {
        QStringList paths;
        for (const QString& file : std::as_const(files))
            paths << QFileInfo(file).absoluteFilePath();
        return BatchRunner(QStringLiteral("fix"), args, paths, batch).run();
    }

    ConsoleLogSink log;
    ConsoleMessageSink console(&log);
    LastMessageSink messages(console, texts);
    // A private work folder, so that two runs at once never mix their work files.
    CliWorkFolder work;
    if (!work.isValid()) {
        std::fprintf(stderr, "tocsmith-cli fix: %s\n",
                     EngineTexts::say("e_cli_no_work_because")
                         .arg(work.errorString())
                         .toLocal8Bit()
                         .constData());
        return 1;
    }
    ToolRunner tools(QCoreApplication::applicationDirPath(), work.path(), &messages,
                     texts.text(QStringLiteral("mes3")));

    QList<FixRow> rows;
    for (const QString& file : files) {
        const QFileInfo info(file);
        rows.append({info.absolutePath() + QLatin1Char('/'), info.fileName()});
    }
    FixPass pass(tools, texts, log, messages);
    pass.setControl(PassControl(nullptr, &StopSignals::install()));
    if (batch.perDocument())
        return DocumentLoop::run(QStringLiteral("fix"), int(rows.size()), batch, [&](int i) {
            DocumentRecord record;
            record.path = QFileInfo(files[i]).absoluteFilePath();
            messages.last.clear();
            QElapsedTimer timer;
            timer.start();
            const PassOutcome outcome = pass.run({rows[i]}, FixOptions{backup, keepBackups});
            log.finishLine();
            record.seconds = double(timer.elapsed()) / 1000;
            record.outcome = DocumentLoop::outcomeOf(outcome.filesChanged, outcome.filesFailed,
                                                     outcome.cancelled, outcome.ranToEnd);
            if (record.outcome != QLatin1String("changed"))
                record.message = messages.last;
            return record;
        });
    const PassOutcome outcome = pass.run(rows, FixOptions{backup, keepBackups});
    log.finishLine();
    DocumentLoop::printSummary(outcome, int(rows.size()));
    if (outcome.cancelled)
        return StopSignals::kExitStatus;
    return outcome.ranToEnd && outcome.filesFailed == 0 ? 0 : 1;
}
