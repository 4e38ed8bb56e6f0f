#pragma once

#include "outline/Outline.h"

#include <QList>
#include <QString>

// One entry of a contents, as the outline takes it: its title, its level in the contents
// (1 for a chapter, 2 for its sections, ...) and the page it points to.
struct OutlineSourceEntry
{
    QString title;
    int level = 1;
    int page = 0;         // the target page, 1-based
    bool numbered = true; // the entry carries a number ("2.1"); front matter does not
};

// Nests the entries of a contents, in reading order, into an outline. Each entry goes
// under the nearest entry before it with a smaller level, so a level that jumps by two
// still nests one step deeper. Entries before the first numbered one (a preface, an
// introduction) stay at the top and hold no children.
Outline outlineFromEntries(const QList<OutlineSourceEntry>& entries);
