// The Fix pass keeps aligned areas on their page and leaves links out of the document alone.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/AnnotationScanner.h"
#include "djvu/ToolRunner.h"
#include "links/AreaAlignment.h"
#include "links/FixPass.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray page(int number, const QByteArray& body)
{
    return "# ------------------------- \nselect \"p" + QByteArray::number(number) +
           ".djvu\" # page " + QByteArray::number(number) + "\nset-ant\n" + body + "\n.\n";
}

// Each area stands on a line of its own unless a bottom edge is given.
QByteArray area(int x, int w, const QByteArray& link = "#p2.djvu", int bottom = 0)
{
    static int nextBottom = 3000;
    if (bottom == 0)
        bottom = nextBottom -= 50;
    return "(maparea \"" + link + "\" \"\" (rect " + QByteArray::number(x) + " " +
           QByteArray::number(bottom) + " " + QByteArray::number(w) + " 40) (xor)) ";
}

QList<AreaBox> aligned(const QByteArray& capture, const QList<int>& widths)
{
    const AnnotationScan scan = AnnotationScanner::scan(capture);
    EXPECT_TRUE(scan.ok()) << scan.error.toStdString();
    return AreaAlignment::alignScript(scan, widths).aligned;
}

TEST(FixPageEdge, AnAlignedAreaStopsAtTheRightEdgeOfItsOwnPage)
{
    // As on a contents page with page numbers at the right: the narrow number areas join
    // the wide title column and would reach far past the edge.
    const QByteArray body = area(158, 2998) + area(3158, 16) + area(291, 2865);
    const QByteArray capture = "select; remove-ant\n" + page(1, body) + page(2, body);
    const QList<AreaBox> boxes = aligned(capture, {3307, 6500});
    ASSERT_EQ(boxes.size(), 6);
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(qint64(boxes[i].left) + boxes[i].width, 3307) << i;
    // The right column starts at 3156 with the width 2865: the number area is cut at the
    // edge, the title area, which would lose its width, stays where it was.
    EXPECT_EQ(boxes[1], (AreaBox{3156, 151}));
    EXPECT_EQ(boxes[2], (AreaBox{291, 2865}));
    // The wider second page has room for the column's width.
    EXPECT_EQ(boxes[4], (AreaBox{3156, 2865}));
    EXPECT_EQ(boxes[5], (AreaBox{3156, 2865}));
    // Without a width for the page, alignment is as it always was.
    EXPECT_EQ(aligned(capture, {}).at(1), (AreaBox{3156, 2865}));
    // An area already past the edge, with no room at its new left edge, stays as it was.
    const QList<AreaBox> past =
        aligned("select; remove-ant\n" + page(1, area(100, 300) + area(3400, 50)), {3307});
    EXPECT_EQ(past.at(1), (AreaBox{3400, 50}));
}

TEST(FixPageEdge, LinksThatLeaveTheDocumentAreNeitherAlignedNorMeasured)
{
    const QByteArray body = area(100, 300) + area(104, 280) +
                            area(700, 50, "http://example.org/#x") + area(90, 20, "mailto:a@b") +
                            area(95, 700, "other.djvu#p3") +
                            "(maparea (url \"https://e.org\" \"_blank\") \"\" (rect 10 1 20 2)) " +
                            "(maparea (url \"#p3.djvu\" \"_self\") \"\" (rect 110 1 20 2))";
    const QList<AreaBox> boxes = aligned("select; remove-ant\n" + page(1, body), {3000});
    EXPECT_EQ(boxes,
              (QList<AreaBox>{
                  {100, 300}, {100, 300}, {700, 50}, {90, 20}, {95, 700}, {10, 20}, {100, 300}}));
}

