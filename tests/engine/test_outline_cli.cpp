// outline-export and outline-import on real books: the text form, exact round trips of
// outlines this program did not write, and every refusal with the document unchanged.
#include "CliRun.h"
#include "DjvuFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

// An outline written by another program: page identifiers, a page number, a web address,
// empty titles, a target past the last page, and six levels deep.
const QString kForeign =
    "(bookmarks\n"
    " (\"Part \\320\\236\\\"\\\\ \" \"#p0001.djvu\"\n"
    "  (\"\" \"#p0002.djvu\"\n"
    "   (\"l3\" \"#3\" (\"l4\" \"#p0004.djvu\" (\"l5\" \"\" (\"l6\" \"#99\")))))\n"
    "  (\"  spaced\\ttab\" \"https://example.org/\"))\n"
    " (\"\" \"#2\"))";

class OutlineCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString book(const QString& outline = QString())
    {
        const QString path = dir.filePath("Книга 1.djvu");
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, QList<FixturePage>(5), &error)) << s(error);
        if (!outline.isEmpty()) {
            EXPECT_TRUE(DjvuFixture::setOutline(path, outline, &error)) << s(error);
        }
        return path;
    }
    QString text(const QByteArray& bytes)
    {
        const QString path = dir.filePath("outline.txt");
        EXPECT_TRUE(DjvuFixture::writeAll(path, bytes));
        return path;
    }
    static QString printed(const QString& path)
    {
        return DjvuFixture::djvused(path, "print-outline");
    }
};

} // namespace

TEST_F(OutlineCliTest, ExportsOneBookmarkALineAndImportsPageNumbersAsPages)
{
    const QString path = book();
    const QByteArray edited = "Contents\t1\n"
                              "  Chapter 1. Начало\t2\n"
                              "    1.1 \"Quoted\" \\\\ back\t3\n"
                              "  Chapter 2\thttps://example.org/x\n"
                              "Index\t5\n";
    const CliRun in = runCli({"outline-import", path, text(edited)});
    ASSERT_EQ(in.status, 0) << s(in.err);
    EXPECT_TRUE(in.out.contains("5 bookmarks"));
    EXPECT_TRUE(QFile::exists(path + ".backup"));
    EXPECT_EQ(printed(path), "(bookmarks\n"
                             " (\"Contents\"\n  \"#1\"\n"
                             "  (\"Chapter 1. \\320\\235\\320\\260\\321\\207\\320\\260\\320\\273"
                             "\\320\\276\"\n   \"#2\"\n"
                             "   (\"1.1 \\\"Quoted\\\" \\\\ back\"\n    \"#3\" ) )\n"
                             "  (\"Chapter 2\"\n   \"https://example.org/x\" ) )\n"
                             " (\"Index\"\n  \"#5\" ) )\n");
    const CliRun out = runCli({"outline-export", path});
    ASSERT_EQ(out.status, 0) << s(out.err);
    EXPECT_EQ(out.out.toUtf8(), edited);
}

