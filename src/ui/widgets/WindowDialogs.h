#pragma once

#include "base/Sinks.h"
#include "outline/OutlineAnswer.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Every modal dialog of the main window in one place: message boxes (also for the engine,
// from any thread), the DjVu file-open dialog, the one shared colour dialog and the shell's
// "open". Each is a replaceable function, so tests drive the window without modal boxes.
class WindowDialogs : public MessageSink
{
public:
    explicit WindowDialogs(QWidget* owner);

    // The file dialog's name for DjVu files, in the window's language.
    QString djvuFilesName = QStringLiteral("DjVu файлы");

    std::function<void(const QString& text, const QString& caption)> messageBox;
    // The chosen DjVu file, or an empty text when the user cancels.
    std::function<QString()> openDjvuFile;
    // The chosen colour, starting from the one last chosen; nothing when cancelled.
    std::function<std::optional<QColor>(const QColor& last)> colourDialog;
    std::function<void(const QString& path)> openInShell;
    // A yes-or-no question; true for yes.
    std::function<bool(const QString& text, const QString& caption)> question;
    // The captions of the outline question's answers: replace, replace in all, merge, skip.
    QStringList outlineAnswerCaptions = {
        QStringLiteral("Заменить"), QStringLiteral("Заменить во всех"),
        QStringLiteral("Объединить"), QStringLiteral("Пропустить")};
    // The outline question: Replace (Yes), Replace in all (YesToAll), Merge, or Skip (No).
    std::function<OutlineAnswer(const QString& text, const QString& caption)> threeWayQuestion;

    // Shows the box on the window's thread; a caller on another thread waits until it
    // is closed. An empty caption gives the application's name.
    void showMessage(const QString& text, const QString& caption) override;
    // The three-way question about a document's outline, asked on the window's thread as
    // showMessage is.
    OutlineAnswer askReplaceOutline(const QString& text, const QString& caption);
    // Platform colour value (red in the lowest byte); false when cancelled.
    bool pickColour(quint32* colour);

private:
    QWidget* owner_;
    QColor last_ = Qt::black;
};