TEST(FixPageEdge, WordsLinkedOneByOneOnALineAreNeverStackedOntoEachOther)
{
    // A hand-made contents links "2", "." and the page number of one line apart; the dot and
    // the number would both become the number column's box.
    const QByteArray line = area(158, 60, "#p2.djvu", 900) + area(217, 17, "#p2.djvu", 900) +
                            area(3158, 16, "#p2.djvu", 900);
    const QByteArray others = area(158, 2998) + area(3158, 16);
    const QList<AreaBox> boxes = aligned("select; remove-ant\n" + page(1, line + others), {3307});
    ASSERT_EQ(boxes.size(), 5);
    EXPECT_EQ(boxes[0], (AreaBox{158, 60})); // grown, it would cover the dot and the number
    EXPECT_EQ(boxes[1], (AreaBox{217, 17}));
    EXPECT_EQ(boxes[2], (AreaBox{3158, 16}));
    EXPECT_EQ(boxes[4].left, 3156); // the other line's number is aligned as before
    // Areas that were already one on top of the other stay so.
    const QByteArray twins =
        area(300, 40, "#p2.djvu", 500) + area(300, 40, "#p2.djvu", 500) + area(100, 900);
    const QList<AreaBox> twinBoxes = aligned("select; remove-ant\n" + page(1, twins), {});
    EXPECT_EQ(twinBoxes.at(0), (AreaBox{1000, 40}));
    EXPECT_EQ(twinBoxes.at(1), twinBoxes.at(0));
}

TEST(FixPageEdge, PageWidthsAreReadFromTheSizeListing)
{
    EXPECT_EQ(AreaAlignment::pageWidths("width=3307 height=4678\nwidth=2480 height=3508 "
                                        "rotation=90\n\nnoise\n"),
              (QList<int>{3307, 2480}));
}

// A writable copy of the shared Russian sample in the folder; empty when the sample is not here.
QString sampleCopy(const QTemporaryDir& dir)
{
    const QString sample =
        QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples/djvulibre-book-ru.djvu");
    const QString book = dir.filePath("book.djvu");
    if (!QFileInfo::exists(sample) || !QFile::copy(sample, book))
        return {};
    QFile::setPermissions(book, QFile::ReadOwner | QFile::WriteOwner);
    return book;
}

TEST(FixPageEdge, TheSampleBookKeepsEveryAreaOnItsPageAndItsWebLinksWhereTheyWere)
{
    QTemporaryDir dir;
    QTemporaryDir work;
    const QString book = sampleCopy(dir);
    if (book.isEmpty())
        GTEST_SKIP() << "the shared sample book is not here";
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools(QStringLiteral(TOCSMITH_OUT_DIR), work.path(), &messages);
    const QString before = DjvuFixture::djvused(book, "output-ant");
    FixOptions options;
    options.backup = false;
    const QFileInfo info(book);
    const PassOutcome outcome = FixPass(tools, texts, log, messages)
                                    .run({{info.absolutePath() + '/', info.fileName()}}, options);
    EXPECT_TRUE(outcome.ranToEnd);
    EXPECT_TRUE(messages.messages.isEmpty());

    const QString after = DjvuFixture::djvused(book, "output-ant");
    const QStringList sizes = DjvuFixture::djvused(book, "size").split('\n', Qt::SkipEmptyParts);
    static const QRegularExpression select(QStringLiteral("# page (\\d+)"));
    static const QRegularExpression rect(
        QStringLiteral("\\(maparea \"([^\"]*)\" \"[^\"]*\" \\((?:rect|oval) (\\d+) \\d+ (\\d+)"));
    int pageNumber = 0;
    int areas = 0;
    for (const QString& line : after.split('\n')) {
        const auto s = select.match(line);
        if (s.hasMatch())
            pageNumber = s.captured(1).toInt();
        if (pageNumber == 0)
            continue;
        const int width = sizes.value(pageNumber - 1).section('=', 1).section(' ', 0, 0).toInt();
        for (auto it = rect.globalMatch(line); it.hasNext(); ++areas) {
            const auto m = it.next();
            EXPECT_LE(m.captured(2).toInt() + m.captured(3).toInt(), width)
                << "page " << pageNumber << ": " << m.captured(0).toStdString();
        }
    }
    EXPECT_GT(areas, 100);
    // Web and mail links stand exactly as they stood.
    static const QRegularExpression external(
        QStringLiteral("\\(maparea \"(?:http|mailto)[^\"]*\" \"[^\"]*\" \\([^)]*\\)"));
    QStringList externalBefore, externalAfter;
    for (auto it = external.globalMatch(before); it.hasNext();)
        externalBefore << it.next().captured(0);
    for (auto it = external.globalMatch(after); it.hasNext();)
        externalAfter << it.next().captured(0);
    EXPECT_FALSE(externalBefore.isEmpty());
    EXPECT_EQ(externalAfter, externalBefore);
    // No two areas of a page end up on the very same box.
    static const QRegularExpression box(QStringLiteral("\\(rect \\d+ \\d+ \\d+ \\d+ ?\\)"));
    for (const QString& block : after.split(QStringLiteral("\nselect "))) {
        QStringList boxes;
        for (auto it = box.globalMatch(block); it.hasNext();)
            boxes << it.next().captured(0);
        EXPECT_EQ(QSet<QString>(boxes.begin(), boxes.end()).size(), boxes.size())
            << block.left(40).toStdString();
    }
}

} // namespace

