#include "reading/MisreadNumber.h"

namespace {

// The digit a letter the OCR confuses with it stands for; 0 when none.
QChar digitFor(QChar c)
{
    switch (c.unicode()) {
    case 'l':
    case 'I':
    case '|':
    case '!':
        return QLatin1Char('1');
    case 'O':
    case 'o':
    case 0x041E: // О
    case 0x043E: // о
        return QLatin1Char('0');
    case 0x0417: // З
    case 0x0437: // з
        return QLatin1Char('3');
    case 'S':
    case 's':
        return QLatin1Char('5');
    case 'B':
        return QLatin1Char('8');
    case 0x0431: // б
        return QLatin1Char('6');
    default:
        return QChar();
    }
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool readArabic(const QString& text, bool stray, MisreadNumber::Reading* reading)
{
    QString digits;
    int genuine = 0, lookalikes = 0;
    for (const QChar c : text) {
        if (isDigit(c)) {
            digits += c;
            ++genuine;
        } else if (const QChar d = digitFor(c); !d.isNull()) {
            digits += d;
            ++lookalikes;
        } else {
            return false;
        }
    }
    if (genuine == 0 || lookalikes > genuine + 1)
        return false;
    PrintedNumber n;
    if (!PrintedNumber::readArabic(digits, &n))
        return false;
    *reading = {n, digits, stray || lookalikes > 0};
    return true;
}

// "vil" → "vii": one letter misread for an i in a numeral otherwise whole.
bool readRoman(const QString& text, bool stray, MisreadNumber::Reading* reading)
{
    PrintedNumber n;
    if (PrintedNumber::readRoman(text, &n)) {
        *reading = {n, text, stray};
        return true;
    }
    if (text.size() < 2)
        return false;
    // The case of the numeral's other letters.
    bool upper = false;
    for (const QChar c : text)
        if (c.isLetter() && c != QLatin1Char('l'))
            upper = c.isUpper();
    QString mapped;
    int lookalikes = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('l') || c == QLatin1Char('1') || c == QLatin1Char('|') ||
            c == QLatin1Char('!')) {
            mapped += upper ? QLatin1Char('I') : QLatin1Char('i');
            ++lookalikes;
        } else {
            mapped += c;
        }
    }
    if (lookalikes != 1 || !PrintedNumber::readRoman(mapped, &n))
        return false;
    *reading = {n, mapped, true};
    return true;
}

} // namespace

namespace MisreadNumber {

bool isStrayMark(QChar c)
{
    switch (c.unicode()) {
    case '.':
    case ',':
    case '?':
    case '\'':
    case '"':
    case ':':
    case ';':
    case 0x2019: // ’
    case 0x201D: // ”
        return true;
    default:
        return false;
    }
}

bool read(const QString& word, Reading* reading)
{
    QString text = word;
    int stray = 0;
    while (!text.isEmpty() && isStrayMark(text.back()) && stray < 2) {
        text.chop(1);
        ++stray;
    }
    if (text.isEmpty())
        return false;
    return readArabic(text, stray > 0, reading) || readRoman(text, stray > 0, reading);
}

} // namespace MisreadNumber
