#include "wheels/greedy/capacity_proof.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "windows/control_ids.h"
#include "engine/shared_state.h"
#include "platform/headless/headless_platform.h"
#include "app/abbreviated_system_buttons.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/plain_greedy.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

uint64_t randomCombination(std::mt19937& random, int lowest, int highest) {
    uint64_t mask = 0;
    while (std::popcount(mask) < 7) mask |= uint64_t{1} << (lowest + random() % (highest - lowest + 1));
    return mask;
}

// Lexicographic order of the numbers: the lower of two masks holds the lowest differing number.
bool lexicographicallyBefore(uint64_t a, uint64_t b) { return a != b && ((a ^ b) & -(a ^ b) & a); }

// `count` distinct random combinations of lowest..highest, in lexicographic order when `sorted`.
std::vector<uint64_t> randomMasks(std::mt19937& random, size_t count, int lowest, int highest, bool sorted) {
    std::vector<uint64_t> masks;
    while (masks.size() < count) {
        const uint64_t mask = randomCombination(random, lowest, highest);
        if (std::find(masks.begin(), masks.end(), mask) == masks.end()) masks.push_back(mask);
    }
    if (sorted) std::sort(masks.begin(), masks.end(), lexicographicallyBefore);
    return masks;
}

int32_t bruteCoveredCount(const std::vector<uint64_t>& masks, uint64_t x, int hits) {
    return static_cast<int32_t>(std::count_if(masks.begin(), masks.end(), [&](uint64_t m) { return std::popcount(m & x) >= hits; }));
}

// The size of the pass of every starting number, each ended at `capacity`.
std::vector<int32_t> passSizes(const std::vector<uint64_t>& masks, int hits, int32_t capacity) {
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    std::vector<int32_t> sizes;
    GreedyPassRequest request;
    request.masks = masks.data();
    request.count = static_cast<int32_t>(masks.size());
    request.guaranteedHits = hits;
    request.stopSize = capacity;
    request.systemMasks = system.data();
    for (request.startIndex = 0; request.startIndex < request.count; ++request.startIndex)
        sizes.push_back(runGreedyPass(PassKernel::Portable, request));
    return sizes;
}

// `pairs` pairs of combinations sharing six numbers, any two combinations of different pairs
// sharing at most four, in store order: every pass with five hits adds one combination of each
// pair.
std::vector<uint64_t> g5Pairs(size_t pairs) {
    std::mt19937 random(11);
    std::vector<uint64_t> masks;
    while (masks.size() < 2 * pairs) {
        const uint64_t first = randomCombination(random, 1, 39);
        uint64_t dropped = first;
        for (unsigned skip = random() % 7; skip > 0; --skip) dropped &= dropped - 1;
        const uint64_t added = uint64_t{1} << (1 + random() % 39);
        if (added & first) continue;
        const uint64_t second = (first & ~(dropped & -dropped)) | added;
        const auto close = [&](uint64_t m) { return std::popcount(m & first) > 4 || std::popcount(m & second) > 4; };
        if (std::any_of(masks.begin(), masks.end(), close)) continue;
        masks.push_back(first);
        masks.push_back(second);
    }
    std::sort(masks.begin(), masks.end(), lexicographicallyBefore);
    return masks;
}

TEST(WheelsCapacityBound, CoveredCountsAreExactOnRandomStores) {
    std::mt19937 random(3);
    for (int round = 0; round < 12; ++round) {
        // Numbers from 1, or from higher up (ranks differ from numbers), in and out of order.
        const int lowest = round % 3 == 0 ? 1 : 1 + round;
        const int highest = lowest + 8 + static_cast<int>(random() % 20);
        const std::vector<uint64_t> masks = randomMasks(random, 50 + random() % 400, lowest, highest, round % 4 != 3);
        for (int hits : {1, 3, 4, 5, 6, 7}) {
            const std::vector<int32_t> counts = coveredCounts(masks, hits);
            ASSERT_EQ(counts.size(), masks.size());
            for (size_t x = 0; x < masks.size(); ++x)
                ASSERT_EQ(counts[x], bruteCoveredCount(masks, masks[x], hits)) << "round " << round << " G" << hits;
        }
    }
}

TEST(WheelsCapacityBound, StoresItCannotCountAreNeverDecided) {
    std::mt19937 random(4);
    std::vector<uint64_t> masks = randomMasks(random, 30, 1, 9, true);
    masks.push_back(masks.front());  // a combination stored twice
    EXPECT_TRUE(coveredCounts(masks, 5).empty());
    EXPECT_FALSE(everyPassReachesCapacity(masks, 7, 2));
    std::vector<uint64_t> sixNumbers{0b1111110, 0b11111110};
    EXPECT_TRUE(coveredCounts(sixNumbers, 4).empty());
    EXPECT_FALSE(everyPassReachesCapacity(sixNumbers, 7, 1));
}

