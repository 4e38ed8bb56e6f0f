#include "base/EngineTexts.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct Current
{
    QMutex mutex;
    QStringList texts; // by key index; empty: the English built-in texts
};

Current& current()
{
    static Current c;
    return c;
}

} // namespace

namespace EngineTexts {

QString say(EngineKey key)
{
    {
        Current& c = current();
        QMutexLocker lock(&c.mutex);
        if (!c.texts.isEmpty())
            return c.texts.at(qsizetype(key.index()));
    }
    return englishText(key);
}

void use(const std::function<QString(EngineKey key)>& textOf)
{
    QStringList chosen;
    for (const EngineKey key : EngineKey::all())
        chosen << textOf(key);
    Current& c = current();
    QMutexLocker lock(&c.mutex);
    c.texts = std::move(chosen);
}

void useEnglish()
{
    Current& c = current();
    QMutexLocker lock(&c.mutex);
    c.texts.clear();
}

const QStringList& keys()
{
    static const QStringList all = [] {
        QStringList names;
        for (const EngineKey key : EngineKey::all())
            names << QString::fromLatin1(key.name());
        return names;
    }();
    return all;
}

QString russianText(EngineKey key)
{
    return QString::fromUtf8(EngineTable::at(key.index()).russian);
}

QString englishText(EngineKey key)
{
    return QString::fromUtf8(EngineTable::at(key.index()).english);
}

} // namespace EngineTexts
