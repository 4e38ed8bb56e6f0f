#include "ocr/OcrWordText.h"

#include <algorithm>

namespace OcrWordText {

namespace {

// The character a reference stands for, or -1 when `name` is none we know.
char32_t referenced(QStringView name)
{
    if (name == u"amp")
        return U'&';
    if (name == u"lt")
        return U'<';
    if (name == u"gt")
        return U'>';
    if (name == u"quot")
        return U'"';
    if (name == u"apos")
        return U'\'';
    if (name.size() > 1 && name.front() == u'#') {
        bool ok = false;
        const uint code = (name.size() > 2 && (name[1] == u'x' || name[1] == u'X'))
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF))
            return char32_t(code);
    }
    return char32_t(-1);
}

} // namespace

QString decode(QByteArrayView content)
{
    const QString raw = QString::fromUtf8(content);
    if (!raw.contains(u'&'))
        return raw;
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&') {
            const qsizetype end = raw.indexOf(u';', i + 1);
            if (end > i + 1 && end - i <= 12) {
                const char32_t c = referenced(QStringView(raw).mid(i + 1, end - i - 1));
                if (c != char32_t(-1)) {
                    out += QString::fromUcs4(&c, 1);
                    i = end;
                    continue;
                }
            }
        }
        out += raw[i];
    }
    return out;
}

QByteArray encode(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("&#%1;").arg(int(c.unicode()));
            else
                out += c;
        }
    }
    return out.toUtf8();
}

QString shown(const QString& text)
{
    // Most words hold neither: they are handed back shared, not copied.
    const auto hidden = [](QChar c) { return c == u' ' || isLineBreak(c); };
    if (std::none_of(text.cbegin(), text.cend(), hidden))
        return text;
    QString out = text;
    for (QChar& c : out)
        if (hidden(c))
            c = QChar::Nbsp;
    return out;
}

} // namespace OcrWordText
