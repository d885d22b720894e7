#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Result.h"

namespace {

plat::Result<std::vector<int>> Digits(const std::string& text) {
    std::vector<int> digits;
    for (char c : text) {
        if (c < '0' || c > '9') return plat::Fail("not a digit: " + std::string(1, c));
        digits.push_back(c - '0');
    }
    return digits;
}

TEST(Result, CarriesTheValueOrTheMessage) {
    const auto good = Digits("42");
    ASSERT_TRUE(good.Ok());
    EXPECT_EQ(*good, (std::vector<int>{4, 2}));
    EXPECT_EQ(good->size(), 2u);

    const auto bad = Digits("4x");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.Error(), "not a digit: x");

    const plat::Status status = plat::Success();
    EXPECT_TRUE(status.Ok());
}

}  // namespace
