// The change a trade makes, as the covering state counts it (through the t-subsets' ticket counts
// and the list of uncovered targets), against a plain count of the uncovered targets before and
// after it: on pools with and without keys, on stored targets, from a few tickets (many targets
// uncovered) to many (few uncovered, t-subsets held by several tickets).
#include <gtest/gtest.h>

#include <bit>

#include "engine/binomials.h"

#include "wheels/cover/cover_state.h"
#include "wheels/cover/plain_cover.h"
#include "wheels/cover/wheel_search.h"

namespace quillstep::cover {
namespace {

bool plainCovered(const std::vector<uint64_t>& tickets, uint64_t target, int hits) {
    for (const uint64_t ticket : tickets)
        if (std::popcount(ticket & target) >= hits) return true;
    return false;
}

uint64_t traded(uint64_t ticket, int out, int in) { return (ticket & ~(uint64_t{1} << out)) | uint64_t{1} << in; }

struct MovesCase {
    const char* name;
    CoverModel model;
    bool storedHalf;  // every second m-subset as stored targets
    bool manyUncovered = false;  // targets enough that trades are counted through their pairs too
};

WheelRequest poolRequest(int numbers, uint64_t keys, int hits, int drawn) {
    return WheelRequest{(uint64_t{2} << numbers) - 2, keys, hits, drawn};
}

CoverModel plainModel(int elements, int ticketSize, int hits, int targetSize) {
    CoverModel model;
    model.elements = elements;
    model.ticketSize = ticketSize;
    model.hits = hits;
    model.targetSize = targetSize;
    return model;
}

class CoverStateMoves : public testing::TestWithParam<MovesCase> {};

TEST_P(CoverStateMoves, EveryTradeChangesTheCountAsAPlainRecount) {
    const MovesCase& c = GetParam();
    CoverModel model = c.model;
    const int t = model.hits;
    Random random{static_cast<uint64_t>(model.elements * 977 + t * 31 + model.targetSize)};
    std::vector<uint64_t> targets = plainSubsets(model.elements, model.targetSize);
    if (c.storedHalf) {
        std::vector<uint64_t> half;
        for (size_t i = 0; i < targets.size(); i += 2) half.push_back(targets[i]);
        targets = half;
        model.storedTargets = targets;
    }
    model.fixedTickets = {randomSet(random, model.elements, model.ticketSize)};
    ASSERT_TRUE(isSearchable(model)) << c.name;
    const TargetIndex index = c.storedHalf ? TargetIndex::storedSets(targets, model.targetSize)
                                           : TargetIndex::allSubsets(model.elements, model.targetSize);
    CoverState state(model, index);
    EXPECT_EQ(state.countsSubsets(), model.targetSize > t) << c.name;

    const auto allTickets = [&](const std::vector<uint64_t>& movable) {
        std::vector<uint64_t> all = movable;
        all.insert(all.end(), model.fixedTickets.begin(), model.fixedTickets.end());
        return all;
    };
    // Weighted uncovered count by plain loops (weights as the state holds them).
    const auto plainWeighted = [&](const std::vector<uint64_t>& movable) {
        const std::vector<uint64_t> all = allTickets(movable);
        int64_t uncovered = 0, weighted = 0;
        for (const uint64_t target : targets)
            if (!plainCovered(all, target, t)) {
                ++uncovered;
                weighted += state.weight(index.idOf(target));
            }
        return std::pair{uncovered, weighted};
    };

    const int64_t pairs = binomial(model.ticketSize - 1, t - 1) *
                          binomial(model.elements - model.ticketSize - 1, model.targetSize - t);
    int listedTrades = 0, pairedTrades = 0;
    for (int round = 0; round < 14; ++round) {
        // More tickets each round, some a copy of another (their t-subsets held twice).
        state.addTicket(round % 5 == 4 ? state.tickets()[random.below(state.size())]
                                       : randomSet(random, model.elements, model.ticketSize));
        for (int raise = 0; raise < 3 && state.uncovered() > 0; ++raise) state.raiseWeight(state.randomUncovered(random));
        for (int trade = 0; trade < 25; ++trade) {
            const size_t at = random.below(state.size());
            const uint64_t ticket = state.tickets()[at];
            const int out = random.numberOf(ticket);
            const int in = random.numberOf(state.elements() & ~ticket);
            const auto [uncovered, weighted] = plainWeighted(state.tickets());
            ASSERT_EQ(state.uncovered(), uncovered) << c.name;
            std::vector<uint64_t> after = state.tickets();
            after[at] = traded(ticket, out, in);
            const auto [uncoveredAfter, weightedAfter] = plainWeighted(after);
            ASSERT_EQ(state.moveDelta(at, out, in), uncoveredAfter - uncovered) << c.name << " round " << round;
            ASSERT_EQ(state.lastWeightedDelta(), weightedAfter - weighted) << c.name << " round " << round;
            // The state counts the gains through its list of uncovered targets where it is
            // shorter than about three times a trade's pairs, else through the pairs.
            listedTrades += state.uncovered() < pairs;
            pairedTrades += state.uncovered() > 4 * pairs + 64;
            if (trade % 3 == 0) {
                state.applyMove();
                ASSERT_EQ(state.tickets(), after);
                ASSERT_EQ(state.uncovered(), uncoveredAfter) << c.name;
            }
        }
        // A ticket not in the state: the targets it would newly cover, before and after a trade.
        const uint64_t candidate = randomSet(random, model.elements, model.ticketSize);
        const int out = random.numberOf(candidate);
        const int in = random.numberOf(state.elements() & ~candidate);
        std::vector<uint64_t> with = state.tickets(), withTraded = state.tickets();
        with.push_back(candidate);
        withTraded.push_back(traded(candidate, out, in));
        EXPECT_EQ(state.candidateSwapGain(candidate, out, in),
                  plainWeighted(with).first - plainWeighted(withTraded).first)
            << c.name;
    }
    EXPECT_GT(listedTrades, 0) << c.name << ": no state with few targets uncovered";
    if (c.manyUncovered) {
        EXPECT_GT(pairedTrades, 0) << c.name << ": no state with many targets uncovered";
    }
    // The ticket counts of the t-subsets, and the cover counts, against plain loops.
    const std::vector<uint64_t> all = allTickets(state.tickets());
    if (state.countsSubsets())
        for (const uint64_t subset : plainSubsets(model.elements, t)) {
            int holding = 0;
            for (const uint64_t ticket : all) holding += (ticket & subset) == subset;
            ASSERT_EQ(state.subsetCount(subset), holding) << c.name;
        }
    for (const uint64_t target : targets) {
        int count = 0;
        for (const uint64_t ticket : all) count += std::popcount(ticket & target) >= t;
        ASSERT_EQ(state.coverCount(index.idOf(target)), count) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PoolsKeysAndStoredTargets, CoverStateMoves,
    testing::Values(MovesCase{"12 numbers, 3 if 5", plainModel(12, 7, 3, 5), false},
                    MovesCase{"13 numbers, 4 if 7", plainModel(13, 7, 4, 7), false},
                    MovesCase{"12 numbers, 2 if 4", plainModel(12, 7, 2, 4), false},
                    MovesCase{"10 numbers, 3 if 3", plainModel(10, 7, 3, 3), false},
                    MovesCase{"16 numbers, 4 if 6", plainModel(16, 7, 4, 6), false, true},
                    MovesCase{"17 numbers, 4 if 6, stored", plainModel(17, 7, 4, 6), true, true},
                    MovesCase{"13 numbers, 3 if 6, stored", plainModel(13, 7, 3, 6), true},
                    MovesCase{"12 numbers, 4 if 5, stored", plainModel(12, 7, 4, 5), true},
                    MovesCase{"14 numbers, key 3, 4 if 6", wheelCoverModel(poolRequest(14, 1u << 3, 4, 6)), false},
                    MovesCase{"13 numbers, keys 1 2, 4 if 7", wheelCoverModel(poolRequest(13, 6, 4, 7)), false},
                    MovesCase{"12 numbers, keys 5 9 11, 5 if 6", wheelCoverModel(poolRequest(12, (1u << 5) | (1u << 9) | (1u << 11), 5, 6)), false}),
    [](const testing::TestParamInfo<MovesCase>& info) { return "case" + std::to_string(info.index); });

}  // namespace
}  // namespace quillstep::cover
