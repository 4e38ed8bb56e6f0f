// The outline written from the shared sample book's two contents, against its author's.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "OutlineEvaluation.h"
#include "outline/OutlineScript.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

namespace {

const QString kSample =
    QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/djvulibre-book-ru.djvu");

Outline outlineOf(const QString& path)
{
    QString error;
    const Outline outline =
        OutlineScript::parse(DjvuFixture::djvused(path, "print-outline").toUtf8(), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return outline;
}

// A copy of the sample without its outline.
QString bareCopy(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(QFile::copy(kSample, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    EXPECT_TRUE(DjvuFixture::applyScript(path, "remove-outline\n", &error)) << error.toStdString();
    return path;
}

// The outline a smart create run gives the book at `path`.
Outline create(const QString& path, const QString& pages, const QString& offset,
               const QStringList& more = {"--no-links", "--no-parts"})
{
    const CliRun run =
        runCli(QStringList{"create", "--reading", "smart", "--outline"} + more +
               QStringList{"--no-backup", "--pages", pages, "--offset", offset, path});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return outlineOf(path);
}

// A copy of the sample without its outline, given the outline of one contents range.
Outline written(const QTemporaryDir& dir, const QString& name, const QString& pages,
                const QString& offset)
{
    return create(bareCopy(dir, name), pages, offset);
}

void report(const char* what, const OutlineScore& score)
{
    std::cout << what << ": " << score.summary().toStdString() << std::endl;
    ::testing::Test::RecordProperty(what, score.summary().toStdString());
}

TEST(OutlineSample, BothContentsAgainstTheAuthorsOutline)
{
    if (!QFileInfo::exists(kSample))
        GTEST_SKIP() << "the shared sample book is not here";
    QTemporaryDir dir;
    const Outline first = written(dir, "first.djvu", "1", "0");
    const Outline second = written(dir, "second.djvu", "17-18", "16");
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());

    const Outline author = outlineOf(kSample);
    const QByteArray listing = DjvuFixture::djvused(kSample, "ls").toUtf8();
    Outline both = first;
    both.bookmarks += second.bookmarks;
    const OutlineScore whole = OutlineEvaluation::compare(author, both, listing);
    report("page 1, offset 0", OutlineEvaluation::compare(author, first, listing));
    report("pages 17-18, offset 16", OutlineEvaluation::compare(author, second, listing));
    report("both", whole);
    // The author hangs each contents under a part bookmark that no contents line names
    // ("Djvused", "Djvu"). Without those two, their children one level up: what is left to
    // find is what the printed contents can give (five of the author's bookmarks, under
    // 8.3.4.2.3, are not printed at all).
    Outline lifted;
    for (const Bookmark& b : author.bookmarks) {
        if (b.level > 0)
            lifted.bookmarks << Bookmark{b.level - 1, b.title, b.target};
    }
    report("both, the author's two part bookmarks lifted",
           OutlineEvaluation::compare(lifted, both, listing));
    EXPECT_EQ(whole.authorCount, author.count());
    EXPECT_EQ(whole.writtenCount, both.count());
}

// The whole book from its two contents in one run: one outline, a part bookmark over each
// contents' chapters, against the author's bookmarks that the contents print.
TEST(OutlineSample, OneRunGivesTheWholeBookInParts)
{
    if (!QFileInfo::exists(kSample))
        GTEST_SKIP() << "the shared sample book is not here";
    QTemporaryDir dir;
    const QString path = bareCopy(dir, "whole.djvu");
    const Outline whole = create(path, "1,17-18", "0,16", {});
    const Outline author = outlineOf(kSample);
    // Five of the author's bookmarks, under 8.3.4.2.3, are printed in no contents.
    Outline printed;
    int unprintedLevel = -1;
    for (const Bookmark& b : author.bookmarks) {
        if (unprintedLevel >= 0 && b.level > unprintedLevel)
            continue;
        unprintedLevel = b.title.startsWith("8.3.4.2.3") ? b.level : -1;
        printed.bookmarks << b;
    }
    ASSERT_EQ(printed.count(), 108);
    const QByteArray listing = DjvuFixture::djvused(kSample, "ls").toUtf8();
    const OutlineScore score = OutlineEvaluation::compare(printed, whole, listing, true);
    report("pages 1,17-18, offsets 0,16, in parts", score);
    for (const QString& line : score.missed)
        std::cout << "  missed: " << line.toStdString() << std::endl;
    QStringList parts;
    for (const Bookmark& b : whole.bookmarks) {
        if (b.level == 0)
            parts << QString::fromUtf8(b.title + " -> " + b.target);
    }
    std::cout << "part bookmarks: " << parts.join(" | ").toStdString() << std::endl;
    ::testing::Test::RecordProperty("parts", parts.join(" | ").toStdString());
    EXPECT_EQ(parts.size(), 2);
    EXPECT_GE(score.found(), 0.98);
    EXPECT_GE(score.right(), 0.98);

    // The first contents written alone, then the second merged in: the same outline, and
    // merging again adds nothing.
    const QString merged = bareCopy(dir, "merged.djvu");
    create(merged, "1", "0", {"--no-links"});
    EXPECT_EQ(create(merged, "17-18", "16", {"--no-links", "--outline", "merge"}), whole);
    EXPECT_EQ(create(merged, "17-18", "16", {"--no-links", "--outline", "merge"}), whole);
    EXPECT_EQ(create(merged, "1,17-18", "0,16", {"--no-links", "--outline", "merge"}), whole);
}

// The comparison itself: parents, pages given as identifiers, and titles told apart only
// by case or punctuation.
TEST(OutlineSample, TheComparisonCountsTitlePageAndParent)
{
    const QByteArray listing = "   1 P    100  nb0001.djvu\n   2 P    100  nb0002.djvu\n";
    Outline author;
    author.bookmarks = {{0, "Part One", "#nb0001.djvu"},
                        {1, "1. Intro", "#nb0002.djvu"},
                        {1, "2. More", "#nb0002.djvu"}};
    Outline written;
    written.bookmarks = {{0, "PART ONE.", "#1"},
                         {1, "1 intro", "#2"}, // right
                         {0, "2. More", "#2"}, // wrong parent
                         {0, "Extra", "#1"}};
    const OutlineScore score = OutlineEvaluation::compare(author, written, listing);
    EXPECT_EQ(score.authorMatched, 2);
    EXPECT_EQ(score.writtenRight, 2);
    EXPECT_EQ(score.writtenCount, 4);
    EXPECT_EQ(score.missed, QStringList{"2more -> 2 (under partone)"});
}

} // namespace
