#include "promo/random.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Random, IsTheClassicLinearCongruentialSequence) {
    RandomGenerator random;
    random.Seed(1);
    std::vector<int32_t> values;
    for (int i = 0; i < 5; ++i) values.push_back(random.Next());
    EXPECT_EQ(values, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));
}

TEST(Random, RandomIntStaysWithinItsBounds) {
    RandomGenerator random;
    random.Seed(99);
    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        int32_t n = RandomInt(random, 1, 10);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 10);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST(Random, BoundsRules) {
    RandomGenerator a, b;
    a.Seed(5);
    b.Seed(5);
    EXPECT_EQ(RandomInt(a, 5, 5), 5);  // no draw
    EXPECT_EQ(a.Next(), b.Next());

    a.Seed(7);
    b.Seed(7);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomInt(a, 10, 1), RandomInt(b, 1, 10));

    a.Seed(7);
    b.Seed(7);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomInt(a, -4, 3), RandomInt(b, 0, 3));  // negative counts as 0

    a.Seed(7);
    b.Seed(7);
    EXPECT_EQ(RandomInt(a, 0), b.Next());  // no high: up to 2147483647
}

}  // namespace
