#include "ui/main/ProgressBarSink.h"

#include <QProgressBar>

void ProgressBarSink::progress(const PassProgress& where)
{
    const int value = where.permille();
    // "1/2": the document being worked on, of all of them.
    const QString format = QStringLiteral("%1/%2").arg(where.document).arg(where.documents);
    QMetaObject::invokeMethod(bar_, [bar = bar_, value, format] {
        if (!bar)
            return;
        bar->setFormat(format);
        bar->setValue(value);
    });
}

void ProgressBarSink::reset()
{
    if (!bar_)
        return;
    bar_->setRange(0, 1000);
    bar_->setValue(0);
    bar_->setFormat(QString());
}
