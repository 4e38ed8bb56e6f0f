#include "base/EngineTexts.h"
#include "cli/CliLanguage.h"
#include "cli/Command.h"
#include "cli/CommandTools.h"
#include "cli/Commands.h"
#include "djvu/BookGuard.h"
#include "outline/DocumentOutline.h"
#include "outline/OutlineJson.h"
#include "outline/OutlineText.h"

#include <cstdio>

int runOutlineExportCommand(const QStringList& args)
{
    Command command("outline-export", Command::unknownPlain());
    bool json = false;
    declareFormat(command.options, "outline-export --format", &json);
    command.options.describe("outline-export:end");
    QString file;
    if (const std::optional<int> status = command.readOne(args, &file))
        return *status;
    CommandTools tools;
    if (!tools.ready())
        return command.noWorkFolder();
    // A change that a dead run left half done is settled before the book is read.
    BookGuard guard(file, &tools.runner());
    QString error;
    if (!guard.open(&error))
        return tools.fail(error);
    DocumentOutline document(tools.runner());
    Outline outline;
    int pages = 0;
    QList<QByteArray> pageIds;
    if (!document.read(file, &outline, &pages, &pageIds)) {
        if (!document.errorShown())
            tools.fail(document.error());
        return 1;
    }
    error.clear();
    const QByteArray text = json ? OutlineJson::write(outline, pages, pageIds, &error)
                                 : OutlineText::write(outline, pages, pageIds);
    if (!error.isEmpty())
        return tools.fail(error);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    return 0;
}
