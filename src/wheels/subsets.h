#pragma once
// The t-subsets (t = 4 or 5) of seven-number combinations, each numbered by its colex rank: the
// subset {a1 < a2 < ... < at} of the numbers 0 to 63 gets C(a1,1) + C(a2,2) + ... + C(at,t).
// Two combinations share at least t numbers exactly when they have a t-subset in common, so
// "which combinations cover this one" becomes a look-up by rank.

#include <cstdint>

#include "engine/binomials.h"
#include "engine/lottery.h"

namespace quillstep {

constexpr int MAX_SUBSETS_PER_COMBINATION = 35;  // C(7,4); C(7,5) is 21

// The t-subsets of one combination: how many there are, and their ranks and masks in a fixed
// order (the order of the positions they take from the combination).
struct CombinationSubsets {
    int count = 0;
    uint32_t ranks[MAX_SUBSETS_PER_COMBINATION];
    uint64_t masks[MAX_SUBSETS_PER_COMBINATION];
};

// `mask` holds exactly seven numbers; `hits` is 4 or 5.
void subsetsOf(uint64_t mask, int hits, CombinationSubsets& out);

// Ranks below this bound cover every t-subset of numbers below 64 - countl_zero(numbersUsed).
int64_t rankBound(uint64_t numbersUsed, int hits);

// The t numbers of `shared` that come first: the one t-subset of a pair's common numbers under
// which that pair is listed once only.
inline uint64_t lowestNumbers(uint64_t shared, int hits) {
    uint64_t rest = shared;
    for (int i = 0; i < hits; ++i) rest &= rest - 1;
    return shared ^ rest;
}

}  // namespace quillstep
