// The smart reading on a real scanned book, measured against the outline its author made
// by hand: a reader's truth of titles, targets and nesting for both of its contents.

#include "DjvuFixture.h"

#include "djvu/PageListing.h"
#include "links/ContentsWalk.h"
#include "links/HyperlinkScript.h"
#include "outline/OutlineScript.h"
#include "reading/ContentsLine.h"
#include "reading/SmartReading.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <iostream>

namespace {

const QString kSample =
    QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/djvulibre-book-ru.djvu");

struct Link
{
    int contentsPage = 0;
    QString title;
    int target = 0;
    int level = 0;
};

struct Truth
{
    QString title;
    int page = 0;
    int level = 0; // 1 for the top entries of the part
};

struct Figures
{
    int truth = 0, recalled = 0, links = 0, right = 0, levelsRight = 0;
    QStringList misses;
    double recall() const { return truth ? 100.0 * recalled / truth : 0; }
    double precision() const { return links ? 100.0 * right / links : 0; }
};

struct Book
{
    int pageCount = 0;
    PageListing listing;
    QByteArray dump;
    QMap<int, PageText> pages;
    Outline outline;
};

const Book& sampleBook()
{
    static Book book;
    if (book.pageCount)
        return book;
    book.listing = PageListing::parse(DjvuFixture::djvused(kSample, "ls").toUtf8());
    book.pageCount = book.listing.pageCount();
    book.dump = DjvuFixture::djvused(kSample, "output-txt").toUtf8();
    QString error;
    EXPECT_TRUE(PageText::parseDump(book.dump, &book.pages, &error)) << error.toStdString();
    book.outline =
        OutlineScript::parse(DjvuFixture::djvused(kSample, "print-outline").toUtf8(), &error);
    return book;
}

int pageOfTarget(const Book& book, const QByteArray& target)
{
    const QString id = QString::fromUtf8(target.mid(1));
    return book.listing.positionOf(id);
}

QStringList comparable(const QString& title)
{
    return ContentsLine::comparable(title.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

// The part of the outline whose top bookmark names the first contents page, as a flat list.
QList<Truth> truthOf(const Book& book, int firstContentsPage, int* rootPage)
{
    QList<Truth> truth;
    bool inPart = false;
    for (const Bookmark& b : book.outline.bookmarks) {
        if (b.level == 0) {
            inPart = pageOfTarget(book, b.target) == firstContentsPage;
            if (inPart)
                *rootPage = firstContentsPage;
            continue;
        }
        if (inPart)
            truth.append(
                {QString::fromUtf8(b.title).trimmed(), pageOfTarget(book, b.target), b.level});
    }
    return truth;
}

// A link names an outline entry when both titles read the same, or begin with the same
// numbering, or share most of their words.
bool sameEntry(const QString& a, const QString& b)
{
    const QStringList x = comparable(a), y = comparable(b);
    if (x.isEmpty() || y.isEmpty())
        return false;
    if (x == y)
        return true;
    if (x.first().at(0).isDigit() || y.first().at(0).isDigit())
        return x.first() == y.first();
    int shared = 0;
    for (const QString& w : x)
        shared += y.contains(w) ? 1 : 0;
    return shared * 5 >= int(std::max(x.size(), y.size())) * 3;
}

// Recall: outline entries listed on the contents pages that a link leads to their page.
// Precision: written links that lead where the outline says; a link naming no outline
// entry is right only when it leads to the page of the part's own top bookmark (the
// contents' entries for the part's title page and for the contents itself).
Figures measure(const QList<Link>& links, const QList<Truth>& truth, int rootPage,
                const QSet<QString>& listedNumberings)
{
    Figures f;
    QList<bool> used(links.size(), false);
    for (const Truth& t : truth) {
        const QStringList c = comparable(t.title);
        if (c.isEmpty() || (c.first().at(0).isDigit() && !listedNumberings.contains(c.first())))
            continue; // the outline goes deeper than the contents lists
        ++f.truth;
        bool recalled = false;
        for (qsizetype i = 0; i < links.size(); ++i) {
            if (used[i] || !sameEntry(links[i].title, t.title))
                continue;
            used[i] = true;
            recalled = links[i].target == t.page;
            if (recalled && links[i].level == t.level)
                ++f.levelsRight;
            break;
        }
        f.recalled += recalled ? 1 : 0;
        if (!recalled)
            f.misses << QStringLiteral("%1 (page %2)").arg(t.title).arg(t.page);
    }
    for (const Link& l : links) {
        if (l.target <= 0)
            continue;
        ++f.links;
        bool named = false, right = false;
        for (const Truth& t : truth) {
            if (!sameEntry(l.title, t.title))
                continue;
            named = true;
            right = right || t.page == l.target;
        }
        f.right += (named ? right : l.target == rootPage) ? 1 : 0;
    }
    return f;
}

QSet<QString> numberingsOn(const Book& book, const QList<int>& contentsPages)
{
    QSet<QString> numberings;
    for (const int p : contentsPages)
        for (const TextLine& line : book.pages.value(p).lines) {
            const ContentsLine read = ContentsLine::read(line);
            if (read.style == ContentsLine::Dotted)
                numberings.insert(comparable(read.numbering).value(0));
        }
    return numberings;
}

QList<Link> smartLinks(const SmartReading::Result& result)
{
    QList<Link> links;
    for (const SmartEntry& e : result.entries)
        links.append({e.contentsPage, e.title, e.target, e.level});
    return links;
}

// The classic reading of the same pages: the areas the existing walk writes, each named by
// the text line at its bottom edge.
QList<Link> classicLinks(const Book& book, int first, int last, int offset)
{
    EntryRecognition::Settings settings;
    settings.offset = offset;
    settings.pageCount = book.pageCount;
    HyperlinkScript script;
    ContentsWalk walk(book.listing, first, last, settings, "rect", "(xor )", script);
    for (const QByteArray& line : book.dump.split('\n'))
        walk.feed(line);
    walk.finish();
    static const QRegularExpression select(QStringLiteral("^select (\\d+)"));
    static const QRegularExpression area(QStringLiteral("\\(maparea \"#(-?\\d+)\" \"[^\"]*\" "
                                                        "\\(rect (-?\\d+) (-?\\d+) "));
    QList<Link> links;
    int page = 0;
    for (const QByteArray& raw : script.text().split('\n')) {
        const QString text = QString::fromUtf8(raw);
        const auto s = select.match(text);
        if (s.hasMatch())
            page = s.captured(1).toInt();
        auto it = area.globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            const int y = m.captured(3).toInt();
            QString title;
            for (const TextLine& line : book.pages.value(page).lines)
                if (line.box.ymin == y)
                    title = ContentsLine::read(line).title();
            links.append({page, title, m.captured(1).toInt(), 0});
        }
    }
    return links;
}

class SampleBook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists(kSample))
            GTEST_SKIP() << "the sample book is not at " << kSample.toStdString();
        ASSERT_GT(sampleBook().pageCount, 0);
    }

    // Reads one contents with the given offset (or finds it), measures both readings and
    // prints the figures for the record.
    Figures check(const QList<int>& contentsPages, std::optional<int> offset, int realOffset,
                  const char* name, SmartCheck::Mode mode)
    {
        const Book& book = sampleBook();
        StoredPageTexts source(book.pageCount, book.pages);
        SmartReading::Settings settings;
        settings.contentsPages = contentsPages;
        settings.offset = offset;
        settings.check = mode;
        const SmartReading::Result result = SmartReading::read(source, settings);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.offset, realOffset);
        int rootPage = 0;
        const QList<Truth> truth = truthOf(book, contentsPages.first(), &rootPage);
        const QSet<QString> listed = numberingsOn(book, contentsPages);
        const Figures smart = measure(smartLinks(result), truth, rootPage, listed);
        const Figures classic =
            measure(classicLinks(book, contentsPages.first(), contentsPages.last(), realOffset),
                    truth, rootPage, listed);
        std::cout << name << (offset ? " (offset given" : " (offset auto")
                  << (mode == SmartCheck::Mode::Off ? ")" : ", links checked)") << ": smart recall "
                  << smart.recalled << "/" << smart.truth << " = " << smart.recall()
                  << "%, precision " << smart.right << "/" << smart.links << " = "
                  << smart.precision() << "%, levels right " << smart.levelsRight
                  << "; classic recall " << classic.recalled << "/" << classic.truth << " = "
                  << classic.recall() << "%, precision " << classic.right << "/" << classic.links
                  << " = " << classic.precision() << "%\n";
        for (const QString& miss : std::as_const(smart.misses))
            std::cout << "  smart misses " << miss.toStdString() << "\n";
        for (const QString& note : result.notes)
            std::cout << "  log: " << note.toStdString() << "\n";
        return smart;
    }
};

TEST_F(SampleBook, FirstContentsIsLinkedAsItsAuthorOutlinedIt)
{
    for (const auto mode : {SmartCheck::Mode::Off, SmartCheck::Mode::Check})
        for (const std::optional<int> offset : {std::optional<int>(0), std::optional<int>()}) {
            const Figures f = check({1}, offset, 0, "contents on page 1", mode);
            EXPECT_GE(f.recall(), 98.0);
            EXPECT_GE(f.precision(), 98.0);
            EXPECT_GE(f.truth, 30);
        }
}

TEST_F(SampleBook, SecondContentsIsLinkedAsItsAuthorOutlinedIt)
{
    for (const auto mode : {SmartCheck::Mode::Off, SmartCheck::Mode::Check})
        for (const std::optional<int> offset : {std::optional<int>(16), std::optional<int>()}) {
            const Figures f = check({17, 18}, offset, 16, "contents on pages 17-18", mode);
            EXPECT_GE(f.recall(), 98.0);
            EXPECT_GE(f.precision(), 98.0);
            EXPECT_GE(f.truth, 70); // the outline lists five headings the contents leaves out
        }
}

} // namespace
