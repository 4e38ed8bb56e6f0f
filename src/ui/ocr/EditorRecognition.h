#pragma once

#include "base/CancellableThread.h"
#include "djvu/ToolRunner.h"
#include "ocr/PageRecognition.h"

#include <QObject>
#include <QString>

// Recognises one page of the editor's book on a thread of its own, so the window goes on
// repainting and can stop it. finished() comes on the asking thread unless the run was
// cancelled; cancelling kills the running tool and waits for the thread, as destroying does.
class EditorRecognition : public QObject
{
    Q_OBJECT
public:
    EditorRecognition(const ToolRunner& tools, QString documentPath, int page,
                      QObject* parent = nullptr);
    ~EditorRecognition() override;

    // The languages the page is read with, as the Create pass reads a book: the preferred
    // set first, then each other installed set, the surest reading winning. False, with
    // *error naming the missing language data, when the preferred set is not installed.
    bool chooseLanguages(const QString& preferred, QString* error);
    void start();
    void cancel();
    int page() const { return page_; }
    // After finished(): what was read, or why not.
    const PageRecognition::Outcome& outcome() const { return outcome_; }

signals:
    void finished();

private:
    ToolRunner tools_;
    QString documentPath_;
    int page_;
    PageRecognition::Settings settings_;
    PageRecognition::Outcome outcome_;
    CancellableThread thread_; // destroyed first: its work uses the members above
};
