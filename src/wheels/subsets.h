#pragma once
// The t-subsets (t = 4 or 5) of seven-number combinations, each numbered by its colex rank: the
// subset {a1 < a2 < ... < at} of the numbers 0 to 63 gets C(a1,1) + C(a2,2) + ... + C(at,t).
// Two combinations share at least t numbers exactly when they have a t-subset in common, so
// "which combinations cover this one" becomes a look-up by rank.

#include <array>
#include <cstdint>

namespace quillstep {

constexpr int COMBINATION_SIZE = 7;
constexpr int MAX_SUBSETS_PER_COMBINATION = 35;  // C(7,4); C(7,5) is 21

// C(n, k) for 0 <= n <= 64, 0 <= k <= 7 (0 for k > n): the one table of binomials of the
// abbreviated-system code.
using BinomialTable = std::array<std::array<int64_t, COMBINATION_SIZE + 1>, 65>;

constexpr BinomialTable makeBinomialTable() {
    BinomialTable table{};
    for (int n = 0; n <= 64; ++n) {
        table[n][0] = 1;
        for (int k = 1; k <= COMBINATION_SIZE; ++k) table[n][k] = n == 0 ? 0 : table[n - 1][k - 1] + table[n - 1][k];
    }
    return table;
}
inline constexpr BinomialTable BINOMIALS = makeBinomialTable();

constexpr int64_t binomial(int n, int k) { return BINOMIALS[n][k]; }

// The t-subsets of one combination: how many there are, and their ranks and masks in a fixed
// order (the order of the positions they take from the combination).
struct CombinationSubsets {
    int count = 0;
    uint32_t ranks[MAX_SUBSETS_PER_COMBINATION];
    uint64_t masks[MAX_SUBSETS_PER_COMBINATION];
};

// `mask` holds exactly seven numbers; `hits` is 4 or 5.
void subsetsOf(uint64_t mask, int hits, CombinationSubsets& out);

// Ranks below this bound cover every t-subset of numbers below 64 - countl_zero(numbersUsed).
int64_t rankBound(uint64_t numbersUsed, int hits);

// The t numbers of `shared` that come first: the one t-subset of a pair's common numbers under
// which that pair is listed once only.
inline uint64_t lowestNumbers(uint64_t shared, int hits) {
    uint64_t rest = shared;
    for (int i = 0; i < hits; ++i) rest &= rest - 1;
    return shared ^ rest;
}

}  // namespace quillstep
