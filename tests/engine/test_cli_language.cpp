// tocsmith-cli in the user's language, each message printed once, "--" and backslashes in
// file names, and the backup ocr-import makes.
#include "CliRun.h"
#include "DjvuFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment withLocale(const char* variable, const char* value)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        env.remove(name);
    env.insert(variable, value);
    return env;
}

class CliLanguageTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString book(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "2"});
        FixturePage linked;
        linked.annotations = "(maparea \"#p0001.djvu\" \"\" (rect 100 900 300 40) (xor))";
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {contents, linked, FixturePage{}}, &error))
            << error.toStdString();
        return path;
    }
};

TEST_F(CliLanguageTest, MessagesFollowTheMessagesLocaleAndLanguageStillChoosesAFile)
{
    const QString gone = dir.filePath("gone.djvu");
    const CliRun russian = runCli({"create", gone}, withLocale("LC_MESSAGES", "ru_RU.UTF-8"));
    EXPECT_EQ(russian.status, 1);
    EXPECT_TRUE(russian.err.contains(QStringLiteral("Файл %1 не существует.").arg(gone)))
        << russian.err.toStdString();
    EXPECT_TRUE(russian.out.contains(QStringLiteral("Операция не завершена по причине ошибки")))
        << russian.out.toStdString();

    const CliRun english = runCli({"create", gone}, withLocale("LANG", "en_GB.UTF-8"));
    EXPECT_EQ(english.status, 1);
    EXPECT_TRUE(english.err.contains(QStringLiteral("The file %1 does not exist.").arg(gone)))
        << english.err.toStdString();
    EXPECT_TRUE(english.err.startsWith("Error!!!")) << english.err.toStdString();
    EXPECT_TRUE(english.out.contains("The operation was not completed because of an error"))
        << english.out.toStdString();

    // LC_ALL wins over LANG.
    QProcessEnvironment both = withLocale("LANG", "en_US.UTF-8");
    both.insert("LC_ALL", "ru_RU.UTF-8");
    EXPECT_TRUE(runCli({"fix", gone}, both).err.contains(QStringLiteral("не существует")));

    const CliRun chosen =
        runCli({"fix", "--language", TOCSMITH_SOURCE_DIR "/language/English.lng", gone},
               withLocale("LC_ALL", "ru_RU.UTF-8"));
    EXPECT_TRUE(chosen.err.contains("does not exist")) << chosen.err.toStdString();
}

TEST_F(CliLanguageTest, EachMessageIsPrintedOnceOnStandardError)
{
    const QString gone = dir.filePath("gone.djvu");
    for (const char* command : {"create", "fix"}) {
        const CliRun run = runCli({command, gone}, withLocale("LANG", "C.UTF-8"));
        const QString sentence = QStringLiteral("The file %1 does not exist.").arg(gone);
        EXPECT_EQ(run.err.count(sentence), 1) << command << ": " << run.err.toStdString();
        EXPECT_EQ(run.out.count(sentence), 0) << command << ": " << run.out.toStdString();
    }
}

TEST_F(CliLanguageTest, DoubleDashEndsTheOptionsAndBackslashesAreLettersOfNames)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the names are given as they are, relative
    for (const QString& name : {QStringLiteral("-x.djvu"), QStringLiteral("a\\b.djvu")}) {
        const QString path = book(name);
        const QString text = dir.filePath(name + ".txt");
        const CliRun exported = runCli({"ocr-export", "--", name});
        ASSERT_EQ(exported.status, 0) << name.toStdString() << exported.err.toStdString();
        QString words = exported.out;
        words.replace("Chapter", "Chapler");
        ASSERT_TRUE(DjvuFixture::writeAll(text, words.toUtf8()));
        const CliRun imported = runCli({"ocr-import", "--no-backup", "--", name, text});
        EXPECT_EQ(imported.status, 0) << name.toStdString() << imported.err.toStdString();
        EXPECT_TRUE(DjvuFixture::djvused(path, "output-txt").contains("Chapler"));

        const CliRun outline = runCli({"outline-export", "--", name});
        EXPECT_EQ(outline.status, 0) << name.toStdString() << outline.err.toStdString();
        const CliRun fixed = runCli({"fix", "--no-backup", "--", name});
        EXPECT_EQ(fixed.status, 0) << name.toStdString() << fixed.err.toStdString();
        const CliRun created = runCli({"create", "--no-backup", "--pages", "1-1", "--", path});
        EXPECT_EQ(created.status, 0) << name.toStdString() << created.err.toStdString();
        EXPECT_TRUE(DjvuFixture::djvused(path, "output-ant").contains("\"#2\"") ||
                    DjvuFixture::djvused(path, "output-ant").contains("\"#p0002.djvu\""))
            << DjvuFixture::djvused(path, "output-ant").toStdString();
    }
    QDir::setCurrent(before);
}

