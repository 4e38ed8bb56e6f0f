#pragma once

#include "tools/Sinks.h"

#include <cstdio>

// Log lines to standard output as the window's log shows them; messages to standard error.
class ConsoleLogSink : public LogSink
{
public:
    ~ConsoleLogSink() override { finishLine(); }
    void clear() override {}
    void addLine(const QString& line) override
    {
        finishLine();
        write(line);
        open_ = true;
    }
    void append(const QString& text) override
    {
        write(text);
        open_ = true;
    }
    void finishLine()
    {
        if (open_)
            std::fputc('\n', stdout);
        std::fflush(stdout);
        open_ = false;
    }

private:
    static void write(const QString& text) { std::fputs(text.toLocal8Bit().constData(), stdout); }
    bool open_ = false;
};

class ConsoleMessageSink : public MessageSink
{
public:
    explicit ConsoleMessageSink(ConsoleLogSink* log = nullptr) : log_(log) {}
    void showMessage(const QString& text, const QString& caption) override
    {
        if (log_)
            log_->finishLine();
        QString line = caption.isEmpty() ? text : caption + QStringLiteral(" ") + text;
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        ++count;
    }
    int count = 0;

private:
    ConsoleLogSink* log_;
};
