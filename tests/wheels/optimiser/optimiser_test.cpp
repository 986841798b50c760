// CTest label: threads
#include "wheels/optimiser/optimiser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "wheels/optimiser/optimiser_coverage_check.h"
#include "wheels/optimiser/cover_greedy.h"
#include "wheels/optimiser/cover_relation.h"
#include "wheels/optimiser/index_list.h"
#include "wheels/greedy/best_start_search.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

using Numbers = std::array<int, 7>;

Numbers numbersOf(uint64_t mask) {
    Numbers numbers{};
    int i = 0;
    for (int v = 1; v < 64 && i < 7; ++v)
        if (mask >> v & 1) numbers[i++] = v;
    return numbers;
}

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (const int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

// The check of the result, written apart from the optimiser: numbers compared one by one.
int sharedNumbers(const Numbers& a, const Numbers& b) {
    int shared = 0;
    for (const int x : a)
        for (const int y : b) shared += x == y;
    return shared;
}

int32_t uncoveredTargets(const std::vector<uint64_t>& targets, const std::vector<uint64_t>& system, int hits) {
    std::vector<Numbers> members;
    for (const uint64_t m : system) members.push_back(numbersOf(m));
    int32_t uncovered = 0;
    for (const uint64_t t : targets) {
        const Numbers target = numbersOf(t);
        bool covered = false;
        for (const Numbers& member : members) covered = covered || sharedNumbers(target, member) >= hits;
        uncovered += !covered;
    }
    return uncovered;
}

CoverRequest requestFor(const std::vector<uint64_t>& targets, int hits) {
    CoverRequest request;
    request.stored = targets.data();
    request.storedCount = static_cast<int64_t>(targets.size());
    request.hits = hits;
    request.timeLimitSeconds = 10;  // far from reached: the step budget ends the search
    request.moveBudget = 3000;
    request.threads = 2;
    return request;
}

TEST(WheelsOptimiser, CoversEveryTargetWithStoredMembersOnRandomStores) {
    for (const int hits : {4, 5})
        for (const uint32_t seed : {1u, 2u, 3u}) {
            const auto targets = randomDistinctCombinations(seed, 16 + 4 * seed, 200 + 300 * seed);
            auto request = requestFor(targets, hits);
            request.seed = seed;
            const OptimiserResult result = optimiseSystem(request);
            SCOPED_TRACE(::testing::Message() << "hits " << hits << ", store " << seed);
            EXPECT_TRUE(result.error.empty()) << result.error;
            ASSERT_FALSE(result.system.empty());
            EXPECT_EQ(uncoveredTargets(targets, result.system, hits), 0);
            const std::set<uint64_t> stored(targets.begin(), targets.end());
            const std::set<uint64_t> distinct(result.system.begin(), result.system.end());
            EXPECT_EQ(distinct.size(), result.system.size());
            for (const uint64_t member : result.system) EXPECT_TRUE(stored.count(member)) << "not stored";
            // Never worse than the greedy search's store-order pass from the first combination.
            EXPECT_LE(result.system.size(), greedySystemMembers(targets, 1, hits).size());
        }
}

TEST(WheelsOptimiser, AnyCombinationMembersCoverEveryTargetAndStayWithinTheNumbers) {
    for (const int hits : {4, 5})
        for (const uint32_t seed : {4u, 5u}) {
            const int totalNumbers = 14 + 5 * static_cast<int>(seed - 4);
            const auto targets = randomDistinctCombinations(seed, totalNumbers, 400);
            auto request = requestFor(targets, hits);
            request.anyTicket = true;
            request.pool = numbersUpTo(totalNumbers);
            const OptimiserResult result = optimiseSystem(request);
            SCOPED_TRACE(::testing::Message() << "hits " << hits << ", numbers " << totalNumbers);
            ASSERT_FALSE(result.system.empty()) << result.error;
            EXPECT_EQ(uncoveredTargets(targets, result.system, hits), 0);
            for (const uint64_t member : result.system) {
                EXPECT_EQ(std::popcount(member), 7);
                EXPECT_EQ(member & ~((uint64_t{2} << totalNumbers) - 2), 0u) << "a number outside 1.." << totalNumbers;
            }
        }
}

TEST(WheelsOptimiser, AnyCombinationMayUseNumbersNoStoredCombinationHolds) {
    // Stored combinations of 1..12 only, members from 1..39: numbers 13 to 39 are free to use.
    const auto targets = randomDistinctCombinations(6, 12, 300);
    auto request = requestFor(targets, 5);
    request.anyTicket = true;
    request.pool = numbersUpTo(39);
    request.startTickets = {maskOf({33, 34, 35, 36, 37, 38, 39})};  // covers nothing: ignored
    const OptimiserResult result = optimiseSystem(request);
    ASSERT_FALSE(result.system.empty()) << result.error;
    EXPECT_EQ(uncoveredTargets(targets, result.system, 5), 0);
}

TEST(WheelsOptimiser, AMemberOutsideTheStoreCanBeatEveryStoredOne) {
    // The two stored combinations share only 1, 2, 3: no stored one covers both at four hits,
    // while 1..7 shares five numbers with each.
    const std::vector<uint64_t> targets = {maskOf({1, 2, 3, 4, 5, 8, 9}), maskOf({1, 2, 3, 6, 7, 10, 11})};
    const uint64_t outside = maskOf({1, 2, 3, 4, 5, 6, 7});
    auto request = requestFor(targets, 4);
    EXPECT_EQ(optimiseSystem(request).system.size(), 2u);

    request.startTickets = {outside};
    EXPECT_EQ(optimiseSystem(request).system, std::vector<uint64_t>{outside}) << "the given system is smaller";

    request.startTickets.clear();
    request.anyTicket = true;
    request.pool = numbersUpTo(11);
    const OptimiserResult result = optimiseSystem(request);
    ASSERT_EQ(result.system.size(), 1u);
    EXPECT_EQ(uncoveredTargets(targets, result.system, 4), 0);
}

TEST(WheelsOptimiser, NeverLargerThanTheGivenSystemAndANonCoveringOneIsIgnored) {
    const auto targets = randomDistinctCombinations(9, 20, 800);
    auto request = requestFor(targets, 5);
    request.moveBudget = 20000;
    const auto good = optimiseSystem(request).system;
    ASSERT_FALSE(good.empty());

    request.moveBudget = 1;
    request.seed = 77;
    request.startTickets = good;
    const auto again = optimiseSystem(request).system;
    EXPECT_LE(again.size(), good.size());
    EXPECT_EQ(uncoveredTargets(targets, again, 5), 0);

    // One member short of covering: the optimiser must find its own covering system.
    request.startTickets = {good.begin(), good.end() - 1};
    const auto own = optimiseSystem(request).system;
    EXPECT_EQ(uncoveredTargets(targets, own, 5), 0);
}

TEST(WheelsOptimiser, TheSameSeedAndBudgetGiveTheSameSystem) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("a step budget that must end before the time limit");
    const auto targets = randomDistinctCombinations(11, 22, 1000);
    for (const int hits : {4, 5}) {
        auto request = requestFor(targets, hits);
        request.seed = 5;
        const OptimiserResult first = optimiseSystem(request);
        const OptimiserResult second = optimiseSystem(request);
        EXPECT_FALSE(first.timeLimitReached);
        EXPECT_EQ(first.system, second.system);
        EXPECT_EQ(first.steps, 2 * request.moveBudget);
        request.anyTicket = true;
        request.pool = numbersUpTo(22);
        EXPECT_EQ(optimiseSystem(request).system, optimiseSystem(request).system);
    }
}

