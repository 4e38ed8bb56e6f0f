#include "ui/ocr/Unit5.h"

#include "base/EngineTexts.h"
#include "base/Sinks.h"
#include "djvu/BackupCopy.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrBackgroundLoad.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"
#include "reading/PageLines.h"
#include "ui/ocr/EditorRecognition.h"
#include "ui/ocr/OcrEditorBoxes.h"
#include "ui/ocr/OcrEditorToolBar.h"
#include "ui/ocr/OcrSearch.h"
#include "ui/ocr/PageImageView.h"
#include "ui/ocr/ResponsiveWait.h"
#include "ui/ocr/WordKeepingPane.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString captionOf(const MessageTexts& texts, MessageKey key, const char* builtIn)
{
    const QString text = texts.text(key);
    return text.isEmpty() ? QString::fromUtf8(builtIn) : text;
}

} // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    const OcrEditorToolBar toolBar(this);
    Button1 = toolBar.save;
    Label1 = toolBar.pageLabel;
    ComboBox1 = toolBar.pages;
    Button2 = toolBar.font;
    recogniseButton_ = toolBar.recognise;
    findField_ = toolBar.find;

    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->installEventFilter(this);
    pane_ = new WordKeepingPane(Memo2);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    // A label of its own: a temporary message would vanish under a passing status tip.
    statusLabel_ = new QLabel(StatusBar1);
    StatusBar1->addWidget(statusLabel_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar.bar);
    // The text beside the page it was read from.
    pageImage_ = new PageImageView(this);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(Memo2);
    split->addWidget(pageImage_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({1, 1}); // half and half, whatever the text asks for
    layout->addWidget(split, 1);
    layout->addWidget(StatusBar1);

    connect(Button1, &QToolButton::clicked, this, &TForm5::save);
    connect(Button2, &QToolButton::clicked, this, &TForm5::Button2Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm5::ComboBox1Change);
    connect(recogniseButton_, &QToolButton::clicked, this, &TForm5::recogniseClick);
    connect(Memo2, &QPlainTextEdit::cursorPositionChanged, this, &TForm5::outlineCurrentLine);
    connect(toolBar.zoomIn, &QToolButton::clicked, pageImage_, &PageImageView::zoomIn);
    connect(toolBar.zoomOut, &QToolButton::clicked, pageImage_, &PageImageView::zoomOut);
    connect(findField_, &QLineEdit::returnPressed, this, [this] { findNext(findField_->text()); });

    resize(1100, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() + 1) / 2 - (width() + 1) / 2,
             area.y() + (area.height() + 1) / 2 - (height() + 1) / 2);
    }
    applyCaptions();

    showMessage_ = [this](const QString& text, const QString& caption) {
        OcrEditorBoxes::warn(this, text, caption);
    };
    askOnClose_ = [this] { return OcrEditorBoxes::askOnClose(this, texts_.text("e_ocr_unsaved")); };
    askReload_ = [this](const QString& text) { return OcrEditorBoxes::ask(this, text); };
}

TForm5::~TForm5()
{
    recognising_.reset();
    cancelLoading();
}

void TForm5::applyCaptions()
{
    setWindowTitle(captionOf(texts_, "cap", "Редактор OCR"));
    Button1->setText(captionOf(texts_, "b1", "Сохранить DjVu"));
    Button2->setText(captionOf(texts_, "b2", "Шрифт"));
    Label1->setText(captionOf(texts_, "l1", "Страница"));
    updateActions();
}

void TForm5::openDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts,
                          LogSink& mainLog)
{
    mainLog.clear();
    mainLog.addLine(texts.text("m12"));
    QCoreApplication::processEvents(); // the line shows before the tool runs
    if (!loadDocument(documentPath, tools, texts)) {
        mainLog.addLine(texts.text("m9"));
        return;
    }
    mainLog.append(QStringLiteral(" OK"));
    exec();
    FormHide();
}

bool TForm5::loadDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts)
{
    cancelLoading();
    texts_ = texts;
    tools_ = &tools;
    documentPath_ = documentPath;
    applyCaptions();
    auto document = std::make_unique<OcrDocument>();
    OcrTextLayer layer(tools);
    // The first page shows as soon as it is read; a text layer that djvused's form cannot carry
    // word by word is read whole, the old way.
    int count = 0;
    bool firstOnly = false, dumped = false;
    runWhileResponsive(parentWidget(), [&] {
        firstOnly = layer.dumpPage(documentPath, 1, *document, &count);
        dumped = firstOnly || (!layer.errorShown() && layer.dump(documentPath, *document));
    });
    if (!dumped) {
        if (!layer.errorShown())
            showMessage_(layer.error(), texts.text("mes3"));
        return false;
    }
    document_ = std::move(document);
    readState_ = layer.readState();
    currentPage_ = 0;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
        if (!firstOnly)
            count = document_->pageCount();
        for (int k = 1; k <= count; ++k)
            ComboBox1->addItem(QStringLiteral("%1/%2").arg(k).arg(count));
        ComboBox1->setCurrentIndex(count > 0 ? 0 : -1);
    }
    showPage(count > 0 ? 1 : 0);
    if (firstOnly && count > 1)
        startLoading();
    return true;
}

