#include "ocr/OcrDocument.h"
#include "tools/EngineTexts.h"

#include "ocr/OcrWordText.h"
#include "tools/DjvusedDump.h"
#include "tools/TextDump.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QByteArray kObject = "<OBJECT data";
const QByteArray kLine = "<LINE";
const QByteArray kWord = "<WORD";
const QByteArray kCoords = "coords=\"";

bool isXmlWordLine(const QByteArray& line)
{
    return line.contains(kWord) && line.contains(kCoords);
}

// The word's text: from the first ">" to the next "<".
bool contentSpan(const QByteArray& line, qsizetype* from, qsizetype* to)
{
    const qsizetype open = line.indexOf('>');
    if (open < 0)
        return false;
    const qsizetype close = line.indexOf('<', open + 1);
    if (close < 0)
        return false;
    *from = open + 1;
    *to = close;
    return true;
}

QString xmlWordOf(const QByteArray& line)
{
    qsizetype from = 0, to = 0;
    if (!contentSpan(line, &from, &to))
        return {};
    return OcrWordText::decode(QByteArrayView(line).sliced(from, to - from));
}

// A word line is rewritten whole, so it must hold its word element and nothing else: any
// other element on it (a second word, a text line, a page) would be lost.
bool isWordAlone(const QByteArray& line, qsizetype contentEnd)
{
    const QByteArray t = line.trimmed();
    return t.startsWith(kWord) && t.endsWith("</WORD>") && t.count('<') == 2 &&
           line.indexOf("</WORD>") == contentEnd;
}

// A page's opening tag is rewritten (its file address) when the page is saved, so it must
// stand alone on its line: the tag and nothing else, its address quoted.
bool isPageStartAlone(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    const QByteArray open = kObject + "=\"";
    return t.startsWith(open) && t.count('<') == 1 && t.endsWith('>') &&
           t.indexOf('"', open.size()) > 0;
}

// The four numbers of the coords attribute, as written, or empty when they are not four
// integers.
QByteArray boxOf(const QByteArray& line)
{
    const qsizetype start = line.indexOf(kCoords);
    if (start < 0)
        return {};
    const qsizetype from = start + kCoords.size();
    const qsizetype end = line.indexOf('"', from);
    if (end < 0)
        return {};
    const QList<QByteArray> parts = line.mid(from, end - from).split(',');
    if (parts.size() != 4)
        return {};
    QByteArray box;
    for (const QByteArray& part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok)
            return {};
        if (!box.isEmpty())
            box += ',';
        box += QByteArray::number(n);
    }
    return box;
}

QByteArray wordLine(const QByteArray& box, const QString& word)
{
    return QByteArray(11, ' ') + "<WORD coords=\"" + box + "\">" + OcrWordText::encode(word) +
           "</WORD>";
}

int spacesIn(const QString& line)
{
    return int(line.count(u' '));
}

// The quotes around a word record's text, when the record is alone on its line with its
// text: "(word 1 2 3 4 "text")" and only closing parentheses after it.
bool wordQuotes(QByteArrayView line, qsizetype* open, qsizetype* close)
{
    ZoneBox box;
    bool malformed = false;
    if (!TextDump::parseWordRecord(line, &box, nullptr, &malformed))
        return false;
    *open = line.indexOf('"');
    *close = TextDump::closingQuote(line, *open);
    for (qsizetype i = *close + 1; i < line.size(); ++i)
        if (line[i] != ')' && line[i] != ' ')
            return false;
    return true;
}

// The quotes of a word record checked by wordQuotes() when the document was read.
void wordSpan(QByteArrayView line, qsizetype* open, qsizetype* close)
{
    *open = line.indexOf('"');
    *close = TextDump::closingQuote(line, *open);
}

} // namespace

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
        return EngineTexts::say("e_ocr_line_count").arg(current.lines.size()).arg(shown.size());
    for (qsizetype n = 0; n < shown.size(); ++n) {
        for (QChar c : shown[n])
            if (OcrWordText::isLineBreak(c))
                return EngineTexts::say("e_ocr_line_break").arg(n + 1);
        const int words = current.wordsPerLine[n];
        if (words == 0 && !shown[n].isEmpty())
            return EngineTexts::say("e_ocr_no_words").arg(n + 1).arg(shown[n]);
        if (words > 0 && spacesIn(shown[n]) != words - 1)
            return EngineTexts::say("e_ocr_word_count")
                .arg(n + 1)
                .arg(words)
                .arg(spacesIn(shown[n]) + 1);
    }
    return {};
}

