#include "base/ColourText.h"

namespace ColourText {

QString fromValue(quint32 bgr)
{
    const QString digits =
        QStringLiteral("%1").arg(bgr & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper(); // BBGGRR
    return digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
}

bool toValue(const QString& text, quint32* bgr)
{
    if (text.size() != 6)
        return false;
    bool ok = false;
    const uint v = (text.mid(4, 2) + text.mid(2, 2) + text.mid(0, 2)).toUInt(&ok, 16);
    if (ok)
        *bgr = v;
    return ok;
}

} // namespace ColourText
