#include "EnglishSentences.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

QStringList englishSentences()
{
    QFile file(QStringLiteral(TOCSMITH_SOURCE_DIR "/language/English.lng"));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "the shipped English file does not open";
        return {};
    }
    QStringList sentences;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.startsWith(u';') || line.startsWith(u'['))
            continue;
        // The placeholders split a value into its fixed parts.
        for (const QString& part : line.mid(eq + 1).trimmed().split(
                 QRegularExpression(QStringLiteral("%\\d")), Qt::SkipEmptyParts)) {
            const QString words = part.trimmed();
            if (words.count(u' ') >= 1 && words.size() > 6)
                sentences << words;
        }
    }
    return sentences;
}

QStringList englishSentencesIn(const QString& text)
{
    QStringList found;
    for (const QString& sentence : englishSentences()) {
        if (text.contains(sentence))
            found << sentence;
    }
    return found;
}
