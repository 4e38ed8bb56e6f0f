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

AreaAlignment::Result AreaAlignment::alignScript(const AnnotationScan& scan,
                                                 const QList<int>& pageWidths)
{
    Result result;
    result.leftAligned.resize(scan.areas.size());
    result.aligned.resize(scan.areas.size());
    // Areas of one block are gathered by index; blocks never influence each other. Areas
    // whose link leaves the document stay as they are and are not measured.
    QList<QList<qsizetype>> members(scan.blockCount);
    for (qsizetype i = 0; i < scan.areas.size(); ++i) {
        const ScannedArea& a = scan.areas[i];
        result.leftAligned[i] = result.aligned[i] = {a.left, a.width};
        if (a.internal)
            members[a.block].append(i);
    }
    for (qsizetype block = 0; block < members.size(); ++block) {
        const QList<qsizetype>& indexes = members[block];
        if (indexes.isEmpty())
            continue;
        QList<AreaBox> boxes;
        boxes.reserve(indexes.size());
        for (qsizetype i : indexes)
            boxes.append({scan.areas[i].left, scan.areas[i].width});
        const PageAlignment page = alignPage(boxes);
        const int pageNumber = block < scan.blockPages.size() ? scan.blockPages[block] : 0;
        const int width =
            pageNumber > 0 && pageNumber <= pageWidths.size() ? pageWidths[pageNumber - 1] : 0;
        for (qsizetype k = 0; k < indexes.size(); ++k) {
            result.leftAligned[indexes[k]] = withinPage(page.leftAligned[k], boxes[k], width);
            result.aligned[indexes[k]] = withinPage(page.aligned[k], boxes[k], width);
        }
        keepUnstacked(scan, indexes, &result);
    }
    return result;
}

void AreaAlignment::keepUnstacked(const AnnotationScan& scan, const QList<qsizetype>& indexes,
                                  Result* result)
{
    // Areas of one text line (same bottom and height) that stood apart, side by side, and that
    // alignment would lay exactly on top of each other keep the boxes they had: a page whose
    // words are linked one by one would otherwise end with duplicate areas over the wrong
    // words. Overlapping areas of a line are one column's and are aligned as always.
    QList<bool> stacked(indexes.size(), false);
    for (qsizetype k = 0; k < indexes.size(); ++k) {
        const ScannedArea& a = scan.areas[indexes[k]];
        for (qsizetype m = k + 1; m < indexes.size(); ++m) {
            const ScannedArea& b = scan.areas[indexes[m]];
            if (a.bottom == b.bottom && a.height == b.height &&
                result->aligned[indexes[k]] == result->aligned[indexes[m]] &&
                (qint64(a.left) + a.width <= b.left || qint64(b.left) + b.width <= a.left))
                stacked[k] = stacked[m] = true;
        }
    }
    for (qsizetype k = 0; k < indexes.size(); ++k) {
        if (!stacked[k])
            continue;
        const ScannedArea& a = scan.areas[indexes[k]];
        result->leftAligned[indexes[k]] = result->aligned[indexes[k]] = {a.left, a.width};
    }
}

AreaBox AreaAlignment::withinPage(AreaBox aligned, const AreaBox& original, int pageWidth)
{
    if (pageWidth <= 0 || qint64(aligned.left) + aligned.width <= pageWidth)
        return aligned;
    // Cut at the right edge, never narrower than the area was; where that cannot be, the
    // area stays as it was.
    const qint64 room = qint64(pageWidth) - aligned.left;
    if (room < original.width || room <= 0)
        return original;
    aligned.width = int(room);
    return aligned;
}

QList<int> AreaAlignment::pageWidths(const QByteArray& sizes)
{
    QList<int> widths;
    for (const QByteArray& line : sizes.split('\n')) {
        const qsizetype at = line.indexOf("width=");
        if (at < 0)
            continue;
        qsizetype end = at + 6;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9')
            ++end;
        widths.append(line.mid(at + 6, end - at - 6).toInt());
    }
    return widths;
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
