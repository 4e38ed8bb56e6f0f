#pragma once

#include "base/EngineTexts.h"
#include "base/MessageTextTable.h"

#include <QList>
#include <QString>
#include <QStringList>

// The keys of the window's texts: section Memo, then OCR, then the engine's sentences.
struct MessageTable
{
    static constexpr std::size_t memoSize = std::size(kMemoTexts);
    static constexpr std::size_t ocrSize = std::size(kOcrTexts);
    static constexpr std::size_t engineStart = memoSize + ocrSize;
    static constexpr std::size_t size = engineStart + EngineTable::size;
    static constexpr const char* nameAt(std::size_t i)
    {
        return i < memoSize      ? kMemoTexts[i].key
               : i < engineStart ? kOcrTexts[i - memoSize].key
                                 : EngineTable::nameAt(i - engineStart);
    }
};
using MessageKey = TextKey<MessageTable>;

// The texts of the log pane, of message boxes and of the OCR editor (sections Memo and
// OCR of a language file). One table holds every key with its built-in Russian text;
// the window, the command line and the engine all read from here.
class MessageTexts
{
public:
    MessageTexts(); // every key at its built-in text

    QString text(MessageKey key) const;
    void setText(MessageKey key, const QString& value);
    // Makes the engine's own sentences (section Engine) speak these texts' language.
    void lendToEngine() const;

    // Keys of section Memo and of section OCR, in their file order.
    static const QList<MessageKey>& memoKeys();
    static const QList<MessageKey>& ocrKeys();
    // Keys of section Engine: the engine's own sentences (see EngineTexts).
    static const QList<MessageKey>& engineKeys();
    static MessageKey keyOf(EngineKey key)
    {
        return MessageKey::at(MessageTable::engineStart + key.index());
    }
    static QStringList namesOf(const QList<MessageKey>& keys);
    // The built-in text of a key (empty for the OCR caption keys that have none).
    static QString defaultText(MessageKey key);

private:
    QStringList texts_; // by key index
};