TEST(WheelsOptimiser, StopRequestAndTimeLimitEndTheSearchOnTime) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("a stop on time");
    const auto targets = storeOfMode(12);  // 10,276 stored combinations
    const auto callerThread = std::this_thread::get_id();
    bool otherThreadCalled = false;
    int progressReports = 0;

    auto request = requestFor(targets, 5);
    request.moveBudget = 0;
    request.timeLimitSeconds = 60;
    const auto begin = std::chrono::steady_clock::now();
    request.stopRequested = [&] {
        otherThreadCalled = otherThreadCalled || std::this_thread::get_id() != callerThread;
        return std::chrono::steady_clock::now() - begin > std::chrono::milliseconds(1500);
    };
    request.onProgress = [&](const CoverProgress& progress) {
        otherThreadCalled = otherThreadCalled || std::this_thread::get_id() != callerThread;
        EXPECT_GE(progress.remainingSeconds, 0.0);
        ++progressReports;
    };
    const OptimiserResult stopped = optimiseSystem(request);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.timeLimitReached);
    EXPECT_LT(stopped.seconds, 1.5 + 0.3);
    EXPECT_GE(progressReports, 2);
    EXPECT_FALSE(otherThreadCalled);
    EXPECT_EQ(uncoveredTargets(targets, stopped.system, 5), 0) << "the best system so far";
    EXPECT_LT(stopped.system.size(), 152u * 7 / 10) << "at least 30% below the greedy search's 152";

    request.stopRequested = nullptr;
    request.onProgress = nullptr;
    request.timeLimitSeconds = 1.0;
    request.startTickets = targets;  // covers: the result is never empty, however slow the machine
    const OptimiserResult timed = optimiseSystem(request);
    EXPECT_TRUE(timed.timeLimitReached);
    EXPECT_FALSE(timed.stopped);
    EXPECT_LT(timed.seconds, 1.0 + 0.2);
    EXPECT_EQ(uncoveredTargets(targets, timed.system, 5), 0);
}

