#pragma once

#include "ui/ocr/Unit5.h"

class QWidget;

// The OCR editor's message boxes, as it shows them unless a test replaces them.
namespace OcrEditorBoxes {

void warn(QWidget* owner, const QString& text, const QString& caption);
// Save, discard or stay, asked when the editor closes with unsaved changes.
TForm5::CloseAnswer askOnClose(QWidget* owner, const QString& text);
// Yes or no, "no" first.
bool ask(QWidget* owner, const QString& text);

} // namespace OcrEditorBoxes
