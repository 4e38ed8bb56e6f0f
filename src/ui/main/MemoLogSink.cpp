#include "ui/main/MemoLogSink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

MemoLogSink::MemoLogSink() = default;
MemoLogSink::~MemoLogSink() = default;

void MemoLogSink::setMemo(QPlainTextEdit* memo)
{
    memo_ = memo;
}

void MemoLogSink::clear()
{
    QMetaObject::invokeMethod(memo_, [memo = memo_] {
        if (memo)
            memo->clear();
    });
}

void MemoLogSink::addLine(const QString& line)
{
    QMetaObject::invokeMethod(memo_, [memo = memo_, line] {
        if (memo)
            memo->appendPlainText(line);
    });
}

void MemoLogSink::append(const QString& text)
{
    QMetaObject::invokeMethod(memo_, [memo = memo_, text] {
        if (!memo)
            return;
        QTextCursor cursor(memo->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
        memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
    });
}
