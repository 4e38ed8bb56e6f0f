#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include "cli/HelpTexts.h"
#include "ocr/OcrTextLayer.h"

class CommandLine;
class OcrDocument;
struct OcrPageText;

// The plain text form of a text layer that ocr-export prints and ocr-import reads: each
// page starts with a line "=== page N/M ===", followed by one line per text line of the
// page, exactly as the OCR editor shows it.
namespace OcrTextForm {

QByteArray pageHeader(int number, int count);
QByteArray write(const OcrDocument& document, int first, int last);
// A page's lines, each ending in a line feed, without its header.
QByteArray pageLines(const OcrPageText& page);

struct Parsed
{
    int pageCount = 0;            // M of the headers
    QMap<int, QStringList> pages; // page number -> its lines
    QStringList errors;           // what made the text unreadable
};
Parsed read(const QByteArray& text);

// "FIRST-LAST" or "N"; false when it is neither.
bool parseRange(const QString& text, int* first, int* last);

} // namespace OcrTextForm

// "--route djvused|xml" of the OCR text commands.
void declareRoute(CommandLine& line, HelpKey help, OcrTextLayer::Route* route);
