#pragma once
// The fourteen generation modes: which conditions each tests, in the fixed order
// R, O/E, S, F, MM, N, then NW7 or NW5, and whether it stores what it accepts.

#include <array>
#include <cstdint>

namespace quillstep {

enum ConditionFlag : uint32_t {
    RANGE = 1u << 0,          // R
    ODD_EVEN = 1u << 1,       // O/E
    SUM = 1u << 2,            // S
    FORCED = 1u << 3,         // F
    MIN_MAX = 1u << 4,        // MM
    NEIGHBOURS = 1u << 5,     // N
    ALL_EXCLUDED = 1u << 6,   // NW7
    FIVE_EXCLUDED = 1u << 7,  // NW5
};

struct GenerationModeRow {
    int mode;
    uint32_t conditions;
    bool stores;
};

constexpr uint32_t MODE_10_CONDITIONS = RANGE | ODD_EVEN | SUM | FORCED;
constexpr uint32_t MODE_12_CONDITIONS = MODE_10_CONDITIONS | MIN_MAX | NEIGHBOURS;

constexpr std::array<GenerationModeRow, 14> GenerationModes{{
    {1, 0, false},
    {2, 0, true},
    {3, SUM, false},
    {4, SUM, true},
    {5, ODD_EVEN, false},
    {6, ODD_EVEN, true},
    {7, ODD_EVEN | SUM, false},
    {8, ODD_EVEN | SUM, true},
    {9, ODD_EVEN | SUM | FORCED, true},
    {10, MODE_10_CONDITIONS, true},
    {11, MODE_10_CONDITIONS | MIN_MAX, true},
    {12, MODE_12_CONDITIONS, true},
    {13, MODE_12_CONDITIONS | ALL_EXCLUDED, true},
    {14, MODE_12_CONDITIONS | FIVE_EXCLUDED, true},
}};

constexpr int LOWEST_MODE = 1;
constexpr int HIGHEST_MODE = 14;

constexpr bool isGenerationMode(int mode) { return mode >= LOWEST_MODE && mode <= HIGHEST_MODE; }
constexpr bool isStoringMode(int mode) { return isGenerationMode(mode) && GenerationModes[mode - 1].stores; }

}  // namespace quillstep
