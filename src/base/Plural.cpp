#include "base/Plural.h"

#include "base/EngineTexts.h"

#include <QStringList>

namespace Plural {

QString pick(const QString& forms, qint64 n)
{
    const QStringList all = forms.split(QLatin1Char('|'));
    const qint64 a = n < 0 ? -n : n;
    qsizetype index = 0;
    if (all.size() == 2) {
        index = a == 1 ? 0 : 1;
    } else if (all.size() >= 3) {
        const qint64 last = a % 10, lastTwo = a % 100;
        if (last == 1 && lastTwo != 11)
            index = 0;
        else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
            index = 1;
        else
            index = 2;
    }
    return all.at(index);
}

QString count(EngineKey key, qint64 n)
{
    return pick(EngineTexts::say(key), n).arg(n);
}

} // namespace Plural
