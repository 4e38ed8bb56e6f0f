// The whole-file check of a changed copy: real djvused output passes, crafted damage that
// keeps the header length consistent does not.
#include "DjvuFixture.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/SafeChange.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void putLength(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToBigEndian(value, bytes.data() + at);
}

quint32 lengthAt(const QByteArray& bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

class DjvuFileCheckTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString bundled()
    {
        const QString path = dir.filePath("bundled.djvu");
        FixturePage page;
        page.lines << FixtureLine::layout(300, 3000, {"Глава", "1"});
        page.annotations = QStringLiteral("(maparea \"#p0002.djvu\" \"\" (rect 1 2 3 4))");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {page, FixturePage{}, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }
    // Writes the bytes and asks both the check and the safe change's use of it.
    bool passes(const QByteArray& bytes, QString* error)
    {
        const QString path = dir.filePath("crafted.djvu");
        EXPECT_TRUE(DjvuFixture::writeAll(path, bytes));
        QString viaSafeChange;
        const bool whole = DjvuFileCheck::isWhole(path, error);
        EXPECT_EQ(SafeChange::looksComplete(path, &viaSafeChange), whole);
        return whole;
    }
};

TEST_F(DjvuFileCheckTest, RealFilesOfEveryKindPass)
{
    QString error;
    EXPECT_TRUE(DjvuFileCheck::isWhole(bundled(), &error)) << error.toStdString();

    const QString single = dir.filePath("single.djvu");
    ASSERT_TRUE(DjvuFixture::build(single, {FixturePage{}}, &error, true));
    EXPECT_TRUE(DjvuFileCheck::isWhole(single, &error)) << error.toStdString();

    const QString index = dir.filePath("set/index.djvu");
    ASSERT_TRUE(DjvuFixture::buildIndirect(index, {FixturePage{}, FixturePage{}}, &error));
    const QDir set(dir.filePath("set"));
    for (const QString& name : set.entryList(QDir::Files))
        EXPECT_TRUE(DjvuFileCheck::isWhole(set.filePath(name), &error)) << error.toStdString();
}

TEST_F(DjvuFileCheckTest, ACutFileWithItsLengthRewrittenIsRefused)
{
    QByteArray bytes = DjvuFixture::readAll(bundled());
    QString error;
    ASSERT_TRUE(passes(bytes, &error)) << error.toStdString();
    // Cut inside the last component and make the outer length agree with the new size.
    bytes.chop(bytes.size() / 4);
    putLength(bytes, 8, quint32(bytes.size() - 12));
    EXPECT_FALSE(passes(bytes, &error));
    EXPECT_TRUE(error.contains("crafted.djvu")) << error.toStdString();
    // A file that is only its header is no document either.
    EXPECT_FALSE(passes(QByteArray("AT&TFORM\0\0\0\4DJVU", 16), &error));
    EXPECT_FALSE(passes(QByteArray("AT&TFORM"), &error));
    EXPECT_TRUE(error.contains("header")) << error.toStdString();
}

TEST_F(DjvuFileCheckTest, AChunkRunningPastItsFormIsRefused)
{
    const QByteArray good = DjvuFixture::readAll(bundled());
    // The first component FORM begins right after DIRM; make its first inner chunk claim
    // more bytes than the component holds.
    const qsizetype component = good.indexOf("FORM", 12);
    ASSERT_GT(component, 0);
    QByteArray bytes = good;
    const qsizetype inner = component + 12;
    putLength(bytes, inner + 4, lengthAt(bytes, component + 4) + 2);
    QString error;
    EXPECT_FALSE(passes(bytes, &error));
    EXPECT_TRUE(error.contains("past")) << error.toStdString();

    // A component FORM that claims to run past the outer FORM.
    bytes = good;
    putLength(bytes, component + 4, quint32(good.size()));
    EXPECT_FALSE(passes(bytes, &error));
    // A chunk name that is not printable: damage, not a chunk.
    bytes = good;
    bytes[inner] = '\0';
    EXPECT_FALSE(passes(bytes, &error));
}

TEST_F(DjvuFileCheckTest, ADirectoryOffsetOutsideTheComponentsIsRefused)
{
    const QByteArray good = DjvuFixture::readAll(bundled());
    const qsizetype dirm = good.indexOf("DIRM");
    ASSERT_GT(dirm, 0);
    ASSERT_TRUE(quint8(good[dirm + 8]) & 0x80); // bundled
    const qsizetype firstOffset = dirm + 8 + 3;
    QByteArray bytes = good;
    putLength(bytes, firstOffset + 4, quint32(good.size() + 100));
    QString error;
    EXPECT_FALSE(passes(bytes, &error));
    EXPECT_TRUE(error.contains("component")) << error.toStdString();
    // Inside the file, but not where a component begins.
    bytes = good;
    putLength(bytes, firstOffset, lengthAt(good, firstOffset) + 2);
    EXPECT_FALSE(passes(bytes, &error));
}

} // namespace
