#pragma once

#include "djvu/BookGuard.h"

#include "base/MessageTexts.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class EditorRecognition;
class LogSink;
class OcrBackgroundLoad;
class OcrDocument;
class PageImageView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;
class ToolRunner;
class WordKeepingPane;

// The OCR editor window: shows a document's text layer page by page and lets the user
// correct the words without moving them. Created hidden at start-up, shown modally.
class TForm5 : public QDialog
{
    Q_OBJECT
public:
    enum class CloseAnswer
    {
        Save,
        Discard,
        Stay,
    };
    using CloseQuestion = std::function<CloseAnswer()>;
    using MessageShower = std::function<void(const QString& text, const QString& caption)>;

    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // Dumps the document's text layer and shows it modally; returns when the editor closes.
    // mainLog is the main window's log pane.
    void openDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts,
                      LogSink& mainLog);

    // The part of openDocument before the window shows: reads page 1 and the number of pages,
    // shows page 1 and reads the rest in the background (isLoading() until then). False, with
    // the failure already shown, when the text layer cannot be read.
    bool loadDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts);

    // What closing with unsaved changes asks; a message box unless replaced (tests).
    void setCloseQuestion(CloseQuestion ask) { askOnClose_ = std::move(ask); }
    // How failures are shown; a message box unless replaced (tests).
    void setMessageShower(MessageShower show) { showMessage_ = std::move(show); }
    // Whether to read the book again when a save finds it changed since it was read (the
    // text says so); a message box unless replaced (tests).
    using ReloadQuestion = std::function<bool(const QString& text)>;
    void setReloadQuestion(ReloadQuestion ask) { askReload_ = std::move(ask); }

    QPlainTextEdit* textPane() const { return Memo2; }
    QComboBox* pageSelector() const { return ComboBox1; }
    QToolButton* saveButton() const { return Button1; }
    // "Распознать страницу": recognises the shown page when it has no words; while that runs
    // it stops it.
    QToolButton* recogniseButton() const { return recogniseButton_; }
    // The language set recognition prefers ("eng" unless replaced; tests).
    void setRecognitionLanguages(const QString& languages) { recognitionLanguages_ = languages; }
    QString statusText() const;
    int currentPage() const { return currentPage_; }
    PageImageView* imageView() const { return pageImage_; }
    QLineEdit* findField() const { return findField_; }
    // Saving first copies the document aside, as the passes do (the Create tab's option).
    void setBackup(bool backup) { backup_ = backup; }
    // Shows another page, writing the shown one back first; false when it cannot be left.
    bool goToPage(int number);
    // Selects the next place the text occurs, after the cursor and on the pages after this
    // one, round to the start; false when it occurs nowhere.
    bool findNext(const QString& text);
    // The pages after the first are still being read.
    bool isLoading() const { return loading_ != nullptr; }
    // Writes the page being shown back and saves the changed pages into the document.
    bool save();

signals:
    // Every page is read (or the reading failed, and the failure was shown).
    void textLayerLoaded();
    // A recognition of the page ended: done, failed (the failure was shown) or stopped.
    void recognitionDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void hideEvent(QHideEvent* event) override;

private:
    void ComboBox1Change(int index);
    void Button2Click();
    void FormHide();
    // Enables each control as the document, the page and a running recognition allow: the
    // one place that does.
    void updateActions();
    void recogniseClick();
    void recognitionFinished();

    void applyCaptions();
    void startLoading();
    void loadingFinished(bool ok);
    void cancelLoading();
    void showPage(int number);
    bool writeBackShownPage(QString* error);
    void setStatus(const QString& text);
    QString errorCaption() const;
    void outlineCurrentLine();

    QToolButton* Button1;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QToolButton* Button2;
    QPlainTextEdit* Memo2;
    QStatusBar* StatusBar1;
    PageImageView* pageImage_;
    QLineEdit* findField_;
    QLabel* statusLabel_;
    QToolButton* recogniseButton_;
    WordKeepingPane* pane_;

    std::unique_ptr<OcrDocument> document_; // page 1 alone while the rest loads
    std::unique_ptr<OcrBackgroundLoad> loading_;
    std::unique_ptr<EditorRecognition> recognising_;
    QString recognitionLanguages_ = QStringLiteral("eng");
    ToolRunner* tools_ = nullptr;
    MessageTexts texts_;
    QString documentPath_;
    int currentPage_ = 0;
    bool backup_ = false;
    BookGuard::Files readState_; // the book's files as read, or as this editor last saved them
    CloseQuestion askOnClose_;
    ReloadQuestion askReload_;
    MessageShower showMessage_;
};
