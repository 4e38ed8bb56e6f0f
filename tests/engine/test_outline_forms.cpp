// The outline's forms without a document: nesting a contents' entries, the plain text the
// user edits, and the djvused syntax read strictly and written so djvused cannot misread it.
#include "outline/OutlineFromEntries.h"
#include "outline/OutlineScript.h"
#include "outline/OutlineText.h"

#include <gtest/gtest.h>

namespace {

Bookmark mark(int level, const QByteArray& title, const QByteArray& target)
{
    return Bookmark{level, title, target};
}

QList<int> levels(const Outline& outline)
{
    QList<int> out;
    for (const Bookmark& bookmark : outline.bookmarks)
        out << bookmark.level;
    return out;
}

} // namespace

TEST(OutlineFromEntries, NestsByLevelUnderTheNearestShallowerEntry)
{
    // Chapters at level 1, sections at 2; a subsection at 4 straight under a chapter (a
    // jump of two) still goes one step deeper, and the section after it is its sibling.
    const Outline outline = outlineFromEntries({{"1 Start", 1, 3},
                                                {"1.1 First", 2, 3},
                                                {"1.1.1 Deep", 3, 4},
                                                {"1.2 Second", 2, 5},
                                                {"2 Jump", 1, 6},
                                                {"2.0.0.1 Far", 4, 7},
                                                {"2.0.0.2 Far too", 4, 7},
                                                {"2.1 Back", 2, 8},
                                                {"3 End", 1, 9}});
    EXPECT_EQ(levels(outline), (QList<int>{0, 1, 2, 1, 0, 1, 1, 1, 0}));
    EXPECT_TRUE(outline.isWellNested());
    EXPECT_EQ(outline.bookmarks[2], mark(2, "1.1.1 Deep", "#4"));
}

TEST(OutlineFromEntries, FrontMatterStaysOnTopAndNestsNothing)
{
    // A preface indented like a section, then an introduction: both before the first
    // numbered entry, so both at the top, and chapter 1 does not go under either.
    const Outline outline = outlineFromEntries({{"Предисловие", 3, 2, false},
                                                {"Введение", 1, 3, false},
                                                {"1 Глава", 2, 4},
                                                {"1.1 Раздел", 3, 5},
                                                {"Приложение", 1, 9, false}});
    EXPECT_EQ(levels(outline), (QList<int>{0, 0, 0, 1, 0}));
    EXPECT_EQ(outline.bookmarks[0].title, QString("Предисловие").toUtf8());
    // Without any numbered entry (the classic reading) every entry is on one level.
    EXPECT_EQ(levels(outlineFromEntries({{"A", 2, 1, false}, {"B", 5, 2, false}})),
              (QList<int>{0, 0}));
}

TEST(OutlineFromEntries, AContentsOverTwoPagesNestsAsOneList)
{
    // The entries of the second contents page continue the open chapter of the first.
    QList<OutlineSourceEntry> first{{"1 One", 1, 5}, {"1.1 A", 2, 6}};
    const QList<OutlineSourceEntry> second{{"1.2 B", 2, 7}, {"2 Two", 1, 8}};
    first += second;
    const Outline outline = outlineFromEntries(first);
    EXPECT_EQ(levels(outline), (QList<int>{0, 1, 1, 0}));
    EXPECT_EQ(outline.bookmarks[2].target, QByteArray("#7"));
}

