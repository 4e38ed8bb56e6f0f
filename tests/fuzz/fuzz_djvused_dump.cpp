// The strict reading of "djvused -e output-ant" and "-e output-txt" dumps: a dump that
// reads is written back as a script that reads again to the same blocks, and the only lone
// "." lines of that script are the ones that end its blocks.
#include "FuzzChecks.h"

#include "djvu/DjvusedDump.h"

namespace {

bool sameBlocks(const QList<DumpBlock>& a, const QList<DumpBlock>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].identifier != b[i].identifier || a[i].page != b[i].page || a[i].body != b[i].body)
            return false;
    return true;
}

// Every "." line of the script stands right after a block body, that is where a block
// ends; counted, they are as many as the blocks.
void checkDots(const DjvusedDump& dump, const QByteArray& script)
{
    qsizetype dots = 0;
    for (const QByteArray& line : script.split('\n'))
        if (line.trimmed() == ".")
            ++dots;
    FUZZ_CHECK(dots == dump.blocks.size());
    for (const DumpBlock& block : dump.blocks)
        for (const QByteArray& line : block.body.split('\n'))
            FUZZ_CHECK(line.trimmed() != ".");
}

void check(const QByteArray& capture, const QByteArray& kind)
{
    const DjvusedDump dump = DjvusedDump::parse(capture, kind);
    if (!dump.ok()) {
        FUZZ_CHECK(dump.blocks.isEmpty() || !dump.error.isEmpty());
        return;
    }
    for (const DumpBlock& block : dump.blocks) {
        FUZZ_CHECK(DjvusedDump::dataError(block.body).isEmpty());
        FUZZ_CHECK(block.body.isEmpty() || block.body.endsWith('\n'));
    }
    const QByteArray script = dump.script();
    checkDots(dump, script);
    const DjvusedDump again = DjvusedDump::parse(script, kind);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(sameBlocks(dump.blocks, again.blocks));
    FUZZ_CHECK(again.script() == script);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray capture = FuzzChecks::bytes(data, size);
    check(capture, "ant");
    check(capture, "txt");
    // A name read back from its quoted form is the name.
    QByteArray name = DjvusedDump::quote(capture);
    FUZZ_CHECK(!name.contains('\n') && !name.contains('\r'));
    return 0;
}
