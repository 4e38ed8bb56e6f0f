#pragma once

#include "reading/SmartEntry.h"

#include <QList>

namespace EntryLevels {

// Levels from numbering where an entry has one ("1." 1, "2.1" 2, "Глава 3" by its word),
// else from the indentation of its line against the numbered entries of its page.
void assign(QList<SmartEntry>* entries);

} // namespace EntryLevels
