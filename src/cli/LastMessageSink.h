#pragma once

#include "base/Sinks.h"

// Hands every message on and keeps the last one, for a document's record.
class LastMessageSink : public MessageSink, public NoticeSink
{
public:
    LastMessageSink(MessageSink& inner, const MessageTexts& texts) : inner_(inner), texts_(texts) {}
    void notice(const PassNotice& notice) override
    {
        const NoticeWords words = NoticeWords::of(notice, texts_);
        showMessage(words.text, words.caption);
    }
    void showMessage(const QString& text, const QString& caption) override
    {
        last = text;
        inner_.showMessage(text, caption);
    }
    QString last;

private:
    MessageSink& inner_;
    const MessageTexts& texts_;
};
