#include "ocr/OcrDocument.h"
#include "base/EngineTexts.h"

#include "base/Plural.h"
#include "djvu/DjvusedDump.h"
#include "djvu/TextDump.h"
#include "ocr/OcrLines.h"
#include "ocr/OcrWordText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

using namespace OcrLines;

QList<int> OcrPageText::separators() const
{
    QList<int> counts;
    counts.reserve(lines.size());
    for (const QString& line : lines)
        counts << spacesIn(line);
    return counts;
}

bool OcrDocument::load(const QString& xmlPath, QString* error)
{
    QFile file(xmlPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = EngineTexts::say("e_backup_no_read").arg(xmlPath, file.errorString());
        return false;
    }
    return setXml(file.readAll(), error);
}

bool OcrDocument::setXml(const QByteArray& xml, QString* error)
{
    QList<QByteArray> lines = xml.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<qsizetype> table;
    bool inPage = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray& line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.contains(kObject)) {
            if (!isPageStartAlone(line)) {
                *error = EngineTexts::say("e_ocr_page_among").arg(i + 1);
                return false;
            }
            table << i;
        }
        // Only words inside a page's element are saved with it.
        const bool wordInPage = inPage;
        inPage = (inPage || line.contains(kObject)) && !line.contains("</OBJECT>");
        if (isXmlWordLine(line)) {
            qsizetype from = 0, to = 0;
            if (boxOf(line).isEmpty() || !contentSpan(line, &from, &to) || !isWordAlone(line, to) ||
                !wordInPage) {
                *error = EngineTexts::say("e_ocr_bad_word").arg(i + 1);
                return false;
            }
        }
    }
    return take(lines, table, Format::Xml, error);
}

bool OcrDocument::setPageExpressions(const QList<QByteArray>& pages, QString* error)
{
    QList<QList<QByteArray>> lines(pages.size());
    for (qsizetype n = 0; n < pages.size(); ++n)
        if (!expressionLines(pages[n], int(n + 1), &lines[n], error))
            return false;
    setPageLines(std::move(lines));
    return true;
}

bool OcrDocument::expressionLines(QByteArrayView expression, int number, QList<QByteArray>* lines,
                                  QString* error, LineBytes bytes)
{
    for (qsizetype from = 0; from < expression.size();) {
        qsizetype end = expression.indexOf('\n', from);
        if (end < 0)
            end = expression.size();
        QByteArrayView line = expression.sliced(from, end - from);
        from = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        qsizetype open = 0, close = 0;
        if (TextDump::isWordRecord(line) && !wordQuotes(line, &open, &close)) {
            *error = EngineTexts::say("e_ocr_word_not_alone")
                         .arg(number)
                         .arg(QString::fromUtf8(line.trimmed().toByteArray().left(60)));
            return false;
        }
        lines->append(bytes == LineBytes::Copied
                          ? line.toByteArray()
                          : QByteArray::fromRawData(line.constData(), line.size()));
    }
    return true;
}

void OcrDocument::setPageLines(QList<QList<QByteArray>> pages)
{
    qsizetype size = 0;
    for (const QList<QByteArray>& page : pages)
        size += page.size() + 1;
    QList<QByteArray> lines;
    lines.reserve(size);
    QList<qsizetype> table;
    table.reserve(pages.size() + 1);
    for (qsizetype n = 0; n < pages.size(); ++n) {
        table << lines.size();
        lines << "select " + QByteArray::number(n + 1);
        for (QByteArray& line : pages[n])
            lines << std::move(line);
        pages[n] = {}; // each page's list goes as soon as its lines moved
    }
    take(std::move(lines), std::move(table), Format::Djvused, nullptr);
}

bool OcrDocument::take(QList<QByteArray> lines, QList<qsizetype> table, Format format, QString*)
{
    if (!table.isEmpty())
        table << lines.size() - 1;
    format_ = format;
    lines_ = std::move(lines);
    saved_ = lines_;
    pageTable_ = std::move(table);
    savedTable_ = pageTable_;
    written_.clear();
    return true;
}

bool OcrDocument::isWordLine(const QByteArray& line) const
{
    return format_ == Format::Xml ? isXmlWordLine(line) : TextDump::isWordRecord(line);
}

bool OcrDocument::isTextLine(const QByteArray& line) const
{
    if (format_ == Format::Xml)
        return line.contains(kLine);
    ZoneBox box;
    bool malformed = false;
    return TextDump::parseLineRecord(line, &box, &malformed) || malformed;
}

QString OcrDocument::wordOf(const QByteArray& line) const
{
    if (format_ == Format::Xml)
        return xmlWordOf(line);
    qsizetype open = 0, close = 0;
    wordSpan(line, &open, &close);
    const QByteArrayView text = QByteArrayView(line).sliced(open + 1, close - open - 1);
    return text.contains('\\') ? TextDump::unescape(text) : QString::fromUtf8(text);
}

QByteArray OcrDocument::withWord(const QByteArray& line, const QString& word) const
{
    if (format_ == Format::Xml)
        return wordLine(boxOf(line), word);
    qsizetype open = 0, close = 0;
    wordSpan(line, &open, &close);
    return line.left(open) + DjvusedDump::quote(word.toUtf8()) + line.mid(close + 1);
}

