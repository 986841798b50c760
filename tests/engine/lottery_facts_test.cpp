// The shared facts of the lottery: the masks of numbers and the table of binomials, each against
// a plain loop.

#include "engine/binomials.h"
#include "engine/lottery.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quillstep {
namespace {

uint64_t plainMask(int lowest, int highest) {
    uint64_t mask = 0;
    for (int v = lowest; v <= highest; ++v) mask |= uint64_t{1} << v;
    return mask;
}

TEST(LotteryFacts, MasksOfNumbersHoldExactlyTheNumbersAsked) {
    for (int lowest = 0; lowest <= 63; ++lowest)
        for (int highest = 0; highest <= 63; ++highest)
            ASSERT_EQ(numbersBetween(lowest, highest), plainMask(lowest, highest)) << lowest << ".." << highest;
    for (int highest = 0; highest <= 63; ++highest) EXPECT_EQ(numbersUpTo(highest), plainMask(1, highest)) << highest;
    EXPECT_EQ(numbersUpTo(64), plainMask(1, 63));
    EXPECT_EQ(numbersUpTo(100), plainMask(1, 63));
    EXPECT_EQ(numbersUpTo(HIGHEST_NUMBER) >> NUMBER_LIMIT, 0u);
    EXPECT_EQ(std::popcount(numbersUpTo(HIGHEST_NUMBER)), HIGHEST_NUMBER);
}

// C(n, k) by the product formula, exact while the intermediate products fit (n <= 64, k <= 7).
int64_t productBinomial(int n, int k) {
    if (k > n) return 0;
    int64_t result = 1;
    for (int i = 1; i <= k; ++i) result = result * (n - k + i) / i;
    return result;
}

TEST(LotteryFacts, BinomialTableAgreesWithTheProductFormula) {
    for (int n = 0; n <= BINOMIAL_HIGHEST_N; ++n)
        for (int k = 0; k <= NUMBERS_PER_COMBINATION; ++k) {
            ASSERT_EQ(binomial(n, k), productBinomial(n, k)) << n << " " << k;
            ASSERT_EQ(binomialOrZero(n, k), productBinomial(n, k)) << n << " " << k;
        }
    for (const auto& [n, k] : {std::pair{-1, 2}, {5, -1}, {10, NUMBERS_PER_COMBINATION + 1}, {BINOMIAL_HIGHEST_N + 1, 3}})
        EXPECT_EQ(binomialOrZero(n, k), 0) << n << " " << k;
    static_assert(binomial(HIGHEST_NUMBER, NUMBERS_PER_COMBINATION) == 15'380'937);
}

}  // namespace
}  // namespace quillstep
