#include "framework/byte_array.h"

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Growing adds zeros, shrinking drops the tail, a bad size or index changes nothing.
TEST(CByteArray, SizeIndexAndCopy) {
    CByteArray ba;
    EXPECT_EQ(ba.GetData(), nullptr);
    ba.SetSize(3);
    ba[2] = 0xAB;
    ba.SetAt(0, 7);
    ba.SetSize(5);
    ASSERT_EQ(ba.GetSize(), 5);
    EXPECT_EQ(std::vector<std::uint8_t>(ba.GetData(), ba.GetData() + 5),
              (std::vector<std::uint8_t>{7, 0, 0xAB, 0, 0}));
    EXPECT_THROW(ba.SetSize(-1), std::invalid_argument);
    ba.SetSize(3);
    EXPECT_THROW(ba.GetAt(3), std::out_of_range);
    EXPECT_THROW(ba.SetAt(-1, 1), std::out_of_range);
    CByteArray baCopy;
    baCopy.SetSize(9);
    baCopy.Copy(ba);
    ba[2] = 0;
    ASSERT_EQ(baCopy.GetSize(), 3);
    EXPECT_EQ(baCopy[2], 0xAB); // a copy, not a view
    EXPECT_EQ(baCopy.GetAt(0), 7);
}

} // namespace
