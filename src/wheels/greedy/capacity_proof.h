#pragma once
// Deciding without a single pass that every greedy pass over a store reaches the capacity.
//
// A system covers no more stored combinations than its members cover together. A pass that ends
// below the capacity `c` has covered the whole store with at most c - 1 members, so the store
// holds at most the sum of the c - 1 largest per-combination covered counts. A store larger than
// that sum therefore makes every pass reach the capacity, whatever its starting combination.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillstep {

// For each stored combination (as a mask, bit v for number v), how many stored combinations share
// at least `guaranteedHits` numbers with it, itself included. Exact; empty when the store is not
// one the counting handles (a combination without exactly seven numbers, a combination stored
// twice, or more than MAX_COUNTED_NUMBERS distinct numbers in the store).
std::vector<int32_t> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits);

// How the counting runs on a large store: split over threads, the stop request polled on the
// calling thread at least every pollMilliseconds (the full wheel of 39 numbers takes some seconds).
struct CountingWork {
    unsigned threads = 0;  // 0: one per hardware thread
    std::function<bool()> stopRequested;
    int pollMilliseconds = 20;
};

// The same, or nothing when stopped.
std::optional<std::vector<int32_t>> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits,
                                                  const CountingWork& work);

constexpr int MAX_COUNTED_NUMBERS = 45;

// True only when it is proven that every greedy pass over `masks` reaches `capacity` members.
// False when it cannot be proven (which does not mean some pass ends below the capacity).
bool everyPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity);

enum class CapacityProof { Proven, NotProven, Stopped };

// The same with the counting split over threads and stoppable; a proof that finds no room for its
// tables is NotProven.
CapacityProof proveEveryPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity,
                                            const CountingWork& work);

// Proven when no system of fewer than `capacity` members covers every stored combination (every
// one sharing at least `guaranteedHits` numbers with a member), whatever the search: the bound
// above holds for every set of capacity - 1 stored combinations. Members that may be any seven
// numbers (storedMembersOnly false) are held to the bound from the count of numbers alone, since
// one outside the store may cover more stored combinations than any stored one. A store of every
// combination of its numbers needs no counting: each covers as many as the bound allows.
CapacityProof proveNoSystemBelowCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity,
                                         bool storedMembersOnly, const CountingWork& work);

}  // namespace quillstep
