#pragma once

#include "links/CreatePass.h"
#include "links/PassOutcome.h"

// What the window does once a batch pass has returned: the end options of a tab apply only
// to a pass that ran to its end.
struct EndOptions
{
    bool clearList = false;   // "Очистить список по завершению"
    bool closeWindow = false; // "Закрыть по завершению"
};

struct PassEndActions
{
    bool clearFixList = false;
    bool clearCreateList = false;
    bool closeWindow = false;

    bool operator==(const PassEndActions&) const = default;
};

namespace PassEnd {
PassEndActions afterFixPass(const PassOutcome& outcome, const EndOptions& fixTab);
// Alignment runs through the Fix list, so what it held is gone afterwards; the edit tab's own
// end options apply when the alignment ran to its end. The list is emptied before the
// window closes.
PassEndActions afterCreatePass(const CreateOutcome& outcome, const EndOptions& createTab,
                               const EndOptions& fixTab);
} // namespace PassEnd
