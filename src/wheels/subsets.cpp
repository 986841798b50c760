#include "wheels/subsets.h"

#include <array>
#include <bit>

namespace quillstep {
namespace {

// The positions (0 to 6) each t-subset takes from a combination, in lexicographic order.
template <int Hits>
struct PositionTable {
    static constexpr int COUNT = Hits == 4 ? 35 : 21;
    std::array<std::array<int, Hits>, COUNT> rows{};
    constexpr PositionTable() {
        int row = 0;
        for (int bits = 0; bits < 128; ++bits) {
            if (std::popcount(static_cast<unsigned>(bits)) != Hits) continue;
            int k = 0;
            for (int p = 0; p < NUMBERS_PER_COMBINATION; ++p)
                if (bits >> p & 1) rows[row][k++] = p;
            ++row;
        }
    }
};
constexpr PositionTable<4> POSITIONS_4;
constexpr PositionTable<5> POSITIONS_5;

template <int Hits>
void subsetsWith(const PositionTable<Hits>& positions, uint64_t mask, CombinationSubsets& out) {
    int numbers[NUMBERS_PER_COMBINATION];
    for (int p = 0; p < NUMBERS_PER_COMBINATION; ++p) {
        numbers[p] = std::countr_zero(mask);
        mask &= mask - 1;
    }
    // share[k][p]: what number p adds to the rank when it is the (k+1)-th smallest of a subset.
    uint32_t share[Hits][NUMBERS_PER_COMBINATION];
    for (int k = 0; k < Hits; ++k)
        for (int p = 0; p < NUMBERS_PER_COMBINATION; ++p)
            share[k][p] = static_cast<uint32_t>(BINOMIALS[numbers[p]][k + 1]);
    out.count = PositionTable<Hits>::COUNT;
    for (int s = 0; s < PositionTable<Hits>::COUNT; ++s) {
        uint32_t rank = 0;
        uint64_t subset = 0;
        for (int k = 0; k < Hits; ++k) {
            const int p = positions.rows[s][k];
            rank += share[k][p];
            subset |= uint64_t{1} << numbers[p];
        }
        out.ranks[s] = rank;
        out.masks[s] = subset;
    }
}

}  // namespace

void subsetsOf(uint64_t mask, int hits, CombinationSubsets& out) {
    if (hits == 4)
        subsetsWith(POSITIONS_4, mask, out);
    else
        subsetsWith(POSITIONS_5, mask, out);
}

int64_t rankBound(uint64_t numbersUsed, int hits) {
    return binomial(64 - std::countl_zero(numbersUsed), hits);
}

}  // namespace quillstep
