// The greedy pass with 256-bit vectors: four system combinations per step, population count by
// a nibble lookup table (AVX2 has no vector POPCNT). Chosen at run time only where the
// processor and the operating system support AVX2.

// Everything with external linkage is included before the target is switched.
#include <cstdint>

#include "wheels/greedy/greedy_pass.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#pragma GCC target("avx2,popcnt")
#define QUILLSTEP_HAS_AVX2_KERNEL 1
#endif

#include "wheels/greedy/greedy_pass_kernel.h"

namespace quillstep {

#if defined(QUILLSTEP_HAS_AVX2_KERNEL)
namespace {

struct Avx2Isa {

    // Lanes whose common-number count reaches `hits`, as a 4-bit mask.
    static int coveringLanes(__m256i lanes, __m256i x, __m256i atLeast) {
        const __m256i nibbleCounts = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,  //
                                                      0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
        const __m256i lowNibbles = _mm256_set1_epi8(0x0F);
        const __m256i common = _mm256_and_si256(lanes, x);
        const __m256i low = _mm256_shuffle_epi8(nibbleCounts, _mm256_and_si256(common, lowNibbles));
        const __m256i high =
            _mm256_shuffle_epi8(nibbleCounts, _mm256_and_si256(_mm256_srli_epi16(common, 4), lowNibbles));
        const __m256i counts = _mm256_sad_epu8(_mm256_add_epi8(low, high), _mm256_setzero_si256());
        return _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(counts, atLeast)));
    }

    // The eight system combinations that covered last, in two vectors of four lanes; the lane
    // picked by `slot` (all ones in one lane) is replaced next, round the eight in turn.
    struct RecentCoverers {
        RecentCoverers(uint64_t first, int hits)
            : low(_mm256_set1_epi64x(static_cast<long long>(first))),
              high(low),
              atLeast(_mm256_set1_epi64x(hits - 1)),
              slot(_mm256_setr_epi64x(-1, 0, 0, 0)) {}
        bool cover(uint64_t x) const {
            const __m256i vx = _mm256_set1_epi64x(static_cast<long long>(x));
            return (coveringLanes(low, vx, atLeast) | coveringLanes(high, vx, atLeast)) != 0;
        }
        void remember(uint64_t m) {
            __m256i& half = inHigh ? high : low;
            half = _mm256_blendv_epi8(half, _mm256_set1_epi64x(static_cast<long long>(m)), slot);
            slot = _mm256_permute4x64_epi64(slot, 0x93);  // the next lane, wrapping round
            if (_mm256_extract_epi64(slot, 0) != 0) inHigh = !inHigh;
        }
        __m256i low;
        __m256i high;
        __m256i atLeast;
        __m256i slot;
        bool inHigh = false;
    };

    static int32_t findCoverer(const uint64_t* system, int32_t size, uint64_t x, int hits) {
        const __m256i vx = _mm256_set1_epi64x(static_cast<long long>(x));
        const __m256i atLeast = _mm256_set1_epi64x(hits - 1);
        int32_t top = size;  // newest first, four at a time
        for (; top >= 4; top -= 4) {
            const __m256i lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(system + top - 4));
            const int hit = coveringLanes(lanes, vx, atLeast);
            if (hit) return top - 4 + (31 - __builtin_clz(static_cast<unsigned>(hit)));
        }
        for (int32_t k = top - 1; k >= 0; --k)
            if (__builtin_popcountll(system[k] & x) >= hits) return k;
        return -1;
    }
};

}  // namespace

int32_t greedyPassAvx2(const GreedyPassRequest& request) { return greedyPassBody<Avx2Isa>(request); }
#else
int32_t greedyPassAvx2(const GreedyPassRequest& request) { return greedyPassPortable(request); }
#endif

}  // namespace quillstep
