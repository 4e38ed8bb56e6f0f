#pragma once

#include <QDialog>

class LogSink;
class MessageTexts;
class ToolRunner;

// The OCR editor window: shows a document's text layer page by page and lets the user
// correct the words without moving them. Created hidden at start-up, shown modally.
class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Dumps the document's text layer and shows it modally; returns when the editor closes.
    // mainLog is the main window's log pane.
    void openDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts,
                      LogSink& mainLog);
};
