// The covering model's counting against plain loops: target numbers, cover counts, the effect of a
// move, the targets a ticket alone covers; on every m-subset of small pools and on stored targets.
#include <gtest/gtest.h>

#include <bit>
#include <set>

#include "wheels/cover/cover_state.h"
#include "wheels/cover/plain_cover.h"

namespace quillstep::cover {
namespace {

// How many tickets share at least t elements with `target`.
int plainCount(const std::vector<uint64_t>& tickets, uint64_t target, int hits) {
    int count = 0;
    for (const uint64_t ticket : tickets) count += std::popcount(ticket & target) >= hits;
    return count;
}

TEST(CoverTargets, EverySubsetHasItsOwnNumberAndComesBack) {
    for (const auto& [elements, size] : std::vector<std::pair<int, int>>{{8, 2}, {12, 4}, {15, 7}, {18, 3}}) {
        const TargetIndex index = TargetIndex::allSubsets(elements, size);
        const std::vector<uint64_t> sets = plainSubsets(elements, size);
        ASSERT_EQ(index.count(), static_cast<int64_t>(sets.size()));
        std::set<int64_t> seen;
        for (const uint64_t set : sets) {
            const int64_t id = index.idOf(set);
            ASSERT_GE(id, 0);
            ASSERT_LT(id, index.count());
            EXPECT_EQ(index.setOf(id), set);
            seen.insert(id);
        }
        EXPECT_EQ(static_cast<int64_t>(seen.size()), index.count()) << elements << " " << size;
    }
}

TEST(CoverTargets, RanksReachHighElements) {
    // Elements of the fifth byte (a pool of 39 numbers), where the byte tables take over.
    const TargetIndex index = TargetIndex::allSubsets(39, 4);
    Random random{11};
    for (int trial = 0; trial < 2000; ++trial) {
        const uint64_t set = randomSet(random, 39, 4);
        EXPECT_EQ(index.setOf(index.idOf(set)), set);
    }
    EXPECT_EQ(index.idOf(uint64_t{0xF} << 35), index.count() - 1);
}

TEST(CoverTargets, StoredSetsAreFoundAndOthersAreNot) {
    Random random{3};
    std::set<uint64_t> distinct;
    while (distinct.size() < 300) distinct.insert(randomSet(random, 20, 5));
    const std::vector<uint64_t> stored(distinct.begin(), distinct.end());
    const TargetIndex index = TargetIndex::storedSets(stored, 5);
    for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(index.idOf(stored[i]), static_cast<int64_t>(i));
    for (const uint64_t set : plainSubsets(20, 5)) {
        if (!distinct.count(set)) {
            ASSERT_EQ(index.idOf(set), -1);
        }
    }
    EXPECT_THROW(TargetIndex::storedSets({3, 3}, 2), std::invalid_argument);
}

struct Case {
    int elements, ticketSize, hits, targetSize;
    bool stored;
};

// The model of a case, before its targets are chosen.
CoverModel modelOf(const Case& c) {
    CoverModel model;
    model.elements = c.elements;
    model.ticketSize = c.ticketSize;
    model.hits = c.hits;
    model.targetSize = c.targetSize;
    return model;
}

class CoverStateCounts : public testing::TestWithParam<Case> {};

TEST_P(CoverStateCounts, MatchPlainLoopsThroughMoves) {
    const Case c = GetParam();
    Random random{static_cast<uint64_t>(c.elements * 100 + c.hits * 10 + c.targetSize)};
    CoverModel model = modelOf(c);
    std::vector<uint64_t> targets = plainSubsets(c.elements, c.targetSize);
    if (c.stored) {
        // Every third subset, in a shuffled order.
        std::vector<uint64_t> some;
        for (size_t i = 0; i < targets.size(); i += 3) some.push_back(targets[i]);
        for (size_t i = some.size(); i > 1; --i) std::swap(some[i - 1], some[random.below(i)]);
        targets = some;
        model.storedTargets = targets;
    }
    model.fixedTickets = {randomSet(random, c.elements, c.ticketSize)};
    ASSERT_TRUE(isSearchable(model));
    const TargetIndex targetIndex = c.stored ? TargetIndex::storedSets(targets, c.targetSize)
                                       : TargetIndex::allSubsets(c.elements, c.targetSize);
    CoverState state(model, targetIndex);
    for (int i = 0; i < 6; ++i) state.addTicket(randomSet(random, c.elements, c.ticketSize));

    const auto allTickets = [&] {
        std::vector<uint64_t> all = state.tickets();
        all.insert(all.end(), model.fixedTickets.begin(), model.fixedTickets.end());
        return all;
    };
    const auto plainUncovered = [&] {
        int64_t uncovered = 0;
        for (const uint64_t target : targets) uncovered += plainCount(allTickets(), target, c.hits) == 0;
        return uncovered;
    };
    for (int step = 0; step < 60; ++step) {
        const size_t index = random.below(state.size());
        const uint64_t ticket = state.tickets()[index];
        const int out = random.numberOf(ticket);
        const int in = random.numberOf(state.elements() & ~ticket);
        const int64_t before = plainUncovered();
        ASSERT_EQ(state.uncovered(), before);
        const int64_t delta = state.moveDelta(index, out, in);
        const uint64_t moved = (ticket & ~(uint64_t{1} << out)) | uint64_t{1} << in;
        if (step % 2 == 0) {
            state.applyMove();
            EXPECT_EQ(state.tickets()[index], moved);
            EXPECT_EQ(plainUncovered(), before + delta);
        }
        ASSERT_EQ(state.uncovered(), plainUncovered());
        for (const uint64_t target : targets)
            ASSERT_EQ(state.coverCount(targetIndex.idOf(target)), plainCount(allTickets(), target, c.hits));
    }
    // The targets each ticket alone covers, and what a new ticket would cover.
    for (size_t i = 0; i < state.size(); ++i) {
        int64_t sole = 0;
        for (const uint64_t target : targets)
            sole += std::popcount(state.tickets()[i] & target) >= c.hits && plainCount(allTickets(), target, c.hits) == 1;
        EXPECT_EQ(state.soleCovers(i), sole);
    }
    const uint64_t candidate = randomSet(random, c.elements, c.ticketSize);
    int64_t fresh = 0;
    for (const uint64_t target : targets)
        fresh += std::popcount(candidate & target) >= c.hits && plainCount(allTickets(), target, c.hits) == 0;
    EXPECT_EQ(state.newlyCovered(candidate), fresh);
    const int out = random.numberOf(candidate);
    const int in = random.numberOf(state.elements() & ~candidate);
    const uint64_t traded = (candidate & ~(uint64_t{1} << out)) | uint64_t{1} << in;
    EXPECT_EQ(state.candidateSwapGain(candidate, out, in), state.newlyCovered(traded) - fresh);
}

TEST_P(CoverStateCounts, WeightsRankMovesButNeverChangeTheCover) {
    // Two states make the same moves, one with weights raised at random: their cover counts and
    // moves agree throughout, and the weighted change is the plain sum of the weights of the
    // targets a move uncovers less those it covers.
    const Case c = GetParam();
    Random random{static_cast<uint64_t>(c.elements * 1000 + c.hits * 10 + c.targetSize)};
    CoverModel model = modelOf(c);
    std::vector<uint64_t> targets = plainSubsets(c.elements, c.targetSize);
    if (c.stored) {
        std::vector<uint64_t> some;
        for (size_t i = 1; i < targets.size(); i += 2) some.push_back(targets[i]);
        targets = some;
        model.storedTargets = targets;
    }
    const TargetIndex targetIndex = c.stored ? TargetIndex::storedSets(targets, c.targetSize)
                                             : TargetIndex::allSubsets(c.elements, c.targetSize);
    CoverState plain(model, targetIndex), weighted(model, targetIndex);
    weighted.useWeights();
    for (int i = 0; i < 5; ++i) {
        const uint64_t ticket = randomSet(random, c.elements, c.ticketSize);
        plain.addTicket(ticket);
        weighted.addTicket(ticket);
    }
    const auto covered = [&](const std::vector<uint64_t>& tickets) {
        std::vector<bool> is;
        for (const uint64_t target : targets) is.push_back(plainCount(tickets, target, c.hits) > 0);
        return is;
    };
    for (int step = 0; step < 200; ++step) {
        for (int raise = 0; raise < 5; ++raise)
            weighted.raiseWeight(static_cast<int64_t>(random.below(static_cast<uint64_t>(targetIndex.count()))));
        const size_t index = random.below(plain.size());
        const uint64_t ticket = plain.tickets()[index];
        const int out = random.numberOf(ticket);
        const int in = random.numberOf(plain.elements() & ~ticket);
        const int64_t delta = plain.moveDelta(index, out, in);
        ASSERT_EQ(weighted.moveDelta(index, out, in), delta);
        ASSERT_EQ(plain.lastWeightedDelta(), delta);  // without weights every weight is 1

        std::vector<uint64_t> after = plain.tickets();
        after[index] = (ticket & ~(uint64_t{1} << out)) | uint64_t{1} << in;
        const std::vector<bool> was = covered(plain.tickets()), will = covered(after);
        int64_t weightedChange = 0;
        for (size_t i = 0; i < targets.size(); ++i) {
            const int64_t w = weighted.weight(targetIndex.idOf(targets[i]));
            weightedChange += was[i] && !will[i] ? w : !was[i] && will[i] ? -w : 0;
        }
        ASSERT_EQ(weighted.lastWeightedDelta(), weightedChange);

        if (step % 3 != 2) {
            plain.applyMove();
            weighted.applyMove();
        }
        ASSERT_EQ(weighted.tickets(), plain.tickets());
        ASSERT_EQ(weighted.uncovered(), plain.uncovered());
        for (const uint64_t target : targets) {
            const int64_t id = targetIndex.idOf(target);
            ASSERT_EQ(weighted.coverCount(id), plain.coverCount(id));
            ASSERT_EQ(weighted.coverCount(id), plainCount(weighted.tickets(), target, c.hits));
        }
    }
}

TEST(CoverStateWeights, AreHalvedWhenOnePassesTheMost) {
    CoverModel model;
    model.elements = 9;
    model.ticketSize = 7;
    model.hits = 3;
    model.targetSize = 3;
    const TargetIndex targetIndex = TargetIndex::allSubsets(9, 3);
    CoverState state(model, targetIndex);
    EXPECT_FALSE(state.weighted());
    EXPECT_EQ(state.weight(5), 1u);
    for (int i = 0; i < 6; ++i) state.raiseWeight(7);
    EXPECT_TRUE(state.weighted());
    EXPECT_EQ(state.weight(7), 7u);
    while (state.weight(3) < MOST_WEIGHT - 1) state.raiseWeight(3);
    EXPECT_EQ(state.weight(3), MOST_WEIGHT - 1);
    state.raiseWeight(3);
    EXPECT_EQ(state.weight(3), MOST_WEIGHT / 2);
    EXPECT_EQ(state.weight(7), 3u);
    EXPECT_EQ(state.weight(5), 1u);  // halved, but never below 1
    EXPECT_EQ(state.uncovered(), targetIndex.count());
}

INSTANTIATE_TEST_SUITE_P(PoolsAndStoredTargets, CoverStateCounts,
                         testing::Values(Case{10, 7, 2, 2, false}, Case{11, 7, 3, 5, false}, Case{12, 7, 4, 7, false},
                                         Case{13, 6, 3, 3, false}, Case{12, 5, 2, 4, false}, Case{12, 7, 4, 4, true},
                                         Case{13, 7, 3, 6, true}, Case{11, 4, 1, 3, false}));

}  // namespace
}  // namespace quillstep::cover
