#include <gtest/gtest.h>

#include "game/Random.h"

TEST(Random, FirstDrawsFollowTheGenerator) {
    Random r;
    EXPECT_EQ(r.Draw(), 41);
    EXPECT_EQ(r.Draw(), 18467);
    EXPECT_EQ(r.Draw(), 6334);
}
