#pragma once

#include "reading/PageText.h"

#include <QMap>
#include <QSet>

// The pages the check of a contents' targets reads, for recognition in a book without text:
// the pages around each arabic entry's target, and for roman entries the front matter
// between the contents and the first target.
namespace CheckPages {

// How far from the page an entry's number and the offset give the check looks.
constexpr int kReach = 1;
// Front matter longer than this is not read page by page for its roman entries.
constexpr int kFrontMatter = 30;

QSet<int> forTargets(const QMap<int, PageText>& contents, int offset, bool halve, int pageCount);

// Of a book's pages without text (in order), those whose margins are read for the page
// numbers printed there when the offset is to be found: two pages side by side in every
// kNumberStep, since a number counts only where a page nearby agrees with it.
constexpr int kNumberStep = 6;
QList<int> forPageNumbers(const QList<int>& withoutText);

} // namespace CheckPages
