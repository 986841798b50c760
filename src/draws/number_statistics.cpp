#include "draws/number_statistics.h"

#include <algorithm>
#include <bit>

namespace quillstep {

HistoryStatistics historyStatistics(const HistoryStatisticsRequest& request) {
    HistoryStatistics result;
    const std::vector<PastDraw>& draws = request.history->draws;
    result.draws = static_cast<int64_t>(draws.size());
    // The draw after the number's last one (0 before its first), walked oldest first.
    std::array<int64_t, HIGHEST_NUMBER + 1> waitStart{};
    std::array<std::array<int64_t, HIGHEST_NUMBER + 1>, HIGHEST_NUMBER + 1> pairs{};
    for (int64_t d = 0; d < result.draws; ++d) {
        const PastDraw& draw = draws[static_cast<size_t>(d)];
        for (size_t i = 0; i < NUMBERS_PER_COMBINATION; ++i) {
            const int32_t v = draw.numbers[i];
            NumberOverHistory& number = result.numbers[static_cast<size_t>(v)];
            ++number.timesDrawn;
            number.longestWait = std::max(number.longestWait, d - waitStart[static_cast<size_t>(v)]);
            waitStart[static_cast<size_t>(v)] = d + 1;
            for (size_t j = i + 1; j < NUMBERS_PER_COMBINATION; ++j) ++pairs[static_cast<size_t>(v)][static_cast<size_t>(draw.numbers[j])];
        }
    }
    for (int32_t v = 1; v <= HIGHEST_NUMBER; ++v) {
        NumberOverHistory& number = result.numbers[static_cast<size_t>(v)];
        const int64_t start = waitStart[static_cast<size_t>(v)];
        number.longestWait = std::max(number.longestWait, result.draws - start);
        number.drawsSinceLast = number.timesDrawn > 0 ? result.draws - start : NEVER_DRAWN;
    }
    std::vector<PairOverHistory> all;
    for (int32_t a = 1; a <= HIGHEST_NUMBER; ++a)
        for (int32_t b = a + 1; b <= HIGHEST_NUMBER; ++b)
            all.push_back({a, b, pairs[static_cast<size_t>(a)][static_cast<size_t>(b)]});
    const size_t kept = std::min(request.pairsKept, all.size());
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                      [](const PairOverHistory& x, const PairOverHistory& y) {
                          if (x.timesDrawn != y.timesDrawn) return x.timesDrawn > y.timesDrawn;
                          return x.first != y.first ? x.first < y.first : x.second < y.second;
                      });
    all.resize(kept);
    result.topPairs = std::move(all);
    return result;
}

}  // namespace quillstep
