#include "cli/CliLanguage.h"
#include "cli/CommandTools.h"
#include "cli/UsageError.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/Commands.h"
#include "cli/OcrCommandSupport.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: tocsmith-cli ocr-import FILE.djvu TEXT [--no-backup] [--keep-backups N] [--route "
    "djvused|xml]\n"
    "\n"
    "Writes the corrected words of TEXT (as ocr-export printed it, '-' for standard input)\n"
    "into the text layer of FILE.djvu. Only letters change: every word keeps its box, so\n"
    "each line of a page must keep its number of words (spaces). Pages missing from TEXT\n"
    "stay as they are. If any page does not match, the document is not changed at all.\n"
    "Before its change the document is backed up beside it, unless --no-backup:\n"
    "FILE.djvu.backup holds the original, FILE.djvu.backup.2... each later change;\n"
    "--keep-backups N keeps the original's and the N latest (default 5).\n"
    "'--' ends the options: the names after it are taken as they are.\n"
    "\n"
    "  --route xml  read and write through djvutoxml and djvuxmlparser instead of djvused\n"
    "\n"
    "Exit status: 0 done, 1 the text did not match or the document could not be changed,\n"
    "2 usage error.\n";

const char kHelpRussian[] =
    "Использование: tocsmith-cli ocr-import FILE.djvu TEXT [--no-backup] [--keep-backups N] "
    "[--route djvused|xml]\n"
    "\n"
    "Записывает исправленные слова из TEXT (как его вывела ocr-export, '-' для\n"
    "стандартного ввода) в текстовый слой FILE.djvu. Меняются только буквы: каждое слово\n"
    "сохраняет свою рамку, поэтому в каждой строке страницы должно остаться столько же\n"
    "слов (пробелов). Страницы, которых нет в TEXT, не меняются. Если хоть одна страница\n"
    "не совпадает, документ не меняется вовсе.\n"
    "Перед изменением копия документа сохраняется рядом с ним, если не задан --no-backup:\n"
    "FILE.djvu.backup — исходный, FILE.djvu.backup.2... — каждое следующее изменение;\n"
    "--keep-backups N хранит копию исходного и N последних (по умолчанию 5).\n"
    "'--' завершает параметры: имена после него берутся как есть.\n"
    "\n"
    "  --route xml  читать и писать через djvutoxml и djvuxmlparser, а не через djvused\n"
    "\n"
    "Код завершения: 0 готово, 1 текст не совпал или документ не удалось изменить,\n"
    "2 неверный вызов.\n";

int usage(const QString& problem)
{
    return usageError("ocr-import", problem, kHelp, kHelpRussian);
}

} // namespace

int runOcrImportCommand(const QStringList& arguments)
{
    QStringList args = arguments;
    OcrTextLayer::Route route = OcrTextLayer::Route::Djvused;
    const qsizetype optionsEnd = args.indexOf(QLatin1String("--"));
    const qsizetype routeAt = args.indexOf(QLatin1String("--route"));
    if (routeAt >= 0 && (optionsEnd < 0 || routeAt < optionsEnd)) {
        if (routeAt + 1 >= args.size() || !OcrTextLayer::parseRoute(args[routeAt + 1], &route))
            return usage(EngineTexts::say("e_cli_route"));
        args.remove(routeAt, 2);
    }
    ImportArguments given;
    QString problem;
    if (!ImportArguments::read(args, &given, &problem))
        return usage(problem);
    if (given.help) {
        std::fputs(CliLanguage::inLocale(kHelp, kHelpRussian), stdout);
        return 0;
    }
    const QStringList names{given.file, given.text};
    const QString& file = given.file;

    CommandTools tools;
    if (!tools.ready()) {
        std::fprintf(stderr, "tocsmith-cli ocr-import: %s\n",
                     EngineTexts::say("e_cli_no_work").toLocal8Bit().constData());
        return 1;
    }
    auto failed = [&](const QString& text) {
        tools.messages.showMessage(text, QString());
        return 1;
    };
    QByteArray text;
    QString error;
    if (!readTextArgument(names[1], &text, &error))
        return failed(error);
    const OcrTextForm::Parsed parsed = OcrTextForm::read(text);
    if (!parsed.errors.isEmpty())
        return failed((QStringLiteral("%1: %2\n") + EngineTexts::say("e_not_changed"))
                          .arg(names[1], parsed.errors.join(QStringLiteral("\n"))));

    tools.log.addLine(EngineTexts::say("e_reading_layer").arg(file));
    OcrDocument document;
    OcrTextLayer layer(tools.runner());
    layer.setRoute(route);
    if (!layer.dump(file, document)) {
        if (!layer.errorShown())
            failed(layer.error());
        return 1;
    }
    if (parsed.pageCount != document.pageCount())
        return failed(EngineTexts::say("e_wrong_page_count")
                          .arg(Plural::count("e_n_pages", parsed.pageCount), file,
                               Plural::count("e_n_pages", document.pageCount())));
    QStringList problems;
    for (auto it = parsed.pages.cbegin(); it != parsed.pages.cend(); ++it) {
        const QString problem = document.mismatch(it.key(), it.value());
        if (!problem.isEmpty())
            problems << EngineTexts::say("e_page_problem").arg(it.key()).arg(problem);
    }
    if (!problems.isEmpty())
        return failed(problems.join(u'\n') + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    for (auto it = parsed.pages.cbegin(); it != parsed.pages.cend(); ++it)
        if (!document.writeBack(it.key(), it.value(), &error))
            return failed(error);

    const QList<int> changed = document.changedPages();
    layer.setBackups(given.backups());
    QStringList numbers;
    for (int page : changed)
        numbers << QString::number(page);
    switch (layer.save(document, file)) {
    case OcrTextLayer::SaveOutcome::NothingChanged:
        tools.log.addLine(EngineTexts::say("e_no_word_differs"));
        return 0;
    case OcrTextLayer::SaveOutcome::Saved:
        tools.log.addLine(
            EngineTexts::say("e_pages_changed").arg(numbers.join(QStringLiteral(", "))));
        return 0;
    case OcrTextLayer::SaveOutcome::Failed:
    case OcrTextLayer::SaveOutcome::ChangedSinceRead:
        if (!layer.errorShown())
            failed(layer.error() + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
        return 1;
    }
    return 1;
}
