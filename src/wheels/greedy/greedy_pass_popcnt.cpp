// The greedy pass with the POPCNT instruction (chosen at run time only where the processor has it).

// Everything with external linkage is included before the target is switched.
#include <cstdint>

#include "wheels/greedy/greedy_pass.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#pragma GCC target("popcnt")
#define QUILLSTEP_HAS_POPCNT_KERNEL 1
#endif

#include "wheels/greedy/greedy_pass_kernel.h"

namespace quillstep {

#if defined(QUILLSTEP_HAS_POPCNT_KERNEL)
namespace {

int bitCount(uint64_t v) { return __builtin_popcountll(v); }

}  // namespace

int32_t greedyPassPopcnt(const GreedyPassRequest& request) { return greedyPassBody<ScalarIsa<bitCount>>(request); }
#else
int32_t greedyPassPopcnt(const GreedyPassRequest& request) { return greedyPassPortable(request); }
#endif

}  // namespace quillstep
