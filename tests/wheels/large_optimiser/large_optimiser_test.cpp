// CTest label: threads
// The optimiser without a covering relation: its index of stored combinations, its enumeration
// of the combinations a member covers and a move changes, the moves' bookkeeping against a
// recount, the constructions from parts, and whole searches against the optimiser with a
// relation, each result checked by a plain loop over numbers.

#include "wheels/large_optimiser/large_optimiser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "wheels/large_optimiser/combination_index.h"
#include "wheels/large_optimiser/coverage.h"
#include "wheels/large_optimiser/part_covering.h"
#include "wheels/large_optimiser/sample_pass.h"
#include "wheels/large_optimiser/strong_greedy.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep::large {
namespace {

// Numbers compared one by one, apart from the masks the optimiser works on.
int sharedNumbers(uint64_t a, uint64_t b) {
    int shared = 0;
    for (int v = 1; v < 64; ++v) shared += (a >> v & 1) && (b >> v & 1);
    return shared;
}

int64_t uncoveredByLoop(const std::vector<uint64_t>& targets, const std::vector<uint64_t>& system, int hits) {
    int64_t uncovered = 0;
    for (const uint64_t t : targets) {
        bool covered = false;
        for (const uint64_t m : system) covered = covered || sharedNumbers(t, m) >= hits;
        uncovered += !covered;
    }
    return uncovered;
}

std::vector<uint64_t> allCombinations(int totalNumbers) {
    std::vector<uint64_t> all;
    std::array<int, 7> n{1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        uint64_t mask = 0;
        for (const int v : n) mask |= uint64_t{1} << v;
        all.push_back(mask);
        int i = 6;
        while (i >= 0 && n[i] == totalNumbers - 6 + i) --i;
        if (i < 0) return all;
        ++n[i];
        for (int j = i + 1; j < 7; ++j) n[j] = n[j - 1] + 1;
    }
}

// About `share` of all combinations of 1..totalNumbers, drawn at random, in random order.
std::vector<uint64_t> randomStore(uint32_t seed, int totalNumbers, double share) {
    std::mt19937 random(seed);
    std::vector<uint64_t> store;
    for (const uint64_t mask : allCombinations(totalNumbers))
        if (std::uniform_real_distribution<double>(0, 1)(random) < share) store.push_back(mask);
    std::shuffle(store.begin(), store.end(), random);
    return store;
}

// The colex rank, summed number by number.
int64_t plainRank(uint64_t mask) {
    int64_t rank = 0;
    int k = 0;
    for (int v = 1; v < 64; ++v)
        if (mask >> v & 1) rank += binomialOrZero(v - 1, ++k);
    return rank;
}

TEST(LargeOptimiserIndex, RanksAndStoredIndicesAgreeWithAPlainSearch) {
    for (const int total : {9, 14, 17}) {
        const std::vector<uint64_t> all = allCombinations(total);
        const CombinationRanks ranks(total);
        for (const uint64_t mask : all) {
            ASSERT_EQ(ranks.rank(mask), plainRank(mask)) << total;
            ASSERT_EQ(ranks.unrank(ranks.rank(mask)), mask);
        }
        const std::vector<uint64_t> store = randomStore(static_cast<uint32_t>(total), total, 0.3);
        const StoredIndex index(store.data(), static_cast<int64_t>(store.size()), total);
        EXPECT_FALSE(index.isFullWheel());
        // The plain answer: a stored combination's index is the count of stored ones of lower rank.
        for (const uint64_t mask : all) {
            const bool stored = std::find(store.begin(), store.end(), mask) != store.end();
            int64_t lower = 0;
            for (const uint64_t s : store) lower += plainRank(s) < plainRank(mask);
            ASSERT_EQ(index.indexOf(mask), stored ? lower : -1);
            if (total == 17) break;  // the plain search is quadratic: one look at the largest
        }
        const StoredIndex full(all.data(), static_cast<int64_t>(all.size()), total);
        EXPECT_TRUE(full.isFullWheel());
        for (const uint64_t mask : all) ASSERT_EQ(full.indexOf(mask), plainRank(mask));
    }
    EXPECT_EQ(CombinationRanks(39).rank(CombinationRanks(39).unrank(15'380'936)), 15'380'936u);
}

// The combinations of 1..totalNumbers whose sum lies in [low, high] with three or four odd
// numbers, as the sum and odd/even filters store them.
std::vector<uint64_t> sumFilteredStore(int totalNumbers, int low, int high) {
    std::vector<uint64_t> store;
    for (const uint64_t mask : allCombinations(totalNumbers)) {
        int sum = 0, odd = 0;
        for (int v = 1; v <= totalNumbers; ++v)
            if (mask >> v & 1) {
                sum += v;
                odd += v % 2;
            }
        if (sum >= low && sum <= high && (odd == 3 || odd == 4)) store.push_back(mask);
    }
    return store;
}

TEST(LargeOptimiserIndex, EnumerationsMatchAPlainLoopOverTheStore) {
    const int total = 16;
    std::mt19937 random(9);
    for (const auto& [filtered, hits] :
         {std::pair{false, 4}, std::pair{false, 5}, std::pair{true, 4}, std::pair{true, 5}}) {
        const std::vector<uint64_t> store = filtered ? sumFilteredStore(total, 55, 64) : randomStore(5, total, 0.4);
        const StoredIndex index(store.data(), static_cast<int64_t>(store.size()), total);
        CoverEnumerator enumerator(index, hits);
        for (int trial = 0; trial < 20; ++trial) {
            const uint64_t member = store[random() % store.size()];
            std::multiset<uint64_t> visited;
            enumerator.forEachCovered(member, [&](uint64_t mask, int32_t i) {
                visited.insert(mask);
                EXPECT_EQ(index.indexOf(mask), i);
            });
            std::multiset<uint64_t> expected;
            for (const uint64_t s : store)
                if (sharedNumbers(s, member) >= hits) expected.insert(s);
            ASSERT_EQ(visited, expected);

            // A move: number a out, b in.
            std::vector<int> in, out;
            for (int v = 1; v <= total; ++v) (member >> v & 1 ? in : out).push_back(v);
            const int a = in[random() % in.size()];
            const int b = out[random() % out.size()];
            const uint64_t next = (member & ~(uint64_t{1} << a)) | uint64_t{1} << b;
            std::multiset<uint64_t> lost, gained;
            enumerator.forEachChange(member & ~(uint64_t{1} << a), a, b, [&](uint64_t m, int32_t) { lost.insert(m); },
                                     [&](uint64_t m, int32_t) { gained.insert(m); });
            std::multiset<uint64_t> expectLost, expectGained;
            for (const uint64_t s : store) {
                const bool before = sharedNumbers(s, member) >= hits;
                const bool after = sharedNumbers(s, next) >= hits;
                if (before && !after) expectLost.insert(s);
                if (after && !before) expectGained.insert(s);
            }
            ASSERT_EQ(lost, expectLost);
            ASSERT_EQ(gained, expectGained);
        }
    }
}

TEST(LargeOptimiserIndex, SwapCountsOfTheGreedysSampleMatchARecount) {
    const std::vector<uint64_t> sample = randomStore(3, 18, 0.05);
    std::mt19937 random(4);
    for (const int hits : {4, 5}) {
        for (int trial = 0; trial < 5; ++trial) {
            const uint64_t c = sample[random() % sample.size()];
            SwapCounts counts;
            countSwaps(sample.data(), sample.size(), c, hits, counts);
            int32_t covered = 0;
            for (const uint64_t s : sample) covered += sharedNumbers(s, c) >= hits;
            ASSERT_EQ(counts.covered, covered);
            ASSERT_EQ(coveredCount(sample.data(), sample.size(), c, hits), covered);
            int p = 0;
            for (int a = 1; a <= 18; ++a) {
                if (!(c >> a & 1)) continue;
                for (int b = 1; b <= 18; ++b) {
                    if (c >> b & 1) continue;
                    const uint64_t next = (c & ~(uint64_t{1} << a)) | uint64_t{1} << b;
                    int32_t after = 0;
                    for (const uint64_t s : sample) after += sharedNumbers(s, next) >= hits;
                    ASSERT_EQ(counts.change(p, b), after - covered) << "swap " << a << " for " << b;
                }
                ++p;
            }
        }
    }
}

TEST(LargeOptimiserParts, TheSteinerSystemHoldsEveryFourSubsetOnce) {
    const std::vector<uint32_t> blocks = steinerBlocks4723();
    ASSERT_EQ(blocks.size(), 253u);
    std::map<uint32_t, int> times;
    for (const uint32_t b : blocks) {
        ASSERT_EQ(std::popcount(b), 7);
        for (int i = 0; i < 23; ++i)
            for (int j = i + 1; j < 23; ++j)
                for (int k = j + 1; k < 23; ++k)
                    for (int l = k + 1; l < 23; ++l) {
                        const uint32_t s = (1u << i) | (1u << j) | (1u << k) | (1u << l);
                        if ((b & s) == s) ++times[s];
                    }
    }
    EXPECT_EQ(times.size(), 8855u);  // C(23, 4)
    for (const auto& [subset, count] : times) ASSERT_EQ(count, 1);
}

TEST(LargeOptimiserParts, CoveringsOfPartsAndTheFullWheelFromThemCoverEverything) {
    StopFlag stop;
    for (const int points : {7, 10, 12}) {
        const std::vector<uint32_t> blocks = coverFourSubsets(points, 0.3, 1, stop);
        for (uint32_t s = 0; s < (1u << points); ++s) {
            if (std::popcount(s) != 4) continue;
            bool held = false;
            for (const uint32_t b : blocks) held = held || (b & s) == s;
            ASSERT_TRUE(held) << points;
        }
    }
    const std::vector<uint64_t> system = fullWheelFromParts(20, 1.0, 3, stop);
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(uncoveredByLoop(allCombinations(20), system, 4), 0);
    EXPECT_LT(system.size(), 30u);  // the greedy search needs 36
    for (const uint64_t m : system) EXPECT_EQ(std::popcount(m), 7);
}

// A stop raised before the construction begins builds nothing: the first covering of a part is
// not built to the end first (under memory pressure that took minutes).
TEST(LargeOptimiserParts, AStopRaisedAtTheStartBuildsNothing) {
    StopFlag stop;
    stop.raise();
    for (const int points : {8, 12, 20, 31}) EXPECT_TRUE(coverFourSubsets(points, 3600, 1, stop).empty()) << points;
    EXPECT_TRUE(fullWheelFromParts(39, 3600, 1, stop).empty());
    // Parts that need no search are answered all the same.
    EXPECT_EQ(coverFourSubsets(7, 3600, 1, stop), std::vector<uint32_t>{0x7Fu});
    EXPECT_EQ(coverFourSubsets(23, 3600, 1, stop).size(), 253u);
}

// A stop raised while the parts are searched still gives the best system seen so far: a short
// time limit on a busy machine once came before the parts were joined, and the optimiser found
// nothing.
TEST(LargeOptimiserParts, AStopDuringTheConstructionKeepsTheBestSystemSoFar) {
    StopFlag stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        stop.raise();
    });
    const std::vector<uint64_t> system = fullWheelFromParts(20, 3600, 5, stop);
    stopper.join();
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(uncoveredByLoop(allCombinations(20), system, 4), 0);
}

