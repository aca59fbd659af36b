// Where the minimised main dialog draws its icon.

#include <gtest/gtest.h>

#include "app/icon_position.h"

namespace {

TEST(CenteredIconOffset, EvenSlackIsSplitEqually) {
    EXPECT_EQ(CenteredIconOffset(32, 32), 0);
    EXPECT_EQ(CenteredIconOffset(36, 32), 2);
    EXPECT_EQ(CenteredIconOffset(160, 32), 64);
    EXPECT_EQ(CenteredIconOffset(48, 16), 16);
}

TEST(CenteredIconOffset, OddSlackGivesTheFirstMarginTheExtraPixel) {
    // Client 33, icon 32: one pixel left of the icon, none right of it.
    EXPECT_EQ(CenteredIconOffset(33, 32), 1);
    EXPECT_EQ(33 - 32 - CenteredIconOffset(33, 32), 0);
    // Client 37, icon 32: margins 3 and 2.
    EXPECT_EQ(CenteredIconOffset(37, 32), 3);
    EXPECT_EQ(37 - 32 - CenteredIconOffset(37, 32), 2);
    for (int nClient = 32; nClient < 100; ++nClient) {
        const int nFirst = CenteredIconOffset(nClient, 32);
        const int nSecond = nClient - 32 - nFirst;
        EXPECT_EQ(nFirst - nSecond, (nClient - 32) % 2) << "client " << nClient;
    }
}

TEST(CenteredIconOffset, ClientSmallerThanIconTruncatesTowardZero) {
    EXPECT_EQ(CenteredIconOffset(31, 32), 0);  // (0) / 2
    EXPECT_EQ(CenteredIconOffset(30, 32), 0);  // (-1) / 2 truncates to 0, not -1
    EXPECT_EQ(CenteredIconOffset(29, 32), -1); // (-2) / 2
    EXPECT_EQ(CenteredIconOffset(28, 32), -1); // (-3) / 2
    EXPECT_EQ(CenteredIconOffset(0, 32), -15); // (-31) / 2
}

TEST(CenteredIconOffset, UsableInConstantExpressions) {
    static_assert(CenteredIconOffset(33, 32) == 1, "odd slack");
    static_assert(CenteredIconOffset(30, 32) == 0, "truncation toward zero");
    SUCCEED();
}

} // namespace
