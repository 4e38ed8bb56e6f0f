#pragma once

#include "base/PassNotice.h"
#include "jobs/RowOutcome.h"

#include <QList>
#include <QString>

// How a batch pass ended. The window applies its end options ("clear the list", "close
// the window") only to a pass that ran to its end.
struct PassOutcome
{
    bool ranToEnd = false;  // false: stopped early by a refusal or a failure
    int filesChanged = 0;   // documents that were changed and saved
    int filesUnchanged = 0; // documents read whole that needed no change (or a dry run's)
    int filesFailed = 0;
    bool cancelled = false; // stopped by the user; the document being worked on is as it was
    // One entry for each row the pass came to, in list order; rows after them were not
    // reached.
    QList<RowOutcome> rows;
    // What the user is to be told, in the order the pass met it (the failures of the
    // alignment step too); a tool that could not be started is told to the tool runner's sink.
    QList<PassNotice> notices;

    void rowDone() { rows.append({RowOutcome::State::Done, QString()}); }
    void rowUnchanged() { rows.append({RowOutcome::State::Unchanged, QString()}); }
    void rowSkipped(const QString& reason) { rows.append({RowOutcome::State::Skipped, reason}); }
    void rowFailed(const QString& reason) { rows.append({RowOutcome::State::Failed, reason}); }
    void rowNotReached() { rows.append({RowOutcome::State::NotReached, QString()}); }
};