CoverRequest requestFor(const std::vector<uint64_t>& store, int hits, int total, double seconds) {
    CoverRequest request;
    request.stored = store.data();
    request.storedCount = static_cast<int64_t>(store.size());
    request.hits = hits;
    request.pool = numbersUpTo(total);
    request.timeLimitSeconds = seconds;
    request.threads = 2;
    return request;
}

// On full wheels at four hits the covering model's descent makes the moves: its counts agree with
// a recount after every move, on every thread, from the parts' start and the greedy's.
TEST(LargeOptimiserMoves, TheFullWheelsDescentAgreesWithARecountAfterEveryMove) {
    const std::vector<uint64_t> wheel = allCombinations(14);
    // The parts' share of 20 s is 5 s; the budget ends each thread's descent well before the limit.
    CoverRequest request = requestFor(wheel, 4, 14, 20);
    request.moveBudget = 300;
    request.recountEveryMove = true;
    const Result result = optimiseLargeStore(request);
    EXPECT_FALSE(result.recountDisagreed);
    EXPECT_GT(result.moves, 0);
    ASSERT_FALSE(result.system.empty());
    EXPECT_EQ(uncoveredByLoop(wheel, result.system, 4), 0);
    for (const uint64_t m : result.system) EXPECT_EQ(std::popcount(m), 7);
}

