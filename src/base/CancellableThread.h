#pragma once

#include "base/CancelToken.h"

#include <functional>

class QObject;
class QThread;

// One piece of work on a thread of its own, stopped through its cancel token: cancelling sets
// the token (the work's tools see it and end) and waits for the thread, as destroying does.
class CancellableThread
{
public:
    CancellableThread() = default;
    ~CancellableThread();
    CancellableThread(const CancellableThread&) = delete;
    CancellableThread& operator=(const CancellableThread&) = delete;

    // Runs the work; once it is over, done runs on the thread of `context`, unless the work was
    // cancelled. Does nothing while a work runs or ran.
    void start(QObject* context, std::function<void()> work, std::function<void()> done);
    void cancel();
    bool isRunning() const;
    const CancelToken* token() const { return &token_; }

private:
    CancelToken token_;
    QThread* thread_ = nullptr;
};
