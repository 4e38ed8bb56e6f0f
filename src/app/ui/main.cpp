#include "app/ui/Unit11111.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tocsmith 0.8"));
    TForm1 window;
    window.show();
    return app.exec();
}
