#pragma once
// A weighted local search at a fixed size, for stores where every move would be too costly to
// try by enumeration: the filtered stores of many numbers.
//
// Every stored combination has a weight (1,000 at first, +1 for every step it stays uncovered);
// the search lowers the weight of the uncovered ones. A step picks a random uncovered
// combination u and tries every move that makes a member cover it: a member sharing t - 1
// numbers with u gives up one number outside u for one of u's numbers outside it. The move with
// the best change in uncovered weight is made, even when it is worse, except that a number just
// brought into a member is not taken out again for a few steps.
//
// The change of a move is counted without enumerating what it covers:
//   - its gain from the list of uncovered combinations (few, near the end);
//   - its loss from per-member tables of the combinations only that member covers and shares
//     exactly t numbers with (only those are lost by taking one of the shared numbers out):
//     for every number a of the member the weight of those holding a, and for every number b
//     outside it the weight of those holding a and b (which a move a -> b keeps).
// The tables change where a move changes a combination's cover between once and twice (the
// member that covers it alone is found through one bit set of members per number) and are
// recounted for the moved member.
//
// Whenever nothing is uncovered the system is kept and the member covering least on its own
// is dropped.

#include <cstdint>
#include <functional>
#include <vector>

#include "base/worker_threads.h"

#include "wheels/large_optimiser/coverage.h"
#include "wheels/random.h"

namespace quillstep::large {

struct WeightedSearchSettings {
    bool anyCombination = false;
    int64_t moveBudget = 0;  // 0: none
    // 0: none; else the search ends as stalled when no smaller system came for this many moves,
    // or for as many as it took to find the last one, whichever is more.
    int64_t stallMoves = 0;
    // Checking builds and tests: after every move the cover counts and the members' tables are
    // recounted from scratch and compared (a mismatch ends the search with `mismatch` set).
    bool recountEveryMove = false;
};

struct WeightedSearchOutcome {
    std::vector<uint64_t> best;  // the smallest covering system seen (the start when none smaller)
    int64_t moves = 0;
    bool stalled = false;
    bool mismatch = false;
};

// `members` must cover every stored combination (`masks`, `count`) and be counted in `coverage`.
// onBest(system) is called on the searching thread whenever a smaller covering system is found.
WeightedSearchOutcome searchWeighted(Coverage& coverage, const uint64_t* masks, int64_t count,
                                     std::vector<uint64_t> members, const WeightedSearchSettings& settings,
                                     Random& random, const StopFlag& stop,
                                     const std::function<void(const std::vector<uint64_t>&)>& onBest);

}  // namespace quillstep::large
