#include <gtest/gtest.h>

#include "platform/devices/ScaledMotion.h"

using plat::ScaledMotion;

TEST(ScaledMotion, SpeedOneIsTheRawMotion) {
    ScaledMotion m(1.0);
    EXPECT_EQ(m.Take(7), 7);
    EXPECT_EQ(m.Take(-3), -3);
    EXPECT_EQ(m.Take(0), 0);
}

TEST(ScaledMotion, SlowMotionAddsUpInsteadOfVanishing) {
    ScaledMotion m(0.25);
    EXPECT_EQ(m.Take(1), 0);
    EXPECT_EQ(m.Take(1), 0);
    EXPECT_EQ(m.Take(1), 0);
    EXPECT_EQ(m.Take(1), 1);  // four quarters
    EXPECT_EQ(m.Take(-2), 0);
    EXPECT_EQ(m.Take(-2), -1);
}

TEST(ScaledMotion, FasterMotionCarriesItsFraction) {
    ScaledMotion m(2.5);
    EXPECT_EQ(m.Take(1), 2);
    EXPECT_EQ(m.Take(1), 3);  // 2.5 + 0.5
    EXPECT_EQ(m.Take(-1), -2);
    EXPECT_EQ(m.Take(-1), -3);
}

TEST(ScaledMotion, ResetDropsTheCarriedFraction) {
    ScaledMotion m(0.5);
    EXPECT_EQ(m.Take(1), 0);
    m.Reset();
    EXPECT_EQ(m.Take(1), 0);
    EXPECT_EQ(m.Take(1), 1);
}
