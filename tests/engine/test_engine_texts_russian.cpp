// Failures of the finer kinds (a misread annotation dump, a bad outline line, a bad plan
// line, a wrong command line) told in Russian leave no English sentence behind; the help of
// a command in a Russian locale is Russian.
#include "CliRun.h"
#include "CreateTestSupport.h"
#include "EnglishSentences.h"
#include "base/EngineTexts.h"
#include "links/FixPass.h"

#include <QProcessEnvironment>
#include <QRegularExpression>

namespace {

QProcessEnvironment russianLocale()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        env.remove(name);
    env.insert("LC_ALL", "ru_RU.UTF-8");
    return env;
}

class RussianFailureTest : public CreatePassFixture
{
protected:
    void TearDown() override { EngineTexts::useEnglish(); }

    QString linkedBook(const QString& name)
    {
        FixturePage page;
        page.annotations = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))";
        return writeBook(name, {page, FixturePage{}});
    }
};

TEST_F(RussianFailureTest, AMisreadAnnotationDumpFailsTheFixPassInRussian)
{
    const QString path = linkedBook("book.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    // The annotations of page 1 never close their expression.
    ASSERT_TRUE(DjvuFixture::writeMisreadingDjvused(
        exe.path(), "output-ant",
        "select; remove-ant\nselect \"p0001.djvu\" # page 1\nset-ant\n"
        "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor)\n.\n"));
    MessageTexts().lendToEngine();
    FixPass pass(tools, texts, log, messages);
    const QFileInfo info(path);
    const PassOutcome outcome =
        pass.run({FixRow{info.absolutePath() + '/', info.fileName()}}, FixOptions{false});
    ASSERT_EQ(outcome.rows.size(), 1);
    EXPECT_EQ(outcome.rows[0].state, RowOutcome::State::Failed);
    const QString reason = outcome.rows[0].reason;
    EXPECT_TRUE(reason.contains(EngineTexts::russianText("e_dump_open"))) << reason.toStdString();
    EXPECT_EQ(englishSentencesIn(reason), QStringList()) << reason.toStdString();
    for (const auto& m : messages.messages)
        EXPECT_EQ(englishSentencesIn(m.text), QStringList()) << m.text.toStdString();
    EXPECT_EQ(englishSentencesIn(log.lines.join('\n')), QStringList());
    EXPECT_EQ(DjvuFixture::readAll(path), before);

    // The same failure in English names the English sentences.
    EngineTexts::useEnglish();
    const PassOutcome english =
        pass.run({FixRow{info.absolutePath() + '/', info.fileName()}}, FixOptions{false});
    ASSERT_EQ(english.rows.size(), 1);
    EXPECT_TRUE(english.rows[0].reason.contains(EngineTexts::englishText("e_dump_open")));
}

TEST_F(RussianFailureTest, TheCommandLineInARussianLocaleRefusesInRussian)
{
    const QString path = linkedBook("Книга.djvu");
    const QByteArray before = DjvuFixture::readAll(path);

    // An outline text whose second line has no tab.
    const QString outline = dir.filePath("outline.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(outline, "One\t1\nTwo without a tab 2\n"));
    const CliRun imported = runCli({"outline-import", path, outline}, russianLocale());
    EXPECT_EQ(imported.status, 1);
    EXPECT_TRUE(imported.err.contains(EngineTexts::russianText("e_line_what")
                                          .arg(2)
                                          .arg(EngineTexts::russianText("e_outtext_no_tab"))))
        << imported.err.toStdString();
    EXPECT_EQ(englishSentencesIn(imported.err + imported.out), QStringList())
        << imported.err.toStdString();

    // A plan whose entry opens with neither "+ " nor "- ".
    const QString plan = dir.filePath("plan.txt");
    ASSERT_TRUE(DjvuFixture::writeAll(plan, "@ " + path.toUtf8() + "\n* 1 | 0 | 2 | 2\n"));
    const CliRun planned =
        runCli({"create", "--from-plan", plan, "--no-backup", path}, russianLocale());
    EXPECT_EQ(planned.status, 2);
    EXPECT_TRUE(planned.err.contains(EngineTexts::russianText("e_plantext_sign")))
        << planned.err.toStdString();
    EXPECT_EQ(englishSentencesIn(planned.err + planned.out), QStringList())
        << planned.err.toStdString();

    // Wrong use: the problem is told in Russian before the help text.
    for (const QStringList& args :
         {QStringList{"outline-export", "--bad", path},
          QStringList{"ocr-export", "--pages", "x", path}, QStringList{"frobnicate"}}) {
        const CliRun run = runCli(args, russianLocale());
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        const QString problem = run.err.section('\n', 0, 0);
        EXPECT_TRUE(problem.contains(QRegularExpression("[\\x{0400}-\\x{04FF}]")))
            << problem.toStdString();
        EXPECT_EQ(englishSentencesIn(problem), QStringList()) << problem.toStdString();
    }
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST(RussianHelpTest, TheHelpOfACommandFollowsARussianLocale)
{
    QProcessEnvironment english = russianLocale();
    english.insert("LC_ALL", "en_US.UTF-8");
    for (const char* command : {"create", "fix", "ocr-export", "ocr-import", "ocr-recognise",
                                "outline-export", "outline-import"}) {
        const CliRun russian = runCli({command, "--help"}, russianLocale());
        EXPECT_EQ(russian.status, 0) << command;
        EXPECT_TRUE(
            russian.out.startsWith(QStringLiteral("Использование: tocsmith-cli ") + command))
            << russian.out.toStdString();
        // No sentence of the English help is left in the Russian one.
        const CliRun help = runCli({command, "--help"}, english);
        ASSERT_TRUE(help.out.startsWith(QStringLiteral("Usage: tocsmith-cli ") + command));
        // A line that still has three words once its options and their choices are left out is
        // prose.
        const QRegularExpression option("(^|\\s)(-|\\S*\\|)\\S*");
        for (const QString& line : help.out.split('\n')) {
            if (QString(line).remove(option).count(QRegularExpression("\\b[a-z]{3,}\\b")) >= 3) {
                EXPECT_FALSE(russian.out.contains(line.trimmed())) << line.toStdString();
            }
        }
    }
    EXPECT_TRUE(runCli({"--help"}, russianLocale()).out.startsWith("Использование:"));
}

} // namespace
