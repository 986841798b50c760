#pragma once
// The filters tried against a history: for the parameters given, how many past draws each of the
// fourteen modes would have kept, beside how many of all combinations it keeps, and how many past
// draws each condition alone would have rejected. The conditions are the engine's own
// (engine/conditions.h, engine/kernel.h).

#include <array>
#include <cstdint>

#include "draws/history.h"
#include "engine/generation_mode.h"
#include "engine/parameters.h"

namespace quillstep {

// All combinations of seven of 1..39: the draws a past draw is one of.
constexpr int64_t ALL_DRAWN_COMBINATIONS = 15'380'937;

struct ModeBacktest {
    int mode = 0;
    int64_t keptDraws = 0;         // past draws that lie in 1..totalNumbers and pass every condition of the mode
    int64_t keptCombinations = 0;  // combinations of 1..totalNumbers the mode accepts
};

struct ConditionBacktest {
    ConditionFlag condition{};
    int64_t rejectedDraws = 0;  // past draws this condition, tested alone, does not accept
};

// The eight conditions in the fixed order of the modes: R, O/E, S, F, MM, N, NW7, NW5.
constexpr std::array<ConditionFlag, 8> BACKTEST_CONDITIONS{RANGE,   ODD_EVEN,   SUM,          FORCED,
                                                           MIN_MAX, NEIGHBOURS, ALL_EXCLUDED, FIVE_EXCLUDED};

struct BacktestResult {
    int64_t draws = 0;
    int32_t totalNumbers = HIGHEST_NUMBER;
    int64_t drawsAboveTotal = 0;  // past draws with a number above totalNumbers, which no mode keeps
    std::array<ModeBacktest, HIGHEST_MODE> modes{};
    std::array<ConditionBacktest, BACKTEST_CONDITIONS.size()> conditions{};
};

struct BacktestRequest {
    const History* history = nullptr;
    GenerationParameters parameters;
};

BacktestResult backtestFilters(const BacktestRequest& request);

// Whether the condition accepts the seven ascending numbers, by the engine's test of it.
bool conditionAccepts(ConditionFlag condition, const int32_t* numbers, const GenerationParameters& parameters);

}  // namespace quillstep
