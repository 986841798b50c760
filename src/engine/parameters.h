#pragma once
// The parameters of a generation run, as the up/down buttons of the main window set them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/lottery.h"

namespace quillstep {

constexpr int32_t LOWEST_TOTAL_NUMBERS = 8;
constexpr int32_t LOWEST_SUM = 28;      // 1 + 2 + ... + 7
constexpr int32_t HIGHEST_SUM = 252;    // 33 + 34 + ... + 39

struct GenerationParameters {
    int32_t totalNumbers = HIGHEST_NUMBER;
    int32_t minSum = 140;
    int32_t maxSum = 150;
    int32_t minOdd = 3;
    int32_t minEven = 4;
    int32_t forcedNumber = 25;
    int32_t rangeCount = 2;
    int32_t rangeLimit = 20;
    int32_t numbersPerCombination = NUMBERS_PER_COMBINATION;
    int32_t minNumber = 1;
    int32_t maxNumber = HIGHEST_NUMBER;
    int32_t maxNeighbours = 3;
    // Indices 1 to 7 hold the seven excluded numbers in increasing order; 0 and 8 carry nothing.
    std::array<int32_t, 9> excludedNumbers{0, 1, 2, 3, 4, 5, 6, 7, 0};
};

struct ValueRange {
    int32_t lowest;
    int32_t highest;
    bool holds(int32_t value) const { return value >= lowest && value <= highest; }
};

// The bounds of one integer parameter, the one source of the up/down steps (app/parameter_steps),
// the command line's ranges and messages (cli/parameter_options) and the reachable-state check.
struct ParameterBounds {
    const char* name;  // the command line's option, without the leading "--"
    int32_t GenerationParameters::*field;
    // Whatever the other fields hold: the closure of the step rules. A field that a step keeps at
    // or below totalNumbers (belowTotal) may stay above it once the total is lowered.
    ValueRange ownRange;
    int32_t GenerationParameters::*partner;  // the field that narrows the range, or null
    ValueRange (*rangeBesidePartner)(const GenerationParameters&);  // read only when the partner is in its own range
    const char* why;  // said after a range the partner narrowed
    bool belowTotal;  // a step up stops at totalNumbers
};

extern const std::array<ParameterBounds, 11> PARAMETER_BOUNDS;

// The row of `field`, which must be one of the eleven.
const ParameterBounds& boundsOf(int32_t GenerationParameters::*field);

// The range the other fields leave the parameter: narrowed by its partner when the partner lies in
// its own range, else its own range.
ValueRange allowedRange(const ParameterBounds& bounds, const GenerationParameters& parameters);

// What a step of the parameter is tested against, on the values before the step: a step up is
// refused above `highest`, a step down below `lowest`.
ValueRange stepRange(const ParameterBounds& bounds, const GenerationParameters& parameters);

// Excluded number `entry` (1 to 7): the values a state may hold (strictly increasing, room left
// for the entries after it) and the values a step may reach (between its neighbours).
ValueRange excludedRange(const GenerationParameters& parameters, int entry);
ValueRange excludedStepRange(const GenerationParameters& parameters, int entry);

// The first parameter outside the range the others leave it, in the table's order, then the
// excluded numbers, then the numbers per combination.
struct UnreachableParameter {
    const ParameterBounds* bounds = nullptr;  // null: an excluded number, or the numbers per combination
    int excludedEntry = 0;                    // 1 to 7 for an excluded number
    ValueRange allowed{0, 0};
};

// Whether the up/down buttons can bring the parameters into this state from the defaults: nothing
// when they can, else the first offending parameter and its allowed range.
std::optional<UnreachableParameter> findUnreachableParameter(const GenerationParameters& parameters);

}  // namespace quillstep
