#include "base/MessageTexts.h"

namespace {

QList<MessageKey> keysFrom(std::size_t first, std::size_t end)
{
    QList<MessageKey> keys;
    for (std::size_t i = first; i < end; ++i)
        keys << MessageKey::at(i);
    return keys;
}

} // namespace

MessageTexts::MessageTexts()
{
    for (const MessageText& e : kMemoTexts)
        texts_ << QString::fromUtf8(e.text);
    for (const MessageText& e : kOcrTexts)
        texts_ << QString::fromUtf8(e.text);
    for (const EngineKey key : EngineKey::all())
        texts_ << EngineTexts::russianText(key);
}

QString MessageTexts::text(MessageKey key) const
{
    return texts_.at(qsizetype(key.index()));
}

void MessageTexts::setText(MessageKey key, const QString& value)
{
    texts_[qsizetype(key.index())] = value;
}

const QList<MessageKey>& MessageTexts::memoKeys()
{
    static const QList<MessageKey> keys = keysFrom(0, MessageTable::memoSize);
    return keys;
}

const QList<MessageKey>& MessageTexts::ocrKeys()
{
    static const QList<MessageKey> keys =
        keysFrom(MessageTable::memoSize, MessageTable::engineStart);
    return keys;
}

const QList<MessageKey>& MessageTexts::engineKeys()
{
    static const QList<MessageKey> keys = keysFrom(MessageTable::engineStart, MessageTable::size);
    return keys;
}

QStringList MessageTexts::namesOf(const QList<MessageKey>& keys)
{
    QStringList names;
    for (const MessageKey key : keys)
        names << QString::fromLatin1(key.name());
    return names;
}

void MessageTexts::lendToEngine() const
{
    EngineTexts::use([this](EngineKey key) { return text(keyOf(key)); });
}

QString MessageTexts::defaultText(MessageKey key)
{
    static const MessageTexts defaults;
    return defaults.text(key);
}
