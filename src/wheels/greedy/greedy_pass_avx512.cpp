// The greedy pass with 512-bit vectors and the vector POPCNT instruction: eight system
// combinations per step. Chosen at run time only where the processor and the operating system
// support AVX-512F and AVX-512 VPOPCNTDQ.

// Everything with external linkage is included before the target is switched.
#include <cstdint>

#include "wheels/greedy/greedy_pass.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#pragma GCC target("avx512f,avx512vpopcntdq,popcnt")
#define QUILLSTEP_HAS_AVX512_KERNEL 1
#endif

#include "wheels/greedy/greedy_pass_kernel.h"

namespace quillstep {

#if defined(QUILLSTEP_HAS_AVX512_KERNEL)
namespace {

struct Avx512Isa {
    // The eight system combinations that covered last, one per lane, replaced in turn.
    struct RecentCoverers {
        RecentCoverers(uint64_t first, int hits)
            : lanes(_mm512_set1_epi64(static_cast<long long>(first))), atLeast(_mm512_set1_epi64(hits)) {}
        bool cover(uint64_t x) const {
            const __m512i counts = _mm512_popcnt_epi64(_mm512_and_si512(lanes, _mm512_set1_epi64(static_cast<long long>(x))));
            return _mm512_cmpge_epi64_mask(counts, atLeast) != 0;
        }
        void remember(uint64_t m) {
            lanes = _mm512_mask_set1_epi64(lanes, static_cast<__mmask8>(1u << next), static_cast<long long>(m));
            next = (next + 1) & 7;
        }
        __m512i lanes;
        __m512i atLeast;
        unsigned next = 0;
    };

    static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits) {
        const __m512i vx = _mm512_set1_epi64(static_cast<long long>(x));
        const __m512i atLeast = _mm512_set1_epi64(hits);
        int32_t top = size;  // newest first, eight at a time
        for (; top >= 8; top -= 8) {
            const __m512i counts = _mm512_popcnt_epi64(_mm512_and_si512(_mm512_loadu_si512(system + top - 8), vx));
            const unsigned hit = _mm512_cmpge_epi64_mask(counts, atLeast);
            if (hit) return top - 8 + (31 - __builtin_clz(hit));
        }
        if (top > 0) {
            const __mmask8 valid = static_cast<__mmask8>((1u << top) - 1);
            const __m512i counts = _mm512_popcnt_epi64(_mm512_and_si512(_mm512_maskz_loadu_epi64(valid, system), vx));
            const unsigned hit = _mm512_mask_cmpge_epi64_mask(valid, counts, atLeast);
            if (hit) return 31 - __builtin_clz(hit);
        }
        return -1;
    }
};

}  // namespace

int32_t greedyPassAvx512(const GreedyPassRequest& request) { return greedyPassBody<Avx512Isa>(request); }
#else
int32_t greedyPassAvx512(const GreedyPassRequest& request) { return greedyPassPortable(request); }
#endif

}  // namespace quillstep
