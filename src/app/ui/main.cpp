#include "app/ui/Unit11111.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application's title (message box captions). Not the display name: Qt would add
    // that to every window caption ("Tocsmith v. 0.8 — Tocsmith 0.8").
    QApplication::setApplicationName(QStringLiteral("Tocsmith 0.8"));
    TForm1 window;
    window.show();
    return app.exec();
}
