// What the Create pass leaves of the links a document already has: the contents link beside
// a page's own annotations, contents pages that yield no link, runs that make none.
#include "CreateTestSupport.h"
#include "djvu/PageAnnotations.h"
#include "djvu/PageListing.h"

#include <QDir>
#include <gtest/gtest.h>

using CreateTest::Link;

namespace {

class KeptLinksTest : public CreatePassFixture
{
protected:
    QString build(const QString& name, const QList<FixturePage>& pages)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    static FixturePage contentsPage()
    {
        return FixturePage::ofLines({{"Chapter", "one", "2"}, {"Chapter", "two", "3"}});
    }

    static QList<FixturePage> bodyPages(int count)
    {
        QList<FixturePage> pages;
        for (int i = 0; i < count; ++i)
            pages << FixturePage::ofLines({{"Body", "text"}});
        return pages;
    }

    static CreateRow withContentsLink(CreateRow row)
    {
        row.columns[13] = "1";
        return row;
    }
};

const QString kHandLink =
    "(maparea \"http://example.org/a\" \"By hand\" (rect 10 20 300 40) (xor))";
// A comment whose text holds a line break, a lone dot and a parenthesis.
const QString kTrickyLink = "(maparea \"#2\" \"one\\n.\\n) two\" (oval 400 500 60 70) (none))";

TEST_F(KeptLinksTest, WithTheFirstRunDefaultsTheContentsPageGetsItsEntriesAndTheContentsLink)
{
    const QString book = build("defaults.djvu", QList<FixturePage>{contentsPage()} + bodyPages(4));
    run({withContentsLink(CreateTest::row(book))});
    EXPECT_TRUE(messages.messages.isEmpty());
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(links.keys(), QList<int>{1});
    EXPECT_EQ(CreateTest::targetsOf(links.value(1)), (QStringList{"#2", "#3", "# 4"}));
    EXPECT_EQ(links.value(1).last().comment, "Go to content");
}

TEST_F(KeptLinksTest, TheContentsLinkKeepsEveryOtherAnnotationAndReplacesOnlyItsEarlierSelf)
{
    QList<FixturePage> pages = QList<FixturePage>{contentsPage()} + bodyPages(4);
    pages[2].annotations = kHandLink + "\n(background #FFEEDD)\n" + kTrickyLink +
                           "\n(maparea \"# 4\" \"Other words\" (rect 1 2 3 4) (xor))";
    pages[3].annotations = "(maparea \"#1\" \"\" (rect 5 6 7 8) (xor))";
    const QString book = build("kept.djvu", pages);
    const QString before = DjvuFixture::djvused(book, "select 3; print-ant");
    ASSERT_TRUE(before.contains("By hand")) << before.toStdString();

    CreateRow row = withContentsLink(CreateTest::row(book));
    row.columns[29] = "1";
    // Twice: the second run replaces the first run's contents link and nothing else.
    run({row, row});
    EXPECT_TRUE(messages.messages.isEmpty());

    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(CreateTest::targetsOf(links.value(3)),
              (QStringList{"http://example.org/a", "#2", "# 4", "# 4"}));
    EXPECT_EQ(links.value(3).at(1).comment, "one\\n.\\n) two");
    EXPECT_EQ(links.value(3).at(2).comment, "Other words");
    EXPECT_EQ(links.value(3).at(3).comment, "Go to content");
    EXPECT_EQ(CreateTest::targetsOf(links.value(4)), (QStringList{"#1", "# 4"}));
    for (int page : {2, 5})
        EXPECT_EQ(CreateTest::targetsOf(links.value(page)), QStringList{"# 4"}) << page;
    EXPECT_EQ(CreateTest::targetsOf(links.value(1)), (QStringList{"#2", "#3", "# 4"}));
    EXPECT_TRUE(DjvuFixture::djvused(book, "select 3; print-ant").contains("(background #FFEEDD"));
}

TEST_F(KeptLinksTest, AnOffsetThatSendsEveryEntryOutOfTheBookChangesNothingAndFails)
{
    QList<FixturePage> pages = QList<FixturePage>{contentsPage()} + bodyPages(4);
    pages[0].annotations = kHandLink + "\n(maparea \"#3\" \"old\" (rect 300 3000 200 40) (xor))";
    const QString book = build("offset.djvu", pages);
    const QByteArray original = DjvuFixture::readAll(book);
    for (const QString& offset : {"40", "-10"}) {
        CreateRow row = CreateTest::row(book);
        row.columns[3] = offset;
        const CreateOutcome outcome = run({row});
        EXPECT_EQ(outcome.filesChanged, 0);
        EXPECT_EQ(outcome.filesFailed, 1);
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_TRUE(messages.messages.first().text.contains("No link was made"));
        EXPECT_TRUE(log.lines.contains(QStringLiteral("Page 1: no link made; the page keeps the "
                                                      "links it had, 2 entries skipped (2 with "
                                                      "a target %1).")
                                           .arg(offset == "40" ? "past page 5" : "before page 1")))
            << log.lines.join('\n').toStdString();
        EXPECT_EQ(DjvuFixture::readAll(book), original);
        messages.messages.clear();
    }
}

TEST_F(KeptLinksTest, AContentsPageThatYieldsNoLinkKeepsItsOwnWhileTheOthersGetTheirs)
{
    QList<FixturePage> pages = {contentsPage(), FixturePage::ofLines({{"Chapter", "three", "1"}})};
    pages += bodyPages(3);
    pages[1].annotations = "(maparea \"#4\" \"hand made\" (rect 300 3000 200 40) (xor))";
    const QString book = build("two.djvu", pages);
    CreateRow row = CreateTest::row(book, 1, 2, -1);
    run({row});
    EXPECT_TRUE(messages.messages.isEmpty());
    const QMap<int, QList<Link>> links = CreateTest::linksOf(book);
    EXPECT_EQ(CreateTest::targetsOf(links.value(1)), (QStringList{"#1", "#2"}));
    EXPECT_EQ(CreateTest::targetsOf(links.value(2)), QStringList{"#4"});
    EXPECT_TRUE(log.lines.contains("Page 1: 2 links made."));
    EXPECT_TRUE(log.lines.contains("Page 2: no link made; the page keeps the links it had, 1 "
                                   "entry skipped (1 with a target before page 1)."));
}

TEST(PageAnnotations, EachPageGivesItsExpressionsOnOneLineAndUnbalancedTextIsRefused)
{
    const PageListing listing = PageListing::parse("   1 P 10  a.djvu\n   2 P 10  b.djvu\n");
    const QByteArray capture = "select; remove-ant\n"
                               "select \"shared_anno.iff\"\nset-ant\n(background #808080 )\n.\n"
                               "select \"b.djvu\" # page 2\nset-ant\n"
                               "(maparea \"#1\" \"a \\\"q\\\" (\" (rect 1 2 3 4 ) (xor ) ) "
                               "(metadata\n (title \"T\"))\n.\n";
    PageAnnotations annotations;
    QString error;
    ASSERT_TRUE(PageAnnotations::parse(capture, listing, &annotations, &error))
        << error.toStdString();
    EXPECT_TRUE(annotations.of(1).isEmpty());
    EXPECT_EQ(annotations.of(2),
              (QList<QByteArray>{"(maparea \"#1\" \"a \\\"q\\\" (\" (rect 1 2 3 4 ) (xor ) )",
                                 "(metadata  (title \"T\"))"}));
    EXPECT_TRUE(
        PageAnnotations::isAreaWith(annotations.of(2).first(), "#1", QStringLiteral("a \"q\" (")));
    EXPECT_FALSE(PageAnnotations::isAreaWith(annotations.of(2).first(), "#1", "a"));

    // A string broken over lines has its breaks escaped, so no line of it is a lone dot.
    const QByteArray broken =
        "select; remove-ant\nselect \"a.djvu\" # page 1\nset-ant\n(maparea \"x\n.\n\" \"\")\n.\n";
    ASSERT_FALSE(PageAnnotations::parse(broken, listing, &annotations, &error));
    for (const QByteArray& bad :
         {QByteArray("(maparea \"x\" \"\" (rect 1 2 3 4)"), QByteArray("(a))"),
          QByteArray("bare (a)"), QByteArray("(a \"open)")}) {
        const QByteArray text =
            "select; remove-ant\nselect \"a.djvu\" # page 1\nset-ant\n" + bad + "\n.\n";
        EXPECT_FALSE(PageAnnotations::parse(text, listing, &annotations, &error)) << bad.data();
        EXPECT_TRUE(error.contains("a.djvu")) << error.toStdString();
    }
    EXPECT_FALSE(PageAnnotations::parse("select; remove-ant\nselect \"a.djvu\"\nset-ant\n(a)\n",
                                        listing, &annotations, &error));
}

} // namespace
