#pragma once

#include "base/MessageTexts.h"
#include "base/PassNotice.h"

#include <QList>
#include <QString>
#include <QStringList>

// The engine never shows anything itself: it reports progress to a log sink and refusals or
// failures as notices (see PassNotice), which it also returns with a pass's outcome. The
// window, the command line and the tests each bring their own sinks, and the message sinks
// that show the words they choose.

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

// Keeps each message, and each notice in the words the window would give it.
class RecordingMessageSink : public MessageSink, public NoticeSink
{
public:
    struct Message
    {
        QString text;
        QString caption;
    };
    QList<Message> messages;
    QList<PassNotice> notices;
    const MessageTexts* texts = nullptr; // none: the built-in texts
    void showMessage(const QString& text, const QString& caption) override
    {
        messages.append({text, caption});
    }
    void notice(const PassNotice& notice) override
    {
        notices.append(notice);
        const NoticeWords words = NoticeWords::of(notice, texts ? *texts : MessageTexts());
        showMessage(words.text, words.caption);
    }
};
