#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/ImportStart.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "cli/Commands.h"
#include "djvu/BookGuard.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineJson.h"
#include "outline/OutlineText.h"

#include <cstdio>

int runOutlineImportCommand(const QStringList& args)
{
    Command command("outline-import", Command::unknownPlain());
    ImportStart start(command, "outline-import --no-backup", "outline-import --keep-backups");
    bool json = false;
    declareFormat(command.options, "outline-import --format", &json);
    command.options.describe("outline-import:end");
    if (const std::optional<int> status = start.begin(args))
        return *status;
    CommandTools& tools = start.tools();
    const QString& file = start.file;
    QString error;

    // Held from the first read to the rename: one change of the book at a time, and none
    // renamed over a book that changed since it was read.
    BookGuard guard(file, &tools.runner(), &tools.log);
    if (!guard.open(&error))
        return tools.fail(error + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
    DocumentOutline document(tools.runner());
    Outline current;
    int pages = 0;
    QList<QByteArray> pageIds;
    if (!document.read(file, &current, &pages, &pageIds))
        return document.errorShown() ? 1 : tools.fail(document.error());
    OutlineText::Parsed parsed =
        json ? OutlineJson::read(start.text, pages) : OutlineText::read(start.text, pages);
    if (!parsed.errors.isEmpty())
        return start.refuseText(parsed.errors);
    OutlineText::keepTargetForms(&parsed.outline, current, pageIds);
    switch (document.write(file, parsed.outline, start.backups(), &guard)) {
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
            tools.fail(document.error() + QLatin1Char('\n') + EngineTexts::say("e_not_changed"));
        return 1;
    }
    return 1;
}
