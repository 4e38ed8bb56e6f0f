#include "tools/DjvusedDump.h"
#include "tools/EngineTexts.h"

#include "tools/TextDump.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

QString shown(QByteArrayView line)
{
    return QString::fromUtf8(line.toByteArray().left(120)).trimmed();
}

// `select "name"` or the old `select 'name'`, optionally followed by a "#" comment.
bool readSelection(QByteArrayView line, QByteArray* name, int* page)
{
    if (!line.startsWith("select ") || line.size() < 9)
        return false;
    qsizetype open = 7;
    while (open < line.size() && line[open] == ' ')
        ++open;
    if (open >= line.size())
        return false;
    qsizetype after = -1;
    if (line[open] == '"') {
        const qsizetype close = TextDump::closingQuote(line, open);
        if (close < 0)
            return false;
        *name = TextDump::unescapeBytes(line.sliced(open + 1, close - open - 1));
        after = close + 1;
    } else if (line[open] == '\'') {
        const qsizetype close = line.lastIndexOf('\'');
        if (close <= open)
            return false;
        *name = line.sliced(open + 1, close - open - 1).toByteArray();
        after = close + 1;
    } else {
        return false;
    }
    const QByteArrayView rest = line.sliced(after).trimmed();
    *page = 0;
    if (rest.isEmpty())
        return true;
    if (!rest.startsWith('#'))
        return false;
    // djvused names the page of a selection in its comment: "# page 12".
    const QByteArrayView comment = rest.sliced(1).trimmed();
    if (comment.startsWith("page ")) {
        bool ok = false;
        const int number = comment.sliced(5).trimmed().toInt(&ok);
        if (ok && number > 0)
            *page = number;
    }
    return true;
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
    for (const QByteArray& line : data.toByteArray().split('\n'))
        if (line.trimmed() == ".")
            return EngineTexts::say("e_dump_lone_dot");
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
    const QByteArray removeLine = "select; remove-" + kind;
    const QByteArray setLine = "set-" + kind;
    if (capture.isEmpty() || !capture.endsWith('\n')) {
        dump.error = EngineTexts::say("e_dump_cut");
        return dump;
    }
    QList<QByteArray> lines = capture.split('\n');
    lines.removeLast(); // after the final line feed
    // Carriage returns at a line's end are line-ending blanks, however many: a body line
    // keeping one would lose it when its script is read again.
    for (QByteArray& line : lines)
        while (line.endsWith('\r'))
            line.chop(1);

    bool removed = false;
    bool selected = false;
    QByteArray name;
    int page = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        if (!removed) {
            if (line != removeLine)
                break;
            removed = true;
            continue;
        }
        if (readSelection(line, &name, &page)) {
            selected = true;
            continue;
        }
        if (line != setLine || !selected) {
            dump.error = EngineTexts::say("e_dump_odd_line").arg(shown(line));
            return dump;
        }
        DumpBlock block;
        block.identifier = name;
        block.page = page;
        qsizetype end = i + 1;
        while (end < lines.size() && lines[end] != ".")
            block.body += lines[end++] + '\n';
        if (end >= lines.size()) {
            dump.error = EngineTexts::say("e_dump_no_end").arg(QString::fromUtf8(name));
            return dump;
        }
        const QString why = dataError(block.body);
        if (!why.isEmpty()) {
            dump.error = EngineTexts::say("e_dump_malformed").arg(QString::fromUtf8(name), why);
            return dump;
        }
        dump.blocks << block;
        selected = false;
        i = end;
    }
    if (!removed)
        dump.error = EngineTexts::say("e_dump_bad_start").arg(QString::fromLatin1(removeLine));
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
