// CTest label: threads
#include "wheels/check/independent_system_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "support/greedy_stores.h"
#include "wheels/greedy/best_start_search.h"

namespace quillstep {
namespace {

using Numbers = std::array<int32_t, 7>;

std::vector<uint64_t> fullWheelMasks(int totalNumbers) { return combinationMasks(*fullWheelState(totalNumbers)); }

uint64_t maskOf(const Numbers& numbers) {
    uint64_t mask = 0;
    for (int32_t v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

std::vector<uint64_t> greedySystem(const std::vector<uint64_t>& stored, int hits) {
    std::vector<uint64_t> system;
    for (int32_t index : greedySystemMembers(stored, 1, hits)) system.push_back(stored[static_cast<size_t>(index)]);
    return system;
}

SystemCheck check(const std::vector<uint64_t>& stored, const std::vector<uint64_t>& system, int hits,
                  size_t holesKept = 10, unsigned threads = 0, int highestNumber = 39, bool bestMatchWanted = true) {
    CoverRequest request = storedCoverRequest(stored, hits, highestNumber);
    request.threads = threads;
    SystemCheckOptions options;
    options.holesKept = holesKept;
    options.bestMatchWanted = bestMatchWanted;
    return checkSystem(request, system, options);
}

// The numbers two combinations share, counted number by number on their lists.
int sharedNumbers(uint64_t a, uint64_t b) {
    int shared = 0;
    for (int v = 1; v < 64; ++v) shared += (a >> v & 1) && (b >> v & 1);
    return shared;
}

// The check's results computed the slow way: every pair, every number.
struct BruteForce {
    std::array<int64_t, 8> bestMatchCounts{};
    std::vector<int64_t> holes;  // all of them
    std::vector<int64_t> membersNotStored;
};

BruteForce bruteForce(const std::vector<uint64_t>& stored, const std::vector<uint64_t>& system, int hits) {
    BruteForce out;
    for (size_t j = 0; j < stored.size(); ++j) {
        int best = 0;
        for (uint64_t member : system) best = std::max(best, sharedNumbers(stored[j], member));
        ++out.bestMatchCounts[static_cast<size_t>(best)];
        if (best < hits) out.holes.push_back(static_cast<int64_t>(j));
    }
    for (size_t s = 0; s < system.size(); ++s)
        if (std::find(stored.begin(), stored.end(), system[s]) == stored.end())
            out.membersNotStored.push_back(static_cast<int64_t>(s));
    return out;
}

uint64_t randomCombination(std::mt19937& random, int totalNumbers) {
    uint64_t mask = 0;
    while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % totalNumbers);
    return mask;
}

TEST(SystemCheck, GreedySystemsOfSmallFullWheelsHoldAndLoseTheGuaranteeWithoutAMember) {
    for (int totalNumbers : {10, 11, 12, 13}) {
        const std::vector<uint64_t> stored = fullWheelMasks(totalNumbers);
        for (int hits : {4, 5}) {
            SCOPED_TRACE("N " + std::to_string(totalNumbers) + " G" + std::to_string(hits));
            const std::vector<uint64_t> system = greedySystem(stored, hits);
            const SystemCheck whole = check(stored, system, hits);
            EXPECT_TRUE(whole.holds(false));
            EXPECT_EQ(whole.uncovered, 0);
            EXPECT_TRUE(whole.holes.empty());
            EXPECT_EQ(whole.bestMatchCounts[7], static_cast<int64_t>(system.size()));

            // The last member the pass added was covered by none before it, so the system without it
            // leaves at least that member uncovered; for every other member, brute force decides.
            for (size_t left = 0; left < system.size(); ++left) {
                std::vector<uint64_t> fewer = system;
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(left));
                const SystemCheck partial = check(stored, fewer, hits, stored.size());
                const BruteForce expected = bruteForce(stored, fewer, hits);
                EXPECT_EQ(partial.uncovered, static_cast<int64_t>(expected.holes.size()));
                EXPECT_EQ(partial.holes, expected.holes);
                EXPECT_EQ(partial.bestMatchCounts, expected.bestMatchCounts);
                EXPECT_EQ(partial.holds(false), expected.holes.empty());
                if (left + 1 == system.size()) {
                    const auto lastIndex = std::find(stored.begin(), stored.end(), system[left]) - stored.begin();
                    EXPECT_NE(std::find(partial.holes.begin(), partial.holes.end(), lastIndex), partial.holes.end());
                }
            }
        }
    }
}

TEST(SystemCheck, RemovingTheOnlyCoverOfACombinationIsCaught) {
    // Three combinations far apart: each covers only itself, so each is needed.
    const std::vector<uint64_t> stored{maskOf({1, 2, 3, 4, 5, 6, 7}), maskOf({8, 9, 10, 11, 12, 13, 14}),
                                       maskOf({15, 16, 17, 18, 19, 20, 21})};
    EXPECT_TRUE(check(stored, stored, 4).holds(false));
    const SystemCheck missing = check(stored, {stored[0], stored[2]}, 4);
    EXPECT_FALSE(missing.holds(false));
    EXPECT_FALSE(missing.holds(true));
    EXPECT_EQ(missing.uncovered, 1);
    EXPECT_EQ(missing.holes, std::vector<int64_t>{1});
    EXPECT_EQ(missing.bestMatchCounts, (std::array<int64_t, 8>{1, 0, 0, 0, 0, 0, 0, 2}));
}

TEST(SystemCheck, MembersThatAreNotStoredOrNotSevenNumbersAreNamed) {
    const std::vector<uint64_t> stored = fullWheelMasks(10);
    std::vector<uint64_t> system = greedySystem(stored, 5);
    ASSERT_TRUE(check(stored, system, 5).holds(false));

    // A combination with 11 is no full-wheel-at-10 combination, however well it covers.
    system.push_back(maskOf({1, 2, 3, 4, 5, 6, 11}));
    const SystemCheck outside = check(stored, system, 5);
    EXPECT_EQ(outside.uncovered, 0);
    EXPECT_EQ(outside.membersNotStored, std::vector<int64_t>{static_cast<int64_t>(system.size() - 1)});
    EXPECT_FALSE(outside.holds(false));
    EXPECT_TRUE(outside.holds(true));

    // Six numbers, eight numbers, number 0 and a number above the highest are not combinations.
    const std::vector<uint64_t> malformed{maskOf({1, 2, 3, 4, 5, 6, 6}), maskOf({1, 2, 3, 4, 5, 6, 7}) | 1u << 8,
                                          maskOf({0, 2, 3, 4, 5, 6, 7}), maskOf({1, 2, 3, 4, 5, 6, 11})};
    std::vector<uint64_t> withMalformed = system;
    withMalformed.insert(withMalformed.end(), malformed.begin(), malformed.end());
    const SystemCheck bad = check(stored, withMalformed, 5, 10, 0, 10);
    const int64_t first = static_cast<int64_t>(system.size());
    EXPECT_EQ(bad.malformedMembers, (std::vector<int64_t>{first - 1, first, first + 1, first + 2, first + 3}));
    EXPECT_FALSE(bad.holds(true));
}

TEST(SystemCheck, CoveredFromExactlyTheGuaranteedHits) {
    const uint64_t member = maskOf({1, 2, 3, 4, 5, 6, 7});
    const std::vector<uint64_t> stored{maskOf({1, 2, 3, 4, 20, 21, 22}), maskOf({1, 2, 3, 20, 21, 22, 23}), member};
    const SystemCheck g4 = check(stored, {member}, 4);
    EXPECT_EQ(g4.uncovered, 1);
    EXPECT_EQ(g4.holes, std::vector<int64_t>{1});
    EXPECT_EQ(g4.bestMatchCounts, (std::array<int64_t, 8>{0, 0, 0, 1, 1, 0, 0, 1}));
    EXPECT_EQ(check(stored, {member}, 3).uncovered, 0);
    EXPECT_EQ(check(stored, {member}, 5).uncovered, 2);

    const SystemCheck empty = check(stored, {}, 4);
    EXPECT_EQ(empty.uncovered, 3);
    EXPECT_EQ(empty.bestMatchCounts[0], 3);
    EXPECT_TRUE(empty.membersNotStored.empty());
}

TEST(SystemCheck, AgreesWithBruteForceOnRandomSystemsWhateverTheThreads) {
    // 11,440 stored combinations: enough for the check to split them over threads.
    const std::vector<uint64_t> stored = fullWheelMasks(16);
    std::mt19937 random(11);
    for (int round = 0; round < 4; ++round) {
        std::vector<uint64_t> system;
        for (int s = 0; s < 60; ++s)
            system.push_back(s % 3 == 0 ? randomCombination(random, 20) : stored[random() % stored.size()]);
        const int hits = round % 2 == 0 ? 4 : 5;
        const BruteForce expected = bruteForce(stored, system, hits);
        for (unsigned threads : {1u, 2u, 3u}) {
            SCOPED_TRACE("round " + std::to_string(round) + " threads " + std::to_string(threads));
            const SystemCheck got = check(stored, system, hits, 25, threads);
            EXPECT_EQ(got.bestMatchCounts, expected.bestMatchCounts);
            EXPECT_EQ(got.uncovered, static_cast<int64_t>(expected.holes.size()));
            const std::vector<int64_t> firstHoles(
                expected.holes.begin(), expected.holes.begin() + std::min<std::ptrdiff_t>(25, expected.holes.size()));
            EXPECT_EQ(got.holes, firstHoles);
            EXPECT_EQ(got.membersNotStored, expected.membersNotStored);
        }
    }
}

// The check before a file is written asks coverage and membership only and looks the stored
// combinations' subsets up; it must agree with brute force wherever the full comparison does.
TEST(SystemCheck, CoverageOnlyAgreesWithBruteForceForEveryGuarantee) {
    const std::vector<uint64_t> stored = fullWheelMasks(16);
    std::mt19937 random(29);
    for (int hits = 2; hits <= 7; ++hits) {
        for (int round = 0; round < 2; ++round) {
            std::vector<uint64_t> system;
            const int size = round == 0 ? 40 : 400;
            for (int s = 0; s < size; ++s)
                system.push_back(s % 4 == 0 ? randomCombination(random, 22) : stored[random() % stored.size()]);
            system.push_back(stored.front() | 1);  // eight bits: malformed, covers nothing by itself
            const BruteForce expected = bruteForce(stored, std::vector<uint64_t>(system.begin(), system.end() - 1), hits);
            for (unsigned threads : {1u, 2u}) {
                SCOPED_TRACE("hits " + std::to_string(hits) + " size " + std::to_string(size) + " threads " +
                             std::to_string(threads));
                const SystemCheck got = check(stored, system, hits, 25, threads, 39, false);
                EXPECT_EQ(got.uncovered, static_cast<int64_t>(expected.holes.size()));
                const std::vector<int64_t> firstHoles(
                    expected.holes.begin(),
                    expected.holes.begin() + std::min<std::ptrdiff_t>(25, expected.holes.size()));
                EXPECT_EQ(got.holes, firstHoles);
                std::vector<int64_t> notStored = expected.membersNotStored;
                notStored.push_back(size);
                EXPECT_EQ(got.membersNotStored, notStored);
                EXPECT_EQ(got.malformedMembers, std::vector<int64_t>{size});
            }
        }
    }
}

TEST(SystemCheck, CoverageOnlyOfTheFullWheelOf39SeesOneMissingCover) {
    const std::vector<uint64_t> stored = fullWheelMasks(39);
    // Seven blocks on 1..39 put together the long way: 1-7, 8-14, ..., 36-39 with 1-3.
    std::vector<uint64_t> system;
    for (int first = 1; first <= 36; first += 7) {
        uint64_t mask = 0;
        for (int v = first; v < first + 7; ++v) mask |= uint64_t{1} << (v <= 39 ? v : v - 39);
        system.push_back(mask);
    }
    const SystemCheck full = check(stored, system, 4, 10, 0, 39, true);
    const SystemCheck quick = check(stored, system, 4, 10, 0, 39, false);
    EXPECT_EQ(quick.uncovered, full.uncovered);
    EXPECT_EQ(quick.holes, full.holes);
    EXPECT_EQ(quick.membersNotStored, full.membersNotStored);
    EXPECT_GT(quick.uncovered, 0);
}

}  // namespace
}  // namespace quillstep
