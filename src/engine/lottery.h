#pragma once
// The facts of the lottery every layer shares: seven numbers a combination, numbers 1 to 39, and
// a set of numbers as a 64-bit mask (bit v for number v).

#include <cstdint>

namespace quillstep {

constexpr int32_t NUMBERS_PER_COMBINATION = 7;
constexpr int32_t HIGHEST_NUMBER = 39;
// One past the highest number: the size of a table indexed by number, the bits below which every
// number lies.
constexpr int32_t NUMBER_LIMIT = HIGHEST_NUMBER + 1;

// The numbers lowest..highest (both from 0 to 63) as a mask; none when lowest > highest.
constexpr uint64_t numbersBetween(int lowest, int highest) {
    return lowest > highest ? 0 : (uint64_t{2} << highest) - (uint64_t{1} << lowest);
}

// The numbers 1..highest as a mask (from 0 on; 63 and above give every number a mask holds).
constexpr uint64_t numbersUpTo(int highest) { return numbersBetween(1, highest < 63 ? highest : 63); }

}  // namespace quillstep
