// The reviewed entries of a plan: edits, the offset, the plan they give back, and the check of
// a title against its target page.
#include "DjvuFixture.h"
#include "review/ReviewCheck.h"
#include "review/ReviewModel.h"

#include <gtest/gtest.h>

namespace {

PlanEntry entry(int page, const QString& title, qint64 target)
{
    PlanEntry e;
    e.contentsPage = page;
    e.title = title;
    e.words = title.split(' ');
    e.targetPage = target;
    e.area = {100, 200, 300, 40};
    return e;
}

// Contents pages 2 to 4 of a ten-page book; page 3 holds no entry.
ContentsPlan plan()
{
    ContentsPlan p;
    p.pageCount = 10;
    p.pages << PlanPage{2, {entry(2, "One", 5), entry(2, "Two", 6)}};
    p.pages << PlanPage{3, {}};
    p.pages << PlanPage{4, {entry(4, "Three", 9)}};
    return p;
}

QList<qint64> targets(const ReviewModel& model)
{
    QList<qint64> out;
    for (const ReviewEntry& e : model.entries())
        out << e.entry.targetPage;
    return out;
}

TEST(ReviewModel, OffsetMovesEveryTargetWithinTheBook)
{
    ReviewModel model;
    model.setPlan(plan(), 2);
    model.setCheck(0, ReviewEntry::Check::Found);
    int moved = 0;
    QObject::connect(&model, &ReviewModel::targetsChanged, [&moved] { ++moved; });
    model.setOffset(4);
    EXPECT_EQ(targets(model), QList<qint64>({7, 8, 10})); // 9 + 2 stops at the last page
    EXPECT_EQ(model.entries()[0].check, ReviewEntry::Check::Unknown);
    model.setOffset(-6);
    EXPECT_EQ(targets(model), QList<qint64>({1, 1, 1}));
    EXPECT_EQ(moved, 2);
    model.setOffset(-6);
    EXPECT_EQ(moved, 2);
}

TEST(ReviewModel, EditsOutsideTheBookOrEmptyAreRefused)
{
    ReviewModel model;
    model.setPlan(plan(), 0);
    const QModelIndex target = model.index(0, ReviewModel::TargetColumn);
    for (const char* bad : {"0", "11", "x", "", "-3"})
        EXPECT_FALSE(model.setData(target, bad)) << bad;
    EXPECT_TRUE(model.setData(target, " 10 "));
    EXPECT_FALSE(model.setData(model.index(0, ReviewModel::TitleColumn), "   "));
    EXPECT_FALSE(model.setLevel(0, 0));
    EXPECT_FALSE(model.setData(model.index(0, ReviewModel::PrintedColumn), "7"));
    EXPECT_EQ(targets(model), QList<qint64>({10, 6, 9}));
    EXPECT_FALSE(model.flags(model.index(0, ReviewModel::CheckColumn)) & Qt::ItemIsEditable);
}

TEST(ReviewModel, ReviewedPlanHoldsTheTickedEntriesOnTheirPages)
{
    ReviewModel model;
    model.setPlan(plan(), 0);
    model.setTicked(1, false);
    model.setTitle(2, "  Three   and more ");
    model.setLevel(2, 3);
    const ContentsPlan reviewed = model.reviewed();
    ASSERT_EQ(reviewed.pages.size(), 3); // the empty page keeps its block
    EXPECT_EQ(reviewed.pages[0].entries.size(), 1);
    EXPECT_EQ(reviewed.pages[0].entries[0].title, "One");
    EXPECT_TRUE(reviewed.pages[1].entries.isEmpty());
    EXPECT_EQ(reviewed.pages[2].entries[0].title, "Three and more");
    EXPECT_EQ(reviewed.pages[2].entries[0].level, 3);
    EXPECT_EQ(model.index(2, 0).data().toString(), "    Three and more");
    EXPECT_EQ(model.index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    ContentsPlan other = plan();
    int bad = -1;
    QString error;
    EXPECT_FALSE(
        ReviewModel::placeEntries(&other, {entry(2, "A", 3), entry(5, "B", 3)}, &bad, &error));
    EXPECT_EQ(bad, 1);
    EXPECT_TRUE(error.contains("page 5 is not one of the contents pages")) << error.toStdString();
    EXPECT_FALSE(ReviewModel::placeEntries(&other, {entry(2, "A", 11)}, &bad, &error));
    EXPECT_EQ(bad, 0);
    EXPECT_TRUE(error.contains("has 10 pages")) << error.toStdString();
}

TEST(ReviewCheck, TitleOnItsTargetPage)
{
    const QList<FixturePage> pages = {FixturePage::headed({"Contents"}),
                                      FixturePage::headed({"1", "Beginnings"}, "1"),
                                      FixturePage::headed({"Other", "words"}, "2"), FixturePage{}};
    QMap<int, PageText> texts = DjvuFixture::pageTexts(pages);
    texts.insert(4, PageText{}); // read, without a text layer
    using C = ReviewEntry::Check;
    EXPECT_EQ(ReviewCheck::check(entry(1, "1 Beginnings", 2), texts, 4), C::Found);
    EXPECT_EQ(ReviewCheck::check(entry(1, "1 Beginnings", 3), texts, 4), C::NotFound);
    EXPECT_EQ(ReviewCheck::check(entry(1, "1 Beginnings", 4), texts, 4), C::NoText);
    EXPECT_EQ(ReviewCheck::check(entry(1, "A", 2), texts, 4), C::Uncheckable);
    ReviewModel model;
    ContentsPlan p;
    p.pages << PlanPage{1, {entry(1, "x", 3), entry(1, "y", 2), entry(1, "z", 3)}};
    model.setPlan(p, 0);
    EXPECT_EQ(ReviewCheck::targetPages(model.entries()), QList<int>({3, 2}));
}

} // namespace
