// The strict readers of what djvused prints, on captures whose line ends or layout differ
// from the usual ones: what reads is written back so that it reads the same again, and the
// document it is replayed into ends as the real dump says.
#include "DjvuFixture.h"
#include "djvu/DjvusedDump.h"
#include "djvu/DjvusedDumpReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DumpReadersTest : public ::testing::Test
{
protected:
    // A two-page book with annotations on both pages; its path.
    QString annotatedBook(const QString& name)
    {
        FixturePage first;
        first.annotations = QStringLiteral("(maparea \"#p0002.djvu\" \"Стр. 2\" (rect 10 10 90 40) "
                                           "(xor))\n(zoom width)");
        FixturePage second;
        second.annotations = QStringLiteral("(maparea \"#p0001.djvu\" \"\" (oval 5 5 50 50))");
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {first, second}, &error)) << error.toStdString();
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(DumpReadersTest, LinesEndingInSeveralCarriageReturnsReadBackTheSame)
{
    const QString source = annotatedBook(QStringLiteral("source.djvu"));
    const QByteArray real = DjvuFixture::djvused(source, QStringLiteral("output-ant")).toUtf8();
    ASSERT_TRUE(real.contains("maparea"));

    // Every line of the dump ends in carriage returns, one to three of them.
    QByteArray crlf;
    int returns = 0;
    for (const QByteArray& line : real.split('\n').mid(0, real.count('\n')))
        crlf += line + QByteArray(1 + returns++ % 3, '\r') + '\n';
    const DjvusedDump dump = DjvusedDump::parse(crlf, "ant");
    ASSERT_TRUE(dump.ok()) << dump.error.toStdString();
    const DjvusedDump plain = DjvusedDump::parse(real, "ant");
    ASSERT_EQ(dump.blocks.size(), plain.blocks.size());
    for (qsizetype i = 0; i < dump.blocks.size(); ++i)
        EXPECT_EQ(dump.blocks[i].body, plain.blocks[i].body);

    const DjvusedDump again = DjvusedDump::parse(dump.script(), "ant");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.script(), dump.script());

    // Replayed into a book without annotations, the script gives the source's dump.
    const QString target = dir.filePath(QStringLiteral("target.djvu"));
    QString error;
    ASSERT_TRUE(DjvuFixture::build(target, {FixturePage{}, FixturePage{}}, &error));
    ASSERT_TRUE(DjvuFixture::applyScript(target, QString::fromUtf8(dump.script()), &error))
        << error.toStdString();
    EXPECT_EQ(DjvuFixture::djvused(target, QStringLiteral("output-ant")).toUtf8(), real);
}

namespace {

// Feeds `dump` to a reader in pieces of `size` bytes; the blocks it handed on.
QList<DumpBlock> readInPieces(const QByteArray& dump, qsizetype size, QString* error)
{
    QList<DumpBlock> blocks;
    DjvusedDumpReader reader("txt", [&blocks](DumpBlock&& block) { blocks << block; });
    for (qsizetype at = 0; at < dump.size(); at += size)
        reader.feed(QByteArrayView(dump).sliced(at, std::min(size, dump.size() - at)));
    *error = reader.finish() ? QString() : reader.error();
    return blocks;
}

} // namespace

TEST_F(DumpReadersTest, ATextDumpReadInPiecesOfAnySizeReadsAsWholeAndACutOneNever)
{
    QList<FixturePage> pages(3);
    pages[0].lines << FixtureLine::layout(200, 3000, {"Содержание", "\"quoted\""})
                   << FixtureLine::layout(200, 2900, {"Глава", "1"});
    pages[1].hasText = false;
    pages[2].lines << FixtureLine::layout(300, 2500, {"last", "page"});
    const QString book = dir.filePath(QStringLiteral("text.djvu"));
    QString error;
    ASSERT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
    const QByteArray dump = DjvuFixture::djvused(book, QStringLiteral("output-txt")).toUtf8();
    const DjvusedDump whole = DjvusedDump::parse(dump, "txt");
    ASSERT_TRUE(whole.ok()) << whole.error.toStdString();
    ASSERT_EQ(whole.blocks.size(), 2);

    for (const qsizetype size : {qsizetype(1), qsizetype(3), qsizetype(17), qsizetype(4096)}) {
        SCOPED_TRACE(size);
        const QList<DumpBlock> blocks = readInPieces(dump, size, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_EQ(blocks.size(), whole.blocks.size());
        for (qsizetype i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].body, whole.blocks[i].body);
            EXPECT_EQ(blocks[i].page, whole.blocks[i].page);
            EXPECT_EQ(blocks[i].identifier, whole.blocks[i].identifier);
        }
    }

    // Cut inside a line, inside a quoted word, inside a block before its "." line, and at
    // nothing at all: refused however the pieces fell.
    const QList<qsizetype> cuts = {dump.indexOf("(word") + 3, dump.indexOf("quoted") + 2,
                                   dump.lastIndexOf("\n.\n") + 1, 0};
    for (const qsizetype keep : cuts) {
        SCOPED_TRACE(keep);
        ASSERT_GE(keep, 0);
        for (const qsizetype size : {qsizetype(1), qsizetype(64)}) {
            readInPieces(dump.left(keep), size, &error);
            EXPECT_TRUE(error.contains("cut short")) << error.toStdString();
        }
        EXPECT_TRUE(DjvusedDump::parse(dump.left(keep), "txt").error.contains("cut short"));
    }

    // A stray line stops the reading there: no later block is handed on.
    QByteArray stray = dump;
    stray.insert(stray.indexOf("select \""), "print-pure-txt\n");
    EXPECT_TRUE(readInPieces(stray, 5, &error).isEmpty());
    EXPECT_TRUE(error.contains("print-pure-txt")) << error.toStdString();
}
