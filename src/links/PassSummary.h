#pragma once

#include "links/PassOutcome.h"

#include <QString>

// The line under the tabs after a pass: "3 documents changed, 1 failed", and how many rows
// the pass did not reach, in the language in use.
namespace PassSummary {
QString line(const PassOutcome& outcome, int rowCount);
} // namespace PassSummary