// The last line of a page: the line before the next page, or the document's last line.
qsizetype OcrDocument::pageEnd(int number) const
{
    return number < pageCount() ? pageTable_[number] - 1 : pageTable_.last();
}

QList<QList<qsizetype>> OcrDocument::textLinesOf(int number) const
{
    QList<QList<qsizetype>> textLines;
    if (number < 1 || number > pageCount())
        return textLines;
    for (qsizetype i = pageTable_[number - 1], end = pageEnd(number); i <= end; ++i) {
        const QByteArray& line = lines_[i];
        if (isWordLine(line)) {
            if (textLines.isEmpty()) // a word outside any text line: give it one
                textLines.append(QList<qsizetype>());
            textLines.last() << i;
        } else if (isTextLine(line)) {
            textLines.append(QList<qsizetype>());
        }
    }
    return textLines;
}

OcrPageText OcrDocument::page(int number) const
{
    OcrPageText page;
    const QList<QList<qsizetype>> textLines = textLinesOf(number);
    for (const QList<qsizetype>& words : textLines) {
        QString shown;
        for (qsizetype k = 0; k < words.size(); ++k) {
            if (k > 0)
                shown += u' ';
            shown += OcrWordText::shown(wordOf(lines_[words[k]]));
        }
        page.lines << shown;
        page.wordsPerLine << int(words.size());
        page.words += int(words.size());
    }
    return page;
}

QStringList OcrDocument::words(int number) const
{
    QStringList words;
    for (const QList<qsizetype>& line : textLinesOf(number))
        for (qsizetype i : line)
            words << wordOf(lines_[i]);
    return words;
}

QString OcrDocument::mismatch(int number, const QStringList& shown) const
{
    if (number < 1 || number > pageCount())
        return EngineTexts::say("e_ocr_no_page").arg(number);
    const OcrPageText current = page(number);
    if (shown.size() != current.lines.size())
        return EngineTexts::say("e_ocr_line_count")
            .arg(Plural::count("e_n_text_lines", current.lines.size()))
            .arg(shown.size());
    for (qsizetype n = 0; n < shown.size(); ++n) {
        for (QChar c : shown[n])
            if (OcrWordText::isLineBreak(c))
                return EngineTexts::say("e_ocr_line_break").arg(n + 1);
        const int words = current.wordsPerLine[n];
        if (words == 0 && !shown[n].isEmpty())
            return EngineTexts::say("e_ocr_no_words").arg(n + 1).arg(shown[n]);
    }
    const QList<QList<qsizetype>> textLines = textLinesOf(number);
    for (qsizetype n = 0; n < shown.size(); ++n) {
        if (textLines[n].isEmpty() || spacesIn(shown[n]) == textLines[n].size() - 1)
            continue;
        qsizetype first = 0, count = 0;
        QList<QByteArray> made;
        QString why;
        if (!reshapedWords(textLines[n], shown[n], &first, &count, &made, &why))
            return EngineTexts::say("e_ocr_line_what").arg(n + 1).arg(why);
    }
    return {};
}

