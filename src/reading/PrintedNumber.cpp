#include "reading/PrintedNumber.h"

#include <QRegularExpression>

namespace {

int romanDigit(QChar c)
{
    switch (c.toLower().unicode()) {
    case 'i':
        return 1;
    case 'v':
        return 5;
    case 'x':
        return 10;
    case 'l':
        return 50;
    case 'c':
        return 100;
    case 'd':
        return 500;
    case 'm':
        return 1000;
    default:
        return 0;
    }
}

QString romanOf(int value)
{
    static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char* const texts[] = {"m",  "cm", "d",  "cd", "c",  "xc", "l",
                                        "xl", "x",  "ix", "v",  "iv", "i"};
    QString out;
    for (int i = 0; i < 13; ++i) {
        while (value >= values[i]) {
            out += QLatin1String(texts[i]);
            value -= values[i];
        }
    }
    return out;
}

} // namespace

bool PrintedNumber::readArabic(const QString& text, PrintedNumber* number)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    *number = {};
    number->kind = Arabic;
    // Leading zeros aside, more than nine digits name no page of any book.
    const QString significant = QString(text).remove(QRegularExpression(QStringLiteral("^0+")));
    if (significant.size() > 9) {
        number->tooLong = true;
        return true;
    }
    number->value = significant.isEmpty() ? 0 : significant.toLongLong();
    return true;
}

bool PrintedNumber::readRoman(const QString& text, PrintedNumber* number)
{
    if (text.isEmpty() || text.size() > 15)
        return false;
    // One case throughout: "Xiv" is a word, not a numeral.
    if (text != text.toLower() && text != text.toUpper())
        return false;
    int total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int v = romanDigit(text[i]);
        if (v == 0)
            return false;
        const int next = i + 1 < text.size() ? romanDigit(text[i + 1]) : 0;
        total += next > v ? -v : v;
    }
    // Only the canonical spelling counts ("iiii", "ic" and "vx" are not numerals).
    if (total < 1 || total > 3999 || romanOf(total) != text.toLower())
        return false;
    *number = {};
    number->kind = Roman;
    number->value = total;
    return true;
}

bool PrintedNumber::readAny(const QString& text, PrintedNumber* number)
{
    return readArabic(text, number) || readRoman(text, number);
}