TEST_F(OutlineCliTest, AForeignOutlineRoundTripsWithoutAnyChange)
{
    const QString path = book(kForeign);
    const QString original = printed(path);
    const QByteArray bytes = DjvuFixture::readAll(path);
    const CliRun out = runCli({"outline-export", path});
    ASSERT_EQ(out.status, 0) << s(out.err);
    // Pages named by identifier show as page numbers, like those named by number.
    EXPECT_EQ(out.out.toUtf8(), QString("Part О\"\\\\ \t1\n"
                                        "  \t2\n"
                                        "    l3\t3\n"
                                        "      l4\t4\n"
                                        "        l5\t\n"
                                        "          l6\t#99\n"
                                        "  \\x20 spaced\\ttab\thttps://example.org/\n"
                                        "\t2\n")
                                    .toUtf8());
    // Imported back as it is, the document is not touched, not even for a backup.
    const CliRun same = runCli({"outline-import", path, text(out.out.toUtf8())});
    ASSERT_EQ(same.status, 0) << s(same.err);
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    EXPECT_FALSE(QFile::exists(path + ".backup"));
    // An edited title keeps every target in the form the document had.
    QByteArray edited = out.out.toUtf8();
    edited.replace("l3\t", "third\t");
    ASSERT_EQ(runCli({"outline-import", "--no-backup", path, text(edited)}).status, 0);
    EXPECT_EQ(printed(path), QString(original).replace("\"l3\"", "\"third\""));
    // Written into the book without its outline, the same bookmarks name the same pages.
    QString error;
    ASSERT_TRUE(DjvuFixture::applyScript(path, "remove-outline\n", &error)) << s(error);
    ASSERT_TRUE(printed(path).isEmpty());
    const CliRun back = runCli({"outline-import", "--no-backup", path, text(out.out.toUtf8())});
    ASSERT_EQ(back.status, 0) << s(back.err);
    EXPECT_EQ(printed(path), QString(original).replace("#p000", "#").replace(".djvu\"", "\""));
    EXPECT_EQ(runCli({"outline-export", path}).out, out.out);
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(OutlineCliTest, AFirstTitleOpeningWithAByteOrderMarkKeepsIt)
{
    // U+FEFF opening the first title is text of the title, not a mark of the exported file.
    const QString path = book("(bookmarks (\"\\357\\273\\277Title\" \"#1\") (\"Next\" \"#2\"))");
    const QString original = printed(path);
    const QByteArray bytes = DjvuFixture::readAll(path);
    const CliRun out = runCli({"outline-export", path});
    ASSERT_EQ(out.status, 0) << s(out.err);
    EXPECT_EQ(out.out.toUtf8(), QByteArray("\\xef\\xbb\\xbfTitle\t1\nNext\t2\n"));
    const CliRun same = runCli({"outline-import", path, text(out.out.toUtf8())});
    ASSERT_EQ(same.status, 0) << s(same.err);
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    EXPECT_EQ(printed(path), original);
}

TEST_F(OutlineCliTest, EveryRefusalNamesItsLineAndChangesNothing)
{
    const QString path = book(kForeign);
    const QByteArray bytes = DjvuFixture::readAll(path);
    const QList<QPair<QByteArray, QString>> bad = {
        {"One\t1\nTwo without a tab 2\n", "line 2: no tab"},
        {"One\t1\n  Two\t2\n      Four\t3\n", "line 3: the level jumps from 1 to 3"},
        {"One\t1\n\n  Two\t6\n", "line 3: page 6 is not in the document"},
        {"One\t0\n", "line 1: page 0"},
        {"  One\t1\n", "line 1: the first bookmark is indented"},
        {"One\\q\t1\n", "line 1: a backslash"},
        {"One\t1\n Odd\t1\n", "line 2: the indent of 1 spaces"},
    };
    for (const auto& [content, message] : bad) {
        SCOPED_TRACE(content.toStdString());
        const CliRun run = runCli({"outline-import", path, text(content)});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(message)) << s(run.err);
        EXPECT_TRUE(run.err.contains("The document was not changed.")) << s(run.err);
        EXPECT_EQ(DjvuFixture::readAll(path), bytes);
        EXPECT_FALSE(QFile::exists(path + ".backup"));
    }
    // Wrong use: a usage error, nothing read or written.
    for (const QStringList& args :
         {QStringList{"outline-import", path}, QStringList{"outline-import", "--bad", path, "x"},
          QStringList{"outline-export"}, QStringList{"outline-export", path, path}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << s(args.join(' '));
        EXPECT_TRUE(run.err.contains("Usage: tocsmith-cli outline-")) << s(run.err);
    }
    EXPECT_EQ(runCli({"outline-import", path, dir.filePath("missing.txt")}).status, 1);
    EXPECT_EQ(runCli({"outline-export", dir.filePath("missing.djvu")}).status, 1);
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    for (const char* command : {"outline-export", "outline-import"}) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(QString("Usage: tocsmith-cli ") + command));
    }
    EXPECT_TRUE(runCli({"--help"}).out.contains("outline-import"));
}

TEST_F(OutlineCliTest, JsonCarriesPagesWebAddressesAndNestingAndComesBackUnchanged)
{
    const QString path = book(kForeign);
    const QString original = printed(path);
    const QByteArray bytes = DjvuFixture::readAll(path);
    const CliRun out = runCli({"outline-export", "--format", "json", path});
    ASSERT_EQ(out.status, 0) << s(out.err);
    EXPECT_EQ(out.out.toUtf8(),
              QString("[\n"
                      "  {\"title\": \"Part О\\\"\\\\ \", \"page\": 1, \"children\": [\n"
                      "    {\"title\": \"\", \"page\": 2, \"children\": [\n"
                      "      {\"title\": \"l3\", \"page\": 3, \"children\": [\n"
                      "        {\"title\": \"l4\", \"page\": 4, \"children\": [\n"
                      "          {\"title\": \"l5\", \"url\": \"\", \"children\": [\n"
                      "            {\"title\": \"l6\", \"url\": \"#99\", \"children\": []}\n"
                      "          ]}\n"
                      "        ]}\n"
                      "      ]}\n"
                      "    ]},\n"
                      "    {\"title\": \"  spaced\\ttab\", \"url\": \"https://example.org/\", "
                      "\"children\": []}\n"
                      "  ]},\n"
                      "  {\"title\": \"\", \"page\": 2, \"children\": []}\n"
                      "]\n")
                  .toUtf8());
    const CliRun same = runCli({"outline-import", "--format=json", path, text(out.out.toUtf8())});
    ASSERT_EQ(same.status, 0) << s(same.err);
    EXPECT_EQ(DjvuFixture::readAll(path), bytes);
    // Children may be left out; pages keep the form the document gives them.
    const QByteArray edited = R"([{"title": "Part", "page": 1, "children": [{"title": "x",
        "page": 3}]}, {"title": "Web", "url": "https://example.org/"}])";
    ASSERT_EQ(
        runCli({"outline-import", "--format", "json", "--no-backup", path, text(edited)}).status,
        0);
    EXPECT_EQ(printed(path), "(bookmarks\n (\"Part\"\n  \"#p0001.djvu\"\n  (\"x\"\n   \"#3\" ) "
                             ")\n (\"Web\"\n  \"https://example.org/\" ) )\n");
    EXPECT_NE(printed(path), original);
}

