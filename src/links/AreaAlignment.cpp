#include "links/AreaAlignment.h"

#include <algorithm>

PageAlignment AreaAlignment::alignPage(const QList<AreaBox>& areas)
{
    PageAlignment page;
    if (areas.isEmpty())
        return page;
    ColumnFigures& f = page.figures;
    // Measured from the areas themselves, so edges beyond 32000 pixels or below 0 work too.
    f.leftMin = f.leftMax = areas.first().left;
    f.widthMin = f.widthMax = areas.first().width;
    for (const AreaBox& a : areas) {
        f.leftMin = std::min<qint64>(f.leftMin, a.left);
        f.leftMax = std::max<qint64>(f.leftMax, a.left);
        f.widthMin = std::min<qint64>(f.widthMin, a.width);
        f.widthMax = std::max<qint64>(f.widthMax, a.width);
    }
    // The right column starts at the least left edge beyond the narrowest left area, but
    // never where it would overlap the widest one.
    const qint64 threshold = f.leftMin + f.widthMin;
    f.secondEdge = f.leftMax;
    for (const AreaBox& a : areas)
        if (a.left > threshold)
            f.secondEdge = std::min<qint64>(f.secondEdge, a.left);
    f.secondEdge = std::max(f.secondEdge, f.leftMin + f.widthMax);

    page.leftAligned.reserve(areas.size());
    for (const AreaBox& a : areas) {
        const qint64 left = a.left > threshold ? f.secondEdge : f.leftMin;
        page.leftAligned.append({int(left), a.width});
        if (left == f.leftMin)
            f.leftWidth = std::max<qint64>(f.leftWidth, a.width);
        if (left == f.secondEdge)
            f.rightWidth = std::max<qint64>(f.rightWidth, a.width);
    }
    // When the right column's width, laid from the leftmost edge, reaches the greatest left
    // edge, every area of the page takes the left column's width.
    const bool oneWidth = f.leftMin + f.rightWidth >= f.leftMax;
    page.aligned.reserve(areas.size());
    for (const AreaBox& a : page.leftAligned) {
        const qint64 width = (a.left == f.leftMin || oneWidth) ? f.leftWidth : f.rightWidth;
        page.aligned.append({a.left, int(width)});
    }
    return page;
}

AreaAlignment::Result AreaAlignment::alignScript(const AnnotationScan& scan)
{
    Result result;
    result.leftAligned.resize(scan.areas.size());
    result.aligned.resize(scan.areas.size());
    // Areas of one block are gathered by index; blocks never influence each other.
    QList<QList<qsizetype>> members(scan.blockCount);
    for (qsizetype i = 0; i < scan.areas.size(); ++i)
        members[scan.areas[i].block].append(i);
    for (const QList<qsizetype>& block : members) {
        if (block.isEmpty())
            continue;
        QList<AreaBox> boxes;
        boxes.reserve(block.size());
        for (qsizetype i : block)
            boxes.append({scan.areas[i].left, scan.areas[i].width});
        const PageAlignment page = alignPage(boxes);
        for (qsizetype k = 0; k < block.size(); ++k) {
            result.leftAligned[block[k]] = page.leftAligned[k];
            result.aligned[block[k]] = page.aligned[k];
        }
    }
    return result;
}

QByteArray AreaAlignment::rewrite(const QByteArray& script, const QList<ScannedArea>& areas,
                                  const QList<AreaBox>& boxes)
{
    QByteArray out;
    out.reserve(script.size() + script.size() / 16);
    qsizetype copied = 0;
    auto replace = [&](qsizetype pos, qsizetype length, int oldValue, int newValue) {
        if (oldValue == newValue)
            return;
        out.append(script.constData() + copied, pos - copied);
        out.append(QByteArray::number(newValue));
        copied = pos + length;
    };
    for (qsizetype i = 0; i < areas.size() && i < boxes.size(); ++i) {
        const ScannedArea& a = areas[i];
        replace(a.leftPos, a.leftLength, a.left, boxes[i].left);
        replace(a.widthPos, a.widthLength, a.width, boxes[i].width);
    }
    out.append(script.constData() + copied, script.size() - copied);
    return out;
}
