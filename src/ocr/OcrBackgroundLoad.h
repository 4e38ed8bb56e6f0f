#pragma once

#include "base/CancellableThread.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"

#include <QObject>
#include <QString>

#include <memory>

class OcrDocument;

// Reads a document's whole text layer on a thread of its own, with a tool runner of its own
// (same tools, same work folder), so the window that asked goes on meanwhile. finished() comes
// on the asking thread. Cancelling kills the running tool and waits for the thread; so does
// destroying it.
class OcrBackgroundLoad : public QObject
{
    Q_OBJECT
public:
    OcrBackgroundLoad(const ToolRunner& tools, QString documentPath, QObject* parent = nullptr);
    ~OcrBackgroundLoad() override;

    void start();
    void cancel();
    bool isRunning() const;

    // After finished(true): the document read.
    std::unique_ptr<OcrDocument> takeDocument();
    // After finished(false): why, in the tool's own words where a tool failed.
    QString error() const { return error_; }

signals:
    void finished(bool ok);

private:
    QString documentPath_;
    RecordingMessageSink messages_; // shown by the window, never from the thread
    ToolRunner runner_;
    std::unique_ptr<OcrDocument> document_;
    QString error_;
    bool ok_ = false;
    CancellableThread thread_; // destroyed first: its work uses the members above
};
