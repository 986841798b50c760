// The greedy pass for any x86-64 (or other) processor: population count by bit arithmetic.

#include "wheels/bit_count.h"
#include "wheels/greedy/greedy_pass_kernel.h"

namespace quillstep {

int32_t greedyPassPortable(const GreedyPassRequest& request) { return greedyPassBody<ScalarIsa<bitCount>>(request); }

}  // namespace quillstep
