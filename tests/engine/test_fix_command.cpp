#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/LanguageFile.h"
#include "base/MessageTexts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

CliRun fix(const QStringList& args)
{
    // The runs speak Russian, as under a Russian messages locale: the log lines checked are
    // the built-in ones.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "ru_RU.UTF-8");
    return runCli(QStringList{"fix"} + args, env);
}

class FixCommandTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    MessageTexts texts;

    QString book(const QString& name)
    {
        FixturePage page;
        page.annotations = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))\n"
                           "(maparea \"#p0002.djvu\" \"\" (rect 110 800 250 40) (xor))";
        const QString path = QDir(dir.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {page, FixturePage{}}, &error)) << s(error);
        return path;
    }
    static bool aligned(const QString& path)
    {
        return DjvuFixture::djvused(path, "output-ant").contains("(rect 100 800 300 40)");
    }
};

} // namespace

TEST_F(FixCommandTest, AlignsEveryFileLogsSixLinesEachAndKeepsBackups)
{
    const QString a = book("a.djvu");
    const QString b = book("b b.djvu");
    const CliRun run = fix({a, b});
    EXPECT_EQ(run.status, 0) << s(run.err);
    EXPECT_TRUE(aligned(a));
    EXPECT_TRUE(aligned(b));
    EXPECT_TRUE(QFile::exists(a + ".backup"));
    EXPECT_TRUE(QFile::exists(b + ".backup"));
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 13) << s(run.out);
    EXPECT_EQ(lines[0], texts.text("m1") + " " + a);
    EXPECT_EQ(lines[5], texts.text("m6") + " " + a + " " + texts.text("m7"));
    EXPECT_EQ(lines[11], texts.text("m6") + " " + b + " " + texts.text("m7"));
    EXPECT_EQ(lines[12], QStringLiteral("Изменено документов: 2"));
    EXPECT_TRUE(run.err.isEmpty()) << s(run.err);
}

TEST_F(FixCommandTest, NoBackupMeansNoBackup)
{
    const QString a = book("a.djvu");
    EXPECT_EQ(fix({"--no-backup", a}).status, 0);
    EXPECT_TRUE(aligned(a));
    EXPECT_FALSE(QFile::exists(a + ".backup"));
}

TEST_F(FixCommandTest, AFailingFileGivesStatusOneAndStopsTheRun)
{
    const QString a = book("a.djvu");
    const QString broken = QDir(dir.path()).filePath("broken.djvu");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a book");
    }
    const QString c = book("c.djvu");
    const QByteArray cBytes = DjvuFixture::readAll(c);
    const CliRun run = fix({"--no-backup", a, broken, c});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(aligned(a));
    EXPECT_EQ(DjvuFixture::readAll(c), cBytes);
    EXPECT_TRUE(run.err.contains(broken)) << s(run.err);
    EXPECT_TRUE(run.err.contains(texts.text("mes3"))) << s(run.err);
}

TEST_F(FixCommandTest, WrongUsageGivesStatusTwoAndHelpGivesZero)
{
    const QString a = book("a.djvu");
    const QByteArray bytes = DjvuFixture::readAll(a);
    EXPECT_EQ(fix({}).status, 2);
    EXPECT_EQ(fix({"--no-such-option", a}).status, 2);
    EXPECT_EQ(fix({a, "--language"}).status, 2);
    EXPECT_EQ(fix({"--language", QDir(dir.path()).filePath("none.lng"), a}).status, 2);
    EXPECT_EQ(DjvuFixture::readAll(a), bytes);
    const CliRun help = fix({"--help"});
    EXPECT_EQ(help.status, 0);
    // The runs have a Russian locale, so the help is the Russian one.
    EXPECT_TRUE(help.out.contains(QStringLiteral("Использование: tocsmith-cli fix")))
        << s(help.out);
}

TEST_F(FixCommandTest, TheLanguageFileGivesTheLogTexts)
{
    const QString lng = QDir(dir.path()).filePath("Test.lng");
    {
        QFile f(lng);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Main]\nname=Test\n[Memo]\nm1=Start of file\nm7=done\n");
    }
    MessageTexts loaded;
    LanguageFile::loadMessages(lng, loaded);
    if (loaded.text("m1") != "Start of file")
        GTEST_SKIP() << "this build reads no language files yet";
    const QString a = book("a.djvu");
    const CliRun run = fix({"--language", lng, "--no-backup", a});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("Start of file " + a + "\n")) << s(run.out);
    EXPECT_TRUE(run.out.contains(" " + a + " done\n")) << s(run.out);
}

// A book with nothing to align is left byte for byte and said to be unchanged: in the log,
// the report and the summary line that ends every way of running a batch.
TEST_F(FixCommandTest, ABookWithNothingToAlignIsReportedUnchangedAndTheBatchIsSummedUp)
{
    const QString report = dir.filePath("report.json");
    const QStringList ways[] = {
        {}, {"--keep-going", "--report", report}, {"--jobs", "2", "--report", report}};
    for (const QStringList& way : ways) {
        const QString aligned = book("aligned.djvu");
        ASSERT_EQ(fix({"--no-backup", aligned}).status, 0);
        const QByteArray bytes = DjvuFixture::readAll(aligned);
        const QString other = book("other.djvu");
        const CliRun run = fix(way + QStringList{"--no-backup", aligned, other});
        const std::string what = s(way.join(' ') + "\n" + run.out + run.err);
        EXPECT_EQ(run.status, 0) << what;
        EXPECT_EQ(DjvuFixture::readAll(aligned), bytes) << what;
        EXPECT_EQ(run.out.count(texts.text("m5")), 1) << what; // the other book's change
        EXPECT_TRUE(run.out.endsWith("Изменено документов: 1, без изменений: 1\n")) << what;
        if (way.isEmpty())
            continue;
        QFile file(report);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << what;
        const QByteArray json = file.readAll();
        EXPECT_EQ(json.count("\"outcome\": \"unchanged\""), 1) << what << json.toStdString();
        EXPECT_EQ(json.count("\"outcome\": \"changed\""), 1) << what << json.toStdString();
    }
}
