#pragma once

#include <QDialog>

class MessageTexts;

// The OCR editor window: shows a document's text layer page by page and lets the user
// correct the words without moving them. Created hidden at start-up, shown modally.
class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};
