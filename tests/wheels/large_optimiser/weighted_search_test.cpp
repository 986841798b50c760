// The weighted local search of the optimiser without a relation: its cover counts and the
// members' loss tables against a recount after every move, and the systems it keeps, checked by
// a plain loop over numbers.

#include "wheels/large_optimiser/weighted_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "wheels/large_optimiser/strong_greedy.h"

namespace quillstep::large {
namespace {

bool coveredByLoop(uint64_t target, const std::vector<uint64_t>& system, int hits) {
    for (const uint64_t m : system) {
        int shared = 0;
        for (int v = 1; v < 64; ++v) shared += (target >> v & 1) && (m >> v & 1);
        if (shared >= hits) return true;
    }
    return false;
}

// Every seven of 1..totalNumbers with probability `share`, in random order; with `sumBelow` only
// those whose numbers add up to less.
std::vector<uint64_t> randomStore(uint32_t seed, int totalNumbers, double share, int sumBelow = 1000) {
    std::mt19937 random(seed);
    std::vector<uint64_t> store;
    for (uint64_t bits = 0; bits < (uint64_t{1} << totalNumbers); ++bits) {
        int sum = 0;
        for (int v = 0; v < totalNumbers; ++v) sum += (bits >> v & 1) ? v + 1 : 0;
        if (std::popcount(bits) == 7 && sum < sumBelow && std::uniform_real_distribution<double>(0, 1)(random) < share)
            store.push_back(bits << 1);
    }
    std::shuffle(store.begin(), store.end(), random);
    return store;
}

struct Case {
    int hits;
    int totalNumbers;
    double share;
    bool anyCombination;
    int sumBelow = 1000;
};

TEST(LargeOptimiserWeightedSearch, EveryMoveAgreesWithARecountAndEveryKeptSystemCovers) {
    constexpr std::array<Case, 5> CASES{
        {{4, 15, 0.5, false}, {5, 14, 0.6, false}, {4, 16, 0.1, true}, {4, 13, 1.0, false}, {4, 17, 1.0, false, 60}}};
    int improved = 0;
    for (const Case& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.hits << " hits, " << c.totalNumbers << " numbers, share " << c.share
                                        << ", sums below " << c.sumBelow);
        const std::vector<uint64_t> store =
            randomStore(7 + c.hits + c.totalNumbers, c.totalNumbers, c.share, c.sumBelow);
        const int64_t count = static_cast<int64_t>(store.size());
        const StoredIndex index(store.data(), count, c.totalNumbers);
        Coverage coverage(index, c.hits);
        std::vector<uint64_t> members;
        Random random{5};
        StopFlag stop;
        GreedySettings greedy;
        greedy.climbs = 2;  // a weak start, so that the search has systems to find
        greedy.anyCombination = c.anyCombination;
        ASSERT_TRUE(completeGreedily(coverage, store.data(), count, members, greedy, random, stop));
        WeightedSearchSettings settings;
        settings.anyCombination = c.anyCombination;
        settings.moveBudget = 300;
        settings.recountEveryMove = true;
        std::vector<std::vector<uint64_t>> kept;
        const WeightedSearchOutcome outcome =
            searchWeighted(coverage, store.data(), count, members, settings, random, stop,
                           [&](const std::vector<uint64_t>& system) { kept.push_back(system); });
        EXPECT_FALSE(outcome.mismatch);
        EXPECT_EQ(outcome.moves, 300);
        ASSERT_FALSE(kept.empty());
        EXPECT_LE(kept.back().size(), members.size());
        improved += kept.back().size() < members.size();
        for (size_t k = 1; k < kept.size(); ++k) EXPECT_LT(kept[k].size(), kept[k - 1].size());
        EXPECT_EQ(outcome.best, kept.back());
        for (const auto& system : kept) {
            for (const uint64_t target : store) ASSERT_TRUE(coveredByLoop(target, system, c.hits));
            for (const uint64_t m : system) {
                EXPECT_EQ(std::popcount(m), 7);
                EXPECT_EQ(m & ~(((uint64_t{2} << c.totalNumbers) - 1) & ~uint64_t{1}), 0u);
                if (!c.anyCombination) {
                    EXPECT_TRUE(index.isStored(m));
                }
            }
            std::vector<uint64_t> sorted = system;
            std::sort(sorted.begin(), sorted.end());
            EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a member twice";
        }
    }
    // The weak greedy systems of the larger stores are improved; the others may be the least.
    EXPECT_GE(improved, 2);
}

TEST(LargeOptimiserWeightedSearch, EndsWhereItStallsAndOnTheStopRequest) {
    const std::vector<uint64_t> store = randomStore(3, 16, 0.3);
    const int64_t count = static_cast<int64_t>(store.size());
    const StoredIndex index(store.data(), count, 16);
    Coverage coverage(index, 4);
    std::vector<uint64_t> members;
    Random random{9};
    StopFlag stop;
    ASSERT_TRUE(completeGreedily(coverage, store.data(), count, members, GreedySettings{}, random, stop));
    stop.raise();
    const WeightedSearchOutcome stopped =
        searchWeighted(coverage, store.data(), count, members, WeightedSearchSettings{}, random, stop, nullptr);
    EXPECT_FALSE(stopped.stalled);
    EXPECT_EQ(stopped.moves, 0);
    EXPECT_EQ(stopped.best, members);
    stop.store(false);
    WeightedSearchSettings settings;
    settings.stallMoves = 50;
    const WeightedSearchOutcome stalled =
        searchWeighted(coverage, store.data(), count, members, settings, random, stop, nullptr);
    EXPECT_TRUE(stalled.stalled);
    EXPECT_GT(stalled.moves, 50);
    EXPECT_LE(stalled.best.size(), members.size());
}

}  // namespace
}  // namespace quillstep::large
