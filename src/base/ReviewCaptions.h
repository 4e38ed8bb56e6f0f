#pragma once

#include <QHash>
#include <QString>

// The captions of the review window and of the button that opens it: section [Review] of a
// language file, each key falling back to its built-in Russian text.
class ReviewCaptions
{
public:
    ReviewCaptions() = default;
    // Reads the keys a language file gives; a missing or empty key keeps its built-in text.
    explicit ReviewCaptions(const QString& languageFile);

    QString text(const char* key) const;
    // Every key with its built-in text.
    static const QHash<QString, QString>& builtIn();

private:
    QHash<QString, QString> texts_;
};
