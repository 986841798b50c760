#pragma once
// One pass over the greedy's sample of uncovered combinations for a candidate c: how many c
// covers, and for every single swap (the number at position p of c out, number b in) how many it
// would gain and lose. The pass is the greedy's inner loop; it uses the processor's population
// count where there is one.

#include <cstddef>
#include <cstdint>

namespace quillstep::large {

struct SwapCounts {
    int32_t covered = 0;          // sample combinations sharing at least t numbers with c
    int32_t gain[7][64] = {};     // by swap: those sharing t - 1 that the swap brings to t
    int32_t kept[7][64] = {};     // by swap: those sharing exactly t that keep t
    int32_t outLoss[7] = {};      // by position: those sharing exactly t that hold the number there
    // The change in covered of the swap p -> b.
    int32_t change(int p, int b) const { return gain[p][b] + kept[p][b] - outLoss[p]; }
};

void countSwaps(const uint64_t* sample, size_t count, uint64_t candidate, int hits, SwapCounts& out);

// Sample combinations sharing at least `hits` numbers with `candidate`.
int32_t coveredCount(const uint64_t* sample, size_t count, uint64_t candidate, int hits);

}  // namespace quillstep::large
