// The greedy pass for any x86-64 (or other) processor: population count by bit arithmetic.

#include "wheels/greedy_pass_kernel.h"

namespace quillstep {
namespace {

struct PortableIsa {
    static int bitCount(uint64_t v) {
        v = v - ((v >> 1) & 0x5555555555555555ULL);
        v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
        v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
    }
    // The one system combination that covered last.
    struct RecentCoverers {
        RecentCoverers(uint64_t first, int hits) : last(first), hits(hits) {}
        bool cover(uint64_t x) const { return bitCount(last & x) >= hits; }
        void remember(uint64_t m) { last = m; }
        uint64_t last;
        int hits;
    };
    static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits) {
        for (int32_t k = size - 1; k >= 0; --k)
            if (bitCount(system[k] & x) >= hits) return k;
        return -1;
    }
};

}  // namespace

int32_t greedyPassPortable(const GreedyPassRequest& request) { return greedyPassBody<PortableIsa>(request); }

}  // namespace quillstep
