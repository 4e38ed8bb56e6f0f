// Backups never overwrite a file of the document they keep.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/BackupCopy.h"
#include "djvu/IndirectDocument.h"
#include "djvu/ToolRunner.h"
#include "links/FixPass.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class BackupCopyTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // An indirect book whose page files carry the given identifiers.
    QString indirect(const QString& indexName, const QStringList& ids)
    {
        QList<FixturePage> pages;
        for (const QString& id : ids) {
            FixturePage page;
            page.id = id;
            // Two links out of line: Fix changes every page.
            page.annotations = QStringLiteral("(maparea \"#1\" \"\" (rect 100 900 300 40))\n"
                                              "(maparea \"#2\" \"\" (rect 110 800 250 40))");
            pages << page;
        }
        const QString index = dir.filePath("set/" + indexName);
        QString error;
        EXPECT_TRUE(DjvuFixture::buildIndirect(index, pages, &error)) << error.toStdString();
        return index;
    }
    static ToolRunner tools() { return ToolRunner(QString(), QString(), nullptr); }
    // Backs up the index and every file it lists, as a change of the book does.
    bool backUp(const QString& index, QString* error)
    {
        QStringList names;
        if (!IndirectDocument::components(index, tools(), &names, error))
            return false;
        QStringList files{index};
        for (const QString& name : std::as_const(names))
            files << QFileInfo(index).absoluteDir().filePath(name);
        return BackupCopy::Change().make(files, BackupCopy::kKeepDefault, error);
    }
};

TEST_F(BackupCopyTest, APageNamedLikeAnotherPagesBackupIsNeverOverwritten)
{
    const QString index = indirect("index.djvu", {"p1.djvu", "p1.djvu.backup"});
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);
    ASSERT_TRUE(before.contains("p1.djvu.backup"));

    QString error;
    EXPECT_FALSE(backUp(index, &error));
    EXPECT_TRUE(error.contains("p1.djvu.backup")) << error.toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);

    // Through the Fix pass: refused with the reason, the set byte for byte as it was.
    QTemporaryDir work;
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools(QStringLiteral(TOCSMITH_OUT_DIR), work.path(), &messages);
    const PassOutcome outcome =
        FixPass(tools, texts, log, messages)
            .run({FixRow{folder + QLatin1Char('/'), QStringLiteral("index.djvu")}},
                 FixOptions{true});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("p1.djvu.backup"))
        << messages.messages[0].text.toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(BackupCopyTest, APageNamedLikeTheIndexBackupIsNeverOverwritten)
{
    const QString index = indirect("book.djvu", {"book.djvu.backup", "p2.djvu"});
    const QMap<QString, QByteArray> before =
        DjvuFixture::readFolder(QFileInfo(index).absolutePath());
    QString error;
    EXPECT_FALSE(backUp(index, &error));
    EXPECT_EQ(DjvuFixture::readFolder(QFileInfo(index).absolutePath()), before);
}

TEST_F(BackupCopyTest, AnEarlierBackupOfTheSetIsKeptAndTheNextOneIsNumbered)
{
    const QString index = indirect("index.djvu", {"p1.djvu", "p2.djvu"});
    const QString folder = QFileInfo(index).absolutePath();
    QString error;
    ASSERT_TRUE(DjvuFixture::writeAll(index + ".backup", "old"));
    BackupCopy::Change change;
    const QStringList files{index, folder + "/p1.djvu", folder + "/p2.djvu"};
    ASSERT_TRUE(change.make(files, 5, &error)) << error.toStdString();
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    EXPECT_EQ(after.value("index.djvu.backup"), "old");
    EXPECT_EQ(after.value("index.djvu.backup.2"), after.value("index.djvu"));
    for (const QString& name : QStringList{"p1.djvu", "p2.djvu"})
        EXPECT_EQ(after.value(name + QStringLiteral(".backup")), after.value(name))
            << name.toStdString();
}

// Command-line changes of one book, one after another, and the backups beside it after them.
struct BackupRow
{
    const char* name;
    QList<QStringList> runs;        // "BOOK" is the book, "TEXT" a file of changed words
    QStringList backups;            // the backup names expected beside book.djvu
    bool damagedAfterFirst = false; // the book is cut short after the first run
};

class BackupRows : public BackupCopyTest, public ::testing::WithParamInterface<BackupRow>
{
};

