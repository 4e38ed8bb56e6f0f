#pragma once

#include "base/Sinks.h"

// Hands every message on and keeps the last one, for a document's record.
class LastMessageSink : public MessageSink
{
public:
    explicit LastMessageSink(MessageSink& inner) : inner_(inner) {}
    void showMessage(const QString& text, const QString& caption) override
    {
        last = text;
        inner_.showMessage(text, caption);
    }
    QString last;

private:
    MessageSink& inner_;
};
