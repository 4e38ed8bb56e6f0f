#include "links/PassEnd.h"

namespace PassEnd {

PassEndActions afterFixPass(const PassOutcome& outcome, const EndOptions& fixTab)
{
    PassEndActions actions;
    if (outcome.ranToEnd) {
        actions.clearFixList = fixTab.clearList;
        actions.closeWindow = fixTab.closeWindow;
    }
    return actions;
}

PassEndActions afterCreatePass(const CreateOutcome& outcome, const EndOptions& createTab,
                               const EndOptions& fixTab)
{
    PassEndActions actions;
    actions.clearFixList = outcome.alignmentRan;
    if (outcome.alignmentRanToEnd)
        actions.closeWindow = fixTab.closeWindow;
    if (outcome.ranToEnd) {
        actions.clearCreateList = createTab.clearList;
        actions.closeWindow = actions.closeWindow || createTab.closeWindow;
    }
    return actions;
}

} // namespace PassEnd
