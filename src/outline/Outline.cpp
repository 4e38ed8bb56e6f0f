#include "outline/Outline.h"

bool Outline::isWellNested() const
{
    int previous = -1;
    for (const Bookmark& bookmark : bookmarks) {
        if (bookmark.level < 0 || bookmark.level > previous + 1)
            return false;
        previous = bookmark.level;
    }
    return true;
}

QByteArray Outline::pageTarget(int page)
{
    return '#' + QByteArray::number(page);
}

int Outline::pageOf(const QByteArray& target)
{
    // "#012" or "#+1" are targets too, but not in the form written back for a number.
    if (target.size() < 2 || target.size() > 10 || target[0] != '#' || target[1] == '0')
        return 0;
    int page = 0;
    for (qsizetype i = 1; i < target.size(); ++i) {
        if (target[i] < '0' || target[i] > '9')
            return 0;
        page = page * 10 + (target[i] - '0');
    }
    return page;
}
