#include "ui/tabs/ListRows.h"

#include "base/MessageTexts.h"

namespace ListRows {

bool selectedOrSay(int selected, WindowDialogs& dialogs, const MessageTexts& texts)
{
    if (selected >= 0)
        return true;
    dialogs.showMessage(texts.text("mes1"), QString());
    return false;
}

} // namespace ListRows
