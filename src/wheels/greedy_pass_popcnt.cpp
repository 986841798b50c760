// The greedy pass with the POPCNT instruction (chosen at run time only where the processor has it).

// Everything with external linkage is included before the target is switched.
#include <cstdint>

#include "wheels/greedy_pass.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#pragma GCC target("popcnt")
#define QUILLSTEP_HAS_POPCNT_KERNEL 1
#endif

#include "wheels/greedy_pass_kernel.h"

namespace quillstep {

#if defined(QUILLSTEP_HAS_POPCNT_KERNEL)
namespace {

struct PopcntIsa {
    // The one system combination that covered last.
    struct RecentCoverers {
        RecentCoverers(uint64_t first, int hits) : last(first), hits(hits) {}
        bool cover(uint64_t x) const { return __builtin_popcountll(last & x) >= hits; }
        void remember(uint64_t m) { last = m; }
        uint64_t last;
        int hits;
    };
    static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits) {
        for (int32_t k = size - 1; k >= 0; --k)
            if (__builtin_popcountll(system[k] & x) >= hits) return k;
        return -1;
    }
};

}  // namespace

int32_t greedyPassPopcnt(const GreedyPassRequest& request) { return greedyPassBody<PopcntIsa>(request); }
#else
int32_t greedyPassPopcnt(const GreedyPassRequest& request) { return greedyPassPortable(request); }
#endif

}  // namespace quillstep
