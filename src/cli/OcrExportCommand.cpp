#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/OcrCommandSupport.h"
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

int usage(const char* problem)
{
    std::fprintf(stderr, "tocsmith-cli ocr-export: %s\n\n%s", problem, kHelp);
    return 2;
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
                return usage("one document at a time");
            file = args[i];
        } else if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (args[i] == QLatin1String("--pages")) {
            if (i + 1 >= args.size())
                return usage("--pages needs a range such as 3-7");
            pages = args[++i];
        } else if (args[i] == QLatin1String("--route")) {
            if (i + 1 >= args.size() || !OcrTextLayer::parseRoute(args[i + 1], &route))
                return usage("--route wants djvused or xml");
            ++i;
        } else if (args[i].startsWith(QLatin1String("--pages="))) {
            pages = args[i].mid(8);
        } else if (args[i].startsWith(u'-') && args[i] != QLatin1String("-")) {
            return usage("unknown option");
        } else if (file.isEmpty()) {
            file = args[i];
        } else {
            return usage("one document at a time");
        }
    }
    if (file.isEmpty())
        return usage("no document given");
    int first = 1, last = 0;
    if (!pages.isEmpty() && !OcrTextForm::parseRange(pages, &first, &last))
        return usage("--pages wants FIRST-LAST, such as 3-7");

    CommandTools tools;
    if (!tools.ready()) {
        std::fputs("tocsmith-cli ocr-export: cannot create a work folder\n", stderr);
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
        tools.messages.showMessage(QStringLiteral("%1 has %2 pages; the pages %3 are not all "
                                                  "in it.")
                                       .arg(file)
                                       .arg(count)
                                       .arg(pages),
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
