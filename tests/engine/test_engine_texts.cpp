// The engine's sentences in the language chosen, the outcome of each row of a pass, and the
// line that sums a pass up.
#include "CreateTestSupport.h"
#include "base/EngineTexts.h"
#include "base/LanguageFile.h"
#include "base/Plural.h"
#include "links/FixPass.h"
#include "links/PassSummary.h"

#include <QDir>
#include <QRegularExpression>

namespace {

const QString kLanguages = QStringLiteral(TOCSMITH_SOURCE_DIR "/language/");

QStringList placeholders(const QString& text)
{
    QStringList found;
    auto it = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

// Switches the engine back to its bare English whatever a test chose.
class EngineTextsTest : public CreatePassFixture
{
protected:
    void TearDown() override { EngineTexts::useEnglish(); }

    QString contentsBook(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "2"});
        return writeBook(name, {contents, FixturePage{}, FixturePage{}});
    }
};

TEST_F(EngineTextsTest, TheShippedFilesHoldEveryEngineSentenceWithTheSamePlaceholders)
{
    MessageTexts english, russian;
    LanguageFile::loadMessages(kLanguages + "English.lng", english);
    LanguageFile::loadMessages(kLanguages + "Russian.lng", russian);
    ASSERT_GT(EngineKey::count(), 50u);
    for (const EngineKey key : EngineKey::all()) {
        const MessageKey k = MessageTexts::keyOf(key);
        EXPECT_EQ(english.text(k), EngineTexts::englishText(key)) << key.name();
        EXPECT_EQ(russian.text(k), EngineTexts::russianText(key)) << key.name();
        EXPECT_EQ(placeholders(english.text(k)), placeholders(russian.text(k))) << key.name();
        EXPECT_FALSE(russian.text(k).contains(QRegularExpression("\\b(the|is|was|of)\\b")))
            << key.name() << ": " << russian.text(k).toStdString();
    }
}

TEST_F(EngineTextsTest, AKeyMissingFromALanguageFileTakesTheRussianBuiltInText)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("Half.lng");
    ASSERT_TRUE(
        DjvuFixture::writeAll(path, "[Main]\nname=Half\n[Engine]\ne_no_file=Gibt es nicht: %1\n"));
    MessageTexts half;
    LanguageFile::loadMessages(path, half);
    half.lendToEngine();
    EXPECT_EQ(EngineTexts::say("e_no_file"), "Gibt es nicht: %1");
    EXPECT_EQ(EngineTexts::say("e_read_only"), EngineTexts::russianText("e_read_only"));
    EngineTexts::useEnglish();
    EXPECT_EQ(EngineTexts::say("e_read_only"), "The file %1 is read-only.");
}

TEST_F(EngineTextsTest, AFailureOfThePassSpeaksTheLanguageInUse)
{
    const QString gone = dir.filePath("gone.djvu");
    MessageTexts().lendToEngine(); // the built-in Russian
    run({CreateTest::row(gone)});
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("Файл %1 не существует.").arg(gone));
    EXPECT_TRUE(log.lines.contains(messages.messages[0].text));
}