bool OcrDocument::reshapedWords(const QList<qsizetype>& words, const QString& shown,
                                qsizetype* first, qsizetype* count, QList<QByteArray>* made,
                                QString* error) const
{
    QStringList before;
    for (qsizetype i : words)
        before << OcrWordText::shown(wordOf(lines_[i]));
    const QStringList after = shown.split(u' ');
    if (after.contains(QString())) {
        *error = EngineTexts::say("e_ocr_empty_word");
        return false;
    }
    // The part of the line that changed: what lies between the text both share at its
    // start and at its end.
    const QString old = before.join(u' ');
    qsizetype prefix = 0;
    while (prefix < old.size() && prefix < shown.size() && old[prefix] == shown[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < old.size() - prefix && suffix < shown.size() - prefix &&
           old[old.size() - 1 - suffix] == shown[shown.size() - 1 - suffix])
        ++suffix;
    qsizetype newFirst = 0, newCount = 0;
    touching(spansOf(before), prefix, old.size() - suffix, first, count);
    touching(spansOf(after), prefix, shown.size() - suffix, &newFirst, &newCount);
    if (*first < 0 || newFirst < 0 || words[*first + *count - 1] - words[*first] != *count - 1) {
        *error = EngineTexts::say("e_ocr_words_apart");
        return false;
    }
    // The boxes of the words touched, joined.
    WordBox joined;
    for (qsizetype k = *first; k < *first + *count; ++k) {
        WordBox box;
        const QByteArray& line = lines_[words[k]];
        if (!(format_ == Format::Xml ? xmlWordBox(line, &box) : recordWordBox(line, &box))) {
            *error = EngineTexts::say("e_ocr_box_unread");
            return false;
        }
        if (k == *first) {
            joined = box;
            continue;
        }
        joined.x1 = std::min(joined.x1, box.x1);
        joined.y1 = std::min(joined.y1, box.y1);
        joined.x2 = std::max(joined.x2, box.x2);
        joined.y2 = std::max(joined.y2, box.y2);
    }
    const QStringList parts = after.mid(newFirst, newCount);
    const int width = joined.x2 - joined.x1;
    if (width < parts.size()) {
        *error = EngineTexts::say("e_ocr_box_narrow")
                     .arg(Plural::count("e_n_words", parts.size()))
                     .arg(width);
        return false;
    }
    // Each new word gets a share of the width in proportion to its characters, and at
    // least one pixel.
    qsizetype characters = 0;
    for (const QString& part : parts)
        characters += part.size();
    QList<int> edges{joined.x1};
    qsizetype sum = 0;
    for (qsizetype k = 0; k + 1 < parts.size(); ++k) {
        sum += parts[k].size();
        const int edge = joined.x1 + int(qRound64(double(width) * double(sum) / characters));
        edges << std::clamp(edge, edges.last() + 1, joined.x2 - int(parts.size() - 1 - k));
    }
    edges << joined.x2;
    const QByteArray& firstLine = lines_[words[*first]];
    const QByteArray& lastLine = lines_[words[*first + *count - 1]];
    made->clear();
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QByteArray x1 = QByteArray::number(edges[k]), x2 = QByteArray::number(edges[k + 1]);
        const QByteArray y1 = QByteArray::number(joined.y1), y2 = QByteArray::number(joined.y2);
        if (format_ == Format::Xml) {
            const QByteArray box = joined.bottomHigh ? x1 + ',' + y2 + ',' + x2 + ',' + y1
                                                     : x1 + ',' + y1 + ',' + x2 + ',' + y2;
            made->append(wordLine(box, parts[k]));
            continue;
        }
        // The last record keeps what closed the line's zones after the last word touched.
        QByteArray tail;
        if (k == parts.size() - 1) {
            qsizetype open = 0, close = 0;
            wordSpan(lastLine, &open, &close);
            tail = lastLine.mid(lastLine.indexOf(')', close + 1) + 1);
        }
        made->append(firstLine.left(firstLine.indexOf("(word")) + "(word " + x1 + ' ' + y1 + ' ' +
                     x2 + ' ' + y2 + ' ' + DjvusedDump::quote(parts[k].toUtf8()) + ')' + tail);
    }
    return true;
}

bool OcrDocument::writeBack(int number, const QStringList& shown, QString* error)
{
    const QString problem = mismatch(number, shown);
    if (!problem.isEmpty()) {
        *error = EngineTexts::say("e_ocr_page_what").arg(number).arg(problem);
        return false;
    }
    const QList<QList<qsizetype>> textLines = textLinesOf(number);
    // From the last text line up, so that the lines a split or join adds or takes leave the
    // indexes of the lines before them as found.
    qsizetype added = 0;
    for (qsizetype n = textLines.size() - 1; n >= 0; --n) {
        const QList<qsizetype>& words = textLines[n];
        if (!words.isEmpty() && spacesIn(shown[n]) != words.size() - 1) {
            qsizetype first = 0, count = 0;
            QList<QByteArray> made;
            if (!reshapedWords(words, shown[n], &first, &count, &made, error))
                return false; // mismatch() found none of this
            lines_.remove(words[first], count);
            for (qsizetype k = 0; k < made.size(); ++k)
                lines_.insert(words[first] + k, made[k]);
            added += made.size() - count;
            continue;
        }
        QString rest = shown[n];
        for (qsizetype k = 0; k < words.size(); ++k) {
            const qsizetype i = words[k];
            QString word;
            if (k == words.size() - 1) {
                word = rest;
            } else {
                const qsizetype space = rest.indexOf(u' ');
                word = rest.left(space);
                rest = rest.mid(space + 1);
            }
            // An unchanged word keeps its own text: a space or line break inside it was
            // only shown differently.
            const QString before = wordOf(lines_[i]);
            if (word == OcrWordText::shown(before))
                word = before;
            lines_[i] = withWord(lines_[i], word);
        }
    }
    for (qsizetype k = number; k < pageTable_.size(); ++k)
        pageTable_[k] += added;
    written_.insert(number);
    return true;
}

bool OcrDocument::setPageText(int number, QByteArrayView expression, QString* error)
{
    if (format_ != Format::Djvused) {
        *error = EngineTexts::say("e_ocr_text_whole_only");
        return false;
    }
    if (number < 1 || number > pageCount() || page(number).hasWords()) {
        *error = EngineTexts::say("e_ocr_page_has_words").arg(number);
        return false;
    }
    QList<QByteArray> lines;
    if (!expressionLines(expression, number, &lines, error))
        return false;
    // The page's lines after its "select" line give way to the new ones.
    const qsizetype from = pageTable_[number - 1] + 1;
    const qsizetype gone = pageEnd(number) - from + 1;
    lines_.remove(from, gone);
    for (qsizetype k = 0; k < lines.size(); ++k)
        lines_.insert(from + k, lines[k]);
    for (qsizetype k = number; k < pageTable_.size(); ++k)
        pageTable_[k] += lines.size() - gone;
    written_.insert(number);
    return true;
}
