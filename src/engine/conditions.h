#pragma once
// The eight filter conditions on one combination a[0] < a[1] < ... < a[6]. Each answers true when
// it accepts. They define what the enumeration kernels compute in bulk, and serve the plain
// per-combination kernel that the benchmarks compare against.

#include <cstdint>

#include "engine/parameters.h"

namespace quillstep {

using Combination = int32_t[NUMBERS_PER_COMBINATION];

// R: exactly rangeCount numbers lie in 1..rangeLimit.
inline bool rangeCondition(const int32_t* a, const GenerationParameters& p) {
    int c = 0;
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i) c += a[i] <= p.rangeLimit;
    return c == p.rangeCount;
}

// O/E: at least minOdd odd and at least minEven even numbers.
inline bool oddEvenCondition(const int32_t* a, const GenerationParameters& p) {
    int odd = 0;
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i) odd += a[i] & 1;
    return odd >= p.minOdd && NUMBERS_PER_COMBINATION - odd >= p.minEven;
}

// S: minSum <= sum <= maxSum.
inline bool sumCondition(const int32_t* a, const GenerationParameters& p) {
    int32_t s = 0;
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i) s += a[i];
    return s >= p.minSum && s <= p.maxSum;
}

// F: the forced number is among the seven.
inline bool forcedNumberCondition(const int32_t* a, const GenerationParameters& p) {
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i)
        if (a[i] == p.forcedNumber) return true;
    return false;
}

// MM: every number lies in minNumber..maxNumber (the numbers ascend, so first and last suffice).
inline bool minMaxCondition(const int32_t* a, const GenerationParameters& p) {
    return a[0] >= p.minNumber && a[6] <= p.maxNumber;
}

// N: at most maxNeighbours adjacent pairs differ by exactly 1.
inline bool neighboursCondition(const int32_t* a, const GenerationParameters& p) {
    int c = 0;
    for (int i = 0; i < 6; ++i) c += a[i + 1] == a[i] + 1;
    return c <= p.maxNeighbours;
}

// How many of the seven numbers are excluded numbers.
inline int excludedCount(const int32_t* a, const GenerationParameters& p) {
    int m = 0;
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i)
        for (int j = 1; j <= 7; ++j) m += a[i] == p.excludedNumbers[j];
    return m;
}

// NW7: none of the seven excluded numbers.
inline bool allExcludedCondition(const int32_t* a, const GenerationParameters& p) { return excludedCount(a, p) == 0; }

// NW5: at most two of the excluded numbers.
inline bool fiveExcludedCondition(const int32_t* a, const GenerationParameters& p) { return excludedCount(a, p) <= 2; }

}  // namespace quillstep