TEST_F(EngineTextsTest, AReversedPageRangeHasItsOwnMessage)
{
    const QString path = contentsBook("book.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    run({CreateTest::row(path, 3, 2)});
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text,
              "The pages run backwards (3 to 2): the first page cannot come after the last.");
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(EngineTextsTest, EachRowOfACreatePassHasItsOutcomeAndTheSummaryCountsThem)
{
    const QString good = contentsBook("good.djvu");
    const QString gone = dir.filePath("gone.djvu");
    const QString later = contentsBook("later.djvu");
    const CreateOutcome outcome =
        run({CreateTest::row(good), CreateTest::row(gone), CreateTest::row(later)});
    ASSERT_EQ(outcome.rows.size(), 2);
    EXPECT_EQ(outcome.rows[0].state, RowOutcome::State::Done);
    EXPECT_EQ(outcome.rows[1].state, RowOutcome::State::Failed);
    EXPECT_EQ(outcome.rows[1].reason, QStringLiteral("The file %1 does not exist.").arg(gone));
    EXPECT_EQ(PassSummary::line(outcome, 3), "1 document changed, 1 failed, 1 not reached");

    PassOutcome clean;
    clean.filesChanged = 2;
    clean.rowDone();
    clean.rowDone();
    EXPECT_EQ(PassSummary::line(clean, 2), "2 documents changed");
    MessageTexts().lendToEngine();
    EXPECT_EQ(PassSummary::line(outcome, 3),
              "Изменено документов: 1, с ошибкой: 1, не обработано: 1");
}

TEST_F(EngineTextsTest, EachRowOfAFixPassHasItsOutcome)
{
    FixturePage page;
    page.annotations = "(maparea \"#p0002.djvu\" \"\" (rect 100 900 300 40) (xor))";
    const QString good = writeBook("fix.djvu", {page, FixturePage{}});
    const QString bad = dir.filePath("bad.djvu");
    ASSERT_TRUE(DjvuFixture::writeAll(bad, "not a book"));
    FixPass pass(tools, texts, log, messages);
    auto rowOf = [](const QString& path) {
        const QFileInfo info(path);
        return FixRow{info.absolutePath() + '/', info.fileName()};
    };
    const PassOutcome outcome = pass.run({rowOf(good), rowOf(bad), rowOf(good)}, FixOptions{false});
    ASSERT_EQ(outcome.rows.size(), 2);
    EXPECT_EQ(outcome.rows[0].state, RowOutcome::State::Unchanged); // one link: nothing to align
    EXPECT_EQ(outcome.rows[1].state, RowOutcome::State::Failed);
    EXPECT_FALSE(outcome.rows[1].reason.isEmpty());
    EXPECT_TRUE(messages.messages.last().text.contains(outcome.rows[1].reason));
}

// Every count reads right: English has one and other, Russian one, few and many.
TEST_F(EngineTextsTest, CountsTakeTheFormTheirNumberAsksInBothLanguages)
{
    const struct
    {
        int n;
        const char* english;
        const char* russian;
    } rows[] = {{0, "0 bookmarks", "0 закладок"},       {1, "1 bookmark", "1 закладка"},
                {2, "2 bookmarks", "2 закладки"},       {5, "5 bookmarks", "5 закладок"},
                {11, "11 bookmarks", "11 закладок"},    {14, "14 bookmarks", "14 закладок"},
                {21, "21 bookmarks", "21 закладка"},    {22, "22 bookmarks", "22 закладки"},
                {101, "101 bookmarks", "101 закладка"}, {112, "112 bookmarks", "112 закладок"}};
    for (const auto& row : rows) {
        EngineTexts::useEnglish();
        EXPECT_EQ(Plural::count("e_n_bookmarks", row.n), QString::fromUtf8(row.english));
        MessageTexts().lendToEngine();
        EXPECT_EQ(Plural::count("e_n_bookmarks", row.n), QString::fromUtf8(row.russian));
    }
    // A sentence that counts says so too.
    EngineTexts::useEnglish();
    EXPECT_TRUE(EngineTexts::say("e_outline_written")
                    .arg("a.djvu", Plural::count("e_n_bookmarks", 1))
                    .endsWith(": 1 bookmark."));
}

// The line under the tabs counts every row once, whatever became of it.
TEST_F(EngineTextsTest, TheSummaryCountsChangedUnchangedSkippedAndFailedRows)
{
    PassOutcome outcome;
    outcome.rowDone();
    outcome.rowUnchanged();
    outcome.rowUnchanged();
    outcome.rowSkipped("kept its outline");
    outcome.rowFailed("gone");
    EXPECT_EQ(PassSummary::line(outcome, 6),
              "1 document changed, 2 unchanged, 1 skipped, 1 failed, 1 not reached");
    MessageTexts().lendToEngine();
    EXPECT_EQ(PassSummary::line(outcome, 6), "Изменено документов: 1, без изменений: 2, "
                                             "пропущено: 1, с ошибкой: 1, не обработано: 1");
}

} // namespace
