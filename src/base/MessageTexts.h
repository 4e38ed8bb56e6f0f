#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The texts of the log pane, of message boxes and of the OCR editor (sections Memo and
// OCR of a language file). One table holds every key with its built-in Russian text;
// the window, the command line and the engine all read from here.
class MessageTexts
{
public:
    MessageTexts(); // every key at its built-in text

    // The current text of a key; an unknown key is a programming error and gives "".
    QString text(const QString& key) const;
    void setText(const QString& key, const QString& value);
    // Makes the engine's own sentences (section Engine) speak these texts' language.
    void lendToEngine() const;

    // Keys of section Memo and of section OCR, in their file order.
    static const QStringList& memoKeys();
    static const QStringList& ocrKeys();
    // Keys of section Engine: the engine's own sentences (see EngineTexts).
    static const QStringList& engineKeys();
    // The built-in text of a key (empty for the OCR caption keys that have none).
    static QString defaultText(const QString& key);

private:
    QHash<QString, QString> texts_;
};
