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

// The pages, last-page and offset texts of a list row or of the Create tab's fields: a lone
// first page, last page and offset, or a list of ranges in the pages text ("1,17-18", "3-9")
// with one offset or one for each range in the offset text; the last page is then unused.
enum class Field
{
    None, // all read
    Pages,
    LastPage,
    Offset
};
// True when the texts are in the list form.
bool isList(const QString& pages, const QString& offsets);
// The field that does not read, or None with the ranges given.
Field readFields(const QString& pages, const QString& lastPage, const QString& offsets,
                 QList<ContentsRange>* ranges);

} // namespace PageRanges
