// Books with every kind of component djvused lists (thumbnails, shared annotations, page
// titles), and page titles made to pass for other files of an indirect book's folder.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "djvu/IndirectDocument.h"
#include "djvu/PageListing.h"
#include "djvu/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

// The two-chapter book with page titles, bundled or indirect, at `folder`.
QString titledBook(const QString& folder, bool indirect, const QString& lastTitle)
{
    QList<FixturePage> pages = FixturePage::twoChapterBook(4);
    pages[1].title = QStringLiteral("Глава 1");
    pages[3].title = lastTitle;
    const QString path = QDir(folder).filePath(indirect ? "index.djvu" : "book.djvu");
    QString error;
    const bool built = indirect ? DjvuFixture::buildIndirect(path, pages, &error)
                                : DjvuFixture::build(path, pages, &error);
    EXPECT_TRUE(built) << s(error);
    return path;
}

// The book's text as ocr-export prints it, "Body" corrected to "Bodies", in a file of the
// folder; empty when it could not be exported.
QString correctedText(const QTemporaryDir& dir, const QString& book)
{
    const QString text = dir.filePath("text.txt");
    CliRun exported = runCli({"ocr-export", book});
    EXPECT_EQ(exported.status, 0) << s(exported.err);
    if (exported.status != 0 ||
        !DjvuFixture::writeAll(text, exported.out.replace("Body", "Bodies").toUtf8()))
        return {};
    return text;
}

class EveryComponent : public ::testing::TestWithParam<bool>
{
};

TEST_P(EveryComponent, TheBookListsWholeAndEveryCommandWorksOnIt)
{
    QTemporaryDir dir;
    const QString path = titledBook(dir.path(), GetParam(), QStringLiteral("Last page"));
    QString error;
    ASSERT_TRUE(DjvuFixture::addThumbnailsAndSharedAnnotations(path, &error)) << s(error);
    const QString listed = DjvuFixture::djvused(path, "ls");
    ASSERT_TRUE(listed.contains("<thumbnails>") && listed.contains(" A ") &&
                listed.contains("T=Last page"))
        << s(listed);
    const PageListing listing = PageListing::parse(listed.toUtf8(), &error, 4);
    EXPECT_TRUE(error.isEmpty()) << s(error);
    EXPECT_EQ(listing.pageCount(), 4);

    const QString text = correctedText(dir, path);
    ASSERT_FALSE(text.isEmpty());
    for (const QStringList& args :
         {QStringList{"create", "--pages", "1", "--outline", path}, QStringList{"fix", path},
          QStringList{"outline-export", path}, QStringList{"ocr-import", path, text}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 0) << s(args.join(' ')) << "\n" << s(run.err);
    }
    EXPECT_TRUE(DjvuFixture::djvused(path, "print-outline").contains("Chapter"));
    EXPECT_TRUE(DjvuFixture::djvused(path, "print-pure-txt").contains("Bodies"));
    EXPECT_TRUE(DjvuFixture::djvused(path, "ls").contains("<thumbnails>"));
}

INSTANTIATE_TEST_SUITE_P(Books, EveryComponent, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Indirect" : "Bundled"; });

struct PosingTitle
{
    const char* name;
    const char* title; // the title of the last page
};

class TitlesPosingAsFiles : public ::testing::TestWithParam<PosingTitle>
{
};

TEST_P(TitlesPosingAsFiles, NoOtherFileOfTheFolderBelongsToTheBook)
{
    QTemporaryDir dir;
    const QString index = titledBook(dir.path(), true, QString::fromUtf8(GetParam().title));
    const QString victim = dir.filePath("victim.djvu");
    ASSERT_TRUE(DjvuFixture::writeAll(victim, "a book of its own"));
    ASSERT_TRUE(DjvuFixture::writeAll(victim + ".backup", "its own backup"));

    QStringList names;
    QString error;
    ASSERT_TRUE(IndirectDocument::components(index, ToolRunner(QString(), QString(), nullptr),
                                             &names, &error))
        << s(error);
    EXPECT_FALSE(names.contains("victim.djvu")) << s(names.join(' '));
    EXPECT_EQ(names.size(), 4);

    const QString text = correctedText(dir, index);
    ASSERT_FALSE(text.isEmpty());
    runCli({"ocr-import", index, text});
    runCli({"create", "--pages", "1", index});
    EXPECT_EQ(DjvuFixture::readAll(victim), "a book of its own");
    EXPECT_EQ(DjvuFixture::readAll(victim + ".backup"), "its own backup");
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitlesPosingAsFiles,
    ::testing::Values(PosingTitle{"AsASaveName", "Last F=victim.djvu"},
                      PosingTitle{"AsAnIncludedFile", "Last\n     I      100  victim.djvu"},
                      PosingTitle{"AsAFifthPage", "Last\n   5 P      100  victim.djvu"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageListingLines, ATitleOverTwoLinesReadsAndOneThatMakesAPageLineIsRefused)
{
    for (const auto& [title, reads] : {std::pair{"Last\nsecond line", true},
                                       std::pair{"Last\n   5 P      100  victim.djvu", false}}) {
        QTemporaryDir folder;
        const QString book = titledBook(folder.path(), false, title);
        QString error;
        const PageListing listing =
            PageListing::parse(DjvuFixture::djvused(book, "ls").toUtf8(), &error, 4);
        EXPECT_EQ(error.isEmpty(), reads) << s(error);
        const CliRun run = runCli({"create", "--pages", "1", book});
        EXPECT_EQ(run.status, reads ? 0 : 1) << title << "\n" << s(run.err);
        if (reads)
            EXPECT_EQ(listing.pages().at(3).rest, "p0004.djvu T=" + QString::fromUtf8(title));
    }
}

TEST(IndirectDirectory, OnlyADirectoryReadOneWayIsRead)
{
    const QByteArray head =
        "  FORM:DJVM [92] \n"
        "    DIRM [80]         Document directory (indirect, 2 files 2 pages)\n";
    struct Row
    {
        QByteArray body;
        bool read;
    } rows[] = {
        {"      a.djvu -> a.djvu\n      b.djvu -> b.djvu\n    NAVM [14] \n", true},
        {"      a.djvu -> a.djvu\n      b.djvu -> b.djvu\n", true},
        {"      a.djvu -> a.djvu\n", false},
        {"      a.djvu -> a.djvu\n      b -> c -> d\n", false},
        {"      a.djvu -> a.djvu\n      b.djvu -> b.djvu\n      c.djvu -> c.djvu\n", false},
    };
    for (const Row& row : rows) {
        QList<QStringList> entries;
        EXPECT_EQ(IndirectDocument::directoryEntries(head + row.body, &entries), row.read)
            << row.body.toStdString();
    }
    QList<QStringList> entries;
    ASSERT_TRUE(
        IndirectDocument::directoryEntries(head + "      a -> a.djvu\n      b -> b\n", &entries));
    EXPECT_EQ(entries, (QList<QStringList>{{"a", "a.djvu"}, {"b"}}));
}

} // namespace
