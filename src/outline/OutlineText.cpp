#include "outline/OutlineText.h"
#include "base/EngineTexts.h"
#include "base/Plural.h"

#include <QHash>

namespace OutlineText {

namespace {

// The length of the well-formed UTF-8 sequence at `at`; 0 when the bytes there are none.
int utf8Length(const QByteArray& bytes, qsizetype at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 0;
    char32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3f);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    return overlong || surrogate || code > 0x10ffff ? 0 : length;
}

QByteArray hexEscape(unsigned char byte)
{
    return "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
}

QByteArray escape(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += hexEscape(byte);
        } else if (byte < 0x80) {
            out += c;
        } else if (const int length = utf8Length(bytes, i)) {
            out += bytes.mid(i, length);
            i += length - 1;
        } else {
            out += hexEscape(byte);
        }
    }
    return out;
}

bool isDigits(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool unescape(const QByteArray& text, QByteArray* bytes, QString* error)
{
    bytes->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            *bytes += text[i];
            continue;
        }
        const char c = i + 1 < text.size() ? text[++i] : '\0';
        if (c == '\\') {
            *bytes += '\\';
        } else if (c == 't') {
            *bytes += '\t';
        } else if (c == 'n') {
            *bytes += '\n';
        } else if (c == 'r') {
            *bytes += '\r';
        } else if (c == 'x' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            *bytes += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            *error = EngineTexts::say("e_outtext_escape");
            return false;
        }
    }
    return true;
}

} // namespace

int pageOfTarget(const QByteArray& target, const QList<QByteArray>& pageIds)
{
    const int page = Outline::pageOf(target);
    if (page != 0 || !target.startsWith('#'))
        return page;
    const qsizetype at = pageIds.indexOf(target.mid(1));
    return at < 0 ? 0 : int(at) + 1;
}

void keepTargetForms(Outline* imported, const Outline& current, const QList<QByteArray>& pageIds)
{
    QHash<int, QByteArray> firstForm;
    for (const Bookmark& bookmark : current.bookmarks) {
        const int page = pageOfTarget(bookmark.target, pageIds);
        if (page != 0 && !firstForm.contains(page))
            firstForm.insert(page, bookmark.target);
    }
    for (qsizetype i = 0; i < imported->bookmarks.size(); ++i) {
        Bookmark& bookmark = imported->bookmarks[i];
        const int page = Outline::pageOf(bookmark.target);
        if (page == 0)
            continue;
        if (i < current.bookmarks.size() &&
            pageOfTarget(current.bookmarks[i].target, pageIds) == page)
            bookmark.target = current.bookmarks[i].target;
        else
            bookmark.target = firstForm.value(page, bookmark.target);
    }
}

QByteArray write(const Outline& outline, int pageCount, const QList<QByteArray>& pageIds)
{
    QByteArray text;
    for (const Bookmark& bookmark : outline.bookmarks) {
        QByteArray title = escape(bookmark.title);
        if (title.startsWith(' '))
            title.replace(0, 1, "\\x20");
        // A byte order mark opening the text is dropped on reading; one that opens a title
        // is the title's own.
        if (title.startsWith("\xef\xbb\xbf"))
            title.replace(0, 3, "\\xef\\xbb\\xbf");
        QByteArray target;
        const int page = pageOfTarget(bookmark.target, pageIds);
        if (page >= 1 && page <= pageCount) {
            target = QByteArray::number(page);
        } else {
            target = escape(bookmark.target);
            // Digits, blanks around them or not, would read back as a page number.
            if (isDigits(target.trimmed()))
                target.replace(0, 1, hexEscape(static_cast<unsigned char>(target[0])));
        }
        text += QByteArray(2 * bookmark.level, ' ') + title + '\t' + target + '\n';
    }
    return text;
}

Parsed read(const QByteArray& text, int pageCount)
{
    Parsed parsed;
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the line feed that ends the last line
    if (!lines.isEmpty() && lines.first().startsWith("\xef\xbb\xbf"))
        lines.first().remove(0, 3);
    int previous = -1;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        auto refuse = [&](const QString& why) {
            parsed.errors << EngineTexts::say("e_line_what").arg(n + 1).arg(why);
        };
        if (line.trimmed().isEmpty() && !line.contains('\t'))
            continue;
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == ' ')
            ++indent;
        const qsizetype tab = line.indexOf('\t', indent);
        if (tab < 0) {
            refuse(EngineTexts::say("e_outtext_no_tab"));
            continue;
        }
        if (indent % 2 != 0) {
            refuse(EngineTexts::say("e_outtext_indent").arg(indent));
            continue;
        }
        Bookmark bookmark;
        bookmark.level = int(indent / 2);
        if (bookmark.level > previous + 1) {
            refuse(previous < 0
                       ? EngineTexts::say("e_outtext_first_indented")
                       : EngineTexts::say("e_outtext_jump").arg(previous).arg(bookmark.level));
            continue;
        }
        previous = bookmark.level;
        const QByteArray target = line.mid(tab + 1);
        QString why;
        if (!unescape(line.mid(indent, tab - indent), &bookmark.title, &why) ||
            !unescape(target, &bookmark.target, &why)) {
            refuse(why);
            continue;
        }
        if (isDigits(target.trimmed())) {
            bool ok = false;
            const int page = target.trimmed().toInt(&ok);
            if (!ok || page < 1 || page > pageCount) {
                refuse(EngineTexts::say("e_outtext_page")
                           .arg(QString::fromLatin1(target.trimmed()),
                                Plural::count("e_n_pages", pageCount)));
                continue;
            }
            bookmark.target = Outline::pageTarget(page);
        }
        if (bookmark.title.contains('\0') || bookmark.target.contains('\0')) {
            refuse(EngineTexts::say("e_outtext_nul"));
            continue;
        }
        parsed.outline.bookmarks << bookmark;
    }
    return parsed;
}

} // namespace OutlineText
