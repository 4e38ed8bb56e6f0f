#pragma once

#include "jobs/CreateRow.h"
#include "links/PassOutcome.h"

#include <QList>

class LogSink;
class MessageSink;
class MessageTexts;
class ToolRunner;

struct FixOptions
{
    bool backup = true; // copy each file to "<path>.backup" before changing it
};

// Aligns the rectangle and oval hyperlinks that the documents of the Fix list already
// have, and writes them back.
class FixPass
{
public:
    FixPass(ToolRunner& tools, const MessageTexts& texts, LogSink& log, MessageSink& messages);
    PassOutcome run(const QList<FixRow>& rows, const FixOptions& options);

private:
    ToolRunner& tools_;
    const MessageTexts& texts_;
    LogSink& log_;
    MessageSink& messages_;
};
