#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The engine never shows anything itself: it reports progress to a log sink and
// refusals or failures to a message sink. The window, the command line and the tests
// each bring their own.

class LogSink
{
public:
    virtual ~LogSink() = default;
    virtual void clear() = 0;
    // Adds a new line at the end of the log.
    virtual void addLine(const QString& line) = 0;
    // Appends text to the last line, without a line break (" OK").
    virtual void append(const QString& text) = 0;
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // A modal message box in the window; stderr on the command line.
    virtual void showMessage(const QString& text, const QString& caption) = 0;
};

// Keeps what it is told, for tests and for callers that decide later what to show.
class RecordingLogSink : public LogSink
{
public:
    QStringList lines;
    void clear() override { lines.clear(); }
    void addLine(const QString& line) override { lines << line; }
    void append(const QString& text) override
    {
        if (lines.isEmpty())
            lines << QString();
        lines.last() += text;
    }
};

class RecordingMessageSink : public MessageSink
{
public:
    struct Message
    {
        QString text;
        QString caption;
    };
    QList<Message> messages;
    void showMessage(const QString& text, const QString& caption) override
    {
        messages.append({text, caption});
    }
};
