#pragma once

#include "cli/BatchOptions.h"
#include "cli/DocumentReport.h"
#include "cli/LastMessageSink.h"
#include "links/PassOutcome.h"

#include <functional>

// Runs the documents of a create or fix command in this process, one after another and
// each on its own, and writes the report. Without --keep-going the first failure stops it.
namespace DocumentLoop {

using RunOne = std::function<DocumentRecord(int index)>;

// The exit status: 0 all went well, 1 a document failed (or the report could not be
// written), 130 stopped by a signal.
int run(const QString& command, int count, const BatchOptions& options, const RunOne& runOne);

// Runs a pass over one document, timed: its record with the outcome and, unless it was
// changed, the last message said.
DocumentRecord record(const QString& path, LastMessageSink& messages,
                      const std::function<PassOutcome()>& pass);

// The exit status of a pass over every document at once: 0, 1, or 130 when stopped.
int statusOf(const PassOutcome& outcome);

// Prints the line that sums a batch up, as the window shows it under its tabs: the records
// of the documents run, of `total` given.
void printSummary(const QList<QJsonObject>& records, int total);
void printSummary(const PassOutcome& outcome, int total);

} // namespace DocumentLoop
