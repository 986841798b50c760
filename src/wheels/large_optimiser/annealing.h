#pragma once
// Simulated annealing at a fixed size on the count of uncovered stored combinations.
//
// A move replaces one number of one member: a random uncovered combination x is picked, then a
// member sharing t - 1 numbers with x, and one of its numbers outside x is swapped for one of x's
// numbers outside it, so that the member comes to cover x. Its change in the uncovered count is
// counted through the combinations that change cover (see cover_enumeration.h), without any list.
// Worse moves are taken with probability exp(-change / T); T follows the acceptance of worse
// moves towards a rate that falls during a round and starts high again in the next. Whenever
// nothing is uncovered the system is kept, and the member covering least on its own is dropped.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/worker_threads.h"

#include "wheels/large_optimiser/coverage.h"
#include "wheels/random.h"

namespace quillstep::large {

struct AnnealingSettings {
    bool anyCombination = false;
    int64_t moveBudget = 0;       // 0: none
    // Checking builds and tests: after every move the uncovered count is recounted from scratch
    // and compared (a mismatch ends the search with `mismatch` set).
    bool recountEveryMove = false;
};

struct AnnealingOutcome {
    std::vector<uint64_t> best;  // the smallest covering system seen (the start when none smaller)
    int64_t moves = 0;
    bool mismatch = false;
};

// `members` must cover every stored combination (`masks`, `count`) and be counted in `coverage`.
// onBest(size) is called on the searching thread whenever a smaller covering system is found.
AnnealingOutcome anneal(Coverage& coverage, const uint64_t* masks, int64_t count, std::vector<uint64_t> members,
                        const AnnealingSettings& settings, Random& random, const StopFlag& stop,
                        const std::function<void(const std::vector<uint64_t>&)>& onBest);

}  // namespace quillstep::large
