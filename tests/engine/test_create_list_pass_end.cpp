#include "links/PassEnd.h"

#include <gtest/gtest.h>

namespace {

PassEndActions actions(bool clearFix, bool clearCreate, bool close)
{
    PassEndActions a;
    a.clearFixList = clearFix;
    a.clearCreateList = clearCreate;
    a.closeWindow = close;
    return a;
}

CreateOutcome created(bool ranToEnd, bool alignmentRan = false, bool alignmentRanToEnd = false)
{
    CreateOutcome o;
    o.ranToEnd = ranToEnd;
    o.alignmentRan = alignmentRan;
    o.alignmentRanToEnd = alignmentRanToEnd;
    return o;
}

TEST(PassEnd, TheFixTabsEndOptionsApplyOnlyToAPassThatRanToItsEnd)
{
    PassOutcome done;
    done.ranToEnd = true;
    EXPECT_EQ(PassEnd::afterFixPass(done, {true, true}), actions(true, false, true));
    EXPECT_EQ(PassEnd::afterFixPass(done, {false, false}), actions(false, false, false));
    EXPECT_EQ(PassEnd::afterFixPass(PassOutcome{}, {true, true}), actions(false, false, false));
}

TEST(PassEnd, TheCreateTabsEndOptionsApplyOnlyToAPassThatRanToItsEnd)
{
    EXPECT_EQ(PassEnd::afterCreatePass(created(true), {true, true}, {true, true}),
              actions(false, true, true));
    EXPECT_EQ(PassEnd::afterCreatePass(created(false), {true, true}, {false, false}),
              actions(false, false, false));
}

TEST(PassEnd, AlignmentEmptiesTheFixListAndMayCloseTheWindowWithTheEditTabsOption)
{
    // Alignment ran but stopped: the Fix list is gone all the same, nothing else happens.
    EXPECT_EQ(PassEnd::afterCreatePass(created(false, true, false), {true, true}, {true, true}),
              actions(true, false, false));
    // It ran to its end with the edit tab's "close": the window closes after the Create pass,
    // even when a later file stopped that pass.
    EXPECT_EQ(PassEnd::afterCreatePass(created(false, true, true), {true, false}, {false, true}),
              actions(true, false, true));
    EXPECT_EQ(PassEnd::afterCreatePass(created(true, true, true), {true, false}, {false, false}),
              actions(true, true, false));
}

} // namespace
