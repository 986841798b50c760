#pragma once
// The greedy pass in its plain form, kept as the reference that the fast pass is measured and
// tested against.

#include <cstdint>

#include "engine/shared_state.h"

namespace quillstep {

// Numbers that a stored combination and a system combination share (0 to 7): each number of the
// system combination is compared with the seven of the stored one.
int countCommonNumbers(const int32_t* storedCombination, const int32_t* systemCombination);

// Whether stored combination `candidate` (from 1) shares at least guaranteedHits numbers with one
// of the first `systemSize` combinations of the abbreviated-system store, newest first.
bool isCovered(const SharedState& state, int32_t candidate, int32_t systemSize, int guaranteedHits);

// The greedy system of `startNumber` (from 1) built into the abbreviated-system store
// combination by combination with countCommonNumbers and isCovered: the plain form of
// the pass, kept as the reference that the fast one is measured and tested against.
int32_t buildGreedySystemPlainly(SharedState& state, int32_t startNumber, int guaranteedHits);

}  // namespace quillstep
