// "tocsmith-cli create": options, output streams and exit status.
#include "CliRun.h"
#include "CreateTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The log lines these runs check are the Russian ones: the runs speak Russian, as under a
// Russian messages locale.
CliRun cli(const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "ru_RU.UTF-8");
    return runCli(QStringList{"create"} + args, env);
}

class CreateCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString book(const QString& name)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, FixturePage::twoChapterBook(6), &error))
            << error.toStdString();
        return path;
    }
};

TEST_F(CreateCliTest, HelpDocumentsEveryOption)
{
    const CliRun run = cli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty());
    for (const char* option : {"--pages",
                               "--offset",
                               "--kind",
                               "contents|index1|index2",
                               "--halve",
                               "--shape",
                               "rect|oval",
                               "--border",
                               "none|xor|border|shadow-in|shadow-out|shadow-ein|shadow-eout",
                               "--border-color",
                               "--highlight-color",
                               "--shadow-width",
                               "--always-visible",
                               "--highlight",
                               "--comment",
                               "--remove-ocr",
                               "--align",
                               "--no-backup",
                               "--no-page-check",
                               "--contents-link",
                               "--contents-link-page",
                               "--contents-link-every-page",
                               "--contents-link-target",
                               "--contents-link-box",
                               "--contents-link-comment",
                               "--contents-link-shape",
                               "--contents-link-border",
                               "--contents-link-border-color",
                               "--contents-link-highlight-color",
                               "--contents-link-shadow-width",
                               "--contents-link-always-visible",
                               "--contents-link-highlight",
                               "--language",
                               "--dry-run",
                               "Код завершения"}) // the runs have a Russian locale
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(option))) << option;
}

TEST_F(CreateCliTest, UsageErrorsExitWithTwoAndTouchNothing)
{
    const QString path = book("a.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    for (const QStringList& args :
         {QStringList{}, QStringList{"--pages", "5-2", path}, QStringList{"--pages", "x", path},
          QStringList{"--bogus", path}, QStringList{"--kind", "glossary", path},
          QStringList{"--shape", "oval", "--border", "shadow-in", path},
          QStringList{"--shape", "oval", "--highlight", path},
          QStringList{"--border-color", "red", path}, QStringList{"--offset", path},
          QStringList{"--contents-link-page", "2", path},
          QStringList{"--contents-link", "--contents-link-page", "2", "--contents-link-every-page",
                      path},
          QStringList{"--contents-link", "--contents-link-box", "1,2,3", path},
          QStringList{"--halve=1", path}, QStringList{"--language", "/no/such.lng", path}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + ".backup"));
}

TEST_F(CreateCliTest, OptionsBecomeTheRowsTheWindowWouldMake)
{
    const QString path = book("book с пробелом.djvu");
    const CliRun run = cli({"--pages",
                            "1-1",
                            "--offset=-1",
                            "--border",
                            "border",
                            "--border-color",
                            "ff0000",
                            "--always-visible",
                            "--highlight",
                            "--highlight-color",
                            "00ff00",
                            "--comment",
                            "Page",
                            "--no-backup",
                            "--contents-link",
                            "--contents-link-page",
                            "4",
                            "--contents-link-target",
                            "1",
                            "--contents-link-box",
                            "10,20,300,40",
                            "--contents-link-comment",
                            "Back",
                            "--contents-link-shape",
                            "oval",
                            path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(
        run.out,
        "Получение данных из файла, создание скрипта OK\nСоздание содержания\n"
        "Страница 1: создана ссылка: 1, пропущена запись: 1 (1 — со страницей раньше первой).\n"
        "Исправление исходного DjVu файла OK\nРедактирование файла " +
            path + " завершено\nИзменено документов: 1\n");
    const QMap<int, QList<CreateTest::Link>> links = CreateTest::linksOf(path);
    // Printed page 1 would lead to page 0, before the first page: no link for it.
    ASSERT_EQ(links.value(1).size(), 1);
    const CreateTest::Link first = links.value(1).first();
    EXPECT_EQ(first.target, "#2");
    EXPECT_EQ(first.comment, "Page 3");
    EXPECT_EQ(first.rest, "(border #FF0000 ) (border_avis )  (hilite #00FF00 )");
    ASSERT_EQ(links.value(4).size(), 1);
    const CreateTest::Link back = links.value(4).first();
    EXPECT_EQ(back.target, "# 1");
    EXPECT_EQ(back.shape, "oval");
    EXPECT_EQ((QList<int>{back.x, back.y, back.width, back.height}), (QList<int>{10, 20, 300, 40}));
    EXPECT_FALSE(QFileInfo::exists(path + ".backup"));
}

TEST_F(CreateCliTest, AFailedFileExitsWithOneAndTheFilesBeforeItStayDone)
{
    const QString good = book("good.djvu");
    const QString bad = dir.filePath("bad.djvu");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a book");
    f.close();
    const QString after = book("after.djvu");
    const QByteArray afterBytes = DjvuFixture::readAll(after);
    const CliRun run = cli({good, bad, after});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("bad.djvu")) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Редактирование файла " + good + " завершено"));
    EXPECT_FALSE(run.out.contains(bad + " завершено"));
    EXPECT_EQ(CreateTest::linksOf(good).value(1).size(), 2);
    EXPECT_EQ(DjvuFixture::readAll(after), afterBytes);
}

TEST_F(CreateCliTest, ADryRunPrintsTheScriptAndChangesNothing)
{
    const QString path = book("dry.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    const CliRun run = cli({"--dry-run", "--remove-ocr", path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("select; remove-txt\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("select 1\nset-ant\n(maparea \"#1\" \"Go to page 1\" (rect "));
    EXPECT_FALSE(run.out.contains('\r'));
    EXPECT_FALSE(run.out.contains("завершено"));
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"dry.djvu"});
}

TEST_F(CreateCliTest, ALanguageFileGivesTheLogItsTexts)
{
    const QString path = book("english.djvu");
    const CliRun run =
        cli({"--language", QStringLiteral(TOCSMITH_SOURCE_DIR "/language/English.lng"), path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Reading data from the file, writing the script OK\n"))
        << run.out.toStdString();
}

} // namespace
