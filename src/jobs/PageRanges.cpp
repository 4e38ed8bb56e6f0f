#include "jobs/PageRanges.h"

#include <QRegularExpression>

namespace PageRanges {

bool read(const QString& text, QList<ContentsRange>* ranges)
{
    static const QRegularExpression range(QStringLiteral("^(\\d{1,9})(?:-(\\d{1,9}))?$"));
    QList<ContentsRange> read;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const auto m = range.match(part.trimmed());
        if (!m.hasMatch())
            return false;
        ContentsRange one;
        one.firstPage = m.captured(1).toInt();
        one.lastPage = m.captured(2).isEmpty() ? one.firstPage : m.captured(2).toInt();
        if (one.firstPage < 1 || one.lastPage < one.firstPage ||
            (!read.isEmpty() && one.firstPage <= read.last().lastPage))
            return false;
        read << one;
    }
    *ranges = read;
    return true;
}

bool readOffsets(const QString& text, int low, int high, QList<ContentsRange>* ranges)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d{1,9}$"));
    const QStringList values = text.split(QLatin1Char(','));
    if (values.size() != 1 && values.size() != ranges->size())
        return false;
    QList<ContentsRange> given = *ranges;
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QString value = values[values.size() == 1 ? 0 : i].trimmed();
        given[i].offsetAuto = value == QLatin1String("auto");
        given[i].offset = 0;
        if (given[i].offsetAuto)
            continue;
        const int offset = value.toInt();
        if (!number.match(value).hasMatch() || offset < low || offset > high)
            return false;
        given[i].offset = offset;
    }
    *ranges = given;
    return true;
}

} // namespace PageRanges
