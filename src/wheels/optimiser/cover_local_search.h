#pragma once
// Weighted local search for a smaller covering system, at a fixed size at a time.
//
// Every target carries a weight (1 at first). A member's score is its loss: the weight of the
// targets only it covers; a candidate's score is its gain: the weight of the uncovered targets it
// would cover. Each step swaps one member for one candidate: it drops the member of least loss
// (not the one added by the step before), then picks a random uncovered target and adds the
// candidate of highest gain among those covering it (not the member just dropped), ties going to
// the one that moved longest ago; then the weight of every target still uncovered grows by 1, so
// that targets left uncovered for long pull the search towards them. Whenever nothing is
// uncovered the system is kept as the best so far and the member of least loss is dropped, one
// size smaller. Scores are kept up to date incrementally: a step only touches the targets of the
// two members it moves and the candidates of the targets whose cover changes; the weight raise
// itself costs nothing (see gain() in the source).

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/worker_threads.h"
#include "wheels/optimiser/cover_relation.h"

namespace quillstep {

// What a running search publishes for the thread that reports progress.
struct LocalSearchProgress {
    std::atomic<int32_t> bestSize{0};
    std::atomic<int64_t> steps{0};
};

struct LocalSearchOutcome {
    std::vector<int32_t> best;  // candidate indices of the smallest covering system seen
    int64_t steps = 0;
};

// `start` must cover every target. The search ends after `stepBudget` steps (0: no budget), when
// `stop` is raised or when it reaches a single member. The same start, seed and budget give the
// same outcome whenever `stop` is not raised.
LocalSearchOutcome improveSystem(const CoverRelation& relation, const std::vector<int32_t>& start, uint64_t seed,
                                 int64_t stepBudget, const StopFlag& stop, LocalSearchProgress& progress);

// The checking search for the tests of the bookkeeping: the same search, and after every move
// (each member dropped or added) the cover counts, the uncovered targets, every member's loss and
// every candidate's gain are recounted from scratch, with weights kept plainly beside the search's
// (every uncovered target +1 per step). The first difference ends the search.
struct LocalSearchAudit {
    int64_t movesChecked = 0;
    std::string firstMismatch;  // "" while the bookkeeping agrees with the recount
};
LocalSearchOutcome improveSystemChecked(const CoverRelation& relation, const std::vector<int32_t>& start,
                                        uint64_t seed, int64_t stepBudget, LocalSearchAudit& audit);


}  // namespace quillstep
