#include "engine/parameters.h"

namespace quillstep {
namespace {

std::string outOfRange(const char* name, int32_t value, int32_t low, int32_t high, const char* why = "") {
    return std::string("--") + name + " " + std::to_string(value) + " is out of range: allowed " +
           std::to_string(low) + " to " + std::to_string(high) + why;
}

}  // namespace

std::optional<std::string> findUnreachableParameter(const GenerationParameters& p) {
    // Every bound below is the closure of the step rules: a value that depends on the total of
    // numbers is tested only when it is stepped, so after the total is lowered it may stay above it.
    if (p.totalNumbers < LOWEST_TOTAL_NUMBERS || p.totalNumbers > HIGHEST_NUMBER)
        return outOfRange("total", p.totalNumbers, LOWEST_TOTAL_NUMBERS, HIGHEST_NUMBER);
    // Each field is tested against the fields before it only once those lie in their own ranges,
    // so no bound below is computed from an unchecked value and nothing can overflow.
    if (p.minSum < LOWEST_SUM || p.minSum > HIGHEST_SUM)
        return outOfRange("min-sum", p.minSum, LOWEST_SUM, HIGHEST_SUM);
    if (p.maxSum < p.minSum || p.maxSum > HIGHEST_SUM)
        return outOfRange("max-sum", p.maxSum, p.minSum, HIGHEST_SUM);
    if (p.minOdd < 0 || p.minOdd > 7)
        return outOfRange("min-odd", p.minOdd, 0, 7);
    if (p.minEven < 0 || p.minEven > 7 - p.minOdd)
        return outOfRange("min-even", p.minEven, 0, 7 - p.minOdd, " (min-odd + min-even at most 7)");
    if (p.forcedNumber < 1 || p.forcedNumber > HIGHEST_NUMBER)
        return outOfRange("forced", p.forcedNumber, 1, HIGHEST_NUMBER);
    if (p.rangeCount < 0 || p.rangeCount > NUMBERS_PER_COMBINATION)
        return outOfRange("range-count", p.rangeCount, 0, NUMBERS_PER_COMBINATION);
    if (p.rangeLimit < NUMBERS_PER_COMBINATION || p.rangeLimit > HIGHEST_NUMBER)
        return outOfRange("range-limit", p.rangeLimit, NUMBERS_PER_COMBINATION, HIGHEST_NUMBER);
    if (p.minNumber < 1 || p.minNumber > HIGHEST_NUMBER - 1)
        return outOfRange("min-number", p.minNumber, 1, HIGHEST_NUMBER - 1);
    if (p.maxNumber <= p.minNumber || p.maxNumber > HIGHEST_NUMBER)
        return outOfRange("max-number", p.maxNumber, p.minNumber + 1, HIGHEST_NUMBER);
    if (p.maxNeighbours < 0 || p.maxNeighbours > 6)
        return outOfRange("max-neighbours", p.maxNeighbours, 0, 6);
    for (int i = 1; i <= NUMBERS_PER_COMBINATION; ++i) {
        const int32_t low = i == 1 ? 1 : p.excludedNumbers[i - 1] + 1;
        const int32_t high = HIGHEST_NUMBER - (NUMBERS_PER_COMBINATION - i);
        if (p.excludedNumbers[i] < low || p.excludedNumbers[i] > high)
            return "--excluded: entry " + std::to_string(i) + " is " + std::to_string(p.excludedNumbers[i]) +
                   ", allowed " + std::to_string(low) + " to " + std::to_string(high) +
                   " (seven numbers, strictly increasing, from 1 to 39)";
    }
    if (p.numbersPerCombination != NUMBERS_PER_COMBINATION) return "numbers per combination must be 7";
    return std::nullopt;
}

}  // namespace quillstep
