#pragma once

#include "base/PassProgress.h"

#include <QPointer>
#include <QProgressBar>

// Moves the window's progress bar as a pass reports its steps. Reports come from the pass's
// worker thread and are queued to the window's thread.
class ProgressBarSink : public ProgressSink
{
public:
    void setBar(QProgressBar* bar) { bar_ = bar; }
    void progress(const PassProgress& where) override;
    // Empties the bar for a new pass.
    void reset();

private:
    QPointer<QProgressBar> bar_;
};
