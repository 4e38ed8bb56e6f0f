#pragma once

#include "base/PassNotice.h"
#include "base/Sinks.h"
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

// The notices of a pass's run: each is told to the sink as the pass meets it and kept for
// the run's outcome.
class RunNotices
{
public:
    explicit RunNotices(NoticeSink& sink) : sink_(sink) {}
    NoticeSink& sink() const { return sink_; }
    void notify(const PassNotice& notice)
    {
        kept_.append(notice);
        sink_.notice(notice);
    }
    // Notices told to the sink already, by a pass run inside this one.
    void keep(const QList<PassNotice>& told) { kept_ << told; }
    // One run with a fresh record: its outcome carries the notices it met.
    template <typename Outcome, typename Run> Outcome record(Run run)
    {
        kept_.clear();
        Outcome outcome = run();
        outcome.notices = kept_;
        return outcome;
    }

private:
    NoticeSink& sink_;
    QList<PassNotice> kept_;
};