TEST_P(BackupRows, OnlyChangesOfWholeBooksAreBackedUpAndTheOriginalStays)
{
    const BackupRow& row = GetParam();
    const QString book = dir.filePath("book.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(book, FixturePage::everyChangeBook(), &error));
    const QByteArray original = DjvuFixture::readAll(book);
    QList<QByteArray> states{original};
    const CliRun exported = runCli({"ocr-export", book});
    for (int i = 0; i < int(row.runs.size()); ++i) {
        // Each ocr-import writes other words, so that each run changes the book.
        QString words = exported.out;
        DjvuFixture::writeAll(dir.filePath("words.txt"),
                              words.replace("Body", QString("Bod%1").arg(i)).toUtf8());
        QStringList args = row.runs[i];
        args.replaceInStrings("TEXT", dir.filePath("words.txt"));
        args.replaceInStrings("BOOK", book);
        const CliRun run = runCli(args);
        if (i == 0 && row.damagedAfterFirst) {
            ASSERT_EQ(run.status, 0) << run.err.toStdString();
            const QByteArray whole = DjvuFixture::readAll(book);
            DjvuFixture::writeAll(book, whole.left(whole.size() / 2));
        } else if (row.damagedAfterFirst) {
            EXPECT_NE(run.status, 0);
        }
        states << DjvuFixture::readAll(book);
    }
    QStringList found = QDir(dir.path()).entryList({"book.djvu.backup*"}, QDir::Files);
    found.sort();
    EXPECT_EQ(found, row.backups);
    if (!row.backups.isEmpty()) {
        EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), original);
    }
    // A numbered backup holds the book as the change of that number found it.
    for (const QString& name : std::as_const(found)) {
        const int number = name.section('.', -1).toInt();
        if (number >= 2) {
            EXPECT_EQ(DjvuFixture::readAll(dir.filePath(name)), states[number - 1])
                << name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BackupRows,
    ::testing::Values(
        BackupRow{"CreateFixOcrImport",
                  {{"create", "BOOK"}, {"fix", "BOOK"}, {"ocr-import", "BOOK", "TEXT"}},
                  {"book.djvu.backup", "book.djvu.backup.2", "book.djvu.backup.3"}},
        BackupRow{"KeepTwo",
                  {{"ocr-import", "BOOK", "TEXT"},
                   {"ocr-import", "--keep-backups", "2", "BOOK", "TEXT"},
                   {"ocr-import", "BOOK", "TEXT", "--keep-backups", "2"},
                   {"ocr-import", "--keep-backups=2", "BOOK", "TEXT"}},
                  {"book.djvu.backup", "book.djvu.backup.3", "book.djvu.backup.4"}},
        BackupRow{"KeepNone",
                  {{"fix", "BOOK"}, {"create", "--keep-backups", "0", "BOOK"}},
                  {"book.djvu.backup"}},
        BackupRow{"NothingToChange",
                  {{"ocr-import", "--no-backup", "BOOK", "TEXT"},
                   {"fix", "--no-backup", "BOOK"},
                   {"fix", "BOOK"}},
                  {}},
        BackupRow{"DamagedBookFails",
                  {{"create", "BOOK"}, {"fix", "BOOK"}, {"ocr-import", "BOOK", "TEXT"}},
                  {"book.djvu.backup"},
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupCopyTest, CreateFixAndOcrImportOnTheSampleKeepItsOriginalByteForByte)
{
    const QString sample =
        QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/djvulibre-book-ru.djvu");
    if (!QFileInfo::exists(sample))
        GTEST_SKIP() << "the shared sample book is not here";
    const QString book = dir.filePath("book.djvu");
    ASSERT_TRUE(QFile::copy(sample, book));
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = DjvuFixture::readAll(book);
    const CliRun created =
        runCli({"create", "--reading", "smart", "--pages", "17-18", "--offset", "auto", book});
    ASSERT_EQ(created.status, 0) << created.err.toStdString();
    ASSERT_EQ(runCli({"fix", book}).status, 0);
    QString words = runCli({"ocr-export", book}).out;
    // The first letter of a word of four letters or more, outside the page headers.
    const qsizetype at =
        QRegularExpression("(?m)^(?!===)[^\\n]*?(\\p{L}{4,})").match(words).capturedStart(1);
    ASSERT_GE(at, 0);
    words[at] = words[at] == 'x' ? 'y' : 'x';
    DjvuFixture::writeAll(dir.filePath("words.txt"), words.toUtf8());
    const CliRun imported = runCli({"ocr-import", book, dir.filePath("words.txt")});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(DjvuFixture::readAll(book + ".backup"), original);
    EXPECT_TRUE(QFileInfo::exists(book + ".backup.2"));
}

} // namespace
