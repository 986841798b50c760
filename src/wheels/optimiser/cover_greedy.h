#pragma once
// The optimiser's starting systems.

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/worker_threads.h"
#include "wheels/optimiser/cover_relation.h"

namespace quillstep {

// Max-coverage greedy: repeatedly takes the candidate that covers the most targets not yet
// covered (the lowest index among equals) until every target is covered, then leaves out the
// members that turned out redundant, the latest first. Candidate indices in order of choice;
// empty when `stop` was raised first.
std::vector<int32_t> maxCoverageSystem(const CoverRelation& relation, const StopFlag& stop);

// Leaves out, the latest first, every member whose targets are all covered by other members.
void removeRedundantMembers(const CoverRelation& relation, std::vector<int32_t>& members);

// For stores too large for the relation: walks the targets in store order and takes every one
// that no member covers yet, testing through a bitmap of the members' t-subsets. Empty when
// `stop` was raised first.
std::vector<uint64_t> storeOrderSystem(const uint64_t* masks, int32_t count, int hits, const StopFlag& stop);

}  // namespace quillstep
