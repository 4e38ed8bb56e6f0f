#include "base/Version.h"
#include "ui/main/Unit11111.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] =
    "Usage: tocsmith [--help] [--version]\n"
    "\n"
    "Opens the Tocsmith window: turn the OCR text of a DjVu book's contents or index pages\n"
    "into hyperlinks, align the hyperlinks a book already has, put a link back to the\n"
    "contents on its pages, and correct its OCR text page by page.\n"
    "\n"
    "The same work from a script: tocsmith-cli (see 'tocsmith-cli --help').\n"
    "\n"
    "Files:\n"
    "  ~/.config/tocsmith/Tocsmith.ini   the window's settings, when installed\n"
    "  PREFIX/share/tocsmith/language/   the language files, when installed\n";

const char kHelpRussian[] =
    "Использование: tocsmith [--help] [--version]\n"
    "\n"
    "Открывает окно Tocsmith: превратить распознанный текст страниц оглавления или\n"
    "указателя книги DjVu в гиперссылки, выровнять гиперссылки, которые в книге уже есть,\n"
    "поставить на страницы ссылку на оглавление и исправить распознанный текст постранично.\n"
    "\n"
    "То же из сценария: tocsmith-cli (см. 'tocsmith-cli --help').\n"
    "\n"
    "Файлы:\n"
    "  ~/.config/tocsmith/Tocsmith.ini   настройки окна, когда программа установлена\n"
    "  PREFIX/share/tocsmith/language/   файлы языков, когда программа установлена\n";

// --help and --version are answered before any window exists, so they need no display.
bool answeredWithoutWindow(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tocsmith %s\n", kTocsmithVersion);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            const bool russian = QLocale::system().language() == QLocale::Russian;
            std::fputs(russian ? kHelpRussian : kHelp, stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (answeredWithoutWindow(argc, argv))
        return 0;
    QApplication app(argc, argv);
    // The application's title (message box captions). Not the display name: Qt would add
    // that to every window caption ("Tocsmith v. 0.8 — Tocsmith 0.8").
    QApplication::setApplicationName(QStringLiteral("Tocsmith ") + QLatin1String(kTocsmithVersion));
    TForm1 window;
    window.show();
    return app.exec();
}
