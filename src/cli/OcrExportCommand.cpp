#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/CliLanguage.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/OcrCommandSupport.h"
#include "cli/UsageError.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QMap>

#include <cstdio>

namespace {

const char kHelp[] =
    "Usage: tocsmith-cli ocr-export FILE.djvu [--pages FIRST-LAST] [--route djvused|xml]\n"
    "\n"
    "Prints the text layer of FILE.djvu as the OCR editor shows it: one line per text\n"
    "line, the words of a line separated by single spaces, each page preceded by a line\n"
    "'=== page N/M ==='. Correct the words and read the text back with ocr-import.\n"
    "\n"
    "  --pages FIRST-LAST  only these pages (1-based; a single number for one page)\n"
    "  --route xml         read the text through djvutoxml instead of djvused's own text\n"
    "                      form (slower; djvused is the default, and the XML route is taken\n"
    "                      anyway where djvused's form cannot carry the words)\n"
    "\n"
    "Exit status: 0 done, 1 the text layer could not be read, 2 usage error.\n";

const char kHelpRussian[] =
    "Использование: tocsmith-cli ocr-export FILE.djvu [--pages FIRST-LAST] [--route djvused|xml]\n"
    "\n"
    "Выводит текстовый слой FILE.djvu так, как его показывает редактор OCR: по строке на\n"
    "строку текста, слова строки через один пробел, перед каждой страницей строка\n"
    "'=== page N/M ==='. Исправьте слова и верните текст командой ocr-import.\n"
    "\n"
    "  --pages FIRST-LAST  только эти страницы (с 1; одно число для одной страницы)\n"
    "  --route xml         читать текст через djvutoxml, а не в текстовой форме djvused\n"
    "                      (медленнее; по умолчанию djvused, а путь через XML выбирается\n"
    "                      и сам, где форма djvused не передаёт слова)\n"
    "\n"
    "Код завершения: 0 готово, 1 текстовый слой не читается, 2 неверный вызов.\n";

int usage(const QString& problem)
{
    return usageError("ocr-export", problem, kHelp, kHelpRussian);
}

} // namespace

int runOcrExportCommand(const QStringList& args)
{
    QString file;
    QString pages;
    bool optionsEnd = false;
    OcrTextLayer::Route route = OcrTextLayer::Route::Djvused;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!optionsEnd && args[i] == QLatin1String("--")) {
            optionsEnd = true;
        } else if (optionsEnd) {
            if (!file.isEmpty())
                return usage(EngineTexts::say("e_cli_one_document"));
            file = args[i];
        } else if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            std::fputs(CliLanguage::inLocale(kHelp, kHelpRussian), stdout);
            return 0;
        } else if (args[i] == QLatin1String("--pages")) {
            if (i + 1 >= args.size())
                return usage(EngineTexts::say("e_cli_pages_range"));
            pages = args[++i];
        } else if (args[i] == QLatin1String("--route")) {
            if (i + 1 >= args.size() || !OcrTextLayer::parseRoute(args[i + 1], &route))
                return usage(EngineTexts::say("e_cli_route"));
            ++i;
        } else if (args[i].startsWith(QLatin1String("--pages="))) {
            pages = args[i].mid(8);
        } else if (args[i].startsWith(u'-') && args[i] != QLatin1String("-")) {
            return usage(EngineTexts::say("e_cli_unknown_option"));
        } else if (file.isEmpty()) {
            file = args[i];
        } else {
            return usage(EngineTexts::say("e_cli_one_document"));
        }
    }
    if (file.isEmpty())
        return usage(EngineTexts::say("e_cli_no_document"));
    int first = 1, last = 0;
    if (!pages.isEmpty() && !OcrTextForm::parseRange(pages, &first, &last))
        return usage(EngineTexts::say("e_cli_pages_first_last"));

    CommandTools tools;
    if (!tools.ready()) {
        std::fprintf(stderr, "tocsmith-cli ocr-export: %s\n",
                     EngineTexts::say("e_cli_no_work").toLocal8Bit().constData());
        return 1;
    }
    // The pages' text is kept in the form printed, not the document: a fraction of its size.
    OcrTextLayer layer(tools.runner());
    layer.setRoute(route);
    QMap<int, QByteArray> texts;
    const auto keep = [&texts, first, last](int number, const OcrPageText& page) {
        if (number >= first && (last == 0 || number <= last))
            texts[number] = OcrTextForm::pageLines(page);
    };
    int count = 0;
    if (!layer.readPages(file, keep, &count)) {
        if (!layer.errorShown())
            tools.messages.showMessage(layer.error(), QString());
        return 1;
    }
    if (pages.isEmpty())
        last = count;
    if (last > count) {
        tools.messages.showMessage(EngineTexts::say("e_ocrexport_pages")
                                       .arg(file, Plural::count("e_n_pages", count), pages),
                                   QString());
        return 1;
    }
    for (int number = first; number <= last; ++number) {
        const QByteArray text = OcrTextForm::pageHeader(number, count) + '\n' + texts.value(number);
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
    std::fflush(stdout);
    return 0;
}
