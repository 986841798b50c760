#include "wheels/large_optimiser/part_covering.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <tuple>

#include "wheels/cover/cover_search.h"
#include "wheels/cover/cover_state.h"
#include "wheels/cover/lower_bound.h"
#include "wheels/cover/target_index.h"
#include "wheels/cover/ticket_building.h"
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
// Element trades a greedy block tries: the start must be quick, since every split's parts get
// one before the best split is chosen (on 39 numbers twelve splits, in a share of 0.75 s at the
// shortest time limits); the descent improves it.
constexpr int GREEDY_TRADES = 32;
// g(x) = 1 + x^2 + x^4 + x^5 + x^6 + x^10 + x^11 generates the cyclic Golay code of length 23.
constexpr uint32_t GOLAY_GENERATOR = 0xC75;

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
    // A greedy covering first, complete whatever the time (the choice of a split compares the
    // parts' sizes), then the covering model's descent on this thread (with its single trades, as
    // at every t = m) until the time is up: each covering it offers is smaller than the last.
    const cover::CoverModel model{points, BLOCK, T, T, {}, {}};
    const cover::TargetIndex targets = cover::TargetIndex::allSubsets(points, T);
    cover::CoverState state(model, targets);
    Random random{seed};
    if (!cover::addGreedyTickets(state, random, stop, GREEDY_TRADES)) return {};
    cover::removeRedundantTickets(state, random, stop);
    std::vector<uint64_t> best = state.tickets();
    cover::DescentSettings descent;
    descent.annealing = cover::annealingFor(model);
    descent.lowerBound = cover::coveringLowerBound(points, BLOCK, T, T);
    descent.deadline = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
    std::atomic<int64_t> moves{0};
    cover::descend(
        state, random, descent, [&] { return static_cast<int64_t>(best.size()); },
        [&](const std::vector<uint64_t>& tickets) { best = tickets; }, stop, moves);
    return {best.begin(), best.end()};
}

std::vector<uint64_t> fullWheelFromParts(int totalNumbers, double seconds, uint64_t seed, const StopFlag& stop) {
    // Every split gets a short look; the best one then gets the rest of the time. A part's
    // covering is complete unless stopped in its greedy start (then empty), so the best system
    // seen so far is kept: a stop after the first look still gives a system.
    const int smallest = std::max(1, totalNumbers - MAX_PART);
    const int largest = totalNumbers / 2;
    const int splits = largest - smallest + 1;
    if (splits <= 0) return {};
    const double look = seconds * 0.3 / splits;
    const auto covered = [](const std::vector<uint32_t>& blocks) { return !blocks.empty(); };
    int bestFirst = 0;
    std::vector<uint32_t> bestOne, bestTwo;
    for (int first = smallest; first <= largest && !stop.load(); ++first) {
        std::vector<uint32_t> one = coverFourSubsets(first, look, seed, stop);
        std::vector<uint32_t> two = coverFourSubsets(totalNumbers - first, look, seed + 1, stop);
        if (!covered(one) || !covered(two)) break;  // stopped
        if (bestFirst == 0 || one.size() + two.size() < bestOne.size() + bestTwo.size()) {
            bestFirst = first;
            bestOne = std::move(one);
            bestTwo = std::move(two);
        }
    }
    if (bestFirst == 0) return {};
    // Parts of up to seven numbers and the Steiner part are done at once: the others share the rest.
    const auto searched = [](int points) { return points > BLOCK && points != STEINER_POINTS; };
    const int secondPart = totalNumbers - bestFirst;
    const double rest = seconds * 0.7 / std::max(1, int{searched(bestFirst)} + int{searched(secondPart)});
    for (const auto& [points, blocks, partSeed] :
         {std::tuple{bestFirst, &bestOne, seed + 2}, std::tuple{secondPart, &bestTwo, seed + 3}}) {
        if (stop.load()) break;
        std::vector<uint32_t> again = coverFourSubsets(points, rest, partSeed, stop);
        if (covered(again) && again.size() < blocks->size()) *blocks = std::move(again);
    }
    return joinParts(bestFirst, bestOne, totalNumbers, bestTwo);
}

}  // namespace quillstep::large
