#include "reading/LineAccount.h"

#include "base/EngineTexts.h"

int LineAccount::countable() const
{
    int n = 0;
    for (const Line& l : lines)
        n += l.role == Role::Entry || l.role == Role::NotRead ? 1 : 0;
    return n;
}

int LineAccount::linkedCount() const
{
    int n = 0;
    for (const Line& l : lines)
        n += l.role == Role::Entry && l.linked ? 1 : 0;
    return n;
}

QList<LineAccount::Line> LineAccount::unlinked() const
{
    QList<Line> out;
    for (const Line& l : lines)
        if (isUnlinked(l))
            out << l;
    return out;
}

QString LineAccount::summary() const
{
    return EngineTexts::say("e_lines_linked").arg(linkedCount()).arg(countable());
}

const char* LineAccount::reasonName(Reason reason)
{
    switch (reason) {
    case Reason::NoPageNumber:
        return "noPageNumber";
    case Reason::NumberUnderNoTitle:
        return "numberUnderNoTitle";
    case Reason::NumberUnreadable:
        return "numberUnreadable";
    case Reason::TitleNotFound:
        return "titleNotFound";
    case Reason::TargetUnconfirmed:
        return "targetUnconfirmed";
    case Reason::None:
        break;
    }
    return "none";
}

QString LineAccount::describe(const Line& line)
{
    EngineKey key = "e_line_not_read_title";
    switch (line.reason) {
    case Reason::NoPageNumber:
        key = "e_line_no_number";
        break;
    case Reason::NumberUnderNoTitle:
        key = "e_line_number_alone";
        break;
    case Reason::NumberUnreadable:
        key = "e_line_number_unreadable";
        break;
    case Reason::TargetUnconfirmed:
        key = "e_line_unconfirmed";
        break;
    case Reason::TitleNotFound:
    case Reason::None:
        break;
    }
    return EngineTexts::say(key).arg(line.page).arg(line.text);
}
