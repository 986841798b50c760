#pragma once
// Everything the process shares from start-up to exit: parameters, results of the last run and
// the arrays, each created once, zero-filled and never resized.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/parameters.h"
#include "base/zero_filled_memory.h"

namespace quillstep {

constexpr int64_t COMBINATION_STORE_ELEMENTS = 107'666'581;  // element 0 unused
constexpr int64_t COMBINATION_STORE_CAPACITY = 15'380'940;   // combinations
constexpr int32_t ABBREVIATED_SYSTEM_CAPACITY = 1000;         // combinations
constexpr int64_t ABBREVIATED_SYSTEM_STORE_ELEMENTS = 7001;   // element 0 unused
constexpr int NUMBER_STATISTICS_ELEMENTS = 41;                 // counters 1 to 39 used

struct SharedState {
    GenerationParameters parameters;
    int32_t generatedCount = 0;
    std::string memoryDescription;
    std::array<int32_t, 9> boundTable{};
    std::array<int32_t, NUMBER_STATISTICS_ELEMENTS> numberStatistics{};
    ZeroFilledArray abbreviatedSystemStore;  // 7001 elements
    ZeroFilledArray combinationStore;        // 107,666,581 elements
    std::string countingMessage;             // what the statistics window shows under the counts
    // Folder that receives the three text files; empty means the current working directory.
    std::filesystem::path outputFolder;

    // Combination j (from 0) of the store: seven ascending numbers.
    const int32_t* storedCombination(int64_t j) const { return combinationStore.get() + NUMBERS_PER_COMBINATION * j + 1; }
    const int32_t* systemCombination(int64_t s) const { return abbreviatedSystemStore.get() + NUMBERS_PER_COMBINATION * s + 1; }
};

// Creates the shared state with its defaults and zero-filled arrays. Returns null when an array
// cannot be allocated; nothing that reads the store may run then.
std::unique_ptr<SharedState> createSharedState();

// The text shown when createSharedState fails.
extern const char* const STORE_ALLOCATION_FAILED_MESSAGE;

}  // namespace quillstep
