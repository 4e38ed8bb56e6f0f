#include "ocr/ui/Unit5.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent) {}

void TForm5::openDocument(const QString&, ToolRunner&, const MessageTexts&, LogSink&) {}
