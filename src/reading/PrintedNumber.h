#pragma once

#include <QString>

// A page number as a book prints it: arabic digits or a roman numeral (i … mmm, any case).
struct PrintedNumber
{
    enum Kind
    {
        None,
        Arabic,
        Roman
    };
    Kind kind = None;
    qint64 value = 0;
    bool tooLong = false; // arabic digits too many for any page number

    // "15", "0015"; false for anything else. A run of more than nine digits reads as a
    // number that is too long (tooLong set, true returned), so that it can be reported.
    static bool readArabic(const QString& text, PrintedNumber* number);
    // "xiv", "XIV", "mmm"; only well-formed numerals from 1 to 3999.
    static bool readRoman(const QString& text, PrintedNumber* number);
    static bool readAny(const QString& text, PrintedNumber* number);
};
