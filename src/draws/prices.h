#pragma once
// Money amounts of the wins over a history: a ticket price per line and draw, a prize per hit
// class. Amounts are kept in hundredths so that sums are exact.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillstep {

// An amount from 0 to this many whole units, with at most two decimals; the sums of the wins
// over 10,000 lines and 100,000 draws stay within 64 bits.
constexpr int64_t HIGHEST_AMOUNT_UNITS = 10'000'000;

struct TicketPrices {
    int64_t ticketHundredths = 0;                  // per line and draw
    std::array<int64_t, 8> prizeHundredths{};      // by hits 0..7; what is not given is 0
};

// "2", "2.5", "0.75": hundredths, or nothing when the text is no such amount.
std::optional<int64_t> parseAmount(std::string_view text);

// "3=1,4=10,5=100.50,6=5000,7=1000000" (classes 1 to 7, each at most once, in any order) into
// `prices`; returns why the text is refused, or "" when it is taken.
std::string parsePrizes(std::string_view text, TicketPrices& prices);

// "12", "12.50", "-3.05": whole amounts without decimals, others with two.
std::string amountText(int64_t hundredths);

}  // namespace quillstep
