#pragma once
// A system tried against a history: for each past draw the line of the system that shares the most
// numbers with it, the draws counted by that best match, the hits of every line in every draw
// counted by class, and with prices what the system would have cost and won.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "draws/history.h"
#include "draws/prices.h"

namespace quillstep {

struct WinsRequest {
    const History* history = nullptr;
    const uint64_t* lines = nullptr;  // the system's lines as masks (bit v for number v)
    int64_t lineCount = 0;
    std::optional<TicketPrices> prices;
};

struct WinsResult {
    int64_t draws = 0;
    int64_t lines = 0;
    std::array<int64_t, 8> drawsByBestMatch{};  // by the most numbers one line shares with the draw
    std::array<int64_t, 8> lineHits{};          // every line in every draw, by the numbers it shares
    std::vector<int32_t> bestLine;               // per draw (oldest first): the first line with the most, from 0
    std::vector<int8_t> bestMatch;               // per draw: that line's numbers in the draw
    bool priced = false;
    int64_t costHundredths = 0;  // lines x ticket price x draws
    int64_t wonHundredths = 0;   // the prizes of every line in every draw
    int64_t balanceHundredths() const { return wonHundredths - costHundredths; }
};

WinsResult systemWinsOverHistory(const WinsRequest& request);

}  // namespace quillstep
