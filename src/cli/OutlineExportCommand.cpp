#include "base/EngineTexts.h"
#include "cli/CliLanguage.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/UsageError.h"
#include "djvu/BookGuard.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineJson.h"
#include "outline/OutlineText.h"

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: tocsmith-cli outline-export [--format text|json] FILE.djvu\n"
    "\n"
    "Prints the outline (bookmarks) of FILE.djvu, one bookmark a line: two spaces per\n"
    "level, the title, a tab, the target. A target that is a page of the document (by\n"
    "its number or its file name) shows as its page number; any other target (a web\n"
    "address, say) as the document holds it. Escapes keep every title exact: \\\\ for a backslash, "
    "\\t, \\n,\n"
    "\\r, and \\xHH for other control characters and bytes that are not UTF-8. Correct\n"
    "the text and write it back with outline-import. A document without an outline\n"
    "prints nothing.\n"
    "\n"
    "  --format json  print the outline as JSON instead: a list of bookmarks\n"
    "                 {\"title\": ..., \"page\": N, \"children\": [...]}, \"url\" in place of\n"
    "                 \"page\" for a target that is not a page (docs/outline.schema.json)\n"
    "\n"
    "Exit status: 0 done, 1 the outline could not be read, 2 usage error.\n";

const char kHelpRussian[] =
    "Использование: tocsmith-cli outline-export [--format text|json] FILE.djvu\n"
    "\n"
    "Выводит закладки FILE.djvu, по закладке на строку: по два пробела на уровень,\n"
    "заголовок, табуляция, цель. Цель, которая является страницей документа (по номеру\n"
    "или имени файла), выводится номером страницы; любая другая цель (например,\n"
    "веб-адрес) — так, как она записана в документе. Заголовки передаются точно:\n"
    "\\\\ для обратной косой черты, \\t, \\n, \\r и \\xHH для других управляющих\n"
    "символов и байтов не в UTF-8. Исправьте текст и запишите его обратно командой\n"
    "outline-import. Для документа без закладок не выводится ничего.\n"
    "\n"
    "  --format json  вывести закладки в JSON: список закладок\n"
    "                 {\"title\": ..., \"page\": N, \"children\": [...]}, \"url\" вместо\n"
    "                 \"page\" для цели, которая не страница (docs/outline.schema.json)\n"
    "\n"
    "Код завершения: 0 готово, 1 закладки не читаются, 2 неверный вызов.\n";

int usage(const QString& problem)
{
    return usageError("outline-export", problem, kHelp, kHelpRussian);
}

} // namespace

int runOutlineExportCommand(const QStringList& args)
{
    QStringList rest = args;
    bool json = false;
    QString problem;
    if (!takeFormat(&rest, &json, &problem))
        return usage(problem);
    const CommandArguments split = CommandArguments::split(rest);
    if (split.has("--help") || split.has("-h")) {
        std::fputs(CliLanguage::inLocale(kHelp, kHelpRussian), stdout);
        return 0;
    }
    if (!split.options.isEmpty())
        return usage(EngineTexts::say("e_cli_unknown_option"));
    if (split.names.size() != 1)
        return usage(split.names.isEmpty() ? EngineTexts::say("e_cli_no_document")
                                           : EngineTexts::say("e_cli_one_document"));

    CommandTools tools;
    if (!tools.ready()) {
        std::fprintf(stderr, "tocsmith-cli outline-export: %s\n",
                     EngineTexts::say("e_cli_no_work").toLocal8Bit().constData());
        return 1;
    }
    // A change that a dead run left half done is settled before the book is read.
    BookGuard guard(split.names[0], &tools.runner());
    QString error;
    if (!guard.open(&error)) {
        tools.messages.showMessage(error, QString());
        return 1;
    }
    DocumentOutline document(tools.runner());
    Outline outline;
    int pages = 0;
    QList<QByteArray> pageIds;
    if (!document.read(split.names[0], &outline, &pages, &pageIds)) {
        if (!document.errorShown())
            tools.messages.showMessage(document.error(), QString());
        return 1;
    }
    error.clear();
    const QByteArray text = json ? OutlineJson::write(outline, pages, pageIds, &error)
                                 : OutlineText::write(outline, pages, pageIds);
    if (!error.isEmpty()) {
        tools.messages.showMessage(error, QString());
        return 1;
    }
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    return 0;
}
