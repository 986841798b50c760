// One generic kernel, instantiated per mode at compile time: the conditions are template flags, so
// the per-combination path never tests the mode.
//
// The kernel walks the first six positions in nested loops and keeps, per level, running values of
// everything the conditions look at (sum, odd count, count in range, neighbouring pairs, excluded
// count, forced number seen). A subtree is skipped as soon as no completion can pass, and the loop
// of a level ends as soon as no larger value can pass either. The seventh position is never looped:
// the numbers that complete the prefix into an accepted combination form a 64-bit set (bit v for
// number v) built from the running values, which is counted with a population count and, in storing
// modes, written in ascending order. The accepted combinations and their order are exactly those of
// visiting every combination and testing each condition in turn.

#include <algorithm>
#include <bit>
#include <cstring>


#include "engine/conditions.h"
#include "engine/generation_mode.h"
#include "engine/kernel.h"
#include "engine/lottery.h"

namespace quillstep {
namespace {

constexpr uint64_t bit(int32_t v) { return v >= 0 && v < 64 ? uint64_t{1} << v : 0; }

constexpr uint64_t ODD_NUMBERS = 0xAAAA'AAAA'AAAA'AAAAull;  // bits 1, 3, 5, ...
constexpr uint64_t EVEN_NUMBERS = ~ODD_NUMBERS & ~uint64_t{1};

// What the conditions need, prepared once per run.
struct Limits {
    int32_t highest;        // largest number any position may hold (n, or maxNumber below it)
    int32_t lowest;         // smallest first number
    int32_t minSum, maxSum;
    int32_t minOddCount, maxOddCount;  // the odd counts that pass O/E
    int32_t forcedNumber;
    int32_t rangeCount, rangeLimit;
    uint64_t rangeNumbers;  // 1..rangeLimit
    int32_t maxNeighbours;
    uint64_t excludedNumbers;
};

struct Prefix {
    int32_t sum = 0;
    int32_t odd = 0;
    int32_t inRange = 0;
    int32_t neighbours = 0;
    int32_t excluded = 0;
    bool forcedSeen = false;
};

template <uint32_t C, bool Stores>
class Kernel {
public:
    Kernel(const GenerationParameters& p, int32_t n, int32_t* store) : out_(store) {
        limits_.highest = n;
        limits_.lowest = 1;
        if constexpr ((C & MIN_MAX) != 0) {
            limits_.highest = std::min(n, p.maxNumber);
            limits_.lowest = std::max(1, p.minNumber);
        }
        limits_.minSum = p.minSum;
        limits_.maxSum = p.maxSum;
        limits_.minOddCount = p.minOdd;
        limits_.maxOddCount = NUMBERS_PER_COMBINATION - p.minEven;
        limits_.forcedNumber = p.forcedNumber;
        limits_.rangeCount = p.rangeCount;
        limits_.rangeLimit = p.rangeLimit;
        limits_.rangeNumbers = numbersBetween(1, std::clamp(p.rangeLimit, 0, 62));
        limits_.maxNeighbours = p.maxNeighbours;
        limits_.excludedNumbers = 0;
        for (int i = 1; i <= 7; ++i) limits_.excludedNumbers |= bit(p.excludedNumbers[i]);
    }

