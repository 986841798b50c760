// Covered counts by counting subsets. For a stored combination x let n_k be the number of stored
// combinations sharing exactly k numbers with x, and S_j the sum, over the j-subsets of x, of the
// number of stored combinations holding that subset. A combination sharing k numbers with x holds
// C(k, j) of its j-subsets, so S_j = sum_k C(k, j) n_k, and by binomial inversion
//     n_k = sum_{j >= k} (-1)^(j-k) C(j, k) S_j.
// The covered count sum_{k >= t} n_k is then sum_{j >= t} w_j S_j with w_j = sum_{k=t..j}
// (-1)^(j-k) C(j, k). S_7 is 1 when no combination is stored twice, so one table of counts per
// subset size t to 6 gives every covered count exactly, in two walks over the store.

#include "wheels/greedy/capacity_proof.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

#include "wheels/subsets.h"

namespace quillstep {
namespace {

constexpr int NUMBERS = 7;

constexpr const BinomialTable& BINOMIAL = BINOMIALS;  // wheels/subsets.h

// Masks of seven numbers each, no mask twice. Stores left by a run are in ascending
// lexicographic order, which is checked first and proves the second condition at once.
bool sevenNumbersEachAndDistinct(const std::vector<uint64_t>& masks) {
    bool ascending = true;
    for (size_t j = 0; j < masks.size(); ++j) {
        if (std::popcount(masks[j]) != NUMBERS) return false;
        if (j > 0) {
            const uint64_t differ = masks[j - 1] ^ masks[j];
            ascending = ascending && differ != 0 && (differ & -differ & masks[j - 1]) != 0;
        }
    }
    if (ascending) return true;
    std::vector<uint64_t> sorted(masks);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

// The most stored combinations that share at least `hits` numbers with a combination, when the
// store uses `numbers` distinct numbers: every such combination is one of these.
int64_t largestPossibleCoveredCount(int numbers, int hits) {
    int64_t count = 0;
    for (int k = std::max(hits, 0); k <= NUMBERS; ++k)
        if (numbers - NUMBERS >= NUMBERS - k) count += BINOMIAL[NUMBERS][k] * BINOMIAL[numbers - NUMBERS][NUMBERS - k];
    return count;
}

// The ranks (0 to numbers - 1) of the seven numbers of `mask` among the store's numbers.
std::array<int, NUMBERS> numberRanks(uint64_t mask, uint64_t usedNumbers) {
    std::array<int, NUMBERS> ranks{};
    for (int i = 0; i < NUMBERS; ++i, mask &= mask - 1)
        ranks[i] = std::popcount(usedNumbers & ((mask & -mask) - 1));
    return ranks;
}

// The subsets of the seven positions with 1 to 6 members, each as its positions in ascending order.
struct PositionSubset {
    int size;
    std::array<int, NUMBERS> positions;
};
using PositionSubsets = std::array<PositionSubset, (1 << NUMBERS) - 2>;

constexpr PositionSubsets makePositionSubsets() {
    PositionSubsets subsets{};
    for (unsigned bits = 1; bits < (1u << NUMBERS) - 1; ++bits) {
        PositionSubset& subset = subsets[bits - 1];
        for (int position = 0; position < NUMBERS; ++position)
            if (bits >> position & 1) subset.positions[subset.size++] = position;
    }
    return subsets;
}
constexpr PositionSubsets POSITION_SUBSETS = makePositionSubsets();

// Calls visit(size, index) for every subset of the seven numbers with hits to 6 members; the
// index numbers the subsets of that size among all subsets of the store's numbers (colex rank).
template <class Visit>
void forEachSubset(const std::array<int, NUMBERS>& ranks, int hits, Visit visit) {
    std::array<std::array<int64_t, NUMBERS + 1>, NUMBERS> term;  // C(rank of position, place)
    for (int position = 0; position < NUMBERS; ++position) term[position] = BINOMIAL[ranks[position]];
    for (const PositionSubset& subset : POSITION_SUBSETS) {
        if (subset.size < hits) continue;
        int64_t index = 0;
        for (int place = 0; place < subset.size; ++place) index += term[subset.positions[place]][place + 1];
        visit(subset.size, index);
    }
}

}  // namespace

std::vector<int32_t> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits) {
    const int hits = std::clamp(guaranteedHits, 1, NUMBERS);
    if (!sevenNumbersEachAndDistinct(masks)) return {};
    const uint64_t usedNumbers = std::reduce(masks.begin(), masks.end(), uint64_t{0}, std::bit_or<>());
    const int numbers = std::popcount(usedNumbers);
    if (numbers > MAX_COUNTED_NUMBERS) return {};

    // How many stored combinations hold each subset of `size` numbers, hits <= size <= 6.
    std::array<std::vector<int32_t>, NUMBERS> holding;
    for (int size = hits; size < NUMBERS; ++size) holding[size].assign(static_cast<size_t>(BINOMIAL[numbers][size]), 0);
    for (uint64_t mask : masks)
        forEachSubset(numberRanks(mask, usedNumbers), hits, [&](int size, int64_t index) { ++holding[size][index]; });

    std::array<int64_t, NUMBERS + 1> weight{};
    for (int j = hits; j <= NUMBERS; ++j)
        for (int k = hits; k <= j; ++k) weight[j] += ((j - k) % 2 ? -1 : 1) * BINOMIAL[j][k];

    std::vector<int32_t> counts(masks.size());
    for (size_t x = 0; x < masks.size(); ++x) {
        int64_t covered = weight[NUMBERS];  // S_7 = 1: the combination itself
        forEachSubset(numberRanks(masks[x], usedNumbers), hits,
                      [&](int size, int64_t index) { covered += weight[size] * holding[size][index]; });
        counts[x] = static_cast<int32_t>(covered);
    }
    return counts;
}

bool everyPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity) {
    const int64_t stored = static_cast<int64_t>(masks.size());
    const int64_t members = int64_t{capacity} - 1;  // the most a pass below the capacity holds
    if (capacity < 1 || stored <= members) return false;  // a pass holds at most every stored combination
    if (!sevenNumbersEachAndDistinct(masks)) return false;

    // First the bound from the count of numbers alone, which settles the largest stores at once.
    const uint64_t usedNumbers = std::reduce(masks.begin(), masks.end(), uint64_t{0}, std::bit_or<>());
    const int64_t largest = largestPossibleCoveredCount(std::popcount(usedNumbers), guaranteedHits);
    if (stored > members * largest) return true;

    std::vector<int32_t> counts = coveredCounts(masks, guaranteedHits);
    if (counts.empty()) return false;
    std::nth_element(counts.begin(), counts.begin() + members, counts.end(), std::greater<>());
    const int64_t coverable = std::accumulate(counts.begin(), counts.begin() + members, int64_t{0});
    return stored > coverable;
}

}  // namespace quillstep
