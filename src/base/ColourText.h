#pragma once

#include <QString>

// Colours travel in two forms: the platform's value with red in the lowest byte (as the
// settings file keeps it, digits blue-green-red), and the colour text of rows and
// annotations, six uppercase hexadecimal digits red first (RRGGBB).
namespace ColourText {
QString fromValue(quint32 bgr);
// Six hexadecimal digits red first; false when the text is not that.
bool toValue(const QString& text, quint32* bgr);
} // namespace ColourText
