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

namespace {

// Two areas stand on one text line when their heights overlap by more than half the lower one;
// neighbouring lines of a page often touch by a few pixels.
bool oneLine(const ScannedArea& a, const ScannedArea& b)
{
    const qint64 overlap =
        std::min<qint64>(qint64(a.bottom) + a.height, qint64(b.bottom) + b.height) -
        std::max(a.bottom, b.bottom);
    return overlap * 2 > std::min(a.height, b.height);
}

bool sideBySide(const AreaBox& a, const AreaBox& b)
{
    return qint64(a.left) + a.width <= b.left || qint64(b.left) + b.width <= a.left;
}

bool overlaps(const ScannedArea& a, const AreaBox& boxA, const ScannedArea& b, const AreaBox& boxB)
{
    return !sideBySide(boxA, boxB) && qint64(a.bottom) < qint64(b.bottom) + b.height &&
           qint64(b.bottom) < qint64(a.bottom) + a.height;
}

// Groups 0..count-1 by a relation, joining chains: the group number of each.
template <typename Joined> QList<qsizetype> groups(qsizetype count, Joined joined)
{
    QList<qsizetype> group(count);
    for (qsizetype i = 0; i < count; ++i)
        group[i] = i;
    auto root = [&group](qsizetype i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    for (qsizetype i = 0; i < count; ++i)
        for (qsizetype k = i + 1; k < count; ++k)
            if (joined(i, k))
                group[root(k)] = root(i);
    for (qsizetype i = 0; i < count; ++i)
        group[i] = root(i);
    return group;
}

} // namespace

AreaAlignment::Result AreaAlignment::alignScript(const AnnotationScan& scan,
                                                 const QList<int>& pageWidths)
{
    Result result;
    result.leftAligned.resize(scan.areas.size());
    result.aligned.resize(scan.areas.size());
    // Areas of one block are gathered by index; blocks never influence each other. Areas
    // whose link leaves the document stay as they are and are not measured.
    QList<QList<qsizetype>> members(scan.blockCount);
    QList<QList<qsizetype>> everyArea(scan.blockCount);
    for (qsizetype i = 0; i < scan.areas.size(); ++i) {
        const ScannedArea& a = scan.areas[i];
        result.leftAligned[i] = result.aligned[i] = {a.left, a.width};
        everyArea[a.block].append(i);
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
        keepSharedLines(scan, indexes, page, &result);
        keepClear(scan, everyArea[block], &result.leftAligned);
        keepClear(scan, everyArea[block], &result.aligned);
    }
    return result;
}

void AreaAlignment::keepSharedLines(const AnnotationScan& scan, const QList<qsizetype>& indexes,
                                    const PageAlignment& page, Result* result)
{
    // A text line may hold several linked areas: a title and its page number, or each word
    // of it. Areas of the line that overlap one another form one stack (duplicates, a dot
    // over a number). A page set in two columns, or with page numbers linked apart from their
    // titles, puts every stack of a line into a column of its own; such lines are aligned.
    // Where any line puts two stacks into one column, or splits a stack between columns, the
    // page links words or parts of lines apart: every line with more than one stack or
    // column keeps its boxes, since a title would grow over its number and a word over the
    // next.
    auto area = [&](qsizetype k) -> const ScannedArea& { return scan.areas[indexes[k]]; };
    auto box = [&](qsizetype k) { return AreaBox{area(k).left, area(k).width}; };
    const QList<qsizetype> line =
        groups(indexes.size(), [&](qsizetype i, qsizetype k) { return oneLine(area(i), area(k)); });
    const QList<qsizetype> stack = groups(indexes.size(), [&](qsizetype i, qsizetype k) {
        return line[i] == line[k] && !sideBySide(box(i), box(k));
    });
    // The column of each area: the left edge alignment gives it.
    auto column = [&](qsizetype k) { return page.leftAligned[k].left; };
    QList<bool> shared(indexes.size(), false); // by line: more than one stack or column
    bool columnsHold = true;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        for (qsizetype k = i + 1; k < indexes.size(); ++k) {
            if (line[i] != line[k])
                continue;
            const bool sameStack = stack[i] == stack[k];
            shared[line[i]] = shared[line[i]] || !sameStack || column(i) != column(k);
            columnsHold = columnsHold && sameStack == (column(i) == column(k));
        }
    }
    if (columnsHold)
        return;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        if (shared[line[i]])
            result->leftAligned[indexes[i]] = result->aligned[indexes[i]] = box(i);
    }
}

void AreaAlignment::keepClear(const AnnotationScan& scan, const QList<qsizetype>& indexes,
                              QList<AreaBox>* boxes)
{
    // An area that alignment would lay over another area, which it did not overlap before,
    // keeps its box; that may uncover a conflict of another area, so look again until none.
    auto original = [&](qsizetype i) { return AreaBox{scan.areas[i].left, scan.areas[i].width}; };
    for (bool changed = true; changed;) {
        changed = false;
        for (qsizetype i : indexes) {
            if ((*boxes)[i] == original(i))
                continue;
            for (qsizetype k : indexes) {
                if (k == i || !overlaps(scan.areas[i], (*boxes)[i], scan.areas[k], (*boxes)[k]) ||
                    overlaps(scan.areas[i], original(i), scan.areas[k], original(k)))
                    continue;
                (*boxes)[i] = original(i);
                changed = true;
                break;
            }
        }
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