    int32_t run() {
        level<1>(0, Prefix{});
        return count_;
    }

private:
    // Chooses position K (1 to 6) after a previous number `previous`.
    template <int K>
    void level(int32_t previous, const Prefix& before) {
        constexpr int32_t after = NUMBERS_PER_COMBINATION - K;  // positions still to fill behind this one
        const Limits& L = limits_;
        int32_t first = K == 1 ? L.lowest : previous + 1;
        const int32_t last = L.highest - after;
        if constexpr ((C & SUM) != 0) {
            // The largest sum the positions behind can add: the `after` highest numbers.
            const int32_t largestRest = after * L.highest - after * (after - 1) / 2;
            first = std::max(first, L.minSum - before.sum - largestRest);
        }
        if constexpr (C == 0 && !Stores && K == 6) {
            // Counting every combination: a6 = first..last leaves n - a6 choices for a7.
            const int32_t m = L.highest - first;
            if (m > 0) count_ += m * (m + 1) / 2;
            return;
        }
        for (int32_t v = first; v <= last; ++v) {
            Prefix now;
            now.sum = before.sum + v;
            if constexpr ((C & SUM) != 0) {
                // The smallest completion is v+1, ..., v+after; it only grows with v.
                if (now.sum + after * v + after * (after + 1) / 2 > L.maxSum) break;
            }
            if constexpr ((C & FORCED) != 0) {
                if (!before.forcedSeen && v > L.forcedNumber) break;  // every later number is larger still
                now.forcedSeen = before.forcedSeen || v == L.forcedNumber;
            }
            if constexpr ((C & RANGE) != 0) {
                now.inRange = before.inRange + (v <= L.rangeLimit);
                if (now.inRange > L.rangeCount) continue;               // a larger v may lie above the range
                if (now.inRange + after < L.rangeCount) break;           // cannot catch up; larger v cannot either
                if (v > L.rangeLimit && now.inRange != L.rangeCount) break;  // nothing in range can follow
            }
            if constexpr ((C & ODD_EVEN) != 0) {
                now.odd = before.odd + (v & 1);
                if (now.odd > L.maxOddCount) continue;
                if (K - now.odd > NUMBERS_PER_COMBINATION - L.minOddCount) continue;  // too many even numbers already
            }
            if constexpr ((C & NEIGHBOURS) != 0) {
                now.neighbours = before.neighbours + (K > 1 && v == previous + 1);
                if (now.neighbours > L.maxNeighbours) continue;
            }
            if constexpr ((C & (ALL_EXCLUDED | FIVE_EXCLUDED)) != 0) {
                now.excluded = before.excluded + ((L.excludedNumbers >> v) & 1);
                if ((C & ALL_EXCLUDED) != 0 && now.excluded > 0) continue;
                if ((C & FIVE_EXCLUDED) != 0 && now.excluded > 2) continue;
            }
            row_[K - 1] = v;
            if constexpr (K < 6) {
                level<K + 1>(v, now);
            } else {
                complete(v, now);
            }
        }
    }

    // The seventh numbers that complete a1..a6 into accepted combinations.
    void complete(int32_t a6, const Prefix& p) {
        const Limits& L = limits_;
        int32_t lo = a6 + 1;
        int32_t hi = L.highest;
        if constexpr ((C & SUM) != 0) {
            lo = std::max(lo, L.minSum - p.sum);
            hi = std::min(hi, L.maxSum - p.sum);
        }
        uint64_t candidates = numbersBetween(lo, hi);
        if constexpr ((C & RANGE) != 0) {
            if (p.inRange == L.rangeCount)
                candidates &= ~L.rangeNumbers;
            else if (p.inRange + 1 == L.rangeCount)
                candidates &= L.rangeNumbers;
            else
                candidates = 0;
        }
        if constexpr ((C & ODD_EVEN) != 0) {
            const bool oddFits = p.odd + 1 >= L.minOddCount && p.odd + 1 <= L.maxOddCount;
            const bool evenFits = p.odd >= L.minOddCount && p.odd <= L.maxOddCount;
            candidates &= (oddFits ? ODD_NUMBERS : 0) | (evenFits ? EVEN_NUMBERS : 0);
        }
        if constexpr ((C & FORCED) != 0) {
            if (!p.forcedSeen) candidates &= bit(L.forcedNumber);
        }
        if constexpr ((C & NEIGHBOURS) != 0) {
            if (p.neighbours == L.maxNeighbours) candidates &= ~bit(a6 + 1);
        }
        if constexpr ((C & ALL_EXCLUDED) != 0) candidates &= ~L.excludedNumbers;
        if constexpr ((C & FIVE_EXCLUDED) != 0) {
            if (p.excluded == 2) candidates &= ~L.excludedNumbers;
        }
        count_ += std::popcount(candidates);
        if constexpr (Stores) {
            // Local copies: a store through `out` could alias the members, which would make the
            // compiler reload them for every row.
            int32_t* out = out_;
            const int32_t a1 = row_[0], a2 = row_[1], a3 = row_[2], a4 = row_[3], a5 = row_[4];
            while (candidates != 0) {
                const int32_t a7 = std::countr_zero(candidates);
                candidates &= candidates - 1;
                out[0] = a1;
                out[1] = a2;
                out[2] = a3;
                out[3] = a4;
                out[4] = a5;
                out[5] = a6;
                out[6] = a7;
                out += NUMBERS_PER_COMBINATION;
            }
            out_ = out;
        }
    }

