#include "draws/prices.h"

#include <cstdlib>

#include "files/escaped_text.h"

namespace quillstep {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int64_t> parseAmount(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.size() > 8 || fraction.size() > 2) return std::nullopt;
    if (point != std::string_view::npos && fraction.empty()) return std::nullopt;
    int64_t units = 0, hundredths = 0;
    for (const char c : whole) {
        if (!isDigit(c)) return std::nullopt;
        units = units * 10 + (c - '0');
    }
    for (size_t k = 0; k < 2; ++k) {
        const char c = k < fraction.size() ? fraction[k] : '0';
        if (!isDigit(c)) return std::nullopt;
        hundredths = hundredths * 10 + (c - '0');
    }
    if (units > HIGHEST_AMOUNT_UNITS || (units == HIGHEST_AMOUNT_UNITS && hundredths > 0)) return std::nullopt;
    return units * 100 + hundredths;
}

std::string parsePrizes(std::string_view text, TicketPrices& prices) {
    const std::string shape = "prizes go as hits=amount separated by commas, hits 1 to 7, amounts 0 to " +
                              std::to_string(HIGHEST_AMOUNT_UNITS) + " with at most two decimals (3=1,4=10,5=100)";
    if (text.empty()) return shape + ", got nothing";
    std::array<bool, 8> given{};
    std::array<int64_t, 8> prizes{};
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const size_t equals = item.find('=');
        const std::string_view hits = item.substr(0, equals);
        const auto amount = equals == std::string_view::npos ? std::nullopt : parseAmount(item.substr(equals + 1));
        if (hits.size() != 1 || hits[0] < '1' || hits[0] > '7' || !amount)
            return shape + ", got '" + escapedText(item, 30) + "'";
        const size_t k = static_cast<size_t>(hits[0] - '0');
        if (given[k]) return "the prize for " + std::string(hits) + " hits is given twice";
        given[k] = true;
        prizes[k] = *amount;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    prices.prizeHundredths = prizes;
    return {};
}

std::string amountText(int64_t hundredths) {
    const bool negative = hundredths < 0;
    const uint64_t size = negative ? uint64_t(0) - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
    std::string text = (negative ? "-" : "") + std::to_string(size / 100);
    if (const uint64_t cents = size % 100; cents != 0) text += (cents < 10 ? ".0" : ".") + std::to_string(cents);
    return text;
}

}  // namespace quillstep
