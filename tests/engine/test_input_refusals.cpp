// What the user gives that cannot be done as given is refused plainly, and what can be done
// is done: a plan naming a book twice, a contents link to a page the book lacks, a folder or
// a name the system cannot spell given as the book, long book names, and a read taken while
// another run changes the book.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/EngineTexts.h"
#include "djvu/BookGuard.h"
#include "jobs/CreateJob.h"
#include "links/ContentsLinkBlocks.h"
#include "links/ContentsPlan.h"
#include "review/PlanText.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

// The sentence of the key in either language, its first placeholder filled, up to the second.
bool saysEither(const QString& text, EngineKey key, const QString& arg)
{
    for (const QString& sentence : {EngineTexts::englishText(key), EngineTexts::russianText(key)})
        if (text.contains(sentence.arg(arg).section(QStringLiteral("%2"), 0, 0)))
            return true;
    return false;
}

TEST(PlanText, ADocumentNamedTwiceIsRefusedAtItsSecondBlock)
{
    const QByteArray plan = "@ /books/a.djvu\n"
                            "+ 1 | 1 | 1 | 1 | 300 3000 500 40 | \"\" | One\n"
                            "@ /books/b.djvu\n"
                            "@ /books/../books/a.djvu\n"
                            "+ 1 | 1 | 3 | 3 | 300 2900 500 40 | \"\" | Two\n";
    QList<PlanText::Document> documents;
    QString error;
    EXPECT_FALSE(PlanText::parse(plan, &documents, &error));
    EXPECT_TRUE(saysEither(error, "e_line_what", "4")) << s(error);
}

TEST(ContentsLink, ATargetOutsideTheBookIsRefused)
{
    CreateJob job;
    job.path = QStringLiteral("book.djvu");
    job.contentsLink = true;
    job.link.targetGiven = true; // as --contents-link-target sets it
    for (int target : {0, 7, 4000}) {
        job.link.targetPage = target;
        QList<ContentsLinkPlacement> placements;
        QString error;
        EXPECT_FALSE(ContentsLinkBlocks::place(job, 6, &placements, &error)) << target;
        EXPECT_TRUE(saysEither(error, "e_link_target_outside", QString::number(target)))
            << s(error);
    }
    job.link.targetPage = 6;
    QList<ContentsLinkPlacement> placements;
    QString error;
    EXPECT_TRUE(ContentsLinkBlocks::place(job, 6, &placements, &error)) << s(error);
}

// Runs the command line through the shell, so that a name can be any bytes.
CliRun runRaw(const QString& command, const QByteArray& name)
{
    QProcess p;
    p.start("sh",
            {"-c", "exec \"$0\" \"$1\" \"$(printf \"$2\")\"",
             QStringLiteral(TOCSMITH_OUT_DIR "/tocsmith-cli"), command, QString::fromLatin1(name)});
    CliRun run;
    if (!p.waitForFinished(60000))
        return run;
    run.status = p.exitCode();
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

TEST(BookNames, AFolderOrANameTheSystemCannotSpellIsSaidToBeSo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.djvu"));
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xe9.djvu";
    QString error;
    ASSERT_TRUE(DjvuFixture::build(dir.filePath("plain.djvu"), QList<FixturePage>(1), &error));
    ASSERT_EQ(
        std::rename(QFile::encodeName(dir.filePath("plain.djvu")).constData(), latin1.constData()),
        0);
    struct Row
    {
        QByteArray name;
        EngineKey key;
    } rows[] = {{QFile::encodeName(dir.filePath("folder.djvu")), "e_is_folder"},
                {QFile::encodeName(dir.path()) + "/caf\\351.djvu", "e_name_unspelt"},
                {QFile::encodeName(dir.filePath("none.djvu")), "e_no_file"}};
    for (const Row& row : rows) {
        for (const char* command : {"fix", "outline-export", "ocr-export"}) {
            const CliRun run = runRaw(command, row.name);
            EXPECT_EQ(run.status, 1) << command << " " << row.name.toStdString();
            const QString shown = row.key == EngineKey("e_name_unspelt")
                                      ? QString::fromUtf8(latin1)
                                      : QString::fromUtf8(row.name);
            EXPECT_TRUE(saysEither(run.err, row.key, shown))
                << command << " " << row.key.name() << "\n"
                << s(run.err);
        }
    }
}

TEST(BookNames, ABookWithALongNameGetsALockThatFitsTheFolder)
{
    EXPECT_EQ(BookGuard::lockName("a.djvu"), ".a.djvu.tocsmith-lock");
    QTemporaryDir dir;
    for (const QString& name : {QString(240, 'a') + ".djvu", QString(120, QChar(0x0416)) + ".djvu",
                                QString(245, 'a') + ".djvu"}) {
        const QString book = dir.filePath(name);
        QString error;
        ASSERT_TRUE(DjvuFixture::writeAll(book, "book"));
        const QString lock = BookGuard::lockName(name);
        EXPECT_LE(QFile::encodeName(lock).size(), 240);
        EXPECT_NE(lock, BookGuard::lockName(QString(name).replace(3, 1, 'b')));
        BookGuard guard(book, nullptr);
        ASSERT_TRUE(guard.open(&error)) << s(error);
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(lock))) << s(name);
    }
}

TEST(BookNames, ReadingCommandsWaitForARunThatChangesTheBook)
{
    QTemporaryDir dir;
    const QString book = dir.filePath("book.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(book, FixturePage::twoChapterBook(3), &error)) << s(error);
    QLockFile held(dir.filePath(BookGuard::lockName("book.djvu")));
    ASSERT_TRUE(held.tryLock(0));
    for (const char* command : {"ocr-export", "outline-export"}) {
        const CliRun run = runCli({command, book});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_TRUE(saysEither(run.err, "e_busy", book)) << command << "\n" << s(run.err);
    }
}

} // namespace