    Limits limits_{};
    int32_t* out_;
    int32_t count_ = 0;
    int32_t row_[8] = {};
};

template <uint32_t C, bool Stores>
int32_t runKernel(const GenerationParameters& p, int32_t n, int32_t* store) {
    return Kernel<C, Stores>(p, n, store).run();
}

template <size_t... I>
constexpr std::array<KernelFunction, sizeof...(I)> makeKernelTable(std::index_sequence<I...>) {
    return {&runKernel<GenerationModes[I].conditions, GenerationModes[I].stores>...};
}

constexpr auto Kernels = makeKernelTable(std::make_index_sequence<GenerationModes.size()>{});

template <size_t... I>
constexpr std::array<KernelFunction, sizeof...(I)> makeCountingKernelTable(std::index_sequence<I...>) {
    return {&runKernel<GenerationModes[I].conditions, false>...};
}

constexpr auto CountingKernels = makeCountingKernelTable(std::make_index_sequence<GenerationModes.size()>{});

}  // namespace

KernelFunction kernelOfMode(int mode) { return isGenerationMode(mode) ? Kernels[mode - 1] : nullptr; }

KernelFunction countingKernelOfMode(int mode) { return isGenerationMode(mode) ? CountingKernels[mode - 1] : nullptr; }

int32_t runPlainKernel(int mode, const GenerationParameters& p, int32_t n, int32_t* store) {
    if (!isGenerationMode(mode)) return 0;
    const GenerationModeRow& row = GenerationModes[mode - 1];
    const uint32_t c = row.conditions;
    int32_t a[NUMBERS_PER_COMBINATION] = {1, 2, 3, 4, 5, 6, 6};
    const int32_t bound = n + 1;
    int32_t count = 0;
    for (;;) {
        // Successor step: the carry runs from the seventh number towards the first.
        int i = 6;
        while (i >= 0 && ++a[i] == bound - (6 - i)) --i;
        if (i < 0) break;
        for (int j = i + 1; j < NUMBERS_PER_COMBINATION; ++j) a[j] = a[j - 1] + 1;
        if ((c & RANGE) && !rangeCondition(a, p)) continue;
        if ((c & ODD_EVEN) && !oddEvenCondition(a, p)) continue;
        if ((c & SUM) && !sumCondition(a, p)) continue;
        if ((c & FORCED) && !forcedNumberCondition(a, p)) continue;
        if ((c & MIN_MAX) && !minMaxCondition(a, p)) continue;
        if ((c & NEIGHBOURS) && !neighboursCondition(a, p)) continue;
        if ((c & ALL_EXCLUDED) && !allExcludedCondition(a, p)) continue;
        if ((c & FIVE_EXCLUDED) && !fiveExcludedCondition(a, p)) continue;
        if (row.stores) {
            std::memcpy(store, a, sizeof a);
            store += NUMBERS_PER_COMBINATION;
        }
        ++count;
    }
    return count;
}

}  // namespace quillstep