TEST(LargeOptimiserSearch, ReachesCoveringSystemsAsTheOptimiserWithARelationDoes) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("both searches must reach a covering system within 1.5 s");
    for (const int hits : {4, 5}) {
        const std::vector<uint64_t> store = randomStore(20 + hits, 17, 0.25);  // about 6,200
        CoverRequest request = requestFor(store, hits, 17, 1.5);
        const Result result = optimiseLargeStore(request);
        ASSERT_TRUE(result.error.empty()) << result.error;
        ASSERT_FALSE(result.system.empty());
        EXPECT_EQ(uncoveredByLoop(store, result.system, hits), 0);
        for (const uint64_t m : result.system) EXPECT_NE(std::find(store.begin(), store.end(), m), store.end());

        CoverRequest relation;
        relation.stored = store.data();
        relation.storedCount = static_cast<int64_t>(store.size());
        relation.hits = hits;
        relation.pool = numbersUpTo(17);
        relation.timeLimitSeconds = 1.5;
        relation.threads = 2;
        const OptimiserResult today = optimiseSystem(relation);
        ASSERT_FALSE(today.system.empty());
        EXPECT_EQ(uncoveredByLoop(store, today.system, hits), 0);
        // Both are good searches: neither far above the other.
        EXPECT_LE(result.system.size(), today.system.size() * 5 / 4 + 1) << hits;
        EXPECT_LE(today.system.size(), result.system.size() * 5 / 4 + 1) << hits;
    }
}

