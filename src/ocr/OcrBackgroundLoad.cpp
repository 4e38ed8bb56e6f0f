#include "ocr/OcrBackgroundLoad.h"

#include "ocr/OcrDocument.h"
#include "ocr/OcrTextLayer.h"

OcrBackgroundLoad::OcrBackgroundLoad(const ToolRunner& tools, QString documentPath, QObject* parent)
    : QObject(parent), documentPath_(std::move(documentPath)),
      runner_(tools.exeFolder(), tools.workFolder(), &messages_),
      document_(std::make_unique<OcrDocument>())
{
    runner_.setCancelToken(thread_.token());
}

OcrBackgroundLoad::~OcrBackgroundLoad()
{
    cancel();
}

void OcrBackgroundLoad::start()
{
    thread_.start(
        this,
        [this] {
            OcrTextLayer layer(runner_);
            ok_ = layer.dump(documentPath_, *document_);
            error_ = layer.error();
            if (!ok_ && layer.errorShown() && !messages_.messages.isEmpty())
                error_ = messages_.messages.last().text;
        },
        [this] { emit finished(ok_); });
}

void OcrBackgroundLoad::cancel()
{
    thread_.cancel();
}

bool OcrBackgroundLoad::isRunning() const
{
    return thread_.isRunning();
}

std::unique_ptr<OcrDocument> OcrBackgroundLoad::takeDocument()
{
    return std::move(document_);
}
