#pragma once

#include "links/ContentsPlan.h"
#include "reading/SmartReading.h"

// The entries of the smart reading as the plan's pages, so that the same script writer
// writes their links. Entries without a target get no area.
namespace SmartPlan {

// comment: the areas' escaped comment as the row gives it; when it holds more than
// blanks, each area's comment ends in the entry's printed page number.
QList<PlanPage> pagesOf(const SmartReading::Result& result, const QByteArray& comment);
// The comment of one entry's area by that rule.
QByteArray entryComment(const QByteArray& comment, const QByteArray& printed);

} // namespace SmartPlan
