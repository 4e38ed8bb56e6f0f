#include "base/CancellableThread.h"

#include <QThread>

CancellableThread::~CancellableThread()
{
    cancel();
}

void CancellableThread::start(QObject* context, std::function<void()> work,
                              std::function<void()> done)
{
    if (thread_)
        return;
    thread_ = QThread::create(std::move(work));
    QObject::connect(thread_, &QThread::finished, context, [this, done = std::move(done)] {
        if (!token_.isCancelled())
            done();
    });
    thread_->start();
}

void CancellableThread::cancel()
{
    if (!thread_)
        return;
    token_.cancel();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

bool CancellableThread::isRunning() const
{
    return thread_ && thread_->isRunning();
}
