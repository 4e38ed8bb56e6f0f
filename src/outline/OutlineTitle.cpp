#include "outline/OutlineTitle.h"

#include <QStringList>

namespace {

bool isLeaderChar(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char('_') || c == QChar(0x2026) ||
           c == QChar(0x00B7) || c == QChar(0x2219);
}

// A leader is a run of two or more dots (or any ellipsis, underscores, middle dots).
qsizetype leaderStart(const QString& word)
{
    qsizetype start = word.size();
    while (start > 0 && isLeaderChar(word[start - 1]))
        --start;
    const QString tail = word.mid(start);
    const bool leader = tail.size() >= 2 || tail.contains(QChar(0x2026)) ||
                        tail.contains(QLatin1Char('_')) || tail.contains(QChar(0x00B7));
    return leader ? start : word.size();
}

bool isSpacedLetter(const QString& word)
{
    return word.size() == 1 && word[0].isLetter();
}

} // namespace

namespace OutlineTitle {

QString clean(const QString& title)
{
    QStringList words = title.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // Leaders stand at the end, as words of their own or glued to the last word.
    while (!words.isEmpty()) {
        QString& last = words.last();
        const qsizetype start = leaderStart(last);
        if (start == last.size())
            break;
        last.truncate(start);
        if (!last.isEmpty())
            break;
        words.removeLast();
    }
    // Three or more single letters in a row are one word spaced out.
    QStringList joined;
    for (qsizetype i = 0; i < words.size();) {
        qsizetype end = i;
        while (end < words.size() && isSpacedLetter(words[end]))
            ++end;
        if (end - i >= 3) {
            joined << words.mid(i, end - i).join(QString());
            i = end;
        } else {
            joined << words[i++];
        }
    }
    return joined.join(QLatin1Char(' '));
}

} // namespace OutlineTitle
