#include "wheels/pool/wheel_request.h"

#include <bit>
#include <charconv>
#include <optional>

namespace quillstep {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Digits only; a value too large for an int is kept at a bound outside every range.
int wholeNumber(std::string_view digits) {
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range || end != digits.data() + digits.size()) return 1 << 30;
    return value;
}

WheelRefusal refusal(WheelFault fault, WheelField field, std::string_view item = {}, int first = 0, int second = 0) {
    return WheelRefusal{fault, field, std::string(item), first, second};
}

// One item of a list: a number or a range, into `numbers`.
WheelRefusal readItem(std::string_view item, WheelField field, uint64_t& numbers) {
    if (item.empty()) return refusal(WheelFault::ItemEmpty, field);
    std::string_view low = item, high = item;
    if (const size_t dash = item.find('-'); dash != std::string_view::npos && dash > 0) {
        low = trimmed(item.substr(0, dash));
        high = trimmed(item.substr(dash + 1));
    }
    if (!allDigits(low) || !allDigits(high)) return refusal(WheelFault::NotNumber, field, item);
    const int a = wholeNumber(low), b = wholeNumber(high);
    for (const auto& [value, typed] : {std::pair{a, low}, std::pair{b, high}})
        if (value < 1 || value > HIGHEST_NUMBER)
            return refusal(WheelFault::NumberOutOfRange, field, typed);
    if (a > b) return refusal(WheelFault::RangeBackwards, field, item, a, b);
    for (int v = a; v <= b; ++v) {
        if (numbers >> v & 1) return refusal(WheelFault::NumberTwice, field, {}, v);
        numbers |= uint64_t{1} << v;
    }
    return {};
}

// t or m: a whole number within [lowest, highest], or nothing.
std::optional<int> boundedNumber(std::string_view text, int lowest, int highest) {
    const std::string_view digits = trimmed(text);
    if (!allDigits(digits)) return std::nullopt;
    const int value = wholeNumber(digits);
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

}  // namespace

NumberListReading readNumberList(std::string_view text, WheelField field) {
    NumberListReading reading;
    if (trimmed(text).empty()) {
        reading.refusal = refusal(WheelFault::ListEmpty, field);
        return reading;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string_view item =
            trimmed(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        reading.refusal = readItem(item, field, reading.numbers);
        if (reading.refusal.refused()) {
            reading.numbers = 0;
            return reading;
        }
        if (comma == std::string_view::npos) return reading;
        start = comma + 1;
    }
}

WheelRefusal findWheelRequestFault(const WheelRequest& request) {
    const int poolSize = std::popcount(request.pool);
    const int keyCount = std::popcount(request.keys);
    const uint64_t allowed = numbersUpTo(HIGHEST_NUMBER);
    if ((request.pool & ~allowed) != 0)
        return refusal(WheelFault::NumberOutOfRange, WheelField::Pool,
                       std::to_string(63 - std::countl_zero(request.pool & ~allowed)));
    if (poolSize < WHEEL_SMALLEST_POOL) return refusal(WheelFault::PoolTooSmall, WheelField::Pool, {}, poolSize);
    if (keyCount > WHEEL_MOST_KEYS) return refusal(WheelFault::TooManyKeys, WheelField::Keys, {}, keyCount);
    if (const uint64_t outside = request.keys & ~request.pool; outside != 0)
        return refusal(WheelFault::KeyOutsidePool, WheelField::Keys, {}, std::countr_zero(outside));
    if (request.hits < WHEEL_FEWEST_HITS || request.hits > WHEEL_MOST_HITS)
        return refusal(WheelFault::HitsOutOfRange, WheelField::Hits, std::to_string(request.hits));
    if (request.drawn < WHEEL_FEWEST_DRAWN || request.drawn > WHEEL_MOST_DRAWN)
        return refusal(WheelFault::DrawnOutOfRange, WheelField::Drawn, std::to_string(request.drawn));
    if (request.hits > request.drawn)
        return refusal(WheelFault::HitsAboveDrawn, WheelField::Hits, {}, request.hits, request.drawn);
    if (keyCount > request.drawn)
        return refusal(WheelFault::KeysAboveDrawn, WheelField::Keys, {}, keyCount, request.drawn);
    if (keyCount >= request.hits)
        return refusal(WheelFault::KeysReachHits, WheelField::Keys, {}, keyCount, request.hits);
    return {};
}

WheelRequestReading readWheelRequest(const WheelRequestTexts& texts) {
    WheelRequestReading reading;
    const NumberListReading pool = readNumberList(texts.pool, WheelField::Pool);
    if (pool.refusal.refused()) {
        reading.refusal = pool.refusal;
        return reading;
    }
    reading.request.pool = pool.numbers;
    if (texts.keysGiven) {
        const NumberListReading keys = readNumberList(texts.keys, WheelField::Keys);
        if (keys.refusal.refused()) {
            reading.refusal = keys.refusal;
            return reading;
        }
        reading.request.keys = keys.numbers;
    }
    const auto hits = boundedNumber(texts.hits, WHEEL_FEWEST_HITS, WHEEL_MOST_HITS);
    if (!hits) {
        reading.refusal = refusal(WheelFault::HitsOutOfRange, WheelField::Hits, texts.hits);
        return reading;
    }
    const auto drawn = boundedNumber(texts.drawn, WHEEL_FEWEST_DRAWN, WHEEL_MOST_DRAWN);
    if (!drawn) {
        reading.refusal = refusal(WheelFault::DrawnOutOfRange, WheelField::Drawn, texts.drawn);
        return reading;
    }
    reading.request.hits = *hits;
    reading.request.drawn = *drawn;
    reading.refusal = findWheelRequestFault(reading.request);
    return reading;
}

std::string numberListText(uint64_t mask) {
    std::string text;
    for (int v = 0; v < 64;) {
        if (!(mask >> v & 1)) {
            ++v;
            continue;
        }
        int end = v;
        while (end + 1 < 64 && (mask >> (end + 1) & 1)) ++end;
        if (!text.empty()) text += ',';
        text += std::to_string(v);
        if (end - v >= 2) {
            text += '-' + std::to_string(end);
        } else if (end > v) {
            text += ',' + std::to_string(end);
        }
        v = end + 1;
    }
    return text;
}

std::string numbersText(uint64_t mask) {
    std::string text;
    for (; mask != 0; mask &= mask - 1) {
        if (!text.empty()) text += ',';
        text += std::to_string(std::countr_zero(mask));
    }
    return text;
}

CoverRequest wheelCoverRequest(const WheelRequest& wheel) {
    CoverRequest request;
    request.pool = wheel.pool;
    request.keys = wheel.keys;
    request.hits = wheel.hits;
    request.drawn = wheel.drawn;
    request.anyTicket = true;
    return request;
}

WheelRequest wheelOf(const CoverRequest& request) { return {request.pool, request.keys, request.hits, request.drawn}; }

}  // namespace quillstep
