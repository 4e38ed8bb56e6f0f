#include "ui/widgets/WindowDialogs.h"

#include "base/EngineTexts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <QWidget>

WindowDialogs::WindowDialogs(QWidget* owner) : owner_(owner)
{
    messageBox = [this](const QString& text, const QString& caption) {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner_);
        box.exec();
    };
    openDjvuFile = [this]() {
        // The extension test ignores letter case, as Windows does; the dialog never changes
        // the current folder.
        return QFileDialog::getOpenFileName(
            owner_, QString(), QString(),
            djvuFilesName + QStringLiteral(" (*.djvu *.djv *.DJVU *.DJV *.Djvu *.Djv)"));
    };
    colourDialog = [this](const QColor& last) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(last, owner_);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };
    openInShell = [this](const QString& path) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            showMessage(EngineTexts::say("e_no_viewer").arg(QDir::toNativeSeparators(path)),
                        QString());
    };
    question = [this](const QString& text, const QString& caption) {
        return QMessageBox::question(owner_, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    threeWayQuestion = [this](const QString& text, const QString& caption) {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, owner_);
        const OutlineAnswer answers[] = {OutlineAnswer::Yes, OutlineAnswer::YesToAll,
                                         OutlineAnswer::Merge, OutlineAnswer::No};
        const QMessageBox::ButtonRole roles[] = {QMessageBox::YesRole, QMessageBox::YesRole,
                                                 QMessageBox::AcceptRole, QMessageBox::RejectRole};
        QList<QAbstractButton*> buttons;
        for (int i = 0; i < 4; ++i)
            buttons << box.addButton(outlineAnswerCaptions.value(i), roles[i]);
        box.setDefaultButton(static_cast<QPushButton*>(buttons.last()));
        box.setEscapeButton(buttons.last());
        box.exec();
        const qsizetype chosen = buttons.indexOf(box.clickedButton());
        return chosen < 0 ? OutlineAnswer::No : answers[chosen];
    };
}

void WindowDialogs::showMessage(const QString& text, const QString& caption)
{
    // A box without a caption of its own is titled as the window is, wherever it comes from.
    const QString title = caption.isEmpty() ? owner_->window()->windowTitle() : caption;
    if (QThread::currentThread() == owner_->thread()) {
        messageBox(text, title);
        return;
    }
    QMetaObject::invokeMethod(
        owner_, [this, text, title] { messageBox(text, title); }, Qt::BlockingQueuedConnection);
}

bool WindowDialogs::pickColour(quint32* colour)
{
    const std::optional<QColor> chosen = colourDialog(last_);
    if (!chosen)
        return false;
    last_ = *chosen;
    *colour =
        quint32(chosen->red()) | (quint32(chosen->green()) << 8) | (quint32(chosen->blue()) << 16);
    return true;
}

OutlineAnswer WindowDialogs::askReplaceOutline(const QString& text, const QString& caption)
{
    if (QThread::currentThread() == owner_->thread())
        return threeWayQuestion(text, caption);
    OutlineAnswer answer = OutlineAnswer::No;
    QMetaObject::invokeMethod(
        owner_, [&] { answer = threeWayQuestion(text, caption); }, Qt::BlockingQueuedConnection);
    return answer;
}
