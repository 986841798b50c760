// The local search's incremental bookkeeping against a recount from scratch after every move. The
// optimiser falls back to its starting system when the search's result does not cover, so a
// faulty move would otherwise show only as systems larger than they need be.

#include "wheels/optimiser/cover_local_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <numeric>
#include <random>
#include <set>

#include "wheels/optimiser/cover_greedy.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

// The symmetric relation of a store: members are stored combinations.
CoverRelation relationOf(const std::vector<uint64_t>& targets, int hits) {
    const int32_t count = static_cast<int32_t>(targets.size());
    const SubsetIndex index = buildSubsetIndex(targets.data(), count, hits);
    CoverRelation relation;
    relation.targetCount = relation.candidateCount = count;
    relation.covers.begins.resize(count);
    relation.covers.ends.resize(count);
    relation.covers.sizes.resize(count);
    std::atomic<int64_t> units{0};
    const StopFlag noStop;
    EXPECT_EQ(fillCovers({targets.data(), targets.data(), index}, 0, count, relation, relation.covers.chunks, units,
                         int64_t{1} << 40, noStop),
              RelationBuilt::Complete);
    return relation;
}

TEST(WheelsOptimiserLocalSearch, EveryMoveAgreesWithARecountFromScratch) {
    struct Case {
        uint32_t seed;
        int totalNumbers, hits;
        size_t stored;
    };
    for (const Case& c : {Case{1, 12, 4, 120}, Case{2, 14, 5, 150}, Case{3, 11, 4, 100}, Case{4, 16, 5, 120}}) {
        SCOPED_TRACE("store " + std::to_string(c.seed) + " G" + std::to_string(c.hits));
        const std::vector<uint64_t> targets = randomDistinctCombinations(c.seed, c.totalNumbers, c.stored);
        const CoverRelation relation = relationOf(targets, c.hits);
        const StopFlag noStop;
        // Two starts: every stored combination (each covers itself), and the max-coverage greedy.
        std::vector<int32_t> everything(targets.size());
        std::iota(everything.begin(), everything.end(), 0);
        for (const std::vector<int32_t>& start : {everything, maxCoverageSystem(relation, noStop)}) {
            LocalSearchAudit audit;
            const LocalSearchOutcome outcome = improveSystemChecked(relation, start, c.seed, 400, audit);
            EXPECT_EQ(audit.firstMismatch, "");
            EXPECT_GT(audit.movesChecked, 400) << "the search made its steps";
            std::vector<bool> covered(targets.size(), false);
            for (const int32_t m : outcome.best)
                for (const int32_t x : relation.targetsOf(m)) covered[static_cast<size_t>(x)] = true;
            EXPECT_EQ(std::count(covered.begin(), covered.end(), false), 0) << "the best system covers";
            EXPECT_LE(outcome.best.size(), start.size());

            // The checked search is the search: the same seed and budget give the same system.
            LocalSearchProgress progress;
            EXPECT_EQ(improveSystem(relation, start, c.seed, 400, noStop, progress).best, outcome.best);
        }
    }
}

}  // namespace
}  // namespace quillstep
