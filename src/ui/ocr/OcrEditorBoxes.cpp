#include "ui/ocr/OcrEditorBoxes.h"

#include <QMessageBox>

namespace OcrEditorBoxes {

void warn(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox::warning(owner, caption, text);
}

TForm5::CloseAnswer askOnClose(QWidget* owner, const QString& text)
{
    const auto answer = QMessageBox::question(
        owner, owner->windowTitle(), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return TForm5::CloseAnswer::Save;
    return answer == QMessageBox::Discard ? TForm5::CloseAnswer::Discard
                                          : TForm5::CloseAnswer::Stay;
}

bool ask(QWidget* owner, const QString& text)
{
    return QMessageBox::question(owner, owner->windowTitle(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace OcrEditorBoxes
