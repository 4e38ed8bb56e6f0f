// Where the words of a page lie: what the editor outlines on the page image.
#include "ocr/OcrDocument.h"

#include "djvu/TextDump.h"

namespace {

QByteArray attribute(const QByteArray& line, const QByteArray& name)
{
    const QByteArray opening = ' ' + name + "=\"";
    const qsizetype start = line.indexOf(opening);
    if (start < 0)
        return {};
    const qsizetype from = start + opening.size();
    const qsizetype end = line.indexOf('"', from);
    return end < 0 ? QByteArray() : line.mid(from, end - from);
}

// The dump writes a word's box as left, bottom, right, top, counted from the page's top.
QRect boxOfWord(const QByteArray& line)
{
    const QList<QByteArray> parts = attribute(line, "coords").split(',');
    if (parts.size() != 4)
        return {};
    int n[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    return QRect(QPoint(std::min(n[0], n[2]), std::min(n[1], n[3])),
                 QPoint(std::max(n[0], n[2]), std::max(n[1], n[3])));
}

// djvused counts from the page's bottom: its word boxes are turned over to count from the top.
QRect boxOfWordRecord(const QByteArray& line, int pageHeight)
{
    ZoneBox box;
    QByteArray text;
    bool malformed = false;
    if (!TextDump::parseWordRecord(line, &box, &text, &malformed) || malformed)
        return {};
    return QRect(QPoint(std::min(box.xmin, box.xmax), pageHeight - std::max(box.ymin, box.ymax)),
                 QPoint(std::max(box.xmin, box.xmax), pageHeight - std::min(box.ymin, box.ymax)));
}

} // namespace

QList<QList<QRect>> OcrDocument::wordBoxes(int number) const
{
    QList<QList<QRect>> boxes;
    const int height = pageSize(number).height();
    for (const QList<qsizetype>& words : textLinesOf(number)) {
        boxes.append(QList<QRect>());
        for (qsizetype i : words)
            boxes.last() << (format_ == Format::Djvused ? boxOfWordRecord(lines_[i], height)
                                                        : boxOfWord(lines_[i]));
    }
    return boxes;
}

QSize OcrDocument::pageSize(int number) const
{
    if (number < 1 || number > pageCount())
        return {};
    const QByteArray& object = lines_[pageTable_[number - 1]];
    if (format_ == Format::Djvused) {
        // A page is its "select N" line, then its page record when it has text.
        const qsizetype record = pageTable_[number - 1] + 1;
        ZoneBox box;
        if (record > pageEnd(number) || !TextDump::parsePageRecord(lines_[record], &box))
            return {};
        return QSize(box.xmax - box.xmin, box.ymax - box.ymin);
    }
    bool wide = false, high = false;
    const int width = attribute(object, "width").toInt(&wide);
    const int height = attribute(object, "height").toInt(&high);
    return wide && high ? QSize(width, height) : QSize();
}
