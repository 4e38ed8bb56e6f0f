// The strict readers of what djvused prints, on captures whose line ends or layout differ
// from the usual ones: what reads is written back so that it reads the same again, and the
// document it is replayed into ends as the real dump says.
#include "DjvuFixture.h"
#include "tools/DjvusedDump.h"

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
