#pragma once

#include <QString>

namespace JobPath {
// Splits a file path into its folder, ending in the platform's separator, and its file
// name. The name never holds a separator.
void split(const QString& path, QString* folder, QString* fileName);
// A signed decimal whole number that fits 32 bits, nothing else around it ("12", "-3").
bool isWholeNumber(const QString& text);
// The extension test of dropped and chosen files: ".djvu" or ".djv", any letter case.
bool isDjvuName(const QString& path);
} // namespace JobPath
