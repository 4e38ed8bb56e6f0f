#include "ui/ocr/ResponsiveWait.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QWidget>

void runWhileResponsive(QWidget* owner, const std::function<void()>& work)
{
    if (owner)
        owner->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QThread* worker = QThread::create(work);
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;
    QApplication::restoreOverrideCursor();
    if (owner)
        owner->setEnabled(true);
}
