#include "cli/OcrCommandSupport.h"
#include "base/EngineTexts.h"

#include "cli/CommandLine.h"
#include "ocr/OcrDocument.h"

#include <QRegularExpression>

namespace OcrTextForm {

QByteArray pageHeader(int number, int count)
{
    return QByteArray("=== page ") + QByteArray::number(number) + '/' + QByteArray::number(count) +
           " ===";
}

QByteArray write(const OcrDocument& document, int first, int last)
{
    QByteArray out;
    for (int number = first; number <= last; ++number)
        out += pageHeader(number, document.pageCount()) + '\n' + pageLines(document.page(number));
    return out;
}

QByteArray pageLines(const OcrPageText& page)
{
    QByteArray out;
    for (const QString& line : page.lines) {
        out += line.toUtf8();
        out += '\n';
    }
    return out;
}

Parsed read(const QByteArray& text)
{
    static const QRegularExpression header(QStringLiteral("^=== page (\\d+)/(\\d+) ===$"));
    Parsed parsed;
    QString all = QString::fromUtf8(text);
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    QStringList lines = all.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line break that ends the last line
    int current = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QRegularExpressionMatch m = header.match(line);
        if (m.hasMatch()) {
            current = m.captured(1).toInt();
            const int count = m.captured(2).toInt();
            if (parsed.pageCount != 0 && parsed.pageCount != count)
                parsed.errors << EngineTexts::say("e_ocrtext_counts")
                                     .arg(i + 1)
                                     .arg(parsed.pageCount)
                                     .arg(count);
            parsed.pageCount = count;
            if (parsed.pages.contains(current))
                parsed.errors << EngineTexts::say("e_ocrtext_twice").arg(i + 1).arg(current);
            parsed.pages[current] = QStringList();
            continue;
        }
        if (current == 0) {
            if (!line.trimmed().isEmpty())
                parsed.errors << EngineTexts::say("e_ocrtext_before").arg(i + 1);
            continue;
        }
        parsed.pages[current] << line;
    }
    if (parsed.pages.isEmpty() && parsed.errors.isEmpty())
        parsed.errors << EngineTexts::say("e_ocrtext_no_header");
    return parsed;
}

bool parseRange(const QString& text, int* first, int* last)
{
    static const QRegularExpression range(QStringLiteral("^(\\d+)(?:-(\\d+))?$"));
    const QRegularExpressionMatch m = range.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    *first = m.captured(1).toInt();
    *last = m.captured(2).isEmpty() ? *first : m.captured(2).toInt();
    return *first >= 1 && *first <= *last;
}

} // namespace OcrTextForm

void declareRoute(CommandLine& line, HelpKey help, OcrTextLayer::Route* route)
{
    line.value(
        QStringLiteral("--route"), help,
        [route](const QString& v, QString* problem) {
            if (!OcrTextLayer::parseRoute(v, route))
                *problem = EngineTexts::say("e_cli_route");
            return problem->isEmpty();
        },
        "e_cli_route");
}
