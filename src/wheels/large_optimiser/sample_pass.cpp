#include "wheels/large_optimiser/sample_pass.h"

#include <bit>

#include "wheels/large_optimiser/combination_index.h"
#include "base/processor.h"

namespace quillstep::large {
namespace {

struct PortableCount {
    static int of(uint64_t x) { return bitCount(x); }
};
struct ProcessorCount {
    static int of(uint64_t x) { return __builtin_popcountll(x); }
};

template <typename Count>
[[gnu::always_inline]] inline void countSwapsWith(const uint64_t* sample, size_t count, uint64_t c, int hits,
                                                  SwapCounts& out) {
    int positionOf[64];
    int p = 0;
    for (uint64_t rest = c; rest != 0; rest &= rest - 1) positionOf[std::countr_zero(rest)] = p++;
    out = SwapCounts{};
    for (size_t i = 0; i < count; ++i) {
        const uint64_t s = sample[i];
        const int k = Count::of(s & c);
        if (k < hits - 1) continue;
        if (k == hits - 1) {
            for (uint64_t o = c & ~s; o != 0; o &= o - 1) {
                int32_t* row = out.gain[positionOf[std::countr_zero(o)]];
                for (uint64_t in = s & ~c; in != 0; in &= in - 1) ++row[std::countr_zero(in)];
            }
            continue;
        }
        ++out.covered;
        if (k > hits) continue;
        for (uint64_t o = c & s; o != 0; o &= o - 1) {
            const int q = positionOf[std::countr_zero(o)];
            ++out.outLoss[q];
            for (uint64_t in = s & ~c; in != 0; in &= in - 1) ++out.kept[q][std::countr_zero(in)];
        }
    }
}

template <typename Count>
[[gnu::always_inline]] inline int32_t coveredWith(const uint64_t* sample, size_t count, uint64_t c, int hits) {
    int32_t covered = 0;
    for (size_t i = 0; i < count; ++i) covered += Count::of(sample[i] & c) >= hits;
    return covered;
}

void countSwapsPortable(const uint64_t* sample, size_t count, uint64_t c, int hits, SwapCounts& out) {
    countSwapsWith<PortableCount>(sample, count, c, hits, out);
}
int32_t coveredPortable(const uint64_t* sample, size_t count, uint64_t c, int hits) {
    return coveredWith<PortableCount>(sample, count, c, hits);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) void countSwapsProcessor(const uint64_t* sample, size_t count, uint64_t c, int hits,
                                                           SwapCounts& out) {
    countSwapsWith<ProcessorCount>(sample, count, c, hits, out);
}
__attribute__((target("popcnt"))) int32_t coveredProcessor(const uint64_t* sample, size_t count, uint64_t c, int hits) {
    return coveredWith<ProcessorCount>(sample, count, c, hits);
}
#else
void countSwapsProcessor(const uint64_t* sample, size_t count, uint64_t c, int hits, SwapCounts& out) {
    countSwapsPortable(sample, count, c, hits, out);
}
int32_t coveredProcessor(const uint64_t* sample, size_t count, uint64_t c, int hits) {
    return coveredPortable(sample, count, c, hits);
}
#endif

}  // namespace

void countSwaps(const uint64_t* sample, size_t count, uint64_t candidate, int hits, SwapCounts& out) {
    if (processorHasPopcnt())
        countSwapsProcessor(sample, count, candidate, hits, out);
    else
        countSwapsPortable(sample, count, candidate, hits, out);
}

int32_t coveredCount(const uint64_t* sample, size_t count, uint64_t candidate, int hits) {
    return processorHasPopcnt() ? coveredProcessor(sample, count, candidate, hits)
                             : coveredPortable(sample, count, candidate, hits);
}

}  // namespace quillstep::large
