#include "reading/PageText.h"
#include "base/EngineTexts.h"

#include <QStringList>

namespace {

// One parenthesised zone of the expression: its name, box, own text and children.
struct Zone
{
    QByteArray name;
    QList<qint64> numbers;
    QByteArray text; // escaped, as printed
    bool hasText = false;
    int parent = -1;
    QList<int> children;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Reads the expression into a flat list of zones without recursion, so that no nesting
// depth can exhaust the stack.
bool readZones(QByteArrayView s, QList<Zone>* zones, QString* error)
{
    int current = -1;
    bool expectName = false;
    for (qsizetype i = 0; i < s.size();) {
        const char c = s[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == '(') {
            if (current < 0 && !zones->isEmpty()) {
                *error = EngineTexts::say("e_pagetext_two");
                return false;
            }
            Zone zone;
            zone.parent = current;
            zones->append(zone);
            const int index = int(zones->size()) - 1;
            if (current >= 0)
                (*zones)[current].children << index;
            current = index;
            expectName = true;
            ++i;
        } else if (c == ')') {
            if (current < 0) {
                *error = EngineTexts::say("e_pagetext_close");
                return false;
            }
            current = (*zones)[current].parent;
            expectName = false;
            ++i;
        } else if (current < 0) {
            *error = EngineTexts::say("e_pagetext_outside");
            return false;
        } else if (c == '"') {
            const qsizetype close = TextDump::closingQuote(s, i);
            if (close < 0) {
                *error = EngineTexts::say("e_pagetext_quote");
                return false;
            }
            Zone& zone = (*zones)[current];
            zone.text = s.sliced(i + 1, close - i - 1).toByteArray();
            zone.hasText = true;
            i = close + 1;
        } else {
            qsizetype end = i;
            while (end < s.size() && !isBlank(s[end]) && s[end] != '(' && s[end] != ')' &&
                   s[end] != '"')
                ++end;
            const QByteArrayView atom = s.sliced(i, end - i);
            Zone& zone = (*zones)[current];
            if (expectName) {
                zone.name = atom.toByteArray();
                expectName = false;
            } else {
                bool ok = false;
                const qint64 v = atom.toByteArray().toLongLong(&ok);
                if (!ok || v > INT_MAX || v < INT_MIN) {
                    *error =
                        EngineTexts::say("e_pagetext_coordinate")
                            .arg(QString::fromUtf8(
                                atom.first(std::min<qsizetype>(atom.size(), 40)).toByteArray()));
                    return false;
                }
                zone.numbers << v;
            }
            i = end;
        }
    }
    if (current >= 0) {
        *error = EngineTexts::say("e_pagetext_open");
        return false;
    }
    return true;
}

ZoneBox boxOf(const Zone& zone)
{
    if (zone.numbers.size() < 4)
        return {};
    return {int(zone.numbers[0]), int(zone.numbers[1]), int(zone.numbers[2]), int(zone.numbers[3])};
}

// The texts of the zones below a zone, in order, joined.
QString textsBelow(const QList<Zone>& zones, int index)
{
    QString text;
    QList<int> stack(zones[index].children.crbegin(), zones[index].children.crend());
    while (!stack.isEmpty()) {
        const Zone& zone = zones[stack.takeLast()];
        if (zone.hasText)
            text += TextDump::unescape(zone.text);
        for (auto it = zone.children.crbegin(); it != zone.children.crend(); ++it)
            stack << *it;
    }
    return text;
}

// The words below a zone, in order; a word split into characters gets their texts joined.
void collectWords(const QList<Zone>& zones, int index, QList<TextWord>* words)
{
    QList<int> stack{index};
    while (!stack.isEmpty()) {
        const int i = stack.takeLast();
        const Zone& zone = zones[i];
        if (zone.name == "word" || zone.name == "char") {
            TextWord word{zone.hasText ? TextDump::unescape(zone.text) : textsBelow(zones, i),
                          boxOf(zone)};
            if (!word.text.trimmed().isEmpty())
                *words << word;
            continue;
        }
        for (auto it = zone.children.crbegin(); it != zone.children.crend(); ++it)
            stack << *it;
    }
}

// A zone that holds only a text: one word per blank-separated piece, all on its box.
QList<TextWord> wordsOfText(const Zone& zone)
{
    QList<TextWord> words;
    const QStringList pieces =
        TextDump::unescape(zone.text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& piece : pieces)
        words << TextWord{piece.trimmed(), boxOf(zone)};
    words.removeIf([](const TextWord& w) { return w.text.isEmpty(); });
    return words;
}

TextLine lineOf(const QList<Zone>& zones, int index)
{
    TextLine line{boxOf(zones[index]), {}};
    collectWords(zones, index, &line.words);
    if (line.words.isEmpty() && zones[index].hasText)
        line.words = wordsOfText(zones[index]);
    return line;
}

// Words standing outside any line: each run of them makes a line of its own.
void addLooseLine(QList<TextWord>* loose, QList<TextLine>* lines)
{
    if (loose->isEmpty())
        return;
    ZoneBox b = loose->first().box;
    for (const TextWord& w : std::as_const(*loose)) {
        b.xmin = std::min(b.xmin, w.box.xmin);
        b.ymin = std::min(b.ymin, w.box.ymin);
        b.xmax = std::max(b.xmax, w.box.xmax);
        b.ymax = std::max(b.ymax, w.box.ymax);
    }
    *lines << TextLine{b, *loose};
    loose->clear();
}

// The lines below a zone in order, walked with a stack of its own rather than recursion.
void collectLines(const QList<Zone>& zones, int root, QList<TextLine>* lines)
{
    struct Frame
    {
        int zone;
        qsizetype next = 0;
        QList<TextWord> loose;
    };
    QList<Frame> stack{{root}};
    while (!stack.isEmpty()) {
        Frame& frame = stack.last();
        const Zone& zone = zones[frame.zone];
        if (zone.name == "line" || zone.children.isEmpty()) {
            const TextLine line = lineOf(zones, frame.zone);
            if (!line.words.isEmpty())
                *lines << line;
            stack.removeLast();
            continue;
        }
        if (frame.next == zone.children.size()) {
            addLooseLine(&frame.loose, lines);
            stack.removeLast();
            continue;
        }
        const int child = zone.children[frame.next++];
        if (zones[child].name == "word" || zones[child].name == "char") {
            collectWords(zones, child, &frame.loose);
            continue;
        }
        addLooseLine(&frame.loose, lines);
        stack.append(Frame{child});
    }
}

} // namespace

QString TextLine::text() const
{
    QStringList texts;
    for (const TextWord& w : words)
        texts << w.text;
    return texts.join(QLatin1Char(' '));
}

bool PageText::parse(QByteArrayView expression, PageText* page, QString* error)
{
    *page = {};
    QList<Zone> zones;
    if (!readZones(expression, &zones, error))
        return false;
    if (zones.isEmpty())
        return true; // nothing printed: no text layer
    if (zones.first().name != "page") {
        *error = EngineTexts::say("e_pagetext_no_page");
        return false;
    }
    page->hasLayer = true;
    page->box = boxOf(zones.first());
    if (zones.first().children.isEmpty() && zones.first().hasText) {
        TextLine line{page->box, wordsOfText(zones.first())};
        if (!line.words.isEmpty())
            page->lines << line;
        return true;
    }
    for (const int child : zones.first().children)
        collectLines(zones, child, &page->lines);
    return true;
}

bool PageText::parseDump(QByteArrayView dump, QMap<int, PageText>* pages, QString* error)
{
    pages->clear();
    PageTextDumpReader reader(
        [pages](int number, PageText&& page) { pages->insert(number, std::move(page)); });
    if (reader.feed(dump) && reader.finish())
        return true;
    *error = reader.error();
    return false;
}

bool PageTextDumpReader::feed(QByteArrayView piece)
{
    while (error_.isEmpty() && !piece.isEmpty()) {
        const qsizetype end = piece.indexOf('\n');
        if (end < 0) {
            partial_ += piece;
            break;
        }
        if (partial_.isEmpty()) {
            takeLine(piece.first(end));
        } else {
            partial_ += piece.first(end);
            takeLine(partial_);
            partial_.clear();
        }
        piece = piece.sliced(end + 1);
    }
    return error_.isEmpty();
}

bool PageTextDumpReader::finish()
{
    if (!error_.isEmpty())
        return false;
    if (!partial_.isEmpty()) {
        takeLine(QByteArray(partial_));
        partial_.clear();
    }
    return error_.isEmpty() && flush();
}

void PageTextDumpReader::takeLine(QByteArrayView line)
{
    if (!error_.isEmpty())
        return;
    PageSelection selection;
    if (TextDump::parsePageSelection(line, &selection)) {
        if (!flush())
            return;
        ++ordinal_;
        current_ = selection.pageNumber > 0 ? selection.pageNumber : ordinal_;
        expression_.clear();
        return;
    }
    const QByteArrayView t = line.trimmed();
    if (t.startsWith("set-txt") || t == "." || t.startsWith("select") || t.startsWith('#') ||
        t.startsWith("remove-txt"))
        return;
    expression_ += line;
    expression_ += '\n';
}

bool PageTextDumpReader::flush()
{
    if (current_ <= 0 || expression_.trimmed().isEmpty())
        return true;
    PageText page;
    QString why;
    if (!PageText::parse(expression_, &page, &why)) {
        error_ = EngineTexts::say("e_page_what").arg(current_).arg(why);
        return false;
    }
    expression_.clear();
    onPage_(current_, std::move(page));
    return true;
}