QString TForm5::errorCaption() const
{
    // The caption of the window's failure boxes, in the editor's language.
    return texts_.text("mes3");
}

void TForm5::startLoading()
{
    loading_ = std::make_unique<OcrBackgroundLoad>(*tools_, documentPath_);
    connect(loading_.get(), &OcrBackgroundLoad::finished, this, &TForm5::loadingFinished);
    loading_->start();
    updateActions();
}

void TForm5::cancelLoading()
{
    if (loading_)
        loading_->cancel();
    loading_.reset();
}

// The whole document takes the place of page 1 alone, with the edits page 1 has had.
void TForm5::loadingFinished(bool ok)
{
    std::unique_ptr<OcrBackgroundLoad> load = std::move(loading_);
    QString error;
    std::unique_ptr<OcrDocument> whole = ok ? load->takeDocument() : nullptr;
    if (whole && writeBackShownPage(&error) && document_->isModified() &&
        !whole->writeBack(1, document_->page(1).lines, &error))
        whole.reset(); // the pages differ from what was shown: keep page 1 alone
    if (!whole) {
        showMessage_(ok ? error : load->error(), errorCaption());
    } else {
        document_ = std::move(whole);
        if (currentPage_ != 1)
            showPage(currentPage_);
    }
    load.release()->deleteLater(); // this slot runs inside its signal; the thread is over
    updateActions();
    emit textLayerLoaded();
}

QString TForm5::statusText() const
{
    return statusLabel_->text();
}

void TForm5::setStatus(const QString& text)
{
    statusLabel_->setText(text);
}

void TForm5::showPage(int number)
{
    currentPage_ = number;
    if (loading_ && number != 1) {
        // Shown once it is read; nothing can be typed meanwhile.
        pane_->show(nullptr);
        setStatus(captionOf(texts_, "st5", "Загрузка страниц…"));
        updateActions();
        return;
    }
    const OcrPageText page = document_ ? document_->page(number) : OcrPageText();
    pane_->show(&page);
    if (page.hasWords())
        setStatus(QStringLiteral("%1 = %2; %3 = %4.")
                      .arg(texts_.text("st2"))
                      .arg(page.textLines())
                      .arg(texts_.text("st3"))
                      .arg(page.words));
    else
        setStatus(texts_.text("st1"));
    if (document_ && tools_)
        pageImage_->showPage(*tools_, documentPath_, number, document_->pageSize(number));
    else
        pageImage_->clear();
    outlineCurrentLine();
    updateActions();
}

void TForm5::outlineCurrentLine()
{
    if (!document_ || currentPage_ < 1)
        return;
    const QList<QList<QRect>> boxes = document_->wordBoxes(currentPage_);
    pageImage_->setOutlined(boxes.value(Memo2->textCursor().blockNumber()));
}

bool TForm5::goToPage(int number)
{
    if (!document_ || number < 1 || number > document_->pageCount())
        return false;
    if (number != currentPage_)
        ComboBox1->setCurrentIndex(number - 1);
    return currentPage_ == number;
}

bool TForm5::findNext(const QString& text)
{
    if (!document_)
        return false;
    const OcrSearch::Place place = OcrSearch::next(*document_, currentPage_, Memo2->toPlainText(),
                                                   Memo2->textCursor().selectionEnd(), text);
    if (place.page < 1 || (place.page != currentPage_ && !goToPage(place.page)))
        return false;
    QTextCursor cursor(Memo2->document());
    cursor.setPosition(place.at);
    cursor.setPosition(place.at + int(text.size()), QTextCursor::KeepAnchor);
    Memo2->setTextCursor(cursor);
    return true;
}

bool TForm5::writeBackShownPage(QString* error)
{
    if (!document_ || !pane_->hasWords())
        return true; // a page without words has nothing to write back
    return document_->writeBack(currentPage_, pane_->lines(), error);
}

