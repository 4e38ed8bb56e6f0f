#include "djvu/DjvusedDump.h"
#include "base/EngineTexts.h"

#include "djvu/DjvusedDumpReader.h"
#include "djvu/TextDump.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

QString shown(QByteArrayView line)
{
    return QString::fromUtf8(line.toByteArray().left(120)).trimmed();
}

} // namespace

QString DjvusedDump::dataError(QByteArrayView data)
{
    int depth = 0;
    qsizetype pos = 0;
    while (pos < data.size()) {
        const char c = data[pos];
        if (c == '"') {
            const qsizetype close = TextDump::closingQuote(data, pos);
            if (close < 0)
                return EngineTexts::say("e_dump_quote_open");
            if (depth == 0)
                return EngineTexts::say("e_dump_quote_outside");
            pos = close + 1;
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth < 0)
                return EngineTexts::say("e_dump_close_nothing");
        } else if (!isBlank(c) && depth == 0) {
            return EngineTexts::say("e_dump_text_outside")
                .arg(shown(data.sliced(pos).toByteArray().split('\n').first()));
        }
        ++pos;
    }
    if (depth != 0)
        return EngineTexts::say("e_dump_open");
    // The data ends at a lone "." line; a line that is "." with blanks around it is refused
    // too, so no reader of the script can take it for the end.
    for (qsizetype from = 0; from <= data.size();) {
        qsizetype end = data.indexOf('\n', from);
        if (end < 0)
            end = data.size();
        if (data.sliced(from, end - from).trimmed() == ".")
            return EngineTexts::say("e_dump_lone_dot");
        from = end + 1;
    }
    return {};
}

QByteArray DjvusedDump::quote(QByteArrayView name)
{
    QByteArray quoted = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7f) {
            quoted += '\\';
            quoted += char('0' + (byte >> 6));
            quoted += char('0' + ((byte >> 3) & 7));
            quoted += char('0' + (byte & 7));
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

DjvusedDump DjvusedDump::parse(const QByteArray& capture, const QByteArray& kind)
{
    DjvusedDump dump;
    dump.kind = kind;
    DjvusedDumpReader reader(kind, [&dump](DumpBlock&& block) { dump.blocks << block; });
    // A capture that does not end with a line feed is refused whatever it holds before.
    if (capture.endsWith('\n'))
        reader.feed(capture);
    if (!reader.finish())
        dump.error = reader.error();
    return dump;
}

QByteArray DjvusedDump::script() const
{
    QByteArray text = "select; remove-" + kind + '\n';
    for (const DumpBlock& block : blocks) {
        text += "select " + quote(block.identifier);
        if (block.page > 0)
            text += " # page " + QByteArray::number(block.page);
        text += "\nset-" + kind + '\n' + block.body + ".\n";
    }
    return text;
}
