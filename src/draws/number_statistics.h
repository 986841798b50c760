#pragma once
// Each number 1..39 over a history of draws: how often it came, how many draws ago it came last,
// its longest wait, and the pairs of numbers drawn together most often. Bonus numbers do not count.

#include <array>
#include <cstdint>
#include <vector>

#include "draws/history.h"

namespace quillstep {

constexpr int64_t NEVER_DRAWN = -1;

struct NumberOverHistory {
    int64_t timesDrawn = 0;
    int64_t drawsSinceLast = NEVER_DRAWN;  // 0: in the latest draw; NEVER_DRAWN: in none
    // The most draws in a row without the number: before its first draw, between two of its draws
    // or since its last (all draws when it never came).
    int64_t longestWait = 0;
};

struct PairOverHistory {
    int32_t first = 0, second = 0;  // first < second
    int64_t timesDrawn = 0;
};

struct HistoryStatistics {
    int64_t draws = 0;
    std::array<NumberOverHistory, HIGHEST_NUMBER + 1> numbers{};  // 1..39 used
    // The pairs drawn together most often, most first (ties by the smaller numbers first).
    std::vector<PairOverHistory> topPairs;

    // How often each number comes in `draws` draws on average: draws * 7 / 39.
    double expectedTimes() const { return static_cast<double>(draws) * NUMBERS_PER_COMBINATION / HIGHEST_NUMBER; }
};

struct HistoryStatisticsRequest {
    const History* history = nullptr;
    size_t pairsKept = 10;
};

HistoryStatistics historyStatistics(const HistoryStatisticsRequest& request);

}  // namespace quillstep
