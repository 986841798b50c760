#pragma once
// Candidates beyond the stored combinations, for systems whose members may be any seven numbers.
// They are never enumerated wholesale: for a target x, a candidate starts as x itself and climbs
// by swapping one number for another, taking each time the swap that covers the most targets
// while still sharing at least t numbers with x, until no swap covers more or after a few swaps.
// Every place of the climb becomes a candidate. Coverage is counted through the t-subset index
// of the targets.

#include <atomic>
#include <cstdint>
#include <vector>

#include "wheels/optimiser/cover_relation.h"

namespace quillstep {

struct PoolSources {
    const uint64_t* targets;
    int32_t count;
    const SubsetIndex& index;
    uint64_t allowedNumbers;  // the numbers a candidate may hold
};

constexpr int MAX_CLIMB_STEPS = 4;

// The candidates target x climbs through, the last one first; unused places are 0.
struct Climb {
    uint64_t candidates[MAX_CLIMB_STEPS] = {};
};
Climb climbFrom(const PoolSources& sources, int32_t x);

// How many targets, spread evenly over the store, get a climbed candidate within `work` units
// (one unit is about one step through an index bucket); `entriesOfTargets` is relationBound of
// the targets themselves.
int32_t climbedTargetCount(const PoolSources& sources, int64_t entriesOfTargets, double work);

// The target whose candidate is the k-th of `climbed` (k from 0), spread evenly over the store.
inline int32_t climbedTarget(int32_t count, int32_t climbed, int32_t k) {
    return static_cast<int32_t>(int64_t{count} * k / climbed);
}

}  // namespace quillstep