TEST(OutlineTextForm, WritesLevelsTitlesAndTargetsSoTheyReadBackTheSame)
{
    Outline outline;
    outline.bookmarks = {mark(0, "Глава 1 😀", "#3"),
                         mark(1, "", "#p0004.djvu"),
                         mark(2, " leading space", "https://example.org/a b"),
                         mark(2, "tab\there, new\nline, cr\r, back\\slash", "#12"),
                         mark(1, "bell\a del\x7f bad\xff\xfe utf8 \xed\xa0\x80", ""),
                         mark(0, "digits only", "42"),
                         mark(0, "digits and blanks", " 42 "),
                         mark(0, "out of the book", "#99"),
                         mark(0, "zero-led", "#07")};
    const QByteArray text = OutlineText::write(outline, 12);
    const QList<QByteArray> lines = text.split('\n');
    EXPECT_EQ(lines[0], QString("Глава 1 😀\t3").toUtf8());
    EXPECT_EQ(lines[1], "  \t#p0004.djvu");
    EXPECT_EQ(lines[2], "    \\x20leading space\thttps://example.org/a b");
    EXPECT_EQ(lines[3], "    tab\\there, new\\nline, cr\\r, back\\\\slash\t12");
    EXPECT_EQ(lines[4], "  bell\\x07 del\\x7f bad\\xff\\xfe utf8 \\xed\\xa0\\x80\t");
    EXPECT_EQ(lines[5], "digits only\t\\x342");
    EXPECT_EQ(lines[6], "digits and blanks\t\\x2042 ");
    EXPECT_EQ(lines[7], "out of the book\t#99");
    EXPECT_EQ(lines[8], "zero-led\t#07");
    const OutlineText::Parsed back = OutlineText::read(text, 12);
    EXPECT_TRUE(back.errors.isEmpty()) << back.errors.join('\n').toStdString();
    EXPECT_EQ(back.outline, outline);
}

// Pages named by their identifiers show as page numbers, and an import takes back the form
// the document used: the bookmark's own where it still names that page, else the page's
// first form, else "#N".
TEST(OutlineTextForm, PageIdentifiersShowAsNumbersAndComeBackInTheDocumentsForm)
{
    const QList<QByteArray> ids{"a.djvu", "b.djvu", "c.djvu", "d.djvu"};
    Outline current;
    current.bookmarks = {mark(0, "One", "#a.djvu"), mark(1, "Two", "#b.djvu"),
                         mark(1, "Two again", "#2"), mark(0, "Unknown", "#z.djvu"),
                         mark(0, "Web", "https://example.org/")};
    const QByteArray text = OutlineText::write(current, 4, ids);
    EXPECT_EQ(text,
              "One\t1\n  Two\t2\n  Two again\t2\nUnknown\t#z.djvu\nWeb\thttps://example.org/\n");
    OutlineText::Parsed back = OutlineText::read(text, 4);
    ASSERT_TRUE(back.errors.isEmpty());
    OutlineText::keepTargetForms(&back.outline, current, ids);
    EXPECT_EQ(back.outline, current);

    // Edited: a bookmark added in front shifts the places; a page the outline never named.
    OutlineText::Parsed edited = OutlineText::read("New\t2\nOne\t1\nLast\t4\n", 4);
    OutlineText::keepTargetForms(&edited.outline, current, ids);
    EXPECT_EQ(edited.outline.bookmarks[0].target, QByteArray("#b.djvu"));
    EXPECT_EQ(edited.outline.bookmarks[1].target, QByteArray("#a.djvu"));
    EXPECT_EQ(edited.outline.bookmarks[2].target, QByteArray("#4"));
}

TEST(OutlineTextForm, ReadsWhatAnEditorLeaves)
{
    // A byte-order mark, Windows line ends, blank lines, no line feed at the end, and
    // page numbers typed by hand.
    const OutlineText::Parsed parsed =
        OutlineText::read("\xef\xbb\xbf"
                          "One\t1\r\n\r\n  Two \t 2\r\n    Three\t0003\r\n\n  Four\t#+1",
                          5);
    ASSERT_TRUE(parsed.errors.isEmpty()) << parsed.errors.join('\n').toStdString();
    EXPECT_EQ(parsed.outline.bookmarks,
              (QList<Bookmark>{mark(0, "One", "#1"), mark(1, "Two ", "#2"), mark(2, "Three", "#3"),
                               mark(1, "Four", "#+1")}));
    EXPECT_TRUE(OutlineText::read("", 5).outline.isEmpty());
}

