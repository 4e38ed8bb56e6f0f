#pragma once

#include <QByteArray>
#include <QString>

// The Windows-1251 code page, for files written on Windows. Code 0x98 has no character
// there and stands for U+0098.
namespace Cp1251 {
char16_t toUnicode(unsigned char code);
QString decode(const QByteArray& bytes);
// Encodes text when every character has a code; returns false otherwise.
bool encode(const QString& text, QByteArray* out);
// Valid UTF-8 is read as UTF-8, anything else as Windows-1251.
QString decodeUtf8OrCp1251(const QByteArray& bytes);
} // namespace Cp1251