namespace {

struct LineCase
{
    const char* name;
    QList<QList<int>> areas; // left, bottom, width; a fourth number 1 marks a web link
    QList<AreaBox> expected;
};

class FixLines : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(FixLines, ColumnsAlignAndNoAreaGrowsOverAnother)
{
    QByteArray body;
    for (const QList<int>& a : GetParam().areas)
        body += area(a[0], a[2], a.value(3) ? "http://example.org" : "#p2.djvu", a[1]);
    EXPECT_EQ(aligned("select; remove-ant\n" + page(1, body), {3000}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, FixLines,
    ::testing::Values(
        LineCase{"OneLinkALine",
                 {{300, 3000, 900}, {320, 2900, 700}, {300, 2800, 800}},
                 {{300, 900}, {300, 900}, {300, 900}}},
        LineCase{"EveryWordLinked",
                 {{300, 3000, 200},
                  {520, 3000, 150},
                  {700, 3000, 300},
                  {300, 2900, 250},
                  {570, 2900, 100}},
                 {{300, 200}, {520, 150}, {700, 300}, {300, 250}, {570, 100}}},
        LineCase{"TitlesWithTheirPageNumbers",
                 {{300, 3000, 1200},
                  {2140, 3000, 40},
                  {300, 2900, 1500},
                  {2120, 2900, 60},
                  {300, 2800, 900},
                  {2160, 2800, 20}},
                 {{300, 1500}, {2120, 60}, {300, 1500}, {2120, 60}, {300, 1500}, {2120, 60}}},
        LineCase{"ATitleWouldCoverAWebLinkBesideIt",
                 {{300, 3000, 1000}, {1400, 3000, 200, 1}, {310, 2900, 1850}},
                 {{300, 1000}, {1400, 200}, {300, 1850}}},
        LineCase{"HeightsOfOneLineDifferByAFewPixels",
                 {{158, 3911, 60}, {217, 3902, 17}, {291, 3911, 2865}, {158, 3810, 2998}},
                 {{158, 60}, {217, 17}, {291, 2865}, {158, 2998}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every pair of areas of each page, by page and position, that overlap in this annotation dump.
QSet<QString> overlappingPairs(const QString& dump)
{
    static const QRegularExpression rect(
        QStringLiteral("\\((?:rect|oval) (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+)"));
    QSet<QString> pairs;
    int block = 0;
    for (const QString& text : dump.split(QStringLiteral("\nselect "))) {
        ++block;
        QList<QList<qint64>> boxes;
        for (auto it = rect.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            boxes.append({m.captured(1).toLongLong(), m.captured(2).toLongLong(),
                          m.captured(3).toLongLong(), m.captured(4).toLongLong()});
        }
        for (int i = 0; i < boxes.size(); ++i)
            for (int k = i + 1; k < boxes.size(); ++k) {
                const auto& a = boxes[i];
                const auto& b = boxes[k];
                if (a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] &&
                    b[1] < a[1] + a[3])
                    pairs.insert(QStringLiteral("%1:%2:%3").arg(block).arg(i).arg(k));
            }
    }
    return pairs;
}

TEST(FixPageEdge, TheSampleBookGainsNoOverlappingAreas)
{
    QTemporaryDir dir;
    const QString book = sampleCopy(dir);
    if (book.isEmpty())
        GTEST_SKIP() << "the shared sample book is not here";
    const QString before = DjvuFixture::djvused(book, "output-ant");
    const CliRun run = runCli({"fix", book});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString after = DjvuFixture::djvused(book, "output-ant");
    EXPECT_NE(after, before); // there is something to align
    const QSet<QString> old = overlappingPairs(before);
    QStringList gained;
    for (const QString& pair : overlappingPairs(after))
        if (!old.contains(pair))
            gained << pair;
    EXPECT_TRUE(gained.isEmpty()) << gained.join(' ').toStdString();
}

} // namespace