TEST(WheelsOptimiser, NothingToCoverAndUnusableRequests) {
    const std::vector<uint64_t> none;
    const OptimiserResult empty = optimiseSystem(requestFor(none, 4));
    EXPECT_TRUE(empty.system.empty());
    EXPECT_TRUE(empty.error.empty());

    const std::vector<uint64_t> targets = {maskOf({1, 2, 3, 4, 5, 6, 7})};
    EXPECT_FALSE(optimiseSystem(requestFor(targets, 3)).error.empty());
    const std::vector<uint64_t> sixNumbers = {maskOf({1, 2, 3, 4, 5, 6})};
    const OptimiserResult bad = optimiseSystem(requestFor(sixNumbers, 4));
    EXPECT_FALSE(bad.error.empty());
    EXPECT_TRUE(bad.system.empty());
    auto request = requestFor(targets, 4);
    request.anyTicket = true;
    request.pool = numbersUpTo(6);
    EXPECT_FALSE(optimiseSystem(request).error.empty()) << "1..6 holds no seven numbers";
    // What the one covering request may ask that this optimiser leaves to the others.
    request = requestFor(targets, 4);
    request.drawn = 5;
    EXPECT_EQ(optimiseSystem(request).error, "the targets must be stored combinations");
    request = requestFor(targets, 4);
    request.fixedTickets = targets;
    EXPECT_EQ(optimiseSystem(request).error, "fixed tickets are the completion's");

    const OptimiserResult one = optimiseSystem(requestFor(targets, 5));
    EXPECT_EQ(one.system, targets);
}

TEST(WheelsOptimiserParts, CoverCheckFindsTheOneUncoveredTarget) {
    const auto targets = randomDistinctCombinations(21, 18, 300);
    std::vector<uint64_t> system;
    for (const int32_t i : greedySystemMembers(targets, 1, 4)) system.push_back(targets[i]);
    ASSERT_EQ(uncoveredTargets(targets, system, 4), 0);
    EXPECT_TRUE(systemCoversAll(targets.data(), static_cast<int32_t>(targets.size()), system, 4, 2));
    // A target far from every member: it shares at most three numbers with each.
    std::vector<uint64_t> more = targets;
    for (uint64_t candidate : randomDistinctCombinations(22, 18, 3000)) {
        if (uncoveredTargets({candidate}, system, 4) == 1) {
            more.push_back(candidate);
            break;
        }
    }
    ASSERT_EQ(more.size(), targets.size() + 1);
    EXPECT_FALSE(systemCoversAll(more.data(), static_cast<int32_t>(more.size()), system, 4, 2));
}

