#pragma once

#include "base/Sinks.h"

#include <QPointer>

class QPlainTextEdit;

// The log pane as the engine's log. Lines written from a worker thread are queued to the
// window's thread, in order, so the pane repaints while a pass runs.
class MemoLogSink : public LogSink
{
public:
    MemoLogSink();
    ~MemoLogSink() override;
    void setMemo(QPlainTextEdit* memo);
    void clear() override;
    void addLine(const QString& line) override;
    void append(const QString& text) override;

private:
    QPointer<QPlainTextEdit> memo_;
};
