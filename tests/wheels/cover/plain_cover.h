#pragma once
// Plain loops the covering model's tests count against: random sets and every subset of a size.

#include <bit>
#include <cstdint>
#include <vector>

#include "wheels/random.h"

namespace quillstep::cover {

// `size` different elements of 0..elements-1, at random.
inline uint64_t randomSet(Random& random, int elements, int size) {
    uint64_t set = 0;
    while (std::popcount(set) < size) set |= uint64_t{1} << random.below(static_cast<uint64_t>(elements));
    return set;
}

// Every `size`-subset of 0..elements-1, by a plain loop over all masks.
inline std::vector<uint64_t> plainSubsets(int elements, int size) {
    std::vector<uint64_t> sets;
    for (uint64_t mask = 0; mask < (uint64_t{1} << elements); ++mask)
        if (std::popcount(mask) == size) sets.push_back(mask);
    return sets;
}

}  // namespace quillstep::cover
