#pragma once
// The one table of binomials C(n, k) for 0 <= n <= 64 and 0 <= k <= 7 (0 for k > n): the counts
// of combinations and of their subsets, and the colex ranks built from them.

#include <array>
#include <cstdint>

#include "engine/lottery.h"

namespace quillstep {

constexpr int BINOMIAL_HIGHEST_N = 64;

using BinomialTable = std::array<std::array<int64_t, NUMBERS_PER_COMBINATION + 1>, BINOMIAL_HIGHEST_N + 1>;

constexpr BinomialTable makeBinomialTable() {
    BinomialTable table{};
    for (int n = 0; n <= BINOMIAL_HIGHEST_N; ++n) {
        table[n][0] = 1;
        for (int k = 1; k <= NUMBERS_PER_COMBINATION; ++k)
            table[n][k] = n == 0 ? 0 : table[n - 1][k - 1] + table[n - 1][k];
    }
    return table;
}
inline constexpr BinomialTable BINOMIALS = makeBinomialTable();

// n and k within the table.
constexpr int64_t binomial(int n, int k) { return BINOMIALS[n][k]; }

// Any n and k: 0 outside the table.
constexpr int64_t binomialOrZero(int n, int k) {
    return n < 0 || k < 0 || k > NUMBERS_PER_COMBINATION || n > BINOMIAL_HIGHEST_N ? 0 : BINOMIALS[n][k];
}

}  // namespace quillstep
