#pragma once

#include "reading/PageText.h"
#include "review/ReviewModel.h"

#include <QList>
#include <QMap>

class ToolRunner;

// Whether each reviewed entry's title stands on the page it leads to: a line of that page's
// body begins with the title's numbering and first words, as the smart reading checks it.
namespace ReviewCheck {

// The target pages of these entries, each once, in order.
QList<int> targetPages(const QList<ReviewEntry>& entries);
// Reads the text of these pages in one djvused run. False, with *error set, when it fails.
bool readPages(ToolRunner& tools, const QString& path, const QList<int>& pages,
               QMap<int, PageText>* texts, QString* error);
// The check of one entry against the pages read; a page not read counts as one without text.
ReviewEntry::Check check(const PlanEntry& entry, const QMap<int, PageText>& texts, int pageCount);

} // namespace ReviewCheck
