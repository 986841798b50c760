#pragma once
// Stores for the tests of the greedy search, as combinations of numbers: every combination of a
// total, random ones, ones that share few numbers, a full wheel after a storing run; and the rows
// a search left in the abbreviated-system store.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/shared_state.h"
#include "support/test_support.h"

namespace quillstep {

using SevenNumbers = std::array<int32_t, 7>;

// A state whose store holds `combinations`, in the order given.
inline std::unique_ptr<SharedState> stateWithStore(const std::vector<SevenNumbers>& combinations) {
    auto state = createSharedState();
    for (size_t j = 0; j < combinations.size(); ++j)
        std::copy(combinations[j].begin(), combinations[j].end(), state->combinationStore.get() + 7 * j + 1);
    state->generatedCount = static_cast<int32_t>(combinations.size());
    return state;
}

// The state after the storing run of the full wheel of 1..totalNumbers (mode 2).
inline std::unique_ptr<SharedState> fullWheelState(int totalNumbers) {
    auto state = createSharedState();
    state->parameters.totalNumbers = totalNumbers;
    HeadlessPlatform platform;
    runGeneration(*state, platform, 2);
    return state;
}

// Every combination of `totalNumbers` numbers, in lexicographic order.
inline std::vector<SevenNumbers> allCombinations(int totalNumbers) {
    std::vector<SevenNumbers> out;
    SevenNumbers c{1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        out.push_back(c);
        int i = 6;
        while (i >= 0 && c[i] == totalNumbers - 6 + i) --i;
        if (i < 0) return out;
        ++c[i];
        for (int k = i + 1; k < 7; ++k) c[k] = c[k - 1] + 1;
    }
}

// The first `size` rows of the abbreviated-system store.
inline std::vector<SevenNumbers> systemRows(const SharedState& state, int32_t size) {
    std::vector<SevenNumbers> rows(size);
    for (int32_t s = 0; s < size; ++s) std::copy_n(state.systemCombination(s), 7, rows[s].begin());
    return rows;
}

// A random store: `count` distinct combinations of 1..totalNumbers, in lexicographic order.
inline std::vector<SevenNumbers> randomStore(std::mt19937& random, int totalNumbers, size_t count) {
    std::vector<SevenNumbers> pool = allCombinations(totalNumbers);
    std::shuffle(pool.begin(), pool.end(), random);
    pool.resize(std::min(count, pool.size()));
    std::sort(pool.begin(), pool.end());
    return pool;
}

// Combinations of 1..39 no two of which share more than four numbers: every G5 pass adds them all.
inline std::vector<SevenNumbers> g5Strangers(size_t count) {
    std::mt19937 random(7);
    std::vector<SevenNumbers> chosen;
    std::vector<uint64_t> masks;
    while (chosen.size() < count) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % 39);
        if (std::any_of(masks.begin(), masks.end(), [&](uint64_t m) { return std::popcount(m & mask) > 4; })) continue;
        masks.push_back(mask);
        SevenNumbers c{};
        for (int v = 1, i = 0; v <= 39; ++v)
            if (mask >> v & 1) c[i++] = v;
        chosen.push_back(c);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

// Random combinations and pairs as masks (bit v for number v).
inline uint64_t randomCombination(std::mt19937& random, int lowest, int highest) {
    uint64_t mask = 0;
    while (std::popcount(mask) < 7) mask |= uint64_t{1} << (lowest + random() % (highest - lowest + 1));
    return mask;
}

// Lexicographic order of the numbers: the lower of two masks holds the lowest differing number.
inline bool lexicographicallyBefore(uint64_t a, uint64_t b) { return a != b && ((a ^ b) & -(a ^ b) & a); }

// `pairs` pairs of combinations sharing six numbers, any two combinations of different pairs
// sharing at most four, in store order: every pass with five hits adds one combination of each
// pair.
inline std::vector<uint64_t> g5Pairs(size_t pairs) {
    std::mt19937 random(11);
    std::vector<uint64_t> masks;
    while (masks.size() < 2 * pairs) {
        const uint64_t first = randomCombination(random, 1, 39);
        uint64_t dropped = first;
        for (unsigned skip = random() % 7; skip > 0; --skip) dropped &= dropped - 1;
        const uint64_t added = uint64_t{1} << (1 + random() % 39);
        if (added & first) continue;
        const uint64_t second = (first & ~(dropped & -dropped)) | added;
        const auto close = [&](uint64_t m) { return std::popcount(m & first) > 4 || std::popcount(m & second) > 4; };
        if (std::any_of(masks.begin(), masks.end(), close)) continue;
        masks.push_back(first);
        masks.push_back(second);
    }
    std::sort(masks.begin(), masks.end(), lexicographicallyBefore);
    return masks;
}

}  // namespace quillstep
