#include "wheels/large_optimiser/part_covering.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>

#include "wheels/large_optimiser/combination_index.h"
#include "wheels/large_optimiser/cover_enumeration.h"
#include "wheels/random.h"
#include "engine/lottery.h"

namespace quillstep::large {
namespace {

constexpr int STEINER_POINTS = 23;
constexpr int BLOCK = 7;
constexpr int T = 4;
constexpr int MAX_PART = 31;  // points of a part, as bits of a 32-bit mask
// g(x) = 1 + x^2 + x^4 + x^5 + x^6 + x^10 + x^11 generates the cyclic Golay code of length 23.
constexpr uint32_t GOLAY_GENERATOR = 0xC75;
constexpr int64_t MOVES_PER_ROUND = 2000000;
constexpr double FIRST_ACCEPTANCE = 0.05;
constexpr double LAST_ACCEPTANCE = 0.0005;

using Clock = std::chrono::steady_clock;

// Colex rank of a 4-subset of the points (mask of up to 32 points).
uint32_t rankOf4(uint32_t subset) {
    uint32_t rank = 0;
    int k = 0;
    for (; subset != 0; subset &= subset - 1) rank += static_cast<uint32_t>(binomialOrZero(std::countr_zero(subset), ++k));
    return rank;
}

// Subsets of `size` points of `points` (as 32-bit masks).
std::vector<uint32_t> subsetsOf(uint32_t points, int size) {
    std::vector<uint64_t> wide;
    appendSubsets(uint64_t{points}, size, wide);
    return {wide.begin(), wide.end()};
}

constexpr int FOURS_OF_SEVEN = 35;

// The 35 subsets of four of the seven points of `block`, without touching the heap: the annealer
// looks at them for every block it weighs, and an allocation there would be one per look.
struct FoursOfSeven {
    explicit FoursOfSeven(uint32_t block) {
        uint32_t point[BLOCK];
        for (int i = 0; i < BLOCK; ++i, block &= block - 1) point[i] = block & (~block + 1);
        int n = 0;
        for (int a = 0; a < BLOCK; ++a)
            for (int b = a + 1; b < BLOCK; ++b)
                for (int c = b + 1; c < BLOCK; ++c)
                    for (int d = c + 1; d < BLOCK; ++d) subsets[n++] = point[a] | point[b] | point[c] | point[d];
    }
    const uint32_t* begin() const { return subsets; }
    const uint32_t* end() const { return subsets + FOURS_OF_SEVEN; }
    uint32_t subsets[FOURS_OF_SEVEN];
};

constexpr int TRIPLES_OF_SIX = 20;

// The 20 subsets of three of the six points of `six`.
void triplesOf(uint32_t six, uint32_t* out) {
    uint32_t point[6];
    for (int i = 0; i < 6; ++i, six &= six - 1) point[i] = six & (~six + 1);
    int n = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            for (int k = j + 1; k < 6; ++k) out[n++] = point[i] | point[j] | point[k];
}

class PartAnnealer {
public:
    PartAnnealer(int points, uint64_t seed) : points_(points), all_((uint32_t{1} << points) - 1), random_{seed} {
        counts_.assign(static_cast<size_t>(binomialOrZero(points, T)), 0);
        position_.assign(counts_.size(), -1);
        for (const uint32_t s : subsetsOf(all_, T)) {
            position_[rankOf4(s)] = static_cast<int32_t>(uncovered_.size());
            uncovered_.push_back(s);
        }
    }

    // The smallest covering found before the deadline or the stop; empty when stopped before the
    // first covering was complete.
    std::vector<uint32_t> search(Clock::time_point deadline, const StopFlag& stop) {
        if (!greedyStart(stop)) return {};
        std::vector<uint32_t> best = blocks_;
        int64_t moves = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            if (uncovered_.empty()) {
                best = blocks_;
                dropBlock();
                continue;
            }
            if ((++moves & 1023) == 0 && Clock::now() >= deadline) break;
            move(moves);
        }
        return best;
    }

private:
    void cover(uint32_t s) {
        const uint32_t r = rankOf4(s);
        if (counts_[r]++ == 0) {
            const int32_t at = position_[r];
            uncovered_[static_cast<size_t>(at)] = uncovered_.back();
            position_[rankOf4(uncovered_[static_cast<size_t>(at)])] = at;
            uncovered_.pop_back();
        }
    }
    void uncover(uint32_t s) {
        const uint32_t r = rankOf4(s);
        if (--counts_[r] == 0) {
            position_[r] = static_cast<int32_t>(uncovered_.size());
            uncovered_.push_back(s);
        }
    }
    void addBlock(uint32_t block) {
        blocks_.push_back(block);
        for (const uint32_t s : FoursOfSeven(block)) cover(s);
    }

    // Blocks of seven, each holding the most uncovered 4-subsets among a few random extensions
    // of an uncovered one. False when stopped first.
    bool greedyStart(const StopFlag& stop) {
        while (!uncovered_.empty()) {
            if (stop.load(std::memory_order_relaxed)) return false;
            uint32_t best = 0;
            int bestGain = -1;
            for (int tries = 0; tries < 32; ++tries) {
                uint32_t block = uncovered_[random_.below(uncovered_.size())];
                while (std::popcount(block) < BLOCK) block |= uint32_t{1} << random_.numberOf(all_ & ~block);
                int gain = 0;
                for (const uint32_t s : FoursOfSeven(block)) gain += counts_[rankOf4(s)] == 0;
                if (gain > bestGain) {
                    bestGain = gain;
                    best = block;
                }
            }
            addBlock(best);
        }
        return true;
    }

