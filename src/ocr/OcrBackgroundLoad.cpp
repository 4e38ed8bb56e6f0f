#include "ocr/OcrBackgroundLoad.h"

#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

#include <QThread>

OcrBackgroundLoad::OcrBackgroundLoad(const ToolRunner& tools, QString documentPath, QObject* parent)
    : QObject(parent), documentPath_(std::move(documentPath)),
      runner_(tools.exeFolder(), tools.workFolder(), &messages_, tools.errorCaption()),
      document_(std::make_unique<OcrDocument>())
{
    runner_.setCancelToken(&token_);
}

OcrBackgroundLoad::~OcrBackgroundLoad()
{
    cancel();
}

void OcrBackgroundLoad::start()
{
    if (thread_)
        return;
    thread_ = QThread::create([this] {
        OcrTextLayer layer(runner_);
        ok_ = layer.dump(documentPath_, *document_);
        error_ = layer.error();
        if (!ok_ && layer.errorShown() && !messages_.messages.isEmpty())
            error_ = messages_.messages.last().text;
    });
    connect(thread_, &QThread::finished, this, [this] {
        if (!token_.isCancelled())
            emit finished(ok_);
    });
    thread_->start();
}

void OcrBackgroundLoad::cancel()
{
    if (!thread_)
        return;
    token_.cancel();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

bool OcrBackgroundLoad::isRunning() const
{
    return thread_ && thread_->isRunning();
}

std::unique_ptr<OcrDocument> OcrBackgroundLoad::takeDocument()
{
    return std::move(document_);
}
