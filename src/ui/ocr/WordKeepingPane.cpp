#include "ui/ocr/WordKeepingPane.h"

#include "ocr/OcrDocument.h"
#include "ocr/OcrWordText.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

WordKeepingPane::WordKeepingPane(QPlainTextEdit* pane) : QObject(pane), pane_(pane)
{
    connect(pane_, &QPlainTextEdit::textChanged, this, &WordKeepingPane::changed);
}

void WordKeepingPane::show(const OcrPageText* page)
{
    separators_.clear(); // the rules rest while the pane fills
    wordsPerLine_.clear();
    pane_->clear();
    if (page && page->hasWords()) {
        pane_->setPlainText(page->lines.join(u'\n'));
        separators_ = page->separators();
        wordsPerLine_ = page->wordsPerLine;
    }
    // Without words typed letters would have no word to go to.
    pane_->setReadOnly(!hasWords());
    accepted_ = text();
    pane_->document()->setModified(false);
}

void WordKeepingPane::reset()
{
    separators_.clear();
    wordsPerLine_.clear();
    accepted_.clear();
    const QSignalBlocker block(pane_);
    pane_->clear();
}

QString WordKeepingPane::text() const
{
    return pane_->document()->toRawText();
}

QStringList WordKeepingPane::lines() const
{
    // The raw text keeps no-break spaces (which show the spaces inside a word) and marks
    // every line end, also one typed with Shift+Enter.
    QStringList lines{QString()};
    for (QChar c : text()) {
        if (OcrWordText::isLineBreak(c))
            lines << QString();
        else
            lines.last() += c;
    }
    return lines;
}

bool WordKeepingPane::keepsWords(const QStringList& lines) const
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

void WordKeepingPane::changed()
{
    if (reverting_ || separators_.isEmpty())
        return;
    if (keepsWords(lines()))
        accepted_ = text();
    else
        restoreAccepted();
    pane_->document()->setModified(false);
}

// Undoes a change that would add or remove lines, or put text on a line without words. The
// control's own undo does it when the change was one step; typing that the control merged into
// one step is put back by replacing only the part that differs.
void WordKeepingPane::restoreAccepted()
{
    reverting_ = true;
    pane_->undo();
    const QString now = text();
    if (now != accepted_) {
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(now.size(), accepted_.size());
        while (prefix < shorter && now[prefix] == accepted_[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix &&
               now[now.size() - 1 - suffix] == accepted_[accepted_.size() - 1 - suffix])
            ++suffix;
        const QString wanted = accepted_.mid(prefix, accepted_.size() - suffix - prefix);
        QTextCursor cursor(pane_->document());
        cursor.setPosition(int(prefix));
        cursor.setPosition(int(now.size() - suffix), QTextCursor::KeepAnchor);
        cursor.insertText(wanted);
        cursor.setPosition(int(prefix + wanted.size()));
        pane_->setTextCursor(cursor);
    }
    reverting_ = false;
}
