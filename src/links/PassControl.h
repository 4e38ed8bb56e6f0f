#pragma once

#include "base/PassProgress.h"

#include <QStringList>

class CancelToken;
class MessageTexts;

// What a batch pass is told from outside while it runs: where to report its progress and
// the token that asks it to stop. The pass calls enter() at every step boundary and stops
// when it answers false; the document being worked on is then left as it was.
class PassControl
{
public:
    PassControl() = default; // reports nowhere, never stops
    PassControl(ProgressSink* sink, const CancelToken* token) : sink_(sink), token_(token) {}

    const CancelToken* token() const { return token_; }
    bool cancelled() const;

    // Begins document `document` (1 for the first) of `documents`; false when stopped.
    bool startDocument(int document, int documents, const QString& path);
    // Reports the step about to begin; false when stopped (the step is not to begin).
    bool enter(PassProgress::Step step);
    // Reports page `page` of `pages` of the current step; false when stopped.
    bool page(int page, int pages);

    // A pass run inside another (the alignment after a Create run) keeps the outer document
    // numbers and shows its steps as the outer one's Aligning step.
    void setNested(bool nested) { nested_ = nested; }

    const PassProgress& where() const { return where_; }
    // The log lines that say where the run stopped.
    QStringList stopLines(const MessageTexts& texts) const;

private:
    void report();

    ProgressSink* sink_ = nullptr;
    const CancelToken* token_ = nullptr;
    PassProgress where_;
    bool nested_ = false;
};
