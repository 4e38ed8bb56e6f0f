#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Version.h"
#include "cli/CliLanguage.h"
#include "cli/Commands.h"
#include "cli/HelpTexts.h"
#include "djvu/ToolRunner.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tocsmith-cli"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // --verbose, anywhere before "--": the tools' own words go to standard error as well.
    const qsizetype optionsEnd = args.indexOf(QStringLiteral("--"));
    const qsizetype verbose = args.indexOf(QStringLiteral("--verbose"));
    if (verbose >= 0 && (optionsEnd < 0 || verbose < optionsEnd)) {
        args.removeAt(verbose);
        ToolRunner::setDetailedLog([](const QString& text) {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        });
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        std::fputs(HelpTexts::text("main").toLocal8Bit().constData(),
                   args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        std::printf("tocsmith-cli %s\n", kTocsmithVersion);
        return 0;
    }
    // Usage errors come before any language file is read: they follow the locale.
    if (CliLanguage::localeIsRussian())
        MessageTexts().lendToEngine();
    const QString command = args.takeFirst();
    if (command == QLatin1String("create"))
        return runCreateCommand(args);
    if (command == QLatin1String("fix"))
        return runFixCommand(args);
    if (command == QLatin1String("ocr-export"))
        return runOcrExportCommand(args);
    if (command == QLatin1String("ocr-import"))
        return runOcrImportCommand(args);
    if (command == QLatin1String("ocr-recognise"))
        return runOcrRecogniseCommand(args);
    if (command == QLatin1String("outline-export"))
        return runOutlineExportCommand(args);
    if (command == QLatin1String("outline-import"))
        return runOutlineImportCommand(args);
    std::fprintf(stderr, "tocsmith-cli: %s\n\n%s",
                 EngineTexts::say("e_cli_unknown_command").arg(command).toLocal8Bit().constData(),
                 HelpTexts::text("main").toLocal8Bit().constData());
    return 2;
}
