#include "ui/ocr/Unit5.h"

#include "base/EngineTexts.h"
#include "base/Sinks.h"
#include "djvu/BackupCopy.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrBackgroundLoad.h"
#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"
#include "ocr/OcrWordText.h"
#include "ui/ocr/PageImageView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace {

QString captionOf(const MessageTexts& texts, const char* key, const char* builtIn)
{
    const QString text = texts.text(QString::fromLatin1(key));
    return text.isEmpty() ? QString::fromUtf8(builtIn) : text;
}

// Runs a long tool step off the window's thread while the windows keep repainting; the
// owner takes no input meanwhile, as under a modal dialog.
void runWhileResponsive(QWidget* owner, const std::function<void()>& work)
{
    if (owner)
        owner->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QThread* worker = QThread::create(work);
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;
    QApplication::restoreOverrideCursor();
    if (owner)
        owner->setEnabled(true);
}

} // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    auto* toolBar = new QToolBar(this);
    Button1 = new QToolButton(toolBar);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Label1 = new QLabel(toolBar);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(toolBar);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Button2 = new QToolButton(toolBar);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->addWidget(Button1);
    toolBar->addSeparator();
    toolBar->addWidget(Label1);
    toolBar->addSeparator();
    toolBar->addWidget(ComboBox1);
    toolBar->addSeparator();
    toolBar->addWidget(Button2);
    toolBar->addSeparator();
    auto* zoomOut = new QToolButton(toolBar);
    zoomOut->setObjectName(QStringLiteral("zoomOut"));
    zoomOut->setText(QStringLiteral("\u2212"));
    auto* zoomIn = new QToolButton(toolBar);
    zoomIn->setObjectName(QStringLiteral("zoomIn"));
    zoomIn->setText(QStringLiteral("+"));
    toolBar->addWidget(zoomOut);
    toolBar->addWidget(zoomIn);
    toolBar->addSeparator();
    findField_ = new QLineEdit(toolBar);
    findField_->setObjectName(QStringLiteral("findField"));
    findField_->setClearButtonEnabled(true);
    findField_->setMaximumWidth(180);
    toolBar->addWidget(findField_);

    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    // A label of its own: a temporary message would vanish under a passing status tip.
    statusLabel_ = new QLabel(StatusBar1);
    StatusBar1->addWidget(statusLabel_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
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

    connect(Button1, &QToolButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QToolButton::clicked, this, &TForm5::Button2Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm5::ComboBox1Change);
    connect(Memo2, &QPlainTextEdit::textChanged, this, &TForm5::Memo2Change);
    connect(Memo2, &QPlainTextEdit::cursorPositionChanged, this, &TForm5::outlineCurrentLine);
    connect(zoomIn, &QToolButton::clicked, pageImage_, &PageImageView::zoomIn);
    connect(zoomOut, &QToolButton::clicked, pageImage_, &PageImageView::zoomOut);
    connect(findField_, &QLineEdit::returnPressed, this, [this] { findNext(findField_->text()); });

    resize(1100, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() + 1) / 2 - (width() + 1) / 2,
             area.y() + (area.height() + 1) / 2 - (height() + 1) / 2);
    }
    applyCaptions();

    showMessage_ = [this](const QString& text, const QString& caption) {
        QMessageBox::warning(this, caption, text);
    };
    askOnClose_ = [this] {
        const auto answer = QMessageBox::question(
            this, windowTitle(), texts_.text(QStringLiteral("e_ocr_unsaved")),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Save)
            return CloseAnswer::Save;
        return answer == QMessageBox::Discard ? CloseAnswer::Discard : CloseAnswer::Stay;
    };
    askReload_ = [this](const QString& text) {
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

TForm5::~TForm5()
{
    cancelLoading();
}

void TForm5::applyCaptions()
{
    setWindowTitle(captionOf(texts_, "cap", "Редактор OCR"));
    Button1->setText(captionOf(texts_, "b1", "Сохранить DjVu"));
    Button2->setText(captionOf(texts_, "b2", "Шрифт"));
    Label1->setText(captionOf(texts_, "l1", "Страница"));
}

void TForm5::openDocument(const QString& documentPath, ToolRunner& tools, const MessageTexts& texts,
                          LogSink& mainLog)
{
    mainLog.clear();
    mainLog.addLine(texts.text(QStringLiteral("m12")));
    QCoreApplication::processEvents(); // the line shows before the tool runs
    if (!loadDocument(documentPath, tools, texts)) {
        mainLog.addLine(texts.text(QStringLiteral("m9")));
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
            showMessage_(layer.error(), texts.text(QStringLiteral("mes3")));
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
    return texts_.text(QStringLiteral("mes3"));
}

void TForm5::startLoading()
{
    loading_ = std::make_unique<OcrBackgroundLoad>(*tools_, documentPath_);
    connect(loading_.get(), &OcrBackgroundLoad::finished, this, &TForm5::loadingFinished);
    loading_->start();
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

QString TForm5::paneText() const
{
    return Memo2->document()->toRawText();
}

QStringList TForm5::paneLines() const
{
    // The raw text keeps no-break spaces (which show the spaces inside a word) and marks
    // every line end, also one typed with Shift+Enter.
    QStringList lines{QString()};
    for (QChar c : paneText()) {
        if (OcrWordText::isLineBreak(c))
            lines << QString();
        else
            lines.last() += c;
    }
    return lines;
}

void TForm5::showPage(int number)
{
    separators_.clear(); // the editing rules rest while the pane fills
    wordsPerLine_.clear();
    Memo2->clear();
    currentPage_ = number;
    if (loading_ && number != 1) {
        // Shown once it is read; nothing can be typed meanwhile.
        Memo2->setReadOnly(true);
        setStatus(captionOf(texts_, "st5", "Загрузка страниц…"));
        acceptedText_ = paneText();
        return;
    }
    const OcrPageText page = document_ ? document_->page(number) : OcrPageText();
    if (page.hasWords()) {
        Memo2->setPlainText(page.lines.join(u'\n'));
        Memo2->setReadOnly(false);
        separators_ = page.separators();
        wordsPerLine_ = page.wordsPerLine;
        setStatus(QStringLiteral("%1 = %2; %3 = %4.")
                      .arg(texts_.text(QStringLiteral("st2")))
                      .arg(page.textLines())
                      .arg(texts_.text(QStringLiteral("st3")))
                      .arg(page.words));
    } else {
        // Nothing to correct: typed letters would have no word to go to.
        Memo2->setReadOnly(true);
        setStatus(texts_.text(QStringLiteral("st1")));
    }
    acceptedText_ = paneText();
    Memo2->document()->setModified(false);
    if (document_ && tools_)
        pageImage_->showPage(*tools_, documentPath_, number, document_->pageSize(number));
    else
        pageImage_->clear();
    outlineCurrentLine();
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
    if (!document_ || text.isEmpty())
        return false;
    const int count = document_->pageCount();
    // The shown page from the cursor on, then the others in turn, then the shown page again
    // from its start.
    const int from = Memo2->textCursor().selectionEnd();
    for (int step = 0; step <= count; ++step) {
        const int page = (currentPage_ - 1 + step) % count + 1;
        const QString pageText = page == currentPage_
                                     ? Memo2->toPlainText()
                                     : document_->page(page).lines.join(QLatin1Char('\n'));
        const int start = step == 0 ? from : 0;
        const int at = int(pageText.indexOf(text, start, Qt::CaseInsensitive));
        if (at < 0 || (step == count && at >= from))
            continue;
        if (page != currentPage_ && !goToPage(page))
            return false;
        QTextCursor cursor(Memo2->document());
        cursor.setPosition(at);
        cursor.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
        Memo2->setTextCursor(cursor);
        return true;
    }
    return false;
}

bool TForm5::writeBackShownPage(QString* error)
{
    if (!document_ || separators_.isEmpty())
        return true; // a page without words has nothing to write back
    return document_->writeBack(currentPage_, paneLines(), error);
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

bool TForm5::paneKeepsWords(const QStringList& lines) const
{
    if (lines.size() != separators_.size())
        return false;
    // A space typed or deleted splits or joins words, which the save divides the boxes for.
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (wordsPerLine_[n] == 0 && !lines[n].isEmpty())
            return false;
    }
    return true;
}

void TForm5::Memo2Change()
{
    if (reverting_ || separators_.isEmpty())
        return;
    if (paneKeepsWords(paneLines()))
        acceptedText_ = paneText();
    else
        restoreAcceptedText();
    Memo2->document()->setModified(false);
}

// Undoes a change that would add or remove lines, or put text on a line without words. The
// control's own undo does it when the change was one step; typing that the control merged into one
// step is put back by replacing only the part that differs.
void TForm5::restoreAcceptedText()
{
    reverting_ = true;
    Memo2->undo();
    const QString now = paneText();
    if (now != acceptedText_) {
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(now.size(), acceptedText_.size());
        while (prefix < shorter && now[prefix] == acceptedText_[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix &&
               now[now.size() - 1 - suffix] == acceptedText_[acceptedText_.size() - 1 - suffix])
            ++suffix;
        const QString wanted = acceptedText_.mid(prefix, acceptedText_.size() - suffix - prefix);
        QTextCursor cursor(Memo2->document());
        cursor.setPosition(int(prefix));
        cursor.setPosition(int(now.size() - suffix), QTextCursor::KeepAnchor);
        cursor.insertText(wanted);
        cursor.setPosition(int(prefix + wanted.size()));
        Memo2->setTextCursor(cursor);
    }
    reverting_ = false;
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
    setStatus(texts_.text(QStringLiteral("st4")));
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
    cursor.setPosition(std::min(cursorAt, int(paneText().size())));
    Memo2->setTextCursor(cursor);
    if (outcome == OcrTextLayer::SaveOutcome::Saved)
        setStatus(EngineTexts::say("e_saved").arg(QDir::toNativeSeparators(documentPath_)));
    else if (outcome == OcrTextLayer::SaveOutcome::NothingChanged)
        setStatus(EngineTexts::say("e_nothing_to_save")); // not a byte was written
    return outcome != OcrTextLayer::SaveOutcome::Failed;
}

void TForm5::Button1Click()
{
    save();
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
    cancelLoading();
    document_.reset();
    separators_.clear();
    wordsPerLine_.clear();
    acceptedText_.clear();
    currentPage_ = 0;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
    }
    const QSignalBlocker block(Memo2);
    Memo2->clear();
}
