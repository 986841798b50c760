#pragma once
// The enumeration kernels: every combination of seven numbers out of 1..n in lexicographic order,
// filtered by a mode's conditions, counted and (in storing modes) written to the store.

#include <cstdint>

#include "engine/parameters.h"

namespace quillstep {

// Enumerates for `mode` (1 to 14) over 1..n (n >= 7) with the given parameters. In a storing mode
// the accepted combinations are written, seven numbers each, from `store` on (nothing behind the
// last one is touched). Returns how many combinations were accepted.
using KernelFunction = int32_t (*)(const GenerationParameters& parameters, int32_t n, int32_t* store);
KernelFunction kernelOfMode(int mode);

// The kernel of `mode` that counts what the mode accepts and stores nothing, storing mode or not
// (`store` is not touched and may be null).
KernelFunction countingKernelOfMode(int mode);

// The same results by visiting every combination with the successor step and testing the
// conditions one by one. Slow; kept as the yardstick of the benchmarks.
int32_t runPlainKernel(int mode, const GenerationParameters& parameters, int32_t n, int32_t* store);

}  // namespace quillstep
