#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "cli/OcrCommandSupport.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QMap>

#include <cstdio>

int runOcrExportCommand(const QStringList& args)
{
    Command command("ocr-export", Command::unknownPlain());
    QString pages;
    OcrTextLayer::Route route = OcrTextLayer::Route::Djvused;
    command.options.value(QStringLiteral("--pages"), "ocr-export --pages", &pages,
                          "e_cli_pages_range");
    declareRoute(command.options, "ocr-export --route", &route);
    command.options.describe("ocr-export:end");
    QString file;
    if (const std::optional<int> status = command.readOne(args, &file))
        return *status;
    int first = 1, last = 0;
    if (!pages.isEmpty() && !OcrTextForm::parseRange(pages, &first, &last))
        return command.refuse(EngineTexts::say("e_cli_pages_first_last"));

    CommandTools tools;
    if (!tools.ready())
        return command.noWorkFolder();
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
            tools.fail(layer.error());
        return 1;
    }
    if (pages.isEmpty())
        last = count;
    if (last > count)
        return tools.fail(EngineTexts::say("e_ocrexport_pages")
                              .arg(file, Plural::count("e_n_pages", count), pages));
    for (int number = first; number <= last; ++number) {
        const QByteArray text = OcrTextForm::pageHeader(number, count) + '\n' + texts.value(number);
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
    std::fflush(stdout);
    return 0;
}
