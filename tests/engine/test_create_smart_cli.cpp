// "tocsmith-cli create --reading smart" and "--offset auto" with the real tools, on generated
// books and on the shared sample book.
#include "CliRun.h"
#include "CreateTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSample =
    QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/djvulibre-book-ru.djvu");

CliRun create(const QStringList& args)
{
    return runCli(QStringList{"create"} + args);
}

class SmartCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // Contents on page 1 whose second number the OCR put alone on the next line; the
    // headings of the entries stand on pages 4, 6 and 9 (printed page + 3).
    QString book()
    {
        FixturePage contents;
        contents.lines << FixtureLine::entry(300, 3000, {"1.", "Opening"}, "1");
        contents.lines << FixtureLine::entry(300, 2900, {"2.", "Middle", "part"}, QString());
        contents.lines << FixtureLine::entry(300, 2800, {}, "3", QString());
        contents.lines << FixtureLine::entry(300, 2700, {"3.", "Closing"}, "6");
        QList<FixturePage> pages{contents};
        while (pages.size() < 12)
            pages << FixturePage::headed({"Plain", "text", "page"});
        pages[3] = FixturePage::headed({"1.", "Opening"});
        pages[5] = FixturePage::headed({"2.", "Middle", "part"});
        pages[8] = FixturePage::headed({"3.", "Closing"});
        const QString path = dir.filePath("book.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }
};

} // namespace

TEST_F(SmartCliTest, ReadingAndAutoOffsetAreDocumentedAndCheckedAsUsage)
{
    const CliRun help = create({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"--reading classic|smart", "--offset N|auto"})
        EXPECT_TRUE(help.out.contains(QLatin1String(text))) << text;

    const QString path = book();
    const QByteArray before = DjvuFixture::readAll(path);
    const QList<QPair<QStringList, const char*>> wrong = {
        {{"--offset", "auto"}, "--offset auto needs --reading smart"},
        {{"--reading", "classic", "--offset", "auto"}, "--offset auto needs --reading smart"},
        {{"--strict"}, "--strict, --no-check and --roman-offset need --reading smart"},
        {{"--reading", "smart", "--strict", "--no-check"}, "exclude each other"},
        {{"--reading", "classic", "--roman-offset", "3"}, "need --reading smart"},
        {{"--reading", "fancy"}, "--reading: \"fancy\" is not one of classic|smart"},
        {{"--reading="}, "--reading: \"\" is not one of classic|smart"},
        {{"--offset", "automatic"}, "--offset: \"automatic\" is not a whole number"},
    };
    for (const auto& [args, message] : wrong) {
        const CliRun run = create(args + QStringList{path});
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(message))) << run.err.toStdString();
    }
    EXPECT_EQ(DjvuFixture::readAll(path), before);
}

TEST_F(SmartCliTest, SmartReadingWithAGivenOrAFoundOffsetLinksEveryEntry)
{
    const QString path = book();
    CliRun run = create({"--reading", "smart", "--offset", "3", "--no-backup", path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(path).value(1)),
              (QStringList{"#4", "#6", "#9"}));

    // The same book again from scratch, with the offset left to the book.
    const QString found = book();
    run = create({"--reading=smart", "--offset=auto", "--no-backup", found});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Offset 3 found"))) << run.out.toStdString();
    EXPECT_EQ(CreateTest::targetsOf(CreateTest::linksOf(found).value(1)),
              (QStringList{"#4", "#6", "#9"}));
}

TEST_F(SmartCliTest, TheSampleBooksSecondContentsWithTheOffsetFoundByItself)
{
    if (!QFile::exists(kSample))
        GTEST_SKIP() << "no sample book at " << kSample.toStdString();
    const QString path = dir.filePath("sample.djvu");
    ASSERT_TRUE(DjvuFixture::writeAll(path, DjvuFixture::readAll(kSample)));
    const CliRun run =
        create({"--reading", "smart", "--pages", "17-18", "--offset", "auto", "--no-backup", path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    // Document page = printed page + 16.
    EXPECT_TRUE(run.out.contains(QStringLiteral("Offset 16 found"))) << run.out.toStdString();

    const QMap<int, QList<CreateTest::Link>> links = CreateTest::linksOf(path);
    const QStringList first = CreateTest::targetsOf(links.value(17));
    const QStringList second = CreateTest::targetsOf(links.value(18));
    ASSERT_GE(first.size(), 40);
    ASSERT_GE(second.size(), 20);
    // The contents' first entries (printed pages 1 and 3) and the number glued to "6.5 G4".
    EXPECT_EQ(first.mid(0, 3), (QStringList{"#17", "#17", "#19"}));
    EXPECT_EQ(first.value(9), QStringLiteral("#21")); // "3.3 Нерастровая информация", printed 5
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"6.5 G4\": page number 6")))
        << run.out.toStdString();
    // Every link stays inside the book.
    const int pageCount = DjvuFixture::djvused(path, "n").trimmed().toInt();
    ASSERT_GT(pageCount, 18);
    for (const QString& target : first + second) {
        const int page = target.mid(1).toInt();
        EXPECT_GE(page, 1) << target.toStdString();
        EXPECT_LE(page, pageCount) << target.toStdString();
    }
}
