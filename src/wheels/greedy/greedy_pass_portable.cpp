// The greedy pass for any x86-64 (or other) processor: population count by bit arithmetic.

#include "wheels/greedy/greedy_pass_kernel.h"

namespace quillstep {
namespace {

int bitCount(uint64_t v) {
    v = v - ((v >> 1) & 0x5555555555555555ULL);
    v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}

}  // namespace

int32_t greedyPassPortable(const GreedyPassRequest& request) { return greedyPassBody<ScalarIsa<bitCount>>(request); }

}  // namespace quillstep