void TForm5::ComboBox1Change(int index)
{
    if (!document_ || index < 0)
        return;
    QString error;
    if (!writeBackShownPage(&error)) {
        showMessage_(error, errorCaption());
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(currentPage_ - 1);
        return;
    }
    showPage(index + 1);
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Memo2 &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true; // no line may be split or added
        if (keyEvent->modifiers() == Qt::ControlModifier &&
            (key == Qt::Key_S || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
             key == Qt::Key_F)) {
            if (event->type() == QEvent::KeyPress) {
                if (key == Qt::Key_S)
                    save();
                else if (key == Qt::Key_F)
                    findField_->setFocus(Qt::ShortcutFocusReason);
                else
                    goToPage(currentPage_ + (key == Qt::Key_PageUp ? -1 : 1));
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm5::save()
{
    if (!document_ || !tools_)
        return false;
    // While the other pages load only page 1 can have changed: it is saved on its own, and
    // the rest is read again from the saved book.
    // A line refused stays in the pane as typed, for the user to mend.
    QString error;
    if (!writeBackShownPage(&error)) {
        showMessage_(error, errorCaption());
        return false;
    }
    const bool reload = loading_ != nullptr;
    cancelLoading();
    setStatus(texts_.text("st4"));
    statusLabel_->repaint(); // shows before the tool runs
    const int cursorAt = Memo2->textCursor().position();
    // The tools run off the window's thread, as when loading; the editor takes no input
    // until they are done.
    OcrTextLayer layer(*tools_);
    layer.setBackups(backup_ ? BackupCopy::kKeepDefault : -1);
    OcrTextLayer::SaveOutcome outcome = OcrTextLayer::SaveOutcome::Failed;
    runWhileResponsive(this, [&] { outcome = layer.save(*document_, documentPath_, &readState_); });
    if (outcome == OcrTextLayer::SaveOutcome::ChangedSinceRead) {
        // Another run changed the book: it is read again only when the user says so.
        if (askReload_(layer.error())) {
            const MessageTexts texts = texts_;
            loadDocument(documentPath_, *tools_, texts);
        } else {
            showPage(currentPage_);
        }
        return false;
    }
    if (outcome == OcrTextLayer::SaveOutcome::Failed && !layer.errorShown())
        showMessage_(layer.error(), errorCaption());
    if (outcome == OcrTextLayer::SaveOutcome::Saved)
        readState_ = layer.readState();
    showPage(currentPage_);
    if (reload) {
        startLoading();
        showPage(currentPage_);
    }
    // The cursor stays where the user left it.
    QTextCursor cursor(Memo2->document());
    cursor.setPosition(std::min(cursorAt, int(pane_->text().size())));
    Memo2->setTextCursor(cursor);
    if (outcome == OcrTextLayer::SaveOutcome::Saved)
        setStatus(EngineTexts::say("e_saved").arg(QDir::toNativeSeparators(documentPath_)));
    else if (outcome == OcrTextLayer::SaveOutcome::NothingChanged)
        setStatus(EngineTexts::say("e_nothing_to_save")); // not a byte was written
    return outcome != OcrTextLayer::SaveOutcome::Failed;
}

void TForm5::updateActions()
{
    const bool recognising = recognising_ != nullptr;
    // A page without words can be recognised once every page is read; while it is, only the
    // stop works.
    const bool canRecognise =
        document_ && tools_ && !loading_ && currentPage_ >= 1 && !pane_->hasWords();
    recogniseButton_->setText(texts_.text(recognising ? MessageKey("b4") : MessageKey("b3")));
    recogniseButton_->setEnabled(recognising || canRecognise);
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, ComboBox1, findField_})
        w->setEnabled(!recognising);
}

void TForm5::recogniseClick()
{
    if (recognising_) {
        recognising_.reset(); // stopped: nothing changes
        showPage(currentPage_);
        emit recognitionDone();
        return;
    }
    if (!document_ || !tools_ || pane_->hasWords())
        return;
    QString error = EngineTexts::say("e_ocr_text_whole_only");
    auto run = std::make_unique<EditorRecognition>(*tools_, documentPath_, currentPage_);
    if (document_->format() != OcrDocument::Format::Djvused ||
        !run->chooseLanguages(recognitionLanguages_, &error)) {
        showMessage_(error, errorCaption());
        emit recognitionDone();
        return;
    }
    connect(run.get(), &EditorRecognition::finished, this, &TForm5::recognitionFinished);
    recognising_ = std::move(run);
    recognising_->start();
    setStatus(texts_.text("st6"));
    updateActions();
}

// The recognised words become an unsaved change of the page, saved as any correction is.
void TForm5::recognitionFinished()
{
    std::unique_ptr<EditorRecognition> run = std::move(recognising_);
    const PageText text = run->outcome().pages.value(run->page());
    QString error = run->outcome().error;
    if (error.isEmpty() && text.lines.isEmpty())
        error = texts_.text("st8");
    const bool kept =
        error.isEmpty() && document_->setPageText(run->page(), PageLines::expression(text), &error);
    showPage(currentPage_);
    if (kept)
        setStatus(texts_.text("st7"));
    else
        showMessage_(error, errorCaption());
    run.release()->deleteLater(); // this slot runs inside its signal; the thread is over
    emit recognitionDone();
}

void TForm5::Button2Click()
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, Memo2->font(), this);
    if (chosen)
        Memo2->setFont(font);
}

void TForm5::reject()
{
    recognising_.reset();
    if (document_) {
        QString error;
        const bool writtenBack = writeBackShownPage(&error);
        if (!writtenBack || document_->isModified()) {
            switch (askOnClose_()) {
            case CloseAnswer::Save:
                if (!save())
                    return;
                break;
            case CloseAnswer::Discard:
                break;
            case CloseAnswer::Stay:
                return;
            }
        }
    }
    QDialog::reject();
}

void TForm5::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    FormHide();
}

void TForm5::FormHide()
{
    pageImage_->clear();
    recognising_.reset();
    cancelLoading();
    document_.reset();
    pane_->reset();
    currentPage_ = 0;
    const QSignalBlocker block(ComboBox1);
    ComboBox1->clear();
}
