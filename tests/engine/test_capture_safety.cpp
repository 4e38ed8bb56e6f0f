// What the passes read from a document is data, never commands, and a capture that is not
// whole is never used: the document stays byte for byte as it was.
#include "CreateTestSupport.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/PageTexts.h"
#include "djvu/ToolRunner.h"
#include "links/CreatePass.h"
#include "links/FixPass.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

const QByteArray kAreas = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))\n"
                          "(maparea \"#p0002.djvu\" \"\" (rect 110 800 250 40) (xor))\n";

class CaptureSafetyTest : public CreatePassFixture
{
protected:
    QString pwned() const { return dir.filePath("pwned.djvu"); }

    // A bundled book whose first page carries these ANTa bytes as they stand.
    QString bookWithAnnotations(const QByteArray& raw)
    {
        FixturePage first;
        first.rawAnnotations = raw;
        const QString path = dir.filePath("book.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {first, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }
    // A book whose contents page links its chapters, and whose later pages have text too.
    QString contentsBook()
    {
        FixturePage contents;
        for (int chapter = 2; chapter <= 5; ++chapter)
            contents.lines << FixtureLine::layout(300, 3000 - 100 * chapter,
                                                  {"Chapter", QString::number(chapter)});
        QList<FixturePage> pages{contents};
        for (int i = 0; i < 5; ++i) {
            FixturePage body;
            body.lines << FixtureLine::layout(300, 3000, {"Body", "text", QString::number(i)});
            pages << body;
        }
        const QString path = dir.filePath("contents.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    PassOutcome fix(const QString& path)
    {
        const QFileInfo info(path);
        return FixPass(tools, texts, log, messages)
            .run({FixRow{info.absolutePath() + QLatin1Char('/'), info.fileName()}}, FixOptions{});
    }

    // A djvused in bin/ whose output for one command is cut after `keep` bytes, exiting 0
    // with nothing on standard error, as the real one does when its output hits a full disk.
    void cutOutput(const QByteArray& command, qsizetype keep)
    {
        const QByteArray real = QStandardPaths::findExecutable("djvused").toLocal8Bit();
        ASSERT_FALSE(real.isEmpty());
        QDir(exe.path()).mkpath("bin");
        const QString path = QDir(exe.path()).filePath("bin/djvused");
        ASSERT_TRUE(DjvuFixture::writeAll(
            path, "#!/bin/sh\ncase \" $* \" in *\" " + command + " \"*) \"" + real +
                      "\" \"$@\" | head -c " + QByteArray::number(keep) +
                      "; exit 0;;\nesac\nexec \"" + real + "\" \"$@\"\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString onlyMessage() const
    {
        EXPECT_EQ(messages.messages.size(), 1);
        return messages.messages.isEmpty() ? QString() : messages.messages.first().text;
    }
};

TEST_F(CaptureSafetyTest, AnnotationsThatHoldCommandsAreRefusedAndNeverRun)
{
    const QByteArray target = pwned().toLocal8Bit();
    const QList<QByteArray> hostile = {
        // A "." line ends the block djvused prints; what follows would be commands.
        kAreas + ".\nsave-bundled " + target + "\nselect 1\nset-ant\n(x)\n",
        // The same with a Windows line end, and with blanks around the dot.
        kAreas + ".\r\nsave-bundled " + target + "\r\n",
        kAreas + " . \nsave-bundled " + target + "\n",
        // Not expressions at all, or not closed.
        kAreas + "save-bundled " + target + "\n",
        kAreas + "(maparea \"\" \"unclosed) (rect 1 2 3 4))\n",
        kAreas + "(maparea \"\" \"\" (rect 1 2 3 4)\n",
        kAreas + "(maparea \"\" \"\" (rect 1 2 3 4)))\n",
    };
    for (const QByteArray& raw : hostile) {
        SCOPED_TRACE(raw.toStdString());
        const QString path = bookWithAnnotations(raw);
        const QByteArray before = DjvuFixture::readAll(path);
        messages.messages.clear();
        const PassOutcome outcome = fix(path);
        EXPECT_EQ(outcome.filesFailed, 1);
        EXPECT_FALSE(onlyMessage().isEmpty());
        EXPECT_EQ(DjvuFixture::readAll(path), before);
        EXPECT_FALSE(QFile::exists(pwned()));
        EXPECT_TRUE(QDir(work.path()).isEmpty());
    }
}

TEST_F(CaptureSafetyTest, WellFormedAnnotationsWithAwkwardTextAreStillAligned)
{
    // djvused prints the line break inside the quoted text escaped, as "\n".
    const QString path = bookWithAnnotations(
        "(maparea \"#p0002.djvu\" \"x; save-bundled y\n.\nsave-bundled " + pwned().toUtf8() +
        "\n'\\\"\" (rect 100 900 300 40) (xor))\n\n"
        "(maparea \"#p0002.djvu\" \"\" (rect 110 800 250 40) (xor))\n");
    const PassOutcome outcome = fix(path);
    EXPECT_EQ(outcome.filesChanged, 1) << log.lines.join('\n').toStdString();
    EXPECT_TRUE(messages.messages.isEmpty());
    const QString after = DjvuFixture::djvused(path, "output-ant");
    EXPECT_TRUE(after.contains("(rect 100 800 300 40)")) << after.toStdString();
    EXPECT_TRUE(after.contains("x; save-bundled y\\n.\\nsave-bundled")) << after.toStdString();
    EXPECT_TRUE(after.contains("\\n'\\\"\"")) << after.toStdString();
    EXPECT_FALSE(QFile::exists(pwned()));
}

TEST_F(CaptureSafetyTest, ACutAnnotationDumpIsNeverReplayed)
{
    QByteArray raw;
    for (int i = 0; i < 20; ++i)
        raw += "(maparea \"#p0002.djvu\" \"entry " + QByteArray::number(i) + "\" (rect " +
               QByteArray::number(100 + i % 3) + " " + QByteArray::number(2000 - 50 * i) +
               " 300 40) (xor))\n";
    const QString path = bookWithAnnotations(raw);
    const QByteArray before = DjvuFixture::readAll(path);
    const QByteArray dump = DjvuFixture::djvused(path, "output-ant").toUtf8();
    // Cut inside an expression, inside a quoted text, and just before the closing "." line.
    for (const qsizetype keep : {dump.indexOf("(rect 101 1950"), dump.indexOf("entry 12") + 3,
                                 dump.lastIndexOf("\n.\n") + 1}) {
        SCOPED_TRACE(keep);
        ASSERT_GT(keep, 0);
        cutOutput("output-ant", keep);
        messages.messages.clear();
        EXPECT_EQ(fix(path).filesFailed, 1);
        EXPECT_TRUE(onlyMessage().contains("cut short")) << onlyMessage().toStdString();
        EXPECT_EQ(DjvuFixture::readAll(path), before);
    }
}

TEST_F(CaptureSafetyTest, ACutTextDumpOrListingIsNeverUsedByTheCreatePass)
{
    const QString path = contentsBook();
    const QByteArray before = DjvuFixture::readAll(path);
    // The pass reads the contents pages' text in one run that ends in a closing size line.
    const QByteArray text = DjvuFixture::djvused(path, PageTexts::commands({1})).toUtf8();
    const QByteArray listing = DjvuFixture::djvused(path, "ls").toUtf8();
    // The page's expression cut after a whole line; cut before the closing size line; cut
    // inside a quoted word; a listing cut in the middle of its last line.
    const QList<QPair<QByteArray, qsizetype>> cuts = {
        {"print-txt;", text.lastIndexOf("(word") - 1},
        {"print-txt;", text.lastIndexOf("width=")},
        {"print-txt;", text.indexOf("Chapter\" ") + 4},
        {"print-txt;", text.size() - 1},
        {"ls", listing.size() - 4},
    };
    for (const auto& [command, keep] : cuts) {
        SCOPED_TRACE(command.toStdString() + " " + std::to_string(keep));
        ASSERT_GT(keep, 0);
        cutOutput(command, keep);
        messages.messages.clear();
        const CreateOutcome outcome = run({CreateTest::row(path)});
        EXPECT_EQ(outcome.filesFailed, 1);
        EXPECT_TRUE(onlyMessage().contains("cut short")) << onlyMessage().toStdString();
        EXPECT_EQ(DjvuFixture::readAll(path), before);
    }
    // The real tool, whole output: the same book gets its links.
    QFile::remove(QDir(exe.path()).filePath("bin/djvused"));
    messages.messages.clear();
    EXPECT_EQ(run({CreateTest::row(path)}).filesChanged, 1) << log.lines.join('\n').toStdString();
    EXPECT_EQ(CreateTest::linksOf(path).value(1).size(), 4);
}

} // namespace
