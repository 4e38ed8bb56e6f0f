#include "base/CharTable.h"

#include "base/Cp1251.h"

#include <QHash>

#include <array>

namespace {

QString octal(unsigned char byte)
{
    QString out(4, QChar('\\'));
    out[1] = QChar('0' + ((byte >> 6) & 7));
    out[2] = QChar('0' + ((byte >> 3) & 7));
    out[3] = QChar('0' + (byte & 7));
    return out;
}

QString octalUtf8(const QString& character)
{
    QString out;
    for (char byte : character.toUtf8())
        out += octal(static_cast<unsigned char>(byte));
    return out;
}

QString makeEntry(unsigned char code)
{
    switch (code) {
    case 0:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 160: // no-break space
    case 173: // soft hyphen
        return {};
    case 8:
        return QStringLiteral("\\b");
    case 32:
        return QStringLiteral(" ");
    case '"':
        return QStringLiteral("\\\"");
    case '\\':
        return QStringLiteral("\\\\");
    default:
        break;
    }
    if (code < 32 || code == 127)
        return octal(code);
    if (code < 127)
        return QString(QChar(code));
    return octalUtf8(QString(QChar(Cp1251::toUnicode(code))));
}

struct Table
{
    std::array<QString, 256> entries;
    QHash<char16_t, unsigned char> codeOf; // Unicode character -> its Windows-1251 code

    Table()
    {
        for (int code = 0; code < 256; ++code) {
            entries[code] = makeEntry(static_cast<unsigned char>(code));
            if (code > 0)
                codeOf.insert(Cp1251::toUnicode(static_cast<unsigned char>(code)),
                              static_cast<unsigned char>(code));
        }
    }
};

const Table& table()
{
    static const Table instance;
    return instance;
}

} // namespace

namespace CharTable {

QString entry(unsigned char code)
{
    return table().entries[code];
}

QString escape(const QString& text)
{
    const Table& t = table();
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.unicode() < 0x80) {
            // NUL has no place in a C string; the tools would cut the text there.
            out += t.entries[ch.unicode()];
            continue;
        }
        const auto code = t.codeOf.constFind(ch.unicode());
        if (code != t.codeOf.constEnd()) {
            out += t.entries[*code];
            continue;
        }
        // Outside Windows-1251: the character's own UTF-8 bytes, so no letter is lost.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += octalUtf8(text.mid(i, 2));
            ++i;
        } else {
            // A lone surrogate is no character: it stands as U+FFFD, the replacement
            // character, rather than the "?" that a plain UTF-8 conversion would give.
            out += octalUtf8(ch.isSurrogate() ? QString(QChar(0xFFFD)) : QString(ch));
        }
    }
    return out;
}

} // namespace CharTable