TEST(OutlineTextForm, RefusesEachBadLineByItsNumber)
{
    const OutlineText::Parsed parsed = OutlineText::read("Fine\t1\n"
                                                         "No tab 2\n"
                                                         "      Too deep\t2\n"
                                                         "   Odd indent\t2\n"
                                                         "Page zero\t0\n"
                                                         "Past the end\t6\n"
                                                         "Huge\t99999999999\n"
                                                         "Bad escape \\q\t1\n"
                                                         "Short hex \\x4\t1\n"
                                                         "Zero \\x00\t1\n"
                                                         "  Fine again\t5\n",
                                                         5);
    ASSERT_EQ(parsed.errors.size(), 9) << parsed.errors.join('\n').toStdString();
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(parsed.errors[i].startsWith(QStringLiteral("line %1: ").arg(i + 2)))
            << parsed.errors[i].toStdString();
    EXPECT_TRUE(parsed.errors[0].contains("tab"));
    EXPECT_TRUE(parsed.errors[1].contains("from 0 to 3"));
    EXPECT_TRUE(parsed.errors[3].contains("page 0"));
    EXPECT_TRUE(parsed.errors[4].contains("page 6"));
    EXPECT_TRUE(OutlineText::read("  Indented first\t1\n", 5).errors.first().startsWith("line 1"));
}

TEST(OutlineScriptForm, ReadsWhatDjvusedPrintsAndRefusesAnythingElse)
{
    const QByteArray printed = "(bookmarks\n (\"A\\\"\\\\\\320\\226\\n\"\n  \"#1\"\n"
                               "  (\"\"\n   \"#p2.djvu\"\n   (\"deep\" \"#3\" ) ) )\n"
                               " (\"B\" \"http://x\" ) )\n";
    QString error;
    const Outline outline = OutlineScript::parse(printed, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(outline.bookmarks,
              (QList<Bookmark>{mark(0, "A\"\\\xd0\x96\n", "#1"), mark(1, "", "#p2.djvu"),
                               mark(2, "deep", "#3"), mark(0, "B", "http://x")}));
    EXPECT_TRUE(OutlineScript::parse("", &error).isEmpty());
    EXPECT_TRUE(error.isEmpty());

    const QList<QByteArray> refused = {
        printed.left(printed.size() - 3),               // cut before the last ")"
        printed.left(40),                               // cut inside a string
        "(bookmarks",                                   // cut after the head
        "(bookmark (\"A\" \"#1\"))",                    // another head
        "(bookmarksX (\"A\" \"#1\"))",                  // nor a longer one
        "(bookmarks (\"A\"))",                          // no target
        "(bookmarks (\"A\" #1))",                       // target not quoted
        "(bookmarks (\"A\" \"#1\" 12))",                // a child that is no list
        "(bookmarks (\"A\" \"#1\")) (bookmarks)",       // something after it
        "(bookmarks (\"A\" \"#1\")))",                  // one ")" too many
        "set-outline\n(bookmarks (\"A\" \"#1\"))\n.\n", // a script, not a print
    };
    for (const QByteArray& text : refused) {
        SCOPED_TRACE(text.toStdString());
        error.clear();
        EXPECT_TRUE(OutlineScript::parse(text, &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(OutlineScriptForm, WritesNoLineDjvusedCouldTakeForTheEndOrACommand)
{
    Outline outline;
    outline.bookmarks = {mark(0, ".", "#1"), mark(1, "\n.\n", "#2"), mark(2, "x\r\n.\r\n", "."),
                         mark(0, "#comment\nselect 1; remove-ant", "#3")};
    QString error;
    const QByteArray script = OutlineScript::script(outline, &error);
    ASSERT_TRUE(error.isEmpty());
    const QList<QByteArray> lines = script.split('\n');
    EXPECT_EQ(lines.first(), "set-outline");
    // The data ends at its own "." line and nowhere before.
    EXPECT_EQ(lines.indexOf("."), lines.size() - 2);
    for (qsizetype i = 1; i + 2 < lines.size(); ++i) {
        EXPECT_NE(lines[i].trimmed(), ".");
        EXPECT_FALSE(lines[i].trimmed().startsWith('#'));
    }

    // An empty outline removes the document's; a badly nested one or a zero byte is refused.
    EXPECT_EQ(OutlineScript::script(Outline{}, &error), "remove-outline\n");
    Outline jump;
    jump.bookmarks = {mark(0, "a", "#1"), mark(2, "b", "#1")};
    EXPECT_TRUE(OutlineScript::script(jump, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    Outline zero;
    zero.bookmarks = {mark(0, QByteArray("a\0b", 3), "#1")};
    EXPECT_TRUE(OutlineScript::script(zero, &error).isEmpty());
    EXPECT_TRUE(error.contains("U+0000"));
}
