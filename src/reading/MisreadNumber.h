#pragma once

#include "reading/PrintedNumber.h"

#include <QString>

// A page number as the OCR may have misread it: look-alike letters for digits ("l3", "2O",
// "5З", "1б"), a stray mark after it ("8?", "15.", "12,", "7'"), a roman numeral with a
// letter misread ("vil" for vii). It only says what the word would be as a number; whether
// it is one is for its place on the line and its neighbours to decide.
namespace MisreadNumber {

struct Reading
{
    PrintedNumber number;
    QString text;         // the number as it should have been printed: "13", "vii"
    bool misread = false; // look-alikes or stray marks had to be read through
};

// True when the word reads as a page number, exactly or through misreadings. A word needs
// at least one true digit (or, for roman, to be all numeral letters but one) to be read
// through look-alikes, so that plain words never read as numbers.
bool read(const QString& word, Reading* reading);

// The stray marks an OCR leaves after a number: . , ? ' ’ " : ;
bool isStrayMark(QChar c);

} // namespace MisreadNumber