TEST(WheelsOptimiserParts, StoreOrderSystemIsTheGreedySearchPassFromTheFirstCombination) {
    const StopFlag noStop;
    for (const int hits : {4, 5}) {
        const auto targets = randomDistinctCombinations(31 + hits, 17, 1200);
        std::vector<uint64_t> pass;
        for (const int32_t i : greedySystemMembers(targets, 1, hits)) pass.push_back(targets[i]);
        EXPECT_EQ(storeOrderSystem(targets.data(), static_cast<int32_t>(targets.size()), hits, noStop), pass);
    }
}

// The max-coverage greedy done plainly: every gain counted afresh in every round.
std::vector<int32_t> plainMaxCoverage(const std::vector<uint64_t>& targets, int hits) {
    const size_t n = targets.size();
    const auto covers = [&](size_t c, size_t x) { return sharedNumbers(numbersOf(targets[c]), numbersOf(targets[x])) >= hits; };
    std::vector<bool> covered(n, false);
    std::vector<int32_t> members;
    for (;;) {
        size_t best = 0, bestGain = 0;
        for (size_t c = 0; c < n; ++c) {
            size_t gain = 0;
            for (size_t x = 0; x < n; ++x) gain += !covered[x] && covers(c, x);
            if (gain > bestGain) best = c, bestGain = gain;
        }
        if (bestGain == 0) break;
        members.push_back(static_cast<int32_t>(best));
        for (size_t x = 0; x < n; ++x) covered[x] = covered[x] || covers(best, x);
    }
    for (size_t i = members.size(); i-- > 0;) {  // redundant members out, the latest first
        bool redundant = true;
        for (size_t x = 0; x < n && redundant; ++x) {
            if (!covers(members[i], x)) continue;
            bool other = false;
            for (size_t j = 0; j < members.size(); ++j) other = other || (j != i && covers(members[j], x));
            redundant = other;
        }
        if (redundant) members.erase(members.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return members;
}

TEST(WheelsOptimiserParts, MaxCoverageGreedyAgreesWithThePlainOne) {
    const StopFlag noStop;
    for (const int hits : {4, 5}) {
        const auto targets = randomDistinctCombinations(40 + hits, 15, 250);
        const int32_t count = static_cast<int32_t>(targets.size());
        const SubsetIndex index = buildSubsetIndex(targets.data(), count, hits);
        CoverRelation relation;
        relation.targetCount = relation.candidateCount = count;
        relation.covers.begins.resize(count);
        relation.covers.ends.resize(count);
        relation.covers.sizes.resize(count);
        std::atomic<int64_t> units{0};
        ASSERT_EQ(fillCovers({targets.data(), targets.data(), index}, 0, count, relation, relation.covers.chunks, units,
                             int64_t{1} << 40, noStop),
                  RelationBuilt::Complete);
        EXPECT_EQ(maxCoverageSystem(relation, noStop), plainMaxCoverage(targets, hits)) << "hits " << hits;
    }
}

TEST(WheelsOptimiserParts, GapListsReadBackLargeGaps) {
    const std::vector<int32_t> values = {0, 1, 65535, 65536 + 65535, 65536 + 65535 + 65536, 1'000'000, 1'000'001};
    std::vector<uint16_t> units(3 * values.size());
    uint16_t* out = units.data();
    int32_t previous = -1;
    for (const int32_t v : values) {
        out = writeGap(out, v - previous);
        previous = v;
    }
    std::vector<int32_t> read;
    for (const int32_t v : IndexList(units.data(), out)) read.push_back(v);
    EXPECT_EQ(read, values);
    EXPECT_EQ(IndexList(units.data(), out).count(), static_cast<int64_t>(values.size()));
}

}  // namespace
}  // namespace quillstep
