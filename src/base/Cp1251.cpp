#include "base/Cp1251.h"

#include <QStringDecoder>

namespace {

// 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F.
const char16_t kUpper[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

} // namespace

namespace Cp1251 {

char16_t toUnicode(unsigned char code)
{
    if (code < 0x80)
        return code;
    if (code >= 0xC0)
        return char16_t(0x0410 + (code - 0xC0));
    return kUpper[code - 0x80];
}

QString decode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += QChar(toUnicode(static_cast<unsigned char>(c)));
    return out;
}

bool encode(const QString& text, QByteArray* out)
{
    out->clear();
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out->append(char(u));
            continue;
        }
        int found = -1;
        for (int code = 0x80; code <= 0xFF && found < 0; ++code)
            if (toUnicode(static_cast<unsigned char>(code)) == u)
                found = code;
        if (found < 0)
            return false;
        out->append(char(found));
    }
    return true;
}

QString decodeUtf8OrCp1251(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decode(bytes);
}

} // namespace Cp1251