TEST(LargeOptimiserSearch, MembersMayBeAnyCombinationWhenAsked) {
    const std::vector<uint64_t> store = randomStore(31, 16, 0.1);
    CoverRequest request = requestFor(store, 4, 16, 1.0);
    request.anyTicket = true;
    const Result result = optimiseLargeStore(request);
    ASSERT_FALSE(result.system.empty());
    EXPECT_EQ(uncoveredByLoop(store, result.system, 4), 0);
}

TEST(LargeOptimiserSearch, TheStopRequestAndTheTimeLimitEndTheSearch) {
    const std::vector<uint64_t> wheel = allCombinations(22);  // 170,544
    using Clock = std::chrono::steady_clock;
    {
        CoverRequest request = requestFor(wheel, 4, 22, 3600);
        int polls = 0;
        request.stopRequested = [&] { return ++polls > 50; };  // about a second
        std::vector<int32_t> sizes;
        request.onProgress = [&](const CoverProgress& p) { sizes.push_back(p.bestSize); };
        const auto begin = Clock::now();
        const Result result = optimiseLargeStore(request);
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - begin).count(), 30.0);
        EXPECT_TRUE(result.stopped);
        EXPECT_FALSE(result.timeLimitReached);
        EXPECT_FALSE(sizes.empty());
        if (!result.system.empty()) {
            EXPECT_EQ(uncoveredByLoop(wheel, result.system, 4), 0);
        }
    }
    {
        CoverRequest request = requestFor(wheel, 4, 22, 2.0);
        const Result result = optimiseLargeStore(request);
        EXPECT_TRUE(result.timeLimitReached);
        EXPECT_FALSE(result.stopped);
        EXPECT_GE(result.seconds, 2.0);
        EXPECT_LT(result.seconds, 10.0);
        ASSERT_FALSE(result.system.empty());
        EXPECT_EQ(uncoveredByLoop(wheel, result.system, 4), 0);
    }
}

TEST(LargeOptimiserSearch, BadRequestsAreRefusedWithAReason) {
    const std::vector<uint64_t> store = {0xFEull};  // 1..7
    CoverRequest request = requestFor(store, 3, 10, 1.0);
    EXPECT_EQ(optimiseLargeStore(request).error, "the guarantee must be 4 or 5 hits");
    request = requestFor(store, 4, 41, 1.0);
    EXPECT_EQ(optimiseLargeStore(request).error, "the count of numbers must be 7 to 40");
    const std::vector<uint64_t> bad = {0xFEull, 0x1FCull << 4};
    request = requestFor(bad, 4, 10, 1.0);
    EXPECT_EQ(optimiseLargeStore(request).error, "combination 2 does not hold seven numbers of 1..10");
    // What the one covering request may ask that this optimiser does not do.
    request = requestFor(store, 4, 10, 1.0);
    request.keys = 0x2;
    EXPECT_EQ(optimiseLargeStore(request).error, "the targets must be stored combinations");
    request = requestFor(store, 4, 10, 1.0);
    request.fixedTickets = store;
    EXPECT_EQ(optimiseLargeStore(request).error, "fixed tickets are the completion's");
    request = requestFor(store, 4, 10, 1.0);
    request.pool &= ~uint64_t{0x8};
    EXPECT_EQ(optimiseLargeStore(request).error, "the pool must be the numbers 1..N");
}

TEST(LargeOptimiserSearch, TakesOverWhereTheRelationWouldNotFit) {
    EXPECT_TRUE(prefersLargeOptimiser(77'520, 4, 20));      // full wheel of 20
    EXPECT_TRUE(prefersLargeOptimiser(613'777, 4, 39));     // mode 8
    EXPECT_TRUE(prefersLargeOptimiser(15'380'937, 4, 39));  // full wheel of 39
    EXPECT_FALSE(prefersLargeOptimiser(99'427, 4, 39));     // mode 9: the relation fits
    EXPECT_FALSE(prefersLargeOptimiser(11'440, 4, 16));     // full wheel of 16
    EXPECT_FALSE(prefersLargeOptimiser(31'824, 5, 18));     // full wheel of 18
    EXPECT_TRUE(prefersLargeOptimiser(77'520, 5, 20));      // full wheel of 20 at five hits
    EXPECT_FALSE(prefersLargeOptimiser(613'777, 5, 39));    // mode 8 at five hits: the relation fits
    EXPECT_FALSE(prefersLargeOptimiser(50'388, 5, 19));     // full wheel of 19 at five hits
}

}  // namespace
}  // namespace quillstep::large
