#pragma once

#include "cli/BatchOptions.h"
#include "cli/DocumentReport.h"
#include "links/PassOutcome.h"

#include <functional>

// Runs the documents of a create or fix command in this process, one after another and
// each on its own, and writes the report. Without --keep-going the first failure stops it.
namespace DocumentLoop {

using RunOne = std::function<DocumentRecord(int index)>;

// The exit status: 0 all went well, 1 a document failed (or the report could not be
// written), 130 stopped by a signal.
int run(const QString& command, int count, const BatchOptions& options, const RunOne& runOne);

// The outcome word of a pass over one document.
QString outcomeOf(int changed, int failed, bool cancelled, bool ranToEnd);

// Prints the line that sums a batch up, as the window shows it under its tabs: the records
// of the documents run, of `total` given.
void printSummary(const QList<QJsonObject>& records, int total);
void printSummary(const PassOutcome& outcome, int total);

} // namespace DocumentLoop
