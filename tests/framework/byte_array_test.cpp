#include "framework/byte_array.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

TEST(CByteArray, SetSizeGrowsWithZerosAndShrinks) {
    CByteArray ba;
    EXPECT_EQ(0, ba.GetSize());
    EXPECT_EQ(nullptr, ba.GetData());
    ba.SetSize(3);
    ASSERT_EQ(3, ba.GetSize());
    EXPECT_EQ(0, ba[0]);
    ba[2] = 0xAB;
    ba.SetSize(5);
    EXPECT_EQ(0xAB, ba.GetAt(2));
    EXPECT_EQ(0, ba.GetAt(4));
    ba.SetSize(2);
    EXPECT_EQ(2, ba.GetSize());
    EXPECT_THROW(ba.GetAt(2), std::out_of_range);
}

TEST(CByteArray, NegativeSizeIsRefusedAndLosesNothing) {
    CByteArray ba;
    ba.SetSize(2);
    ba.SetAt(1, 7);
    EXPECT_THROW(ba.SetSize(-1), std::invalid_argument);
    ASSERT_EQ(2, ba.GetSize());
    EXPECT_EQ(7, ba.GetAt(1));
}

TEST(CByteArray, CopyTakesSizeAndBytes) {
    CByteArray baSource;
    baSource.SetSize(4);
    for (int i = 0; i < 4; ++i) {
        baSource[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    CByteArray baTarget;
    baTarget.SetSize(9);
    baTarget.Copy(baSource);
    ASSERT_EQ(4, baTarget.GetSize());
    EXPECT_EQ(0x13, baTarget.GetData()[3]);
    baSource[0] = 0;
    EXPECT_EQ(0x10, baTarget[0]); // a copy, not a view
}

} // namespace