TEST_F(OutlineCliTest, EveryJsonRefusalNamesItsPlaceAndChangesNothing)
{
    const QString path = book(kForeign);
    const QByteArray bytes = DjvuFixture::readAll(path);
    const QList<QPair<QByteArray, QString>> bad = {
        {"[{\"title\": \"a\", \"page\": 1},\n {\"title\": \"b\" \"page\": 2}]",
         "line 2, column 17:"},
        {"{\"title\": \"a\", \"page\": 1}", "not a list of bookmarks"},
        {"[\"a\"]", "[0]: a bookmark is not an object"},
        {"[{\"title\": \"a\", \"page\": 1, \"titel\": \"b\"}]", "[0]: unknown key \"titel\""},
        {"[{\"page\": 1}]", "[0]: no text \"title\""},
        {"[{\"title\": 5, \"page\": 1}]", "[0]: no text \"title\""},
        {"[{\"title\": \"a\"}]", "[0]: give one of \"page\" and \"url\""},
        {"[{\"title\": \"a\", \"page\": 1, \"url\": \"x\"}]", "[0]: give one of"},
        {"[{\"title\": \"a\", \"page\": 1, \"children\": [{\"title\": \"b\", \"page\": 6}]}]",
         "[0].children[0].page: page 6 is not in the document"},
        {"[{\"title\": \"a\", \"page\": 2.5}]", "[0].page: page 2.5 is not"},
        {"[{\"title\": \"a\", \"page\": \"2\"}]", "[0].page: page \"2\" is not"},
        {"[{\"title\": \"a\", \"url\": 7}]", "[0].url: \"url\" is not a text"},
        {"[{\"title\": \"a\", \"page\": 1, \"children\": {}}]",
         "[0].children: \"children\" is not"},
        {"[{\"title\": \"a\\u0000\", \"page\": 1}]", "[0]: an outline cannot keep"},
    };
    for (const auto& [content, message] : bad) {
        SCOPED_TRACE(content.toStdString());
        const CliRun run = runCli({"outline-import", "--format", "json", path, text(content)});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(message)) << s(run.err);
        EXPECT_TRUE(run.err.contains("The document was not changed.")) << s(run.err);
        EXPECT_EQ(DjvuFixture::readAll(path), bytes);
        EXPECT_FALSE(QFile::exists(path + ".backup"));
    }
    for (const QStringList& args : {QStringList{"outline-export", "--format", "xml", path},
                                    QStringList{"outline-import", path, "x", "--format"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << s(args.join(' '));
        EXPECT_TRUE(run.err.contains("--format")) << s(run.err);
    }
    // A title that is not UTF-8 has no JSON form: the text format carries it.
    QString error;
    ASSERT_TRUE(
        DjvuFixture::setOutline(path, "(bookmarks (\"a\" \"#1\" (\"\\377\" \"#2\")))", &error))
        << s(error);
    const CliRun out = runCli({"outline-export", "--format", "json", path});
    EXPECT_EQ(out.status, 1);
    EXPECT_TRUE(out.out.isEmpty());
    EXPECT_TRUE(out.err.contains("Bookmark [0].children[0] holds bytes that are not UTF-8"))
        << s(out.err);
}

TEST_F(OutlineCliTest, TheSampleBooksOwnOutlineComesBackExactly)
{
    const QString sample = QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/"
                                                              "djvulibre-book-ru.djvu");
    if (!QFileInfo::exists(sample))
        GTEST_SKIP() << "the shared sample book is not here";
    for (const QString format : {"text", "json"}) {
        SCOPED_TRACE(format.toStdString());
        const QString path = dir.filePath(format + ".djvu");
        ASSERT_TRUE(QFile::copy(sample, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const QString original = printed(path);
        ASSERT_TRUE(original.startsWith("(bookmarks"));
        const CliRun out = runCli({"outline-export", "--format", format, path});
        ASSERT_EQ(out.status, 0) << s(out.err);
        EXPECT_EQ(out.out.count(format == "text" ? "\n" : "{\"title\""), original.count("(\""));
        EXPECT_FALSE(out.out.contains("#nb"));
        // Imported back as it is, the document keeps every byte.
        const QByteArray bytes = DjvuFixture::readAll(path);
        const CliRun same = runCli(
            {"outline-import", "--format", format, "--no-backup", path, text(out.out.toUtf8())});
        ASSERT_EQ(same.status, 0) << s(same.err);
        EXPECT_EQ(DjvuFixture::readAll(path), bytes);
        // Written into the book without its outline, every bookmark names the same page.
        QString error;
        ASSERT_TRUE(DjvuFixture::applyScript(path, "remove-outline\n", &error)) << s(error);
        const CliRun back =
            runCli({"outline-import", "--format", format, path, text(out.out.toUtf8())});
        ASSERT_EQ(back.status, 0) << s(back.err);
        EXPECT_EQ(runCli({"outline-export", "--format", format, path}).out, out.out);
    }
}