TEST(WheelsCapacityBound, WhenItFiresEveryPassReachesTheCapacity) {
    std::mt19937 random(8);
    int fired = 0, notFired = 0;
    for (int round = 0; round < 40; ++round) {
        const int highest = 12 + static_cast<int>(random() % 16);
        const std::vector<uint64_t> masks = randomMasks(random, 60 + random() % 200, 1, highest, true);
        for (int hits : {4, 5, 6}) {
            for (int32_t capacity : {2, 3, 5, 8, 13, 21, 34}) {
                const std::vector<int32_t> sizes = passSizes(masks, hits, capacity);
                const bool everyPassFull = std::all_of(sizes.begin(), sizes.end(), [&](int32_t s) { return s == capacity; });
                if (everyPassReachesCapacity(masks, hits, capacity)) {
                    ++fired;
                    ASSERT_TRUE(everyPassFull) << "round " << round << " G" << hits << " capacity " << capacity;
                } else {
                    ++notFired;
                }
            }
        }
    }
    EXPECT_GT(fired, 20);  // both outcomes are exercised
    EXPECT_GT(notFired, 20);
}

// Pairs of mutually covering combinations: the 999 largest covered counts sum to 1998, so 999
// pairs (1998 stored) are just inside the edge and 1000 pairs (2000 stored) just outside it.
TEST(WheelsCapacityBound, BothSidesOfTheEdgeAgreeWithTheFullSearch) {
    const std::vector<uint64_t> allPairs = g5Pairs(1000);
    for (size_t pairs : {size_t{999}, size_t{1000}}) {
        SCOPED_TRACE(pairs);
        const std::vector<uint64_t> masks = pairs == 1000 ? allPairs : g5Pairs(pairs);
        const bool outside = pairs == 1000;
        EXPECT_EQ(everyPassReachesCapacity(masks, 5, ABBREVIATED_SYSTEM_CAPACITY), outside);

        StartSearchOptions shortcut;
        StartSearchOptions passes;
        passes.answerProvenCapacityAtOnce = false;
        std::vector<int32_t> progress;
        shortcut.onProgress = [&](int32_t begun) { progress.push_back(begun); };
        const BestStart quick = findBestStart(masks, 5, shortcut);
        const BestStart full = findBestStart(masks, 5, passes);
        EXPECT_EQ(full.bestStart, 1);
        EXPECT_EQ(full.bestSize, outside ? 1000 : 999);
        EXPECT_EQ(quick.bestStart, full.bestStart);
        EXPECT_EQ(quick.bestSize, full.bestSize);
        EXPECT_EQ(quick.startsChecked, full.startsChecked);
        EXPECT_FALSE(quick.stopped);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), static_cast<int32_t>(masks.size()));
    }
}

// The command on 1000 pairs: the texts of a search through every starting combination.
TEST(WheelsCapacityBound, TheCommandShowsWhatTheFullSearchShows) {
    const std::vector<uint64_t> masks = g5Pairs(1000);
    auto state = createSharedState();
    for (size_t j = 0; j < masks.size(); ++j) {
        int32_t* row = state->combinationStore.get() + 7 * j + 1;
        for (uint64_t rest = masks[j]; rest != 0; rest &= rest - 1) *row++ = std::countr_zero(rest);
    }
    state->generatedCount = static_cast<int32_t>(masks.size());
    state->outputFolder = freshTestFolder("quillstep-capacity-bound-");
    HeadlessPlatform platform;
    const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 5);

    std::vector<std::string> labels;
    for (const auto& [id, text] : platform.textHistory)
        if (id == COUNT_LABEL) labels.push_back(text);
    std::vector<std::string> expected;
    for (int start = 50; start <= 2000; start += 50) expected.push_back(" 2000 checked systems: " + std::to_string(start));
    expected.push_back(" 2000");
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{
                                     "Best starting combination number: 1, abbreviated system: 1000",
                                     "We found for now  1000 combinations/5 of any 7 under given conditions",
                                     "Not usefull! Try something else"}));
    EXPECT_EQ(outcome.startsChecked, 2000);
    EXPECT_EQ(outcome.systemSize, 1000);
    EXPECT_TRUE(std::filesystem::is_empty(state->outputFolder));
    std::filesystem::remove_all(state->outputFolder);
}

}  // namespace
}  // namespace quillstep
