#pragma once
// The one generator of the searches' random choices (splitmix64): small, fast, and the same
// sequence for the same seed on every machine, so that a search with a seed and a step budget
// repeats itself.

#include <bit>
#include <cstdint>

#include "wheels/bit_count.h"

namespace quillstep {

struct Random {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1; n > 0.
    uint64_t below(uint64_t n) { return next() % n; }
    // In [0, 1), in steps of 2^-53.
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // One of the numbers of `mask` (not empty), at random.
    int numberOf(uint64_t mask) {
        int skip = static_cast<int>(below(static_cast<uint64_t>(bitCount(mask))));
        for (; skip > 0; --skip) mask &= mask - 1;
        return std::countr_zero(mask);
    }
};

// The seed of search `searchNumber` of a run started with `seed`: each search of a run gets a
// sequence of its own.
inline uint64_t mixSeed(uint64_t seed, uint64_t searchNumber) {
    Random random{seed ^ (searchNumber * 0xD1B54A32D192ED03ull)};
    random.next();
    return random.next();
}

}  // namespace quillstep
