#pragma once
// A history of past draws of a 7/39 lottery, oldest first: each draw's seven numbers, its bonus
// numbers kept apart, its date when the file gives one and the line of the file it came from.

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/lottery.h"

namespace quillstep {

constexpr int32_t MOST_BONUS_NUMBERS = 3;
// A history file holds at most this many draws; the reader refuses it at the first draw beyond.
constexpr int64_t HISTORY_DRAW_LIMIT = 100'000;

struct DrawDate {
    int32_t year = 0;  // 0: no date
    int32_t month = 0;
    int32_t day = 0;

    bool known() const { return year != 0; }
    auto operator<=>(const DrawDate&) const = default;
};

// "2024-03-09".
std::string isoDateText(const DrawDate& date);

struct PastDraw {
    std::array<int32_t, NUMBERS_PER_COMBINATION> numbers{};  // ascending
    uint64_t mask = 0;                             // bit v for number v
    std::array<int32_t, MOST_BONUS_NUMBERS> bonus{};
    int32_t bonusCount = 0;
    DrawDate date;
    int64_t line = 0;  // the line of the file, from 1
};

struct History {
    std::vector<PastDraw> draws;  // oldest first
    bool dated = false;           // every draw has a date (and the draws are ordered by it)
};

}  // namespace quillstep