TEST_F(CliLanguageTest, OcrImportBacksTheDocumentUpUnlessTold)
{
    const QString path = book("kniga.djvu");
    const QByteArray original = DjvuFixture::readAll(path);
    QString words = runCli({"ocr-export", path}).out;
    const QString text = dir.filePath("words.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(text, words.replace("one", "One").toUtf8()));
    ASSERT_EQ(runCli({"ocr-import", path, text}).status, 0);
    EXPECT_EQ(DjvuFixture::readAll(path + ".backup"), original);

    QFile::remove(path + ".backup");
    ASSERT_TRUE(DjvuFixture::writeAll(text, words.replace("One", "ONE").toUtf8()));
    ASSERT_EQ(runCli({"ocr-import", "--no-backup", path, text}).status, 0);
    EXPECT_FALSE(QFile::exists(path + ".backup"));
    EXPECT_TRUE(DjvuFixture::djvused(path, "output-txt").contains("ONE"));
}

// A file that is not a DjVu document, or one cut short, gets one message in plain words in
// the user's language from every command, which fails; DjVuLibre's own words stay out.
TEST_F(CliLanguageTest, ABrokenFileGetsOnePlainMessageFromEveryCommand)
{
    const QString cut = book("cut.djvu");
    const QByteArray whole = DjvuFixture::readAll(cut);
    ASSERT_TRUE(DjvuFixture::writeAll(cut, whole.left(whole.size() * 2 / 3)));
    const QString notBook = dir.filePath("letter.djvu");
    ASSERT_TRUE(DjvuFixture::writeAll(notBook, "Dear reader,\n"));
    const QString text = dir.filePath("words.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(text, "=== page 1/3 ===\nChapter one 2\n"));
    const QString outline = dir.filePath("outline.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(outline, "Chapter\t2\n"));
    struct Kind
    {
        QString path, english, russian;
    };
    const Kind kinds[] = {{cut, "is cut short", "обрезан"},
                          {notBook, "is not a DjVu document", "не документ DjVu"}};
    const QStringList commands[] = {
        {"create", "--no-backup"}, {"fix", "--no-backup"},        {"ocr-export"},
        {"outline-export"},        {"ocr-import", "--no-backup"}, {"outline-import"}};
    for (const Kind& kind : kinds) {
        const QByteArray before = DjvuFixture::readAll(kind.path);
        for (QStringList args : commands) {
            args << kind.path;
            if (args[0] == "ocr-import")
                args << text;
            if (args[0] == "outline-import")
                args << outline;
            for (const bool russian : {false, true}) {
                const CliRun run =
                    runCli(args, withLocale("LANG", russian ? "ru_RU.UTF-8" : "C.UTF-8"));
                const std::string what = args.join(' ').toStdString() + "\n" +
                                         run.err.toStdString() + run.out.toStdString();
                EXPECT_EQ(run.status, 1) << what;
                const QString cause = russian ? kind.russian : kind.english;
                EXPECT_EQ(run.err.count(cause), 1) << what;
                EXPECT_EQ(run.out.count(cause), 0) << what;
                EXPECT_TRUE(run.err.contains(kind.path)) << what;
                for (const char* tool : {"***", "DJVU::", "localhost", ".cpp:"})
                    EXPECT_FALSE((run.err + run.out).contains(tool)) << what;
            }
        }
        EXPECT_EQ(DjvuFixture::readAll(kind.path), before);
    }
}

// The help says what the program does: a page that gets the contents link keeps its other
// annotations, and without --language the messages locale chooses the language.
TEST_F(CliLanguageTest, CreateHelpSaysWhatIsTrueInBothLanguages)
{
    const struct
    {
        const char* locale;
        const char* kept;
        const char* lost;
        const char* byLocale;
    } rows[] = {{"C.UTF-8", "keeps its other annotations", "loses the annotations",
                 "when the messages locale is Russian, else English"},
                {"ru_RU.UTF-8", "сохраняет прочие аннотации", "теряет прежние аннотации",
                 "если язык сообщений системы русский, иначе английский"}};
    for (const auto& row : rows) {
        const QString help = runCli({"create", "--help"}, withLocale("LANG", row.locale)).out;
        EXPECT_TRUE(help.contains(QString::fromUtf8(row.kept))) << help.toStdString();
        EXPECT_FALSE(help.contains(QString::fromUtf8(row.lost))) << help.toStdString();
        EXPECT_TRUE(help.contains(QString::fromUtf8(row.byLocale))) << help.toStdString();
    }
}

} // namespace
