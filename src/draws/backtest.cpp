#include "draws/backtest.h"

#include <array>
#include <utility>

#include "engine/conditions.h"
#include "engine/kernel.h"

namespace quillstep {

namespace {

using ConditionTest = bool (*)(const int32_t* numbers, const GenerationParameters& parameters);

// The engine's own test of each condition.
constexpr std::array<std::pair<ConditionFlag, ConditionTest>, 8> CONDITION_TESTS{{
    {RANGE, rangeCondition},
    {ODD_EVEN, oddEvenCondition},
    {SUM, sumCondition},
    {FORCED, forcedNumberCondition},
    {MIN_MAX, minMaxCondition},
    {NEIGHBOURS, neighboursCondition},
    {ALL_EXCLUDED, allExcludedCondition},
    {FIVE_EXCLUDED, fiveExcludedCondition},
}};

}  // namespace

bool conditionAccepts(ConditionFlag condition, const int32_t* a, const GenerationParameters& p) {
    for (const auto& [flag, test] : CONDITION_TESTS)
        if (flag == condition) return test(a, p);
    return true;
}

BacktestResult backtestFilters(const BacktestRequest& request) {
    const GenerationParameters& p = request.parameters;
    BacktestResult result;
    result.draws = static_cast<int64_t>(request.history->draws.size());
    result.totalNumbers = p.totalNumbers;
    for (size_t c = 0; c < BACKTEST_CONDITIONS.size(); ++c) result.conditions[c].condition = BACKTEST_CONDITIONS[c];
    // Each draw is tested once per condition; a mode keeps it when every condition of the mode
    // accepts it (the set of conditions failed, as flags, must not meet the mode's).
    std::array<int64_t, 256> drawsByFailedConditions{};
    for (const PastDraw& draw : request.history->draws) {
        uint32_t failed = 0;
        for (size_t c = 0; c < BACKTEST_CONDITIONS.size(); ++c) {
            if (conditionAccepts(BACKTEST_CONDITIONS[c], draw.numbers.data(), p)) continue;
            failed |= BACKTEST_CONDITIONS[c];
            ++result.conditions[c].rejectedDraws;
        }
        if (draw.numbers[NUMBERS_PER_COMBINATION - 1] > p.totalNumbers) {
            ++result.drawsAboveTotal;
            continue;
        }
        ++drawsByFailedConditions[failed];
    }
    for (const GenerationModeRow& row : GenerationModes) {
        ModeBacktest& mode = result.modes[static_cast<size_t>(row.mode - 1)];
        mode.mode = row.mode;
        for (uint32_t failed = 0; failed < drawsByFailedConditions.size(); ++failed)
            if ((failed & row.conditions) == 0) mode.keptDraws += drawsByFailedConditions[failed];
        mode.keptCombinations = countingKernelOfMode(row.mode)(p, p.totalNumbers, nullptr);
    }
    return result;
}

}  // namespace quillstep
