#include "cli/CliLanguage.h"
#include "cli/CommandTools.h"
#include "cli/UsageError.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/Commands.h"
#include "djvu/BookGuard.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineJson.h"
#include "outline/OutlineText.h"

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: tocsmith-cli outline-import [--no-backup] [--keep-backups N] [--format text|json]\n"
    "       FILE.djvu TEXT\n"
    "\n"
    "Writes TEXT (as outline-export prints it, '-' for standard input) as the outline\n"
    "(bookmarks) of FILE.djvu, replacing the outline it has; an empty TEXT removes it.\n"
    "Each line: two spaces per level, the title, a tab, the target. A target that is a\n"
    "number is that page of the document, written in the form the document's outline\n"
    "already uses for it; any other target is written as it stands.\n"
    "A line without a tab, an indent deeper by more than one level than the line before,\n"
    "a page outside the document or an unknown backslash escape is reported with its line\n"
    "number, and the document is not changed at all.\n"
    "\n"
    "  --no-backup         do not back the document up beside it (FILE.djvu.backup holds\n"
    "                      the original, FILE.djvu.backup.2... each later change)\n"
    "  --keep-backups N    keep the original's backup and the N latest (default 5)\n"
    "  --format json       TEXT is JSON as outline-export --format json prints it; a fault\n"
    "                      is reported with its line and column or the bookmark it is in\n"
    "\n"
    "Exit status: 0 done, 1 the text did not read or the document could not be changed,\n"
    "2 usage error.\n";

const char kHelpRussian[] =
    "Использование: tocsmith-cli outline-import [--no-backup] [--keep-backups N]\n"
    "       [--format text|json] FILE.djvu TEXT\n"
    "\n"
    "Записывает TEXT (как его выводит outline-export, '-' для стандартного ввода) как\n"
    "закладки FILE.djvu вместо прежних; пустой TEXT удаляет их.\n"
    "Каждая строка: по два пробела на уровень, заголовок, табуляция, цель. Цель-число —\n"
    "это страница документа, записанная в том виде, в каком закладки документа уже её\n"
    "называют; любая другая цель записывается как есть.\n"
    "Строка без табуляции, отступ глубже предыдущей строки больше чем на уровень,\n"
    "страница вне документа или неизвестная последовательность с обратной косой чертой\n"
    "сообщаются с номером строки, и документ не меняется вовсе.\n"
    "\n"
    "  --no-backup         не сохранять копию документа рядом с ним (FILE.djvu.backup —\n"
    "                      исходный, FILE.djvu.backup.2... — каждое следующее изменение)\n"
    "  --keep-backups N    хранить копию исходного и N последних (по умолчанию 5)\n"
    "  --format json       TEXT — JSON, как его выводит outline-export --format json; ошибка\n"
    "                      сообщается со строкой и столбцом или с закладкой, где она есть\n"
    "\n"
    "Код завершения: 0 готово, 1 текст не читается или документ не удалось изменить,\n"
    "2 неверный вызов.\n";

int usage(const QString& problem)
{
    return usageError("outline-import", problem, kHelp, kHelpRussian);
}

} // namespace

int runOutlineImportCommand(const QStringList& args)
{
    ImportArguments given;
    QString problem;
    QStringList rest = args;
    bool json = false;
    if (!takeFormat(&rest, &json, &problem) || !ImportArguments::read(rest, &given, &problem))
        return usage(problem);
    if (given.help) {
        std::fputs(CliLanguage::inLocale(kHelp, kHelpRussian), stdout);
        return 0;
    }
    const QStringList names{given.file, given.text};
    const QString& file = given.file;

    CommandTools tools;
    if (!tools.ready()) {
        std::fprintf(stderr, "tocsmith-cli outline-import: %s\n",
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

    // Held from the first read to the rename: one change of the book at a time, and none
    // renamed over a book that changed since it was read.
    BookGuard guard(file, &tools.runner(), &tools.log);
    if (!guard.open(&error))
        return failed(error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    DocumentOutline document(tools.runner());
    Outline current;
    int pages = 0;
    QList<QByteArray> pageIds;
    if (!document.read(file, &current, &pages, &pageIds))
        return document.errorShown() ? 1 : failed(document.error());
    OutlineText::Parsed parsed =
        json ? OutlineJson::read(text, pages) : OutlineText::read(text, pages);
    if (!parsed.errors.isEmpty())
        return failed((QStringLiteral("%1: %2\n") + EngineTexts::say("e_not_changed"))
                          .arg(names[1], parsed.errors.join(u'\n')));
    OutlineText::keepTargetForms(&parsed.outline, current, pageIds);
    switch (document.write(file, parsed.outline, given.backups(), &guard)) {
    case DocumentOutline::WriteOutcome::NothingChanged:
        tools.log.addLine(EngineTexts::say("e_outline_same").arg(file));
        return 0;
    case DocumentOutline::WriteOutcome::Written:
        tools.log.addLine(
            parsed.outline.isEmpty()
                ? EngineTexts::say("e_outline_removed").arg(file)
                : EngineTexts::say("e_outline_written")
                      .arg(file, Plural::count("e_n_bookmarks", parsed.outline.count())));
        return 0;
    case DocumentOutline::WriteOutcome::Failed:
        if (!document.errorShown())
            failed(document.error() + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
        return 1;
    }
    return 1;
}
