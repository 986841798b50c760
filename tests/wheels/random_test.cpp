// The searches' one generator: a seed gives the same sequence every time, its draws lie in the
// range asked, and every search of a run gets a sequence of its own.

#include "wheels/random.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <set>
#include <vector>

namespace quillstep {
namespace {

std::vector<uint64_t> firstValues(uint64_t seed, int count) {
    Random random{seed};
    std::vector<uint64_t> values;
    for (int i = 0; i < count; ++i) values.push_back(random.next());
    return values;
}

TEST(Random, SameSeedSameSequenceOtherSeedOtherSequence) {
    EXPECT_EQ(firstValues(42, 100), firstValues(42, 100));
    EXPECT_NE(firstValues(42, 100), firstValues(43, 100));
    const std::vector<uint64_t> values = firstValues(7, 1000);
    EXPECT_EQ(std::set<uint64_t>(values.begin(), values.end()).size(), values.size());
}

TEST(Random, DrawsLieInTheirRangesAndReachEveryValue) {
    Random random{5};
    std::set<uint64_t> seenBelow;
    std::set<int> seenNumbers;
    const uint64_t mask = (uint64_t{1} << 3) | (uint64_t{1} << 17) | (uint64_t{1} << 39);
    for (int i = 0; i < 2000; ++i) {
        const uint64_t below = random.below(6);
        ASSERT_LT(below, 6u);
        seenBelow.insert(below);
        const double unit = random.unit();
        ASSERT_GE(unit, 0.0);
        ASSERT_LT(unit, 1.0);
        const int number = random.numberOf(mask);
        ASSERT_TRUE(mask >> number & 1) << number;
        seenNumbers.insert(number);
    }
    EXPECT_EQ(seenBelow.size(), 6u);
    EXPECT_EQ(seenNumbers, (std::set<int>{3, 17, 39}));
}

TEST(Random, EverySearchOfARunGetsItsOwnSeed) {
    std::set<uint64_t> seeds;
    for (uint64_t search = 0; search < 64; ++search) {
        EXPECT_EQ(mixSeed(1, search), mixSeed(1, search));
        seeds.insert(mixSeed(1, search));
    }
    EXPECT_EQ(seeds.size(), 64u);
    EXPECT_NE(mixSeed(1, 0), mixSeed(2, 0));
}

}  // namespace
}  // namespace quillstep
