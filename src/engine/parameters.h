#pragma once
// The parameters of a generation run, as the up/down buttons of the main window set them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quillstep {

constexpr int32_t NUMBERS_PER_COMBINATION = 7;
constexpr int32_t LOWEST_TOTAL_NUMBERS = 8;
constexpr int32_t HIGHEST_NUMBER = 39;  // also the upper bound of the excluded numbers
constexpr int32_t LOWEST_SUM = 28;      // 1 + 2 + ... + 7
constexpr int32_t HIGHEST_SUM = 252;    // 33 + 34 + ... + 39

struct GenerationParameters {
    int32_t totalNumbers = 39;
    int32_t minSum = 140;
    int32_t maxSum = 150;
    int32_t minOdd = 3;
    int32_t minEven = 4;
    int32_t forcedNumber = 25;
    int32_t rangeCount = 2;
    int32_t rangeLimit = 20;
    int32_t numbersPerCombination = NUMBERS_PER_COMBINATION;
    int32_t minNumber = 1;
    int32_t maxNumber = 39;
    int32_t maxNeighbours = 3;
    // Indices 1 to 7 hold the seven excluded numbers in increasing order; 0 and 8 carry nothing.
    std::array<int32_t, 9> excludedNumbers{0, 1, 2, 3, 4, 5, 6, 7, 0};
};

// Whether the up/down buttons can bring the parameters into this state from the defaults.
// Returns a one-line message naming the first offending parameter and its allowed range,
// or nothing when the state is reachable. The names are the command-line option names.
std::optional<std::string> findUnreachableParameter(const GenerationParameters& parameters);

}  // namespace quillstep
