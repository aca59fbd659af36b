// Where the minimised main dialog draws its icon.

#include <gtest/gtest.h>

#include "app/icon_position.h"

namespace {

// The odd pixel goes to the first margin; a client smaller than the icon truncates
// toward zero ((-1) / 2 is 0, not -1).
TEST(CenteredIconOffset, CentresWithTheOddPixelInTheFirstMargin) {
    const int cases[][3] = {{32, 32, 0},  {36, 32, 2},  {160, 32, 64}, {48, 16, 16},
                            {33, 32, 1},  {37, 32, 3},  {31, 32, 0},   {30, 32, 0},
                            {29, 32, -1}, {28, 32, -1}, {0, 32, -15}};
    for (const auto& c : cases) {
        EXPECT_EQ(CenteredIconOffset(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
    }
    static_assert(CenteredIconOffset(33, 32) == 1, "usable in constant expressions");
}

} // namespace
