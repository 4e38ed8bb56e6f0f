#include "base/TipTexts.h"

namespace TipTexts {

const QStringList& names()
{
    static const QStringList all = [] {
        QStringList names;
        for (const TwoLanguageText& e : kTipTexts)
            names << QString::fromLatin1(e.key);
        return names;
    }();
    return all;
}

QString russianText(TipKey key)
{
    return QString::fromUtf8(kTipTexts[key.index()].russian);
}

QString englishText(TipKey key)
{
    return QString::fromUtf8(kTipTexts[key.index()].english);
}

} // namespace TipTexts