bool OcrDocument::writeBack(int number, const QStringList& shown, QString* error)
{
    const QString problem = mismatch(number, shown);
    if (!problem.isEmpty()) {
        *error = EngineTexts::say("e_ocr_page_what").arg(number).arg(problem);
        return false;
    }
    const QList<QList<qsizetype>> textLines = textLinesOf(number);
    for (qsizetype n = 0; n < textLines.size(); ++n) {
        const QList<qsizetype>& words = textLines[n];
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
    written_.insert(number);
    return true;
}

QList<int> OcrDocument::changedPages() const
{
    QList<int> pages;
    for (int number : written_) {
        const qsizetype end = pageEnd(number);
        for (qsizetype i = pageTable_[number - 1]; i <= end; ++i) {
            if (isWordLine(lines_[i]) && wordOf(lines_[i]) != wordOf(saved_[i])) {
                pages << number;
                break;
            }
        }
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

void OcrDocument::markSaved()
{
    saved_ = lines_;
    written_.clear();
}

QByteArray OcrDocument::text() const
{
    QByteArray out;
    qsizetype size = 0;
    for (const QByteArray& line : lines_)
        size += line.size() + 2;
    out.reserve(size);
    for (const QByteArray& line : lines_)
        out += line + "\r\n";
    return out;
}

QByteArray OcrDocument::fileUrl(const QString& path)
{
    // A backslash separates folders only on Windows; elsewhere it is a letter of the name.
    QString absolute = QDir::fromNativeSeparators(path);
    if (!absolute.startsWith(u'/'))
        absolute.prepend(u'/'); // C:/... on Windows
    return "file://localhost" + absolute.toUtf8().toPercentEncoding("/:");
}

QByteArray OcrDocument::changesScript() const
{
    QByteArray out;
    if (format_ != Format::Djvused)
        return out;
    for (int number : changedPages()) {
        out += lines_[pageTable_[number - 1]] + "\nset-txt\n";
        for (qsizetype i = pageTable_[number - 1] + 1, end = pageEnd(number); i <= end; ++i)
            out += lines_[i] + '\n';
        out += ".\n";
    }
    return out;
}

QByteArray OcrDocument::changesXml(const QString& documentPath) const
{
    const QList<int> pages = changedPages();
    if (pages.isEmpty() || format_ != Format::Xml)
        return {};
    const QByteArray url = fileUrl(documentPath);
    QByteArray out;
    for (qsizetype i = 0; i < pageTable_.first(); ++i) {
        if (lines_[i].contains("<HEAD>"))
            out += "<HEAD>" + url + "</HEAD>\r\n";
        else
            out += lines_[i] + "\r\n";
    }
    for (int number : pages) {
        const qsizetype end = pageEnd(number);
        for (qsizetype i = pageTable_[number - 1]; i <= end; ++i) {
            QByteArray line = lines_[i];
            if (i == pageTable_[number - 1]) {
                static const QRegularExpression usemap(QStringLiteral(" usemap=\"[^\"]*\""));
                const qsizetype data = line.indexOf("data=\"");
                const qsizetype dataEnd = data < 0 ? -1 : line.indexOf('"', data + 6);
                if (dataEnd > 0)
                    line = line.left(data + 6) + url + line.mid(dataEnd);
                line = QString::fromUtf8(line).remove(usemap).toUtf8();
            }
            out += line + "\r\n";
            if (line.contains("</OBJECT>"))
                break;
        }
    }
    out += "</BODY>\r\n</DjVuXML>\r\n";
    return out;
}
