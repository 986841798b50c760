#pragma once
// The optimiser with some members fixed: completing a given system. The fixed members stay as
// they are (they may be any seven numbers); as few stored combinations as can be found in the
// time given are added so that every stored combination shares at least t numbers with a member
// of the whole. Combinations are 64-bit masks (bit v for number v).
//
// The stored combinations the fixed members already cover drop out: the targets are the rest
// (the holes), and the candidates are the stored combinations that cover at least one hole,
// which need not be holes themselves. The max-coverage greedy and the weighted local search of
// the optimiser then work on that covering relation, on every core.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct FixedMemberRequest {
    const uint64_t* stored = nullptr;  // the stored combinations, in store order
    int32_t storedCount = 0;
    std::vector<uint64_t> fixedMembers;  // each of seven numbers
    int guaranteedHits = 4;              // 4 or 5
    double timeLimitSeconds = 30.0;
    uint64_t seed = 1;
    int64_t stepBudget = 0;  // 0: none; see OptimiserRequest
    unsigned threads = 0;    // 0: one per hardware thread
    // As in OptimiserRequest: called on the calling thread only.
    std::function<void(const OptimiserProgress&)> onProgress;
    std::function<bool()> stopRequested;
};

struct FixedMemberResult {
    std::vector<uint64_t> added;  // stored combinations to add, in order of choice
    int64_t holes = 0;            // stored combinations the fixed members leave uncovered
    bool stopped = false;         // ended by the stop request
    bool timeLimitReached = false;
    std::string error;  // set (and nothing added) when the request is unusable or no cover was found
};

// Empty `added` and no error: the fixed members cover every stored combination already.
FixedMemberResult addMembersToCover(const FixedMemberRequest& request);

// [j]: whether stored combination j shares at least `hits` numbers with one of `members`; done
// through a bitmap of the members' t-subsets, split over `threads` threads.
std::vector<uint8_t> coveredByMembers(const uint64_t* stored, int32_t storedCount, const std::vector<uint64_t>& members,
                                      int hits, unsigned threads);

}  // namespace quillstep
