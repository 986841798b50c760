#pragma once
// A covering system built one member at a time, each member the best of several climbs.
//
// A climb starts at a random uncovered stored combination u and swaps single numbers, each time
// the swap that covers the most uncovered combinations, as long as the candidate stays a stored
// combination (unless any combination may be a member) and still covers u. Gains are counted on
// a uniform sample of the uncovered combinations (about 20,000) while many are left, and on all
// of them once few are. Counting on the sample is one pass: a sample combination sharing t - 1
// numbers with the candidate is gained by the swaps that bring in one of its numbers for one
// that is not, one sharing exactly t is lost by the swaps that take out one of the shared ones.

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/worker_threads.h"

#include "wheels/large_optimiser/coverage.h"
#include "wheels/random.h"

namespace quillstep::large {

struct GreedySettings {
    int climbs = 64;            // per member
    int32_t sampleSize = 20000;
    bool anyCombination = false;
    const std::atomic<bool>* abandon = nullptr;  // when raised, the greedy gives up as when stopped
};

// Adds members to `members` (already counted in `coverage`) until every stored combination
// (`masks`, `count`) is covered, then leaves out the members that turned out redundant. Returns
// false, the system incomplete, when `stop` or the settings' `abandon` was raised first.
bool completeGreedily(Coverage& coverage, const uint64_t* masks, int64_t count, std::vector<uint64_t>& members,
                      const GreedySettings& settings, Random& random, const StopFlag& stop);

// Leaves out, the latest first, every member that covers nothing the others do not; a raised
// `stop` ends it early (each look costs an enumeration), leaving a system that still covers.
void removeRedundant(Coverage& coverage, std::vector<uint64_t>& members, const StopFlag* stop = nullptr);

}  // namespace quillstep::large
