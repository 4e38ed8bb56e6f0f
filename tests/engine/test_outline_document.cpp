// A document's outline read and written through the real djvused: titles of any bytes come
// back exactly, and a failure or a capture that is not whole leaves the document as it was.
#include "DjvuFixture.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "outline/DocumentOutline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DocumentOutlineTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    QTemporaryDir exe;
    RecordingMessageSink messages;
    ToolRunner tools{exe.path(), work.path(), &messages};

    QString book(int pages = 4)
    {
        const QString path = dir.filePath("Книга с оглавлением.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, QList<FixturePage>(pages), &error))
            << error.toStdString();
        return path;
    }
    Outline readBack(const QString& path)
    {
        Outline outline;
        int pages = 0;
        DocumentOutline reader(tools);
        EXPECT_TRUE(reader.read(path, &outline, &pages)) << reader.error().toStdString();
        return outline;
    }
    // A djvused in bin/ that runs the real one, except for the command given.
    void standIn(const QByteArray& command, const QByteArray& instead)
    {
        const QByteArray real = QStandardPaths::findExecutable("djvused").toLocal8Bit();
        ASSERT_FALSE(real.isEmpty());
        QDir(exe.path()).mkpath("bin");
        const QString path = QDir(exe.path()).filePath("bin/djvused");
        ASSERT_TRUE(DjvuFixture::writeAll(path, "#!/bin/sh\ncase \" $* \" in *\"" + command +
                                                    "\"*) " + instead + ";;\nesac\nexec \"" + real +
                                                    "\" \"$@\"\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

Bookmark mark(int level, const QByteArray& title, const QByteArray& target)
{
    return Bookmark{level, title, target};
}

} // namespace

TEST_F(DocumentOutlineTest, TitlesOfAnyCharactersAndLengthComeBackExactly)
{
    const QString path = book();
    QByteArray controls;
    for (char c = 1; c < 0x20; ++c)
        controls += c;
    Outline outline;
    outline.bookmarks = {
        mark(0, "Quotes \"inner\" and 'single', back\\slash \\\" \\n", "#1"),
        mark(1, QString("Глава 1. Введение — «ёлки»").toUtf8(), "#2"),
        mark(2, QString("Emoji 😀🎉 and 汉字").toUtf8(), "#3"),
        mark(2, QString("Ж😀\"\\").repeated(1000).toUtf8(), "#4"),
        mark(1, controls + "\x7f", "#1"),
        mark(0, ".", "#2"),
        mark(1, "\n.\n", "#3"),
        mark(1, "\r\n.\r\nsave-bundled /tmp/x", "#4"),
        mark(0, "Not UTF-8: \xff\xfe\xc0\xaf", "https://example.org/?q=\"a b\""),
        mark(0, "", ""),
        mark(0, " (not a list) ) ( ", "#p0002.djvu"),
    };
    ASSERT_EQ(QString::fromUtf8(outline.bookmarks[3].title).toUcs4().size(), 4000);
    DocumentOutline document(tools);
    ASSERT_EQ(document.write(path, outline, false), DocumentOutline::WriteOutcome::Written)
        << document.error().toStdString();
    EXPECT_EQ(readBack(path), outline);
    // djvused itself, asked for plain UTF-8, shows the titles as they were given.
    QProcess utf8;
    utf8.start("djvused", {"-u", path, "-e", "print-outline"});
    utf8.waitForFinished(-1);
    const QString plain = QString::fromUtf8(utf8.readAllStandardOutput());
    EXPECT_TRUE(plain.contains(QString("\"Глава 1. Введение — «ёлки»\"")));
    EXPECT_TRUE(plain.contains(QString("\"Emoji 😀🎉 and 汉字\"")));

    // The same outline again: the document is not touched at all.
    const QByteArray before = DjvuFixture::readAll(path);
    EXPECT_EQ(document.write(path, outline, true), DocumentOutline::WriteOutcome::NothingChanged);
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_FALSE(QFile::exists(path + ".backup"));
    EXPECT_TRUE(QDir(work.path()).isEmpty());
}

TEST_F(DocumentOutlineTest, ReplacesOrRemovesTheOutlineAndKeepsABackup)
{
    const QString path = book();
    QString error;
    ASSERT_TRUE(DjvuFixture::setOutline(path, "(bookmarks (\"Old\" \"#1\" (\"Old child\" \"#2\")))",
                                        &error));
    const QByteArray original = DjvuFixture::readAll(path);
    DocumentOutline document(tools);
    EXPECT_FALSE(document.hasNoOutline(path));
    EXPECT_TRUE(document.error().contains("already has an outline of 2 bookmarks"));

    Outline outline;
    outline.bookmarks = {mark(0, "New", "#3")};
    ASSERT_EQ(document.write(path, outline, true), DocumentOutline::WriteOutcome::Written);
    EXPECT_EQ(readBack(path), outline);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), original);

    ASSERT_EQ(document.write(path, Outline{}, false), DocumentOutline::WriteOutcome::Written);
    EXPECT_TRUE(readBack(path).isEmpty());
    EXPECT_TRUE(DjvuFixture::djvused(path, "print-outline").isEmpty());
    EXPECT_TRUE(document.hasNoOutline(path));
}

TEST_F(DocumentOutlineTest, AnIndirectBookGetsItsOutlineInItsIndex)
{
    const QString index = dir.filePath("index.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::buildIndirect(index, QList<FixturePage>(3), &error))
        << error.toStdString();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(dir.path());
    Outline outline;
    outline.bookmarks = {mark(0, "One", "#1"), mark(1, "Two", "#p0002.djvu")};
    DocumentOutline document(tools);
    ASSERT_EQ(document.write(index, outline, false), DocumentOutline::WriteOutcome::Written)
        << document.error().toStdString();
    EXPECT_EQ(readBack(index), outline);
    // Only the index changed; the page files are as they were.
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(dir.path());
    EXPECT_EQ(after.keys(), before.keys());
    for (const QString& name : before.keys()) {
        if (name == "index.djvu")
            continue;
        EXPECT_EQ(after[name], before[name]) << name.toStdString();
    }
}

TEST_F(DocumentOutlineTest, FailuresLeaveTheDocumentAsItWas)
{
    const QString path = book();
    QString error;
    ASSERT_TRUE(DjvuFixture::setOutline(
        path, "(bookmarks (\"A\" \"#1\" (\"B\" \"#2\")) (\"C\" \"#3\") (\"D\" \"#4\"))", &error));
    const QByteArray original = DjvuFixture::readAll(path);
    Outline outline;
    outline.bookmarks = {mark(0, "New", "#3")};
    auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(DjvuFixture::readAll(path), original);
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QFileInfo(path).fileName()});
    };

    // A title djvused cannot keep.
    DocumentOutline document(tools);
    Outline zero;
    zero.bookmarks = {mark(0, QByteArray("a\0b", 3), "#1")};
    EXPECT_EQ(document.write(path, zero, false), DocumentOutline::WriteOutcome::Failed);
    EXPECT_TRUE(document.error().contains("U+0000"));
    unchanged("zero byte");

    // The outline print cut short (a full disk): neither read nor used to decide anything.
    const QByteArray real = QStandardPaths::findExecutable("djvused").toLocal8Bit();
    standIn("print-outline", "\"" + real + "\" \"$@\" | head -c 30; exit 0");
    int pages = 0;
    Outline read;
    EXPECT_FALSE(document.read(path, &read, &pages));
    EXPECT_TRUE(document.error().contains("cut short")) << document.error().toStdString();
    EXPECT_EQ(document.write(path, outline, false), DocumentOutline::WriteOutcome::Failed);
    EXPECT_FALSE(document.hasNoOutline(path));
    unchanged("cut print");

    // Saving fails with a message, or saves something other than asked: nothing moves in.
    standIn(" -s", "echo 'djvused: disk on fire' >&2; exit 10");
    EXPECT_EQ(document.write(path, outline, false), DocumentOutline::WriteOutcome::Failed);
    EXPECT_TRUE(document.error().contains("disk on fire"));
    unchanged("failed save");
    standIn(" -s", "\"" + real + "\" \"$1\" -e remove-outline -s; exit 0");
    EXPECT_EQ(document.write(path, outline, false), DocumentOutline::WriteOutcome::Failed);
    unchanged("other outline saved");
}
