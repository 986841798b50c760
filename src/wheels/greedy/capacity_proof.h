#pragma once
// Deciding without a single pass that every greedy pass over a store reaches the capacity.
//
// A system covers no more stored combinations than its members cover together. A pass that ends
// below the capacity `c` has covered the whole store with at most c - 1 members, so the store
// holds at most the sum of the c - 1 largest per-combination covered counts. A store larger than
// that sum therefore makes every pass reach the capacity, whatever its starting combination.

#include <cstdint>
#include <vector>

namespace quillstep {

// For each stored combination (as a mask, bit v for number v), how many stored combinations share
// at least `guaranteedHits` numbers with it, itself included. Exact; empty when the store is not
// one the counting handles (a combination without exactly seven numbers, a combination stored
// twice, or more than MAX_COUNTED_NUMBERS distinct numbers in the store).
std::vector<int32_t> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits);

constexpr int MAX_COUNTED_NUMBERS = 45;

// True only when it is proven that every greedy pass over `masks` reaches `capacity` members.
// False when it cannot be proven (which does not mean some pass ends below the capacity).
bool everyPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity);

}  // namespace quillstep
