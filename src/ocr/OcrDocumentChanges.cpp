#include "ocr/OcrDocument.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

// What the editor has changed, and the document's text written back: a djvused script of the
// changed pages, or djvuxmlparser's XML of them.

QList<int> OcrDocument::changedPages() const
{
    QList<int> pages;
    for (int number : written_) {
        const qsizetype from = pageTable_[number - 1], end = pageEnd(number);
        const qsizetype savedFrom = savedTable_[number - 1];
        const qsizetype savedEnd =
            number < pageCount() ? savedTable_[number] - 1 : savedTable_.last();
        // A split or joined word changes the page's number of lines.
        if (end - from != savedEnd - savedFrom) {
            pages << number;
            continue;
        }
        for (qsizetype i = from; i <= end; ++i) {
            const QByteArray& was = saved_[savedFrom + (i - from)];
            if (isWordLine(lines_[i]) && wordOf(lines_[i]) != wordOf(was)) {
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
    savedTable_ = pageTable_;
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
