#include "outline/OutlineScript.h"
#include "base/EngineTexts.h"

#include "djvu/DjvusedDump.h"
#include "djvu/TextDump.h"

namespace OutlineScript {

QByteArray script(const Outline& outline, QString* error)
{
    if (!outline.isWellNested()) {
        *error = EngineTexts::say("e_outline_nesting");
        return {};
    }
    for (int i = 0; i < outline.count(); ++i) {
        const Bookmark& bookmark = outline.bookmarks[i];
        if (bookmark.title.contains('\0') || bookmark.target.contains('\0')) {
            *error = EngineTexts::say("e_outline_nul").arg(i + 1);
            return {};
        }
    }
    if (outline.isEmpty())
        return "remove-outline\n";
    QByteArray text = "set-outline\n(bookmarks\n";
    for (int i = 0; i < outline.count(); ++i) {
        const Bookmark& bookmark = outline.bookmarks[i];
        text += QByteArray(bookmark.level + 1, ' ') + '(' + DjvusedDump::quote(bookmark.title) +
                ' ' + DjvusedDump::quote(bookmark.target);
        const int next = i + 1 < outline.count() ? outline.bookmarks[i + 1].level : -1;
        // Close this bookmark and every open one as deep as the next or deeper; after the
        // last one, "(bookmarks" too.
        if (next <= bookmark.level)
            text += QByteArray(bookmark.level - next + 1, ')');
        text += '\n';
    }
    return text + ".\n";
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

class Reader
{
public:
    explicit Reader(const QByteArray& data) : data_(data) {}

    void skipBlanks()
    {
        while (pos_ < data_.size() && isBlank(data_[pos_]))
            ++pos_;
    }
    bool atEnd()
    {
        skipBlanks();
        return pos_ >= data_.size();
    }
    char peek() const { return data_[pos_]; }
    void take() { ++pos_; }
    bool word(QByteArrayView expected)
    {
        skipBlanks();
        if (!QByteArrayView(data_).sliced(pos_).startsWith(expected))
            return false;
        pos_ += expected.size();
        return pos_ >= data_.size() || isBlank(data_[pos_]) || data_[pos_] == '(' ||
               data_[pos_] == ')';
    }
    bool quoted(QByteArray* text)
    {
        if (atEnd() || peek() != '"')
            return false;
        const qsizetype close = TextDump::closingQuote(data_, pos_);
        unclosed_ = close < 0;
        if (unclosed_)
            return false;
        *text = TextDump::unescapeBytes(QByteArrayView(data_).sliced(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return true;
    }

    bool unclosed() const { return unclosed_; }

private:
    const QByteArray& data_;
    bool unclosed_ = false;
    qsizetype pos_ = 0;
};

} // namespace

Outline parse(const QByteArray& printed, QString* error)
{
    Outline outline;
    Reader in(printed);
    if (in.atEnd())
        return outline;
    auto refuse = [&](const QString& why) {
        *error = EngineTexts::say("e_outline_printed_bad").arg(why);
        return Outline{};
    };
    const bool opens = in.peek() == '(';
    if (opens)
        in.take();
    if (!opens || !in.word("bookmarks"))
        return refuse(EngineTexts::say("e_outline_no_start"));
    // Bookmarks are read without recursion, however deep a document nests them.
    int open = 0;
    for (;;) {
        if (in.atEnd())
            return refuse(EngineTexts::say("e_outline_cut"));
        if (in.peek() == ')') {
            in.take();
            if (open == 0)
                break;
            --open;
            continue;
        }
        if (in.peek() != '(')
            return refuse(EngineTexts::say("e_outline_not_list").arg(outline.count() + 1));
        in.take();
        Bookmark bookmark;
        bookmark.level = open;
        if (!in.quoted(&bookmark.title) || !in.quoted(&bookmark.target))
            return refuse(
                in.unclosed() ? EngineTexts::say("e_outline_quote_cut")
                : in.atEnd()  ? EngineTexts::say("e_outline_inside_cut")
                             : EngineTexts::say("e_outline_bad_bookmark").arg(outline.count() + 1));
        outline.bookmarks << bookmark;
        ++open;
    }
    if (!in.atEnd())
        return refuse(EngineTexts::say("e_outline_trailing"));
    return outline;
}

} // namespace OutlineScript
