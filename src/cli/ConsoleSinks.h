#pragma once

#include "base/Sinks.h"

#include <cstdio>

// Log lines to standard output as the window's log shows them; messages to standard error.
// The last line waits until the next one begins, so that a failure the engine both logs
// and shows is printed once, as a message.
class ConsoleLogSink : public LogSink
{
public:
    ~ConsoleLogSink() override { finishLine(); }
    void clear() override {}
    void addLine(const QString& line) override
    {
        finishLine();
        pending_ = line;
        open_ = true;
    }
    void append(const QString& text) override
    {
        pending_ += text;
        open_ = true;
    }
    void finishLine()
    {
        if (open_)
            std::fprintf(stdout, "%s\n", pending_.toLocal8Bit().constData());
        std::fflush(stdout);
        pending_.clear();
        open_ = false;
    }
    // Drops the waiting line when a message says the same.
    void dropIfSaidIn(const QString& message)
    {
        if (open_ && message.split(QLatin1Char('\n')).contains(pending_.trimmed())) {
            pending_.clear();
            open_ = false;
        }
    }

private:
    QString pending_;
    bool open_ = false;
};

// A notice is printed as the run meets it, in the words of the run's language.
class ConsoleMessageSink : public MessageSink, public NoticeSink
{
public:
    explicit ConsoleMessageSink(ConsoleLogSink* log = nullptr, const MessageTexts* texts = nullptr)
        : log_(log), texts_(texts)
    {
    }
    void notice(const PassNotice& notice) override
    {
        const NoticeWords words = NoticeWords::of(notice, texts_ ? *texts_ : MessageTexts());
        showMessage(words.text, words.caption);
    }
    void showMessage(const QString& text, const QString& caption) override
    {
        if (log_) {
            log_->dropIfSaidIn(text);
            log_->finishLine();
        }
        QString line = caption.isEmpty() ? text : caption + QStringLiteral(" ") + text;
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        ++count;
    }
    int count = 0;

private:
    ConsoleLogSink* log_;
    const MessageTexts* texts_;
};