    void dropBlock() {
        size_t weakest = 0;
        int least = 1 << 30;
        for (size_t i = 0; i < blocks_.size(); ++i) {
            int sole = 0;
            for (const uint32_t s : FoursOfSeven(blocks_[i])) sole += counts_[rankOf4(s)] == 1;
            if (sole < least) {
                least = sole;
                weakest = i;
            }
        }
        for (const uint32_t s : FoursOfSeven(blocks_[weakest])) uncover(s);
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(weakest));
    }

    void move(int64_t moveNumber) {
        const uint32_t x = uncovered_[random_.below(uncovered_.size())];
        size_t chosen = blocks_.size();
        int seen = 0;
        for (size_t i = 0; i < blocks_.size(); ++i)
            if (std::popcount(blocks_[i] & x) == T - 1 && random_.below(static_cast<uint64_t>(++seen)) == 0) chosen = i;
        if (chosen == blocks_.size()) return;
        const uint32_t old = blocks_[chosen];
        const int a = random_.numberOf(old & ~x);
        const int b = random_.numberOf(x & ~old);
        const uint32_t kept = old & ~(uint32_t{1} << a);
        uint32_t triples[TRIPLES_OF_SIX];
        triplesOf(kept, triples);
        int change = 0;
        for (const uint32_t p : triples) {
            change += counts_[rankOf4(p | uint32_t{1} << a)] == 1;
            change -= counts_[rankOf4(p | uint32_t{1} << b)] == 0;
        }
        if (change > 0) {
            const bool accepted = random_.unit() < std::exp(-change / temperature_);
            const double share = static_cast<double>(moveNumber % MOVES_PER_ROUND) / MOVES_PER_ROUND;
            const double wanted = FIRST_ACCEPTANCE * std::pow(LAST_ACCEPTANCE / FIRST_ACCEPTANCE, share);
            temperature_ = std::max(1e-3, temperature_ * std::exp(0.05 * (wanted - (accepted ? 1.0 : 0.0))));
            if (!accepted) return;
        }
        for (const uint32_t p : triples) {
            cover(p | uint32_t{1} << b);
            uncover(p | uint32_t{1} << a);
        }
        blocks_[chosen] = kept | uint32_t{1} << b;
    }

    const int points_;
    const uint32_t all_;
    Random random_;
    std::vector<int32_t> counts_;
    std::vector<int32_t> position_;
    std::vector<uint32_t> uncovered_;
    std::vector<uint32_t> blocks_;
    double temperature_ = 1.0;
};

// The system of a split: the blocks of each part on its own numbers, blocks of small parts filled
// up with the first numbers of the other part.
std::vector<uint64_t> joinParts(int firstPart, const std::vector<uint32_t>& first, int totalNumbers,
                                const std::vector<uint32_t>& second) {
    std::vector<uint64_t> system;
    const uint64_t all = numbersUpTo(totalNumbers);
    const auto place = [&](uint32_t block, int offset) {
        uint64_t mask = uint64_t{block} << (offset + 1);
        for (uint64_t rest = all & ~mask; std::popcount(mask) < BLOCK; rest &= rest - 1) mask |= rest & -rest;
        if (std::find(system.begin(), system.end(), mask) == system.end()) system.push_back(mask);
    };
    for (const uint32_t b : first) place(b, 0);
    for (const uint32_t b : second) place(b, firstPart);
    return system;
}

}  // namespace

std::vector<uint32_t> steinerBlocks4723() {
    std::vector<uint32_t> blocks;
    for (uint32_t message = 0; message < (1u << 12); ++message) {
        uint32_t word = 0;
        for (int i = 0; i < 12; ++i)
            if (message >> i & 1) word ^= GOLAY_GENERATOR << i;
        if (std::popcount(word) == BLOCK) blocks.push_back(word);
    }
    return blocks;
}

std::vector<uint32_t> coverFourSubsets(int points, double seconds, uint64_t seed, const StopFlag& stop) {
    if (points < BLOCK + 1) return {(uint32_t{1} << points) - 1};
    if (points == STEINER_POINTS) return steinerBlocks4723();
    if (stop.load()) return {};
    PartAnnealer annealer(points, seed);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    return annealer.search(deadline, stop);
}

std::vector<uint64_t> fullWheelFromParts(int totalNumbers, double seconds, uint64_t seed, const StopFlag& stop) {
    // Every split gets a short look; the best one then gets the rest of the time.
    const int smallest = std::max(1, totalNumbers - MAX_PART);
    const int largest = totalNumbers / 2;
    const int splits = largest - smallest + 1;
    if (splits <= 0) return {};
    const double look = seconds * 0.3 / splits;
    int bestFirst = 0;
    size_t bestSize = SIZE_MAX;
    for (int first = smallest; first <= largest && !stop.load(); ++first) {
        const size_t size = coverFourSubsets(first, look, seed, stop).size() +
                            coverFourSubsets(totalNumbers - first, look, seed + 1, stop).size();
        if (size < bestSize) {
            bestSize = size;
            bestFirst = first;
        }
    }
    if (stop.load()) return {};
    // Parts of up to seven numbers and the Steiner part are done at once: the others share the rest.
    const auto searched = [](int points) { return points > BLOCK && points != STEINER_POINTS; };
    const int secondPart = totalNumbers - bestFirst;
    const double rest = seconds * 0.7 / std::max(1, int{searched(bestFirst)} + int{searched(secondPart)});
    const std::vector<uint32_t> first = coverFourSubsets(bestFirst, rest, seed + 2, stop);
    const std::vector<uint32_t> second = coverFourSubsets(secondPart, rest, seed + 3, stop);
    if (stop.load()) return {};
    return joinParts(bestFirst, first, totalNumbers, second);
}

}  // namespace quillstep::large
