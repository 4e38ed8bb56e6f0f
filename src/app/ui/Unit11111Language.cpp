#include "app/ui/Unit11111.h"

// Stand-ins until the language unit fills them.

void TForm1::findLanguages() {}

void TForm1::aa() {}

void TForm1::setlang(const QString& fileName)
{
    currentLanguage = fileName;
}
