#pragma once

#include "base/Sinks.h"

#include <QList>
#include <QMutex>

// The engine's notices in the window. While a pass runs on its thread they are kept, and
// shown on the window's thread once it has ended, in one message box however many there were;
// between passes (the tools the editor runs) each is shown at once.
class WindowNotices : public NoticeSink
{
public:
    WindowNotices(MessageSink& boxes, const MessageTexts& texts) : boxes_(boxes), texts_(texts) {}
    void notice(const PassNotice& notice) override;
    // The run speaks the language it began in, whatever the window changes to meanwhile.
    void beginRun(const MessageTexts& runTexts);
    // Shows what the run was told.
    void endRun();

private:
    MessageSink& boxes_;
    const MessageTexts& texts_;
    QMutex mutex_;
    bool gathering_ = false;
    QList<PassNotice> kept_;
    MessageTexts runTexts_;
};
