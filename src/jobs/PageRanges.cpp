#include "jobs/PageRanges.h"

#include <QRegularExpression>

#include <climits>

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

bool isList(const QString& pages, const QString& offsets)
{
    const QString p = pages.trimmed();
    return p.contains(QLatin1Char(',')) || p.indexOf(QLatin1Char('-'), 1) >= 0 ||
           offsets.contains(QLatin1Char(','));
}

Field readFields(const QString& pages, const QString& lastPage, const QString& offsets,
                 QList<ContentsRange>* ranges)
{
    if (!isList(pages, offsets)) {
        ContentsRange one;
        bool ok[3] = {};
        one.firstPage = pages.trimmed().toInt(&ok[0]);
        one.lastPage = lastPage.trimmed().toInt(&ok[1]);
        one.offset = offsets.trimmed().toInt(&ok[2]);
        for (int i = 0; i < 3; ++i)
            if (!ok[i])
                return Field(i + 1);
        *ranges = {one};
        return Field::None;
    }
    QList<ContentsRange> read;
    if (!PageRanges::read(pages, &read))
        return Field::Pages;
    if (!readOffsets(offsets.trimmed(), INT_MIN, INT_MAX, &read))
        return Field::Offset;
    *ranges = read;
    return Field::None;
}

} // namespace PageRanges
