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
#include <chrono>
#include <new>
#include <numeric>

#include "wheels/subsets.h"
#include "base/worker_threads.h"

namespace quillstep {
namespace {

// Masks of seven numbers each, no mask twice. Stores left by a run are in ascending
// lexicographic order, which is checked first and proves the second condition at once.
bool sevenNumbersEachAndDistinct(const std::vector<uint64_t>& masks) {
    bool ascending = true;
    for (size_t j = 0; j < masks.size(); ++j) {
        if (std::popcount(masks[j]) != NUMBERS_PER_COMBINATION) return false;
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
    for (int k = std::max(hits, 0); k <= NUMBERS_PER_COMBINATION; ++k)
        if (numbers - NUMBERS_PER_COMBINATION >= NUMBERS_PER_COMBINATION - k) count += BINOMIALS[NUMBERS_PER_COMBINATION][k] * BINOMIALS[numbers - NUMBERS_PER_COMBINATION][NUMBERS_PER_COMBINATION - k];
    return count;
}

// The ranks (0 to numbers - 1) of the seven numbers of `mask` among the store's numbers.
std::array<int, NUMBERS_PER_COMBINATION> numberRanks(uint64_t mask, uint64_t usedNumbers) {
    std::array<int, NUMBERS_PER_COMBINATION> ranks{};
    for (int i = 0; i < NUMBERS_PER_COMBINATION; ++i, mask &= mask - 1)
        ranks[i] = std::popcount(usedNumbers & ((mask & -mask) - 1));
    return ranks;
}

// The subsets of the seven positions with 1 to 6 members, each as its positions in ascending order.
struct PositionSubset {
    int size;
    std::array<int, NUMBERS_PER_COMBINATION> positions;
};
using PositionSubsets = std::array<PositionSubset, (1 << NUMBERS_PER_COMBINATION) - 2>;

constexpr PositionSubsets makePositionSubsets() {
    PositionSubsets subsets{};
    for (unsigned bits = 1; bits < (1u << NUMBERS_PER_COMBINATION) - 1; ++bits) {
        PositionSubset& subset = subsets[bits - 1];
        for (int position = 0; position < NUMBERS_PER_COMBINATION; ++position)
            if (bits >> position & 1) subset.positions[subset.size++] = position;
    }
    return subsets;
}
constexpr PositionSubsets POSITION_SUBSETS = makePositionSubsets();

// Calls visit(size, index) for every subset of the seven numbers with hits to 6 members; the
// index numbers the subsets of that size among all subsets of the store's numbers (colex rank).
template <class Visit>
void forEachSubset(const std::array<int, NUMBERS_PER_COMBINATION>& ranks, int hits, Visit visit) {
    std::array<std::array<int64_t, NUMBERS_PER_COMBINATION + 1>, NUMBERS_PER_COMBINATION> term;  // C(rank of position, place)
    for (int position = 0; position < NUMBERS_PER_COMBINATION; ++position) term[position] = BINOMIALS[ranks[position]];
    for (const PositionSubset& subset : POSITION_SUBSETS) {
        if (subset.size < hits) continue;
        int64_t index = 0;
        for (int place = 0; place < subset.size; ++place) index += term[subset.positions[place]][place + 1];
        visit(subset.size, index);
    }
}

// The two walks over the store, split into ranges of consecutive combinations, one per part.
class CountingWalks {
public:
    CountingWalks(const std::vector<uint64_t>& masks, int hits, const CountingWork& work)
        : masks_(masks), hits_(hits), work_(work), usedNumbers_(std::reduce(masks.begin(), masks.end(), uint64_t{0},
                                                                             std::bit_or<>())) {
        const unsigned wanted = workerThreadCount(work.threads);
        const int64_t useful = std::max<int64_t>(1, static_cast<int64_t>(masks.size()) / SMALLEST_SHARE);
        parts_ = static_cast<unsigned>(std::min<int64_t>(wanted, useful));
    }

    int numbers() const { return std::popcount(usedNumbers_); }

    // The counts, or nothing when stopped.
    std::optional<std::vector<int32_t>> counts() {
        // How many stored combinations hold each subset of `size` numbers, hits <= size <= 6: one
        // table per part, added into the first.
        std::vector<Holding> holding(parts_);
        for (Holding& tables : holding)
            for (int size = hits_; size < NUMBERS_PER_COMBINATION; ++size)
                tables[size].assign(static_cast<size_t>(BINOMIALS[numbers()][size]), 0);
        run([&](size_t x, unsigned part) {
            forEachSubset(numberRanks(masks_[x], usedNumbers_), hits_,
                          [&](int size, int64_t index) { ++holding[part][size][index]; });
        });
        if (stop_.load()) return std::nullopt;
        for (unsigned part = 1; part < parts_; ++part)
            for (int size = hits_; size < NUMBERS_PER_COMBINATION; ++size)
                for (size_t i = 0; i < holding[0][size].size(); ++i) holding[0][size][i] += holding[part][size][i];
        holding.resize(1);

        std::array<int64_t, NUMBERS_PER_COMBINATION + 1> weight{};
        for (int j = hits_; j <= NUMBERS_PER_COMBINATION; ++j)
            for (int k = hits_; k <= j; ++k) weight[j] += ((j - k) % 2 ? -1 : 1) * BINOMIALS[j][k];

        std::vector<int32_t> counts(masks_.size());
        const Holding& held = holding[0];
        run([&](size_t x, unsigned) {
            int64_t covered = weight[NUMBERS_PER_COMBINATION];  // S_7 = 1: the combination itself
            forEachSubset(numberRanks(masks_[x], usedNumbers_), hits_,
                          [&](int size, int64_t index) { covered += weight[size] * held[size][index]; });
            counts[x] = static_cast<int32_t>(covered);
        });
        if (stop_.load()) return std::nullopt;
        return counts;
    }

private:
    using Holding = std::array<std::vector<int32_t>, NUMBERS_PER_COMBINATION>;
    static constexpr int64_t SMALLEST_SHARE = 1 << 18;  // fewer combinations are not worth a thread
    static constexpr size_t STOP_LOOK_INTERVAL = 4096;  // combinations between two looks at the stop flag

    // Calls visit(x, part) for every stored combination x, the store split over the parts, while
    // the calling thread polls the stop request.
    template <class Visit>
    void run(Visit visit) {
        WorkerRun run;
        run.parts = parts_;
        run.work = [&](unsigned part) {
            const size_t end = masks_.size() * (part + 1) / parts_;
            for (size_t x = masks_.size() * part / parts_; x < end; ++x) {
                if (x % STOP_LOOK_INTERVAL == 0 && stop_.load(std::memory_order_relaxed)) return;
                visit(x, part);
            }
        };
        if (work_.stopRequested)
            run.poll = [&] {
                if (!stop_.load() && work_.stopRequested()) stop_.raise();
            };
        run.pollInterval = std::chrono::milliseconds(work_.pollMilliseconds);
        run.onFailure = [&] { stop_.raise(); };
        runWorkers(run);
    }

    const std::vector<uint64_t>& masks_;
    const int hits_;
    const CountingWork& work_;
    const uint64_t usedNumbers_;
    unsigned parts_ = 1;
    StopFlag stop_;
};

}  // namespace

std::optional<std::vector<int32_t>> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits,
                                                  const CountingWork& work) {
    const int hits = std::clamp(guaranteedHits, 1, NUMBERS_PER_COMBINATION);
    if (!sevenNumbersEachAndDistinct(masks)) return std::vector<int32_t>{};
    CountingWalks walks(masks, hits, work);
    if (walks.numbers() > MAX_COUNTED_NUMBERS) return std::vector<int32_t>{};
    return walks.counts();
}

std::vector<int32_t> coveredCounts(const std::vector<uint64_t>& masks, int guaranteedHits) {
    return *coveredCounts(masks, guaranteedHits, CountingWork{});
}

namespace {

// The proof; `countFullWheels` false leaves out the counting where every combination of the
// store's numbers is stored (each then covers the largest count, and the counting finds the same
// bound as the count of numbers).
CapacityProof proveBelowCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity,
                                 bool storedMembersOnly, bool countFullWheels, const CountingWork& work) {
    const int64_t stored = static_cast<int64_t>(masks.size());
    const int64_t members = int64_t{capacity} - 1;  // the most a pass below the capacity holds
    if (capacity < 1 || stored <= members) return CapacityProof::NotProven;  // a pass holds at most every stored combination
    if (!sevenNumbersEachAndDistinct(masks)) return CapacityProof::NotProven;

    // First the bound from the count of numbers alone, which settles the largest stores at once.
    // It holds for any seven numbers: one outside the store's numbers covers no more than one
    // that takes a store's number in its place.
    const uint64_t usedNumbers = std::reduce(masks.begin(), masks.end(), uint64_t{0}, std::bit_or<>());
    const int numbers = std::popcount(usedNumbers);
    const int64_t largest = largestPossibleCoveredCount(numbers, guaranteedHits);
    if (stored > members * largest) return CapacityProof::Proven;
    if (!storedMembersOnly || (!countFullWheels && stored == BINOMIALS[numbers][NUMBERS_PER_COMBINATION])) return CapacityProof::NotProven;

    std::optional<std::vector<int32_t>> counts;
    try {
        counts = coveredCounts(masks, guaranteedHits, work);
    } catch (const std::bad_alloc&) {
        return CapacityProof::NotProven;  // the proof only saves time: without room for it, the passes run
    }
    if (!counts) return CapacityProof::Stopped;
    if (counts->empty()) return CapacityProof::NotProven;
    std::nth_element(counts->begin(), counts->begin() + members, counts->end(), std::greater<>());
    const int64_t coverable = std::accumulate(counts->begin(), counts->begin() + members, int64_t{0});
    return stored > coverable ? CapacityProof::Proven : CapacityProof::NotProven;
}

}  // namespace

CapacityProof proveNoSystemBelowCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity,
                                         bool storedMembersOnly, const CountingWork& work) {
    return proveBelowCapacity(masks, guaranteedHits, capacity, storedMembersOnly, false, work);
}

// The greedy search keeps its counting on full wheels too: a stop asked for meanwhile leaves it
// the pass of starting number 1 alone.
CapacityProof proveEveryPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity,
                                            const CountingWork& work) {
    return proveBelowCapacity(masks, guaranteedHits, capacity, true, true, work);
}

bool everyPassReachesCapacity(const std::vector<uint64_t>& masks, int guaranteedHits, int32_t capacity) {
    return proveEveryPassReachesCapacity(masks, guaranteedHits, capacity, CountingWork{}) == CapacityProof::Proven;
}

}  // namespace quillstep
