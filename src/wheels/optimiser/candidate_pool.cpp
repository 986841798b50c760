#include "wheels/optimiser/candidate_pool.h"

#include <bit>

namespace quillstep {
namespace {

int64_t coveredCount(const PoolSources& sources, uint64_t mask) {
    int64_t covered = 0;
    forEachCoveredTarget(sources.targets, sources.index, mask, [&](int32_t) { ++covered; });
    return covered;
}

}  // namespace

Climb climbFrom(const PoolSources& sources, int32_t x) {
    const uint64_t target = sources.targets[x];
    uint64_t candidate = target;
    int64_t covered = coveredCount(sources, candidate);
    uint64_t path[MAX_CLIMB_STEPS] = {};
    int steps = 0;
    for (; steps < MAX_CLIMB_STEPS; ++steps) {
        uint64_t bestSwap = candidate;
        int64_t bestCovered = covered;
        for (uint64_t out = candidate; out != 0; out &= out - 1) {
            const uint64_t without = candidate & ~(out & -out);
            // Leaving a number of x out is allowed only while t of x's numbers stay.
            if (std::popcount(without & target) < sources.index.hits) continue;
            for (uint64_t in = sources.allowedNumbers & ~candidate; in != 0; in &= in - 1) {
                const uint64_t swapped = without | (in & -in);
                const int64_t count = coveredCount(sources, swapped);
                if (count > bestCovered) bestCovered = count, bestSwap = swapped;
            }
        }
        if (bestSwap == candidate) break;
        path[steps] = candidate = bestSwap;
        covered = bestCovered;
    }
    Climb climb;
    for (int i = 0; i < steps; ++i) climb.candidates[i] = path[steps - 1 - i];
    return climb;
}

int32_t climbedTargetCount(const PoolSources& sources, int64_t entriesOfTargets, double work) {
    if (sources.count == 0) return 0;
    // An evaluation looks up each t-subset of a candidate and walks its bucket: about as many
    // entries as a target's own t-subsets lead to, on average entriesOfTargets / count.
    const double costPerEvaluation = binomial(NUMBERS_PER_COMBINATION, sources.index.hits) +
                                     static_cast<double>(entriesOfTargets) / sources.count;
    const double evaluationsPerClimb =
        MAX_CLIMB_STEPS * NUMBERS_PER_COMBINATION * (std::popcount(sources.allowedNumbers) - NUMBERS_PER_COMBINATION);
    const double climbs = work / (costPerEvaluation * evaluationsPerClimb);
    return climbs >= sources.count ? sources.count : static_cast<int32_t>(climbs);
}

}  // namespace quillstep
