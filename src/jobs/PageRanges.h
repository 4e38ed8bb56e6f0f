#pragma once

#include "jobs/CreateJob.h"

#include <QList>
#include <QString>

// The contents ranges of a job as the command line and the list rows write them.
namespace PageRanges {

// "1,17-18": ranges of pages counted from 1, in page order, none overlapping another.
bool read(const QString& text, QList<ContentsRange>* ranges);
// "0,16", "auto", "-3": one offset for each range, or one for all; each a whole number
// (low to high) or "auto". Gives them to the ranges.
bool readOffsets(const QString& text, int low, int high, QList<ContentsRange>* ranges);

} // namespace PageRanges
