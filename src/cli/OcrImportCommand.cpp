#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/ImportStart.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/Commands.h"
#include "cli/OcrCommandSupport.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <cstdio>

int runOcrImportCommand(const QStringList& args)
{
    Command command("ocr-import", Command::unknownPlain());
    constexpr OptionHelp toldInOpening = CommandLine::describedIn("ocr-import");
    ImportStart start(command, toldInOpening, toldInOpening);
    OcrTextLayer::Route route = OcrTextLayer::Route::Djvused;
    declareRoute(command.options, "ocr-import --route", &route);
    command.options.describe("ocr-import:end");
    if (const std::optional<int> status = start.begin(args))
        return *status;
    CommandTools& tools = start.tools();
    const QString& file = start.file;
    const OcrTextForm::Parsed parsed = OcrTextForm::read(start.text);
    if (!parsed.errors.isEmpty())
        return start.refuseText(parsed.errors);

    tools.log.addLine(EngineTexts::say("e_reading_layer").arg(file));
    OcrDocument document;
    OcrTextLayer layer(tools.runner());
    layer.setRoute(route);
    if (!layer.dump(file, document)) {
        if (!layer.errorShown())
            tools.fail(layer.error());
        return 1;
    }
    if (parsed.pageCount != document.pageCount())
        return tools.fail(EngineTexts::say("e_wrong_page_count")
                              .arg(Plural::count("e_n_pages", parsed.pageCount), file,
                                   Plural::count("e_n_pages", document.pageCount())));
    QStringList problems;
    for (auto it = parsed.pages.cbegin(); it != parsed.pages.cend(); ++it) {
        const QString problem = document.mismatch(it.key(), it.value());
        if (!problem.isEmpty())
            problems << EngineTexts::say("e_page_problem").arg(it.key()).arg(problem);
    }
    if (!problems.isEmpty())
        return tools.fail(problems.join(u'\n') + QLatin1Char('\n') +
                          EngineTexts::say("e_not_changed"));
    QString error;
    for (auto it = parsed.pages.cbegin(); it != parsed.pages.cend(); ++it)
        if (!document.writeBack(it.key(), it.value(), &error))
            return tools.fail(error);

    const QList<int> changed = document.changedPages();
    layer.setBackups(start.backups());
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
            tools.fail(layer.error() + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
        return 1;
    }
    return 1;
}
