#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/Version.h"
#include "cli/CliLanguage.h"
#include "cli/Commands.h"
#include "djvu/ToolRunner.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char kUsage[] = "Usage: tocsmith-cli COMMAND [options] ...\n"
                      "\n"
                      "Commands:\n"
                      "  create          turn a contents or index page into hyperlinks\n"
                      "  fix             align the hyperlinks a document already has\n"
                      "  ocr-export      print a document's text layer, one line per text line\n"
                      "  ocr-import      write a corrected text layer back into a document\n"
                      "  ocr-recognise   recognise pages without text and keep their text\n"
                      "  outline-export  print a document's outline (bookmarks) as text\n"
                      "  outline-import  write such a text as a document's outline\n"
                      "\n"
                      "With --verbose, what the DjVuLibre tools said of a failure goes to\n"
                      "standard error too (the detailed log).\n"
                      "Run 'tocsmith-cli COMMAND --help' for the options of a command,\n"
                      "'tocsmith-cli --version' for the version.\n";

const char kUsageRussian[] =
    "Использование: tocsmith-cli КОМАНДА [параметры] ...\n"
    "\n"
    "Команды:\n"
    "  create          превратить страницу оглавления или указателя в гиперссылки\n"
    "  fix             выровнять гиперссылки, которые в документе уже есть\n"
    "  ocr-export      вывести текстовый слой документа, по строке на строку текста\n"
    "  ocr-import      записать исправленный текстовый слой обратно в документ\n"
    "  ocr-recognise   распознать страницы без текста и сохранить их текст\n"
    "  outline-export  вывести закладки документа текстом\n"
    "  outline-import  записать такой текст как закладки документа\n"
    "\n"
    "С --verbose сказанное программами DjVuLibre об ошибке выводится и в стандартный\n"
    "поток ошибок (подробный журнал).\n"
    "Параметры команды: 'tocsmith-cli КОМАНДА --help', версия: 'tocsmith-cli --version'.\n";

} // namespace

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
        std::fputs(CliLanguage::inLocale(kUsage, kUsageRussian), args.isEmpty() ? stderr : stdout);
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
                 CliLanguage::inLocale(kUsage, kUsageRussian));
    return 2;
}
