#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QPlainTextEdit;
struct OcrPageText;

// The rules of the OCR editor's text pane: a page's words may be corrected, but no line may
// be added or removed and a line without words takes no text. A change that breaks them is
// undone at once; a page without words cannot be typed into at all.
class WordKeepingPane : public QObject
{
public:
    explicit WordKeepingPane(QPlainTextEdit* pane);

    // Shows a page's lines (none: an empty pane), to be corrected when it has words.
    void show(const OcrPageText* page);
    // Empties the pane without running the rules.
    void reset();
    // The shown page has words, and typing is allowed.
    bool hasWords() const { return !separators_.isEmpty(); }
    // The pane's text with its no-break spaces kept.
    QString text() const;
    // The shown lines, split at every line end (also one typed with Shift+Enter).
    QStringList lines() const;

private:
    void changed();
    bool keepsWords(const QStringList& lines) const;
    void restoreAccepted();

    QPlainTextEdit* pane_;
    QList<int> separators_;   // spaces per shown line; empty while no page with words shows
    QList<int> wordsPerLine_; // words per shown line
    QString accepted_;        // the text after the last change that kept the words
    bool reverting_ = false;
};
