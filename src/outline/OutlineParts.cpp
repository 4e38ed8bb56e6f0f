#include "outline/OutlineParts.h"

#include "outline/OutlineMerge.h"
#include "outline/OutlineTitle.h"
#include "reading/RunningLines.h"

#include <QStringList>

namespace OutlineParts {

namespace {

bool hasLetters(const QString& text)
{
    for (const QChar c : text)
        if (c.isLetter())
            return true;
    return false;
}

bool endsInNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && trimmed.back().isDigit();
}

} // namespace

bool isContentsHeading(const QString& title)
{
    static const QStringList headings = {"contents", "tableofcontents", "оглавление", "содержание"};
    return headings.contains(OutlineMerge::looseTitle(OutlineTitle::clean(title).toUtf8()));
}

bool isPartHeading(const QString& title)
{
    static const QStringList words = {"part", "часть", "книга", "volume", "book", "том"};
    const QStringList split = title.simplified().split(QLatin1Char(' '));
    return split.size() >= 2 && words.contains(OutlineMerge::looseTitle(split[0].toUtf8()));
}

QString partLine(const PageText& page)
{
    qsizetype heading = -1;
    for (qsizetype i = 0; i < page.lines.size() && heading < 0; ++i) {
        if (isContentsHeading(page.lines[i].text()))
            heading = i;
    }
    // A running head is the page's first line; a title below it may stand as high, set
    // apart in large type, and is still the title.
    const bool runningHead = RunningLines::flags(page).value(0);
    for (qsizetype i = runningHead ? 1 : 0; i < heading; ++i) {
        const QString text = page.lines[i].text();
        if (hasLetters(text) && !endsInNumber(text))
            return OutlineTitle::clean(text);
    }
    return QString();
}

QString pageTitle(const PageText& page)
{
    for (const TextLine& line : page.lines) {
        const QString text = line.text();
        if (hasLetters(text))
            return OutlineTitle::clean(text);
    }
    return QString();
}

} // namespace OutlineParts
