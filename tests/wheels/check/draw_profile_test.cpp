// CTest label: threads
#include "wheels/check/draw_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "support/test_support.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {
namespace {

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (const int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

int64_t choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    int64_t c = 1;
    for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

// The plain count: every draw of 1..n in turn, every line against it.
std::array<int64_t, 8> bruteForceProfile(const std::vector<uint64_t>& system, int n) {
    std::array<int64_t, 8> counts{};
    int d[7] = {1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        uint64_t draw = 0;
        for (int v : d) draw |= uint64_t{1} << v;
        int best = 0;
        for (uint64_t line : system) best = std::max(best, std::popcount(draw & line));
        ++counts[static_cast<size_t>(best)];
        int k = 6;
        while (k >= 0 && d[k] == n - 6 + k) --k;
        if (k < 0) return counts;
        ++d[k];
        for (int j = k + 1; j < 7; ++j) d[j] = d[j - 1] + 1;
    }
}

std::vector<uint64_t> randomSystem(std::mt19937_64& rng, int size, int highest) {
    std::vector<uint64_t> system;
    while (static_cast<int>(system.size()) < size) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + rng() % highest);
        system.push_back(mask);
    }
    return system;
}

TEST(DrawProfile, MatchesThePlainCountOnSmallTotals) {
    std::mt19937_64 rng(18);
    // Sizes on both sides of a word of 64 lines, lines reaching above the total, repeated lines.
    for (const int n : {7, 8, 11, 14, 17}) {
        for (const int size : {0, 1, 2, 5, 63, 64, 65, 130}) {
            std::vector<uint64_t> system = randomSystem(rng, size, n + 3);
            if (size > 4) system[3] = system[1];
            const DrawProfile profile = profileAllDraws(system.data(), static_cast<int64_t>(system.size()), n);
            EXPECT_EQ(profile.draws, choose(n, 7)) << n;
            EXPECT_EQ(profile.bestMatchCounts, bruteForceProfile(system, n)) << "n " << n << " size " << size;
        }
    }
}

// Sixteen words of lines, and the two ways of counting the seventh number (the union of the best
// lines when they are few, a test per number when they are many) both taken.
TEST(DrawProfile, AThousandLinesAtTwenty) {
    std::mt19937_64 rng(1000);
    const std::vector<uint64_t> system = randomSystem(rng, 1000, 20);
    EXPECT_EQ(profileAllDraws(system.data(), 1000, 20).bestMatchCounts, bruteForceProfile(system, 20));
}

TEST(DrawProfile, ThreadsDoNotChangeTheCounts) {
    std::mt19937_64 rng(5);
    const std::vector<uint64_t> system = randomSystem(rng, 90, 20);
    const DrawProfile one = profileAllDraws(system.data(), 90, 20, 1);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_EQ(profileAllDraws(system.data(), 90, 20, threads).bestMatchCounts, one.bestMatchCounts) << threads;
}

TEST(DrawProfile, OneLineOnTheFullWheelOf39) {
    const uint64_t line = maskOf({3, 9, 14, 22, 27, 31, 38});
    const DrawProfile profile = profileAllDraws(&line, 1, 39);
    EXPECT_EQ(profile.draws, 15'380'937);
    EXPECT_EQ(profile.bestMatchCounts[7], 1);
    for (int k = 0; k <= 7; ++k) EXPECT_EQ(profile.bestMatchCounts[k], choose(7, k) * choose(32, 7 - k)) << k;
}

TEST(DrawProfile, TwoDisjointLinesOnTheFullWheelOf39) {
    const std::vector<uint64_t> system{maskOf({1, 2, 3, 4, 5, 6, 7}), maskOf({20, 24, 28, 32, 36, 37, 39})};
    // A draw with a numbers of the first line, b of the second and the rest of the other 25.
    std::array<int64_t, 8> expected{};
    for (int a = 0; a <= 7; ++a)
        for (int b = 0; a + b <= 7; ++b) expected[std::max(a, b)] += choose(7, a) * choose(7, b) * choose(25, 7 - a - b);
    EXPECT_EQ(profileAllDraws(system.data(), 2, 39).bestMatchCounts, expected);
}

TEST(DrawProfile, TheOptimisersSystemOfTheMode12Store) {
    const std::vector<uint64_t> stored = storeOfMode(12);
    CoverRequest request;
    request.stored = stored.data();
    request.storedCount = static_cast<int64_t>(stored.size());
    request.hits = 4;
    request.timeLimitSeconds = 10;
    request.moveBudget = 3000;
    request.threads = 2;
    const std::vector<uint64_t> system = optimiseSystem(request).system;
    ASSERT_FALSE(system.empty());

    const DrawProfile profile = profileAllDraws(system.data(), static_cast<int64_t>(system.size()), 39);
    EXPECT_EQ(profile.bestMatchCounts, bruteForceProfile(system, 39));
    // Every stored combination is a draw with at least four hits; every member is one with seven.
    EXPECT_GE(profile.drawsWithAtLeast(4), static_cast<int64_t>(stored.size()));
    EXPECT_EQ(profile.bestMatchCounts[7], static_cast<int64_t>(system.size()));
}

TEST(DrawMatch, CountsLinesByHitsAndFindsTheFirstBest) {
    const std::vector<uint64_t> system{maskOf({1, 2, 3, 10, 11, 12, 13}), maskOf({1, 2, 3, 4, 20, 21, 22}),
                                       maskOf({30, 31, 32, 33, 34, 35, 36}), maskOf({4, 3, 2, 1, 25, 26, 27})};
    const DrawMatch match = matchDraw(maskOf({1, 2, 3, 4, 5, 6, 7}), system.data(), 4);
    EXPECT_EQ(match.linesByHits, (std::array<int64_t, 8>{1, 0, 0, 1, 2, 0, 0, 0}));
    EXPECT_EQ(match.bestHits, 4);
    EXPECT_EQ(match.bestLine, 1);
    EXPECT_EQ(matchDraw(system[2], system.data(), 4).bestLine, 2);
    EXPECT_EQ(matchDraw(system[2], system.data(), 0).bestLine, -1);
}

}  // namespace
}  // namespace quillstep
