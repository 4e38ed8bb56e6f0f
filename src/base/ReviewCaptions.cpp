#include "base/ReviewCaptions.h"

#include "base/IniFile.h"

#include <QFileInfo>

const QHash<QString, QString>& ReviewCaptions::builtIn()
{
    static const QHash<QString, QString> texts = [] {
        QHash<QString, QString> all;
        for (const MessageText& e : kReviewTexts)
            all.insert(QString::fromLatin1(e.key), QString::fromUtf8(e.text));
        return all;
    }();
    return texts;
}

ReviewCaptions::ReviewCaptions()
{
    for (const MessageText& e : kReviewTexts)
        texts_ << QString::fromUtf8(e.text);
}

ReviewCaptions::ReviewCaptions(const QString& languageFile) : ReviewCaptions()
{
    if (!QFileInfo(languageFile).isFile())
        return;
    const IniFile file = IniFile::snapshotOf(languageFile);
    const QString section = QString::fromLatin1(ReviewTable::section);
    for (const ReviewKey key : ReviewKey::all()) {
        const QString text = file.readText(section, QString::fromLatin1(key.name()));
        if (!text.isEmpty())
            texts_[qsizetype(key.index())] = text;
    }
}

QString ReviewCaptions::text(ReviewKey key) const
{
    return texts_.at(qsizetype(key.index()));
}
