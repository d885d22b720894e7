#include <gtest/gtest.h>

#include <cstdint>

#include "platform/base/BitCast.h"

TEST(BitCast, ReadsTheBitsOfTheOtherType) {
    EXPECT_EQ(plat::BitCast<float>(uint32_t{0x3F800000}), 1.0f);
    EXPECT_EQ(plat::BitCast<float>(uint32_t{0xC0490FDB}), -3.14159274101257324f);
    EXPECT_EQ(plat::BitCast<double>(uint64_t{0x3FE0000000000000}), 0.5);
    EXPECT_EQ(plat::BitCast<uint64_t>(-2.0), uint64_t{0xC000000000000000});
    EXPECT_EQ(plat::BitCast<int32_t>(uint32_t{0xFFFFFFFF}), -1);
}
