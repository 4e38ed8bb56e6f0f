#pragma once

#include <QString>

// Turns text into the form that stands between double quotes in a djvused script:
// printable ASCII as it is, every other character as octal escapes of its UTF-8 bytes.
namespace CharTable {
// The entry for one Windows-1251 code (1 to 255); empty where the character is dropped.
QString entry(unsigned char code);
// Escapes a text. The result holds no raw double quote, backslash pair aside no backslash,
// no control character and no byte above 127.
QString escape(const QString& text);
} // namespace CharTable
