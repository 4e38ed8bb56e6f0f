#include "app/ui/Unit11111.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tocsmith v. 0.8"));
}
