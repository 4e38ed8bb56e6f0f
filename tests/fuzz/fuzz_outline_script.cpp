// The outline in djvused's syntax: the reader of "print-outline" and the writer of the
// set-outline script. Any outline read, and any well-nested outline of any bytes, is
// written with no "." line inside its data and reads back through the reader the same.
#include "FuzzChecks.h"

#include "outline/OutlineScript.h"

namespace {

void checkScript(const Outline& outline)
{
    QString error;
    const QByteArray script = OutlineScript::script(outline, &error);
    if (script.isEmpty()) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    if (outline.isEmpty()) {
        FUZZ_CHECK(script == "remove-outline\n");
        return;
    }
    FUZZ_CHECK(script.startsWith("set-outline\n") && script.endsWith("\n.\n"));
    // The data between the command line and the closing "." line.
    const QByteArray expression = script.sliced(12, script.size() - 12 - 2);
    for (const QByteArray& line : expression.split('\n'))
        FUZZ_CHECK(line.trimmed() != ".");
    QString why;
    const Outline back = OutlineScript::parse(expression, &why);
    FUZZ_CHECK(why.isEmpty());
    FUZZ_CHECK(back == outline);
}

// An outline made of the bytes themselves: a byte below 4 sets the level of a new bookmark
// (kept well nested), a byte 4 switches from title to target, every other byte is text.
Outline outlineOf(const QByteArray& bytes)
{
    Outline outline;
    bool inTarget = false;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 4 || outline.isEmpty()) {
            const int previous = outline.isEmpty() ? -1 : outline.bookmarks.last().level;
            outline.bookmarks << Bookmark{qMin(int(byte & 3), previous + 1), {}, {}};
            inTarget = false;
            if (byte < 4)
                continue;
        }
        if (byte == 4)
            inTarget = true;
        else
            (inTarget ? outline.bookmarks.last().target : outline.bookmarks.last().title) += c;
    }
    return outline;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzChecks::bytes(data, size);
    QString error;
    const Outline read = OutlineScript::parse(bytes, &error);
    if (error.isEmpty()) {
        FUZZ_CHECK(read.isWellNested());
        checkScript(read);
    } else {
        FUZZ_CHECK(read.isEmpty());
    }
    checkScript(outlineOf(bytes));
    return 0;
}
