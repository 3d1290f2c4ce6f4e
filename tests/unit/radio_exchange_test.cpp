#include "dialogs/radio_exchange.h"

#include <gtest/gtest.h>

namespace {

// The colour and thickness dialog in template order: OK, Cancel, two group
// boxes, three radio buttons (the first with WS_GROUP), the edit.
const std::vector<DialogControlKind> kColorWidthTemplate = {
    {false, false}, {false, false}, {false, false}, {false, false},
    {true, true},   {true, false},  {true, false},  {false, false},
};

TEST(RadioExchangeGroup, RunsToTheEndSkippingTheEdit)
{
    EXPECT_EQ(RadioGroupMembers(kColorWidthTemplate, 4), (std::vector<int>{4, 5, 6}));
}

TEST(RadioExchangeGroup, StopsAtTheNextControlThatStartsAGroup)
{
    std::vector<DialogControlKind> controls = kColorWidthTemplate;
    controls.push_back({true, false});  // would join the run ...
    controls[7].startsGroup = true;     // ... but the edit now starts a group
    EXPECT_EQ(RadioGroupMembers(controls, 4), (std::vector<int>{4, 5, 6}));
    controls[6].startsGroup = true;
    EXPECT_EQ(RadioGroupMembers(controls, 4), (std::vector<int>{4, 5}));
    EXPECT_TRUE(RadioGroupMembers(controls, 8 + 1).empty());
    EXPECT_TRUE(RadioGroupMembers(controls, -1).empty());
}

TEST(RadioExchangeInto, OnlyThePositionIsCheckedNoneForMinusOne)
{
    EXPECT_EQ(RadioChecksFromIndex(0, 3), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(RadioChecksFromIndex(2, 3), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(RadioChecksFromIndex(-1, 3), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(RadioChecksFromIndex(3, 3), (std::vector<bool>{false, false, false}));
}

TEST(RadioExchangeOut, MinusOneThenTheCheckedPosition)
{
    EXPECT_EQ(RadioIndexFromChecks({false, false, false}), -1);
    EXPECT_EQ(RadioIndexFromChecks({false, true, false}), 1);
    EXPECT_EQ(RadioIndexFromChecks({false, false, true}), 2);
    EXPECT_EQ(RadioIndexFromChecks({false, true, true}), 1);
    EXPECT_EQ(RadioIndexFromChecks({}), -1);
    for (int i = -1; i < 3; ++i)
        EXPECT_EQ(RadioIndexFromChecks(RadioChecksFromIndex(i, 3)), i);
}

}  // namespace
