#include "djvu/AnnotationScanner.h"
#include "base/EngineTexts.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isDelimiter(char c)
{
    return isBlank(c) || c == '(' || c == ')' || c == '"';
}

// Skips a quoted string that starts at `pos` (on its opening quote); returns the position
// after its closing quote, or `end` when it never closes. Double-quoted strings know
// backslash escapes; old djvused single-quoted names do not.
qsizetype skipString(const QByteArray& text, qsizetype pos, qsizetype end)
{
    const char quote = text[pos];
    for (++pos; pos < end; ++pos) {
        const char c = text[pos];
        if (c == '\\' && quote == '"')
            ++pos;
        else if (c == quote)
            return pos + 1;
    }
    return end;
}

// One integer token of an area: optional sign, decimal digits, at most nine of them.
bool readNumber(const QByteArray& text, qsizetype& pos, qsizetype end, int* value, qsizetype* start,
                qsizetype* length)
{
    while (pos < end && isBlank(text[pos]))
        ++pos;
    *start = pos;
    if (pos < end && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    const qsizetype digits = pos;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    if (pos == digits || pos - digits > 9 || (pos < end && !isDelimiter(text[pos])))
        return false;
    *length = pos - *start;
    bool ok = false;
    *value = text.mid(*start, *length).toInt(&ok);
    return ok;
}

class Scanner
{
public:
    explicit Scanner(const QByteArray& text) : text_(text) {}

    AnnotationScan run()
    {
        qsizetype pos = 0;
        const qsizetype size = text_.size();
        while (pos < size && result_.ok()) {
            const qsizetype lineEnd = endOfLine(pos);
            Body body = readCommandLine(pos, lineEnd);
            pos = lineEnd + 1;
            if (body == Body::None)
                continue;
            const qsizetype bodyStart = pos;
            qsizetype bodyEnd = -1;
            while (pos < size) {
                const qsizetype end = endOfLine(pos);
                if (isTerminator(pos, end)) {
                    bodyEnd = pos;
                    pos = end + 1;
                    break;
                }
                pos = end + 1;
            }
            if (bodyEnd < 0) {
                result_.error = EngineTexts::say("e_annot_no_end");
                break;
            }
            if (body == Body::Annotations)
                readAnnotations(bodyStart, bodyEnd);
        }
        return std::move(result_);
    }

private:
    enum class Body
    {
        None,
        Annotations,
        Other
    };

    qsizetype endOfLine(qsizetype pos) const
    {
        const qsizetype end = text_.indexOf('\n', pos);
        return end < 0 ? text_.size() : end;
    }

    // djvused ends a data block at a line holding a lone "." (a Windows line end allowed).
    bool isTerminator(qsizetype start, qsizetype end) const
    {
        const qsizetype length = end - start;
        return (length == 1 || (length == 2 && text_[start + 1] == '\r')) && text_[start] == '.';
    }

    // A script line holds commands separated by ";", each a word and its arguments, and may
    // end in a "#" comment. Returns what kind of data lines follow the line.
    Body readCommandLine(qsizetype pos, qsizetype end)
    {
        Body body = Body::None;
        bool selected = false;
        while (pos < end) {
            while (pos < end && (isBlank(text_[pos]) || text_[pos] == ';'))
                ++pos;
            if (pos < end && text_[pos] == '#' && selected)
                readPageComment(pos, end);
            if (pos >= end || text_[pos] == '#')
                break;
            const qsizetype wordStart = pos;
            while (pos < end && !isBlank(text_[pos]) && text_[pos] != ';' && text_[pos] != '#' &&
                   text_[pos] != '"' && text_[pos] != '\'')
                ++pos;
            const QByteArray word = text_.mid(wordStart, pos - wordStart);
            int arguments = 0;
            while (pos < end && text_[pos] != ';' && text_[pos] != '#') {
                if (text_[pos] == '"' || text_[pos] == '\'') {
                    pos = skipString(text_, pos, end);
                    ++arguments;
                } else if (isBlank(text_[pos])) {
                    ++pos;
                } else {
                    while (pos < end && !isBlank(text_[pos]) && text_[pos] != ';' &&
                           text_[pos] != '#')
                        ++pos;
                    ++arguments;
                }
            }
            if (word == "select") {
                ++result_.blockCount;
                result_.blockPages.append(0);
                currentBlock_ = result_.blockCount - 1;
                selected = true;
            } else if (arguments == 0 && word == "set-ant") {
                body = Body::Annotations;
            } else if (arguments == 0 && (word == "set-txt" || word == "set-meta" ||
                                          word == "set-xmp" || word == "set-outline")) {
                body = Body::Other;
            }
        }
        return body;
    }

    // djvused names the page of a select command in a comment: "# page 12".
    void readPageComment(qsizetype pos, qsizetype end)
    {
        const QByteArray comment = text_.mid(pos + 1, end - pos - 1).trimmed();
        if (!comment.startsWith("page "))
            return;
        bool ok = false;
        const int page = comment.mid(5).trimmed().toInt(&ok);
        if (ok && page > 0)
            result_.blockPages[currentBlock_] = page;
    }

    // Whether the link of a maparea whose head ends at `pos` stays in this document: a
    // quoted "#..." or (url "#..." ...).
    bool internalLink(qsizetype pos, qsizetype end) const
    {
        while (pos < end && isBlank(text_[pos]))
            ++pos;
        if (pos < end && text_[pos] == '(') {
            pos = text_.indexOf('"', pos);
            if (pos < 0 || pos >= end)
                return false;
        }
        return pos + 1 < end && text_[pos] == '"' && text_[pos + 1] == '#';
    }

    // The annotation syntax: parenthesised lists, quoted strings and bare words. An area's
    // shape is a list headed by "rect" or "oval" directly inside a list headed by "maparea".
    void readAnnotations(qsizetype pos, qsizetype end)
    {
        QList<QByteArray> heads; // the head word of every open list
        while (pos < end) {
            const char c = text_[pos];
            if (c == '"') {
                pos = skipString(text_, pos, end);
            } else if (c == '(') {
                ++pos;
                while (pos < end && isBlank(text_[pos]))
                    ++pos;
                const qsizetype headStart = pos;
                while (pos < end && !isDelimiter(text_[pos]))
                    ++pos;
                const QByteArray head = text_.mid(headStart, pos - headStart);
                if (head == "maparea")
                    internal_ = internalLink(pos, end);
                const bool isArea = (head == "rect" || head == "oval") && !heads.isEmpty() &&
                                    heads.last() == "maparea";
                heads.append(head);
                if (isArea && !readArea(headStart, pos, end))
                    return;
            } else if (c == ')') {
                if (!heads.isEmpty())
                    heads.removeLast();
                ++pos;
            } else {
                ++pos;
            }
        }
    }

    bool readArea(qsizetype shapeStart, qsizetype& pos, qsizetype end)
    {
        ScannedArea area;
        area.block = currentBlock_;
        area.internal = internal_;
        qsizetype start = 0;
        qsizetype length = 0;
        if (!readNumber(text_, pos, end, &area.left, &area.leftPos, &area.leftLength) ||
            !readNumber(text_, pos, end, &area.bottom, &start, &length) ||
            !readNumber(text_, pos, end, &area.width, &area.widthPos, &area.widthLength) ||
            !readNumber(text_, pos, end, &area.height, &start, &length)) {
            const qsizetype from = std::max<qsizetype>(0, shapeStart - 1);
            QByteArray shown = text_.mid(from, std::min<qsizetype>(pos, end) + 1 - from);
            shown.replace('\n', ' ');
            result_.error =
                EngineTexts::say("e_annot_bad_area").arg(QString::fromUtf8(shown.left(120)));
            return false;
        }
        result_.areas.append(area);
        return true;
    }

    const QByteArray& text_;
    AnnotationScan result_;
    int currentBlock_ = 0;
    bool internal_ = true;
};

} // namespace

AnnotationScan AnnotationScanner::scan(const QByteArray& script)
{
    return Scanner(script).run();
}
