#include "djvu/PageAnnotations.h"
#include "base/EngineTexts.h"

#include "djvu/DjvusedDump.h"
#include "djvu/PageListing.h"
#include "djvu/TextDump.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Cuts one block body into its top-level expressions; line breaks outside strings become
// blanks, inside strings their escapes.
bool splitExpressions(const QByteArray& body, QList<QByteArray>* out)
{
    QByteArray current;
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (inString) {
            if (c == '\n' || c == '\r') {
                current += c == '\n' ? "\\n" : "\\r";
                continue;
            }
            current += c;
            if (c == '\\' && i + 1 < body.size() && body[i + 1] != '\n' && body[i + 1] != '\r')
                current += body[++i];
            else if (c == '"')
                inString = false;
            continue;
        }
        if (depth == 0) {
            if (isBlank(c))
                continue;
            if (c != '(')
                return false; // a bare word or a stray ")" is no annotation
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == '"') {
            inString = true;
        }
        current += isBlank(c) ? ' ' : c;
        if (depth == 0) {
            out->append(current);
            current.clear();
        }
    }
    return depth == 0 && !inString;
}

// The first quoted text at or after `pos`, skipping blanks only; its index after it.
bool readString(const QByteArray& text, qsizetype* pos, QString* value)
{
    qsizetype i = *pos;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '"')
        return false;
    const qsizetype close = TextDump::closingQuote(text, i);
    if (close < 0)
        return false;
    *value = TextDump::unescape(QByteArrayView(text).sliced(i + 1, close - i - 1));
    *pos = close + 1;
    return true;
}

} // namespace

bool PageAnnotations::parse(const QByteArray& capture, const PageListing& listing,
                            PageAnnotations* out, QString* error)
{
    out->pages_.clear();
    // Read strictly first: a dump cut short or holding anything but annotation blocks is
    // never used.
    const DjvusedDump dump = DjvusedDump::parse(capture, "ant");
    if (!dump.ok()) {
        *error = dump.error;
        return false;
    }
    for (const DumpBlock& block : dump.blocks) {
        // The shared annotations are selected by a name that is no page.
        int page = listing.positionOf(QString::fromUtf8(block.identifier));
        if (page == 0)
            page = block.page;
        QList<QByteArray> expressions;
        if (!splitExpressions(block.body, &expressions)) {
            *error = EngineTexts::say("e_annot_unbalanced").arg(page);
            return false;
        }
        if (page != 0)
            out->pages_[page] += expressions;
    }
    return true;
}

bool PageAnnotations::isAreaWith(const QByteArray& expression, const QString& link,
                                 const QString& comment)
{
    qsizetype pos = 1; // after the opening parenthesis
    while (pos < expression.size() && isBlank(expression[pos]))
        ++pos;
    if (!expression.mid(pos).startsWith("maparea") || pos + 7 >= expression.size() ||
        !isBlank(expression[pos + 7]))
        return false;
    pos += 7;
    QString readLink;
    QString readComment;
    return readString(expression, &pos, &readLink) && readString(expression, &pos, &readComment) &&
           readLink == link && readComment == comment;
}
