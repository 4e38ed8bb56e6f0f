// How the Create pass refuses and fails: a clear message, the document as it was, the
// files before it done.
#include "CreateTestSupport.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "links/CreatePass.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CreateFailureTest : public CreatePassFixture
{
protected:
    QString book(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "2"});
        FixturePage body;
        body.lines << FixtureLine::layout(300, 3000, {"Body"});
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, body, body}, &error))
            << error.toStdString();
        return path;
    }

    QString onlyMessage() const
    {
        EXPECT_EQ(messages.messages.size(), 1);
        return messages.messages.isEmpty() ? QString() : messages.messages.first().text;
    }
};

TEST_F(CreateFailureTest, NothingToDoGivesTheRefusalsAndClearsStaleWorkFiles)
{
    for (const char* name : {"myfile.dsed", "myfile2.dsed"}) {
        QFile f(QDir(work.path()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    log.lines << "old line";
    const CreateOutcome empty = run({});
    EXPECT_FALSE(empty.ranToEnd);
    EXPECT_EQ(empty.notices, (QList<PassNotice>{{PassNotice::Kind::NoFiles, {}, {}}}));
    EXPECT_EQ(onlyMessage(), "Ни один файл не выбран !");
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_TRUE(QDir(work.path()).isEmpty());

    const QString path = book("a.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    CreateOptions noBorder;
    noBorder.shape = std::nullopt;
    messages.messages.clear();
    EXPECT_EQ(run({CreateTest::row(path)}, noBorder).notices.value(0).kind,
              PassNotice::Kind::NoBorderChoice);
    EXPECT_EQ(onlyMessage(), "Неверно задан тип границы");
    CreateOptions noKind;
    noKind.kind = std::nullopt;
    messages.messages.clear();
    EXPECT_EQ(run({CreateTest::row(path)}, noKind).notices.value(0).kind,
              PassNotice::Kind::NoKindChoice);
    EXPECT_EQ(onlyMessage(), "Неверно задан вид работы");
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(CreateFailureTest, WithoutDjvusedTheRunStopsAndBacksNothingUp)
{
    const QString path = book("a.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", exe.path().toLocal8Bit());
    const CreateOutcome outcome = run({CreateTest::row(path)});
    qputenv("PATH", savedPath);
    EXPECT_FALSE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesFailed, 1);
    EXPECT_EQ(onlyMessage(), "Файл djvused.exe не найден");
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(CreateFailureTest, AFileThatIsNotDjvuIsReportedInTheToolsOwnWords)
{
    const QString done = book("done.djvu");
    const QString path = dir.filePath("notes.djvu");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("just some text\n");
    }
    const CreateOutcome outcome = run({CreateTest::row(done), CreateTest::row(path)});
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_EQ(outcome.filesFailed, 1);
    const QString message = onlyMessage();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains("DjVu") || message.contains("djvu")) << message.toStdString();
    EXPECT_EQ(messages.messages.first().caption, "Ошибка !!!");
    // The outcome holds what was told: the failed document and the engine's sentence.
    ASSERT_EQ(outcome.notices.size(), 1);
    EXPECT_EQ(outcome.notices[0].kind, PassNotice::Kind::DocumentFailed);
    EXPECT_EQ(outcome.notices[0].path, path);
    EXPECT_EQ(outcome.notices[0].reason, message);
    EXPECT_EQ(DjvuFixture::readAll(path), "just some text\n");
    EXPECT_TRUE(log.lines.contains("Операция не завершена по причине ошибки"));
    EXPECT_FALSE(log.lines.last().endsWith("завершено"));
    EXPECT_TRUE(log.lines.contains("Редактирование файла " + done + " завершено"));
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(done).value(1)), QStringList{"#2"});
    EXPECT_TRUE(QDir(work.path()).isEmpty());
}

TEST_F(CreateFailureTest, AMissingFileIsNamed)
{
    const QString path = dir.filePath("gone.djvu");
    run({CreateTest::row(path)});
    EXPECT_TRUE(onlyMessage().contains("gone.djvu"));
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(CreateFailureTest, AReadOnlyDocumentIsLeftAsItIs)
{
    const QString path = book("readonly.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const CreateOutcome outcome = run({CreateTest::row(path)});
    EXPECT_EQ(outcome.filesFailed, 1);
    EXPECT_TRUE(onlyMessage().contains("read-only")) << onlyMessage().toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(QFile::permissions(path) & QFile::WriteOwner, 0);
    EXPECT_FALSE(log.lines.last().endsWith("завершено"));
}

TEST_F(CreateFailureTest, ARowWithALoneMinusAsOffsetStopsAtItsTurn)
{
    const QString first = book("first.djvu");
    const QString second = book("second.djvu");
    const QString third = book("third.djvu");
    const QByteArray before = DjvuFixture::readAll(second);
    CreateRow bad = CreateTest::row(second);
    bad.columns[3] = "-";
    const CreateOutcome outcome = run({CreateTest::row(first), bad, CreateTest::row(third)});
    EXPECT_FALSE(outcome.ranToEnd);
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_TRUE(onlyMessage().contains("offset")) << onlyMessage().toStdString();
    EXPECT_EQ(CreateTest::linksOf(first).value(1).size(), 1);
    EXPECT_EQ(DjvuFixture::readAll(second), before);
    EXPECT_EQ(DjvuFixture::readAll(third), before);
    EXPECT_FALSE(QFileInfo::exists(second + ".backup"));
}

TEST_F(CreateFailureTest, AContentsRangeOutsideTheDocument)
{
    const QString path = book("short.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    run({CreateTest::row(path, 7, 9)});
    const QString message = onlyMessage();
    EXPECT_TRUE(message.contains("7") && message.contains("3 pages")) << message.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_TRUE(QDir(work.path()).isEmpty());
}

} // namespace

namespace {

QString indirectBook(const QString& index)
{
    FixturePage contents;
    contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "2"});
    FixturePage body;
    body.lines << FixtureLine::layout(300, 3000, {"Body"});
    QString error;
    EXPECT_TRUE(DjvuFixture::buildIndirect(index, {contents, body, body}, &error))
        << error.toStdString();
    return index;
}

TEST_F(CreateFailureTest, AnIndirectDocumentGetsItsLinksInItsPageFiles)
{
    const QString index = indirectBook(dir.filePath("indirect/index.djvu"));
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);
    const CreateOutcome outcome = run({CreateTest::row(index)});
    EXPECT_EQ(outcome.filesChanged, 1);
    EXPECT_TRUE(messages.messages.isEmpty());
    const auto links = CreateTest::linksOf(index);
    ASSERT_EQ(links.value(1).size(), 1);
    EXPECT_EQ(links.value(1).first().target, "#2");
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    QStringList expected = before.keys();
    for (const QString& name : before.keys())
        expected << name + ".backup"; // every file of the set has its backup
    expected.sort();
    EXPECT_EQ(after.keys(), expected); // and nothing else is left behind
    for (const QString& name : before.keys())
        EXPECT_EQ(after.value(name + ".backup"), before.value(name)) << name.toStdString();
    EXPECT_NE(after["p0001.djvu"], before["p0001.djvu"]);
    EXPECT_EQ(after["p0002.djvu"], before["p0002.djvu"]);
    EXPECT_EQ(after["p0003.djvu"], before["p0003.djvu"]);
}

TEST_F(CreateFailureTest, AFailedSaveLeavesEveryFileOfAnIndirectDocumentAsItWas)
{
    // Saves the copy as the real tool does, then reports a failure.
    const QString real = QStandardPaths::findExecutable("djvused");
    QDir(exe.path()).mkpath("bin");
    QFile script(QDir(exe.path()).filePath("bin/djvused"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n\"" + real.toLocal8Bit() +
                 "\" \"$@\" || exit $?\n"
                 "case \" $* \" in *\" -s\"*) echo 'no room left' >&2; exit 3;; esac\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString index = indirectBook(dir.filePath("indirect/index.djvu"));
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);
    CreateOptions options;
    options.backup = false;
    const CreateOutcome outcome = run({CreateTest::row(index)}, options);
    EXPECT_EQ(outcome.filesFailed, 1);
    EXPECT_TRUE(onlyMessage().contains("no room left")) << onlyMessage().toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

} // namespace
