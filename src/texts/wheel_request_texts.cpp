#include "texts/wheel_request_texts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

#include "files/escaped_text.h"

namespace quillstep {
namespace {

// One text per fault; {field} is the field's name, {item} the item as typed, {a} and {b} the
// numbers of the refusal.
constexpr std::array<std::pair<WheelFault, const char*>, 15> FAULT_TEXTS{{
    {WheelFault::Missing, "{field} is needed (a wheel is its pool, its hits and the numbers drawn)"},
    {WheelFault::ListEmpty, "{field} needs numbers from 1 to 39 and ranges separated by commas, such as 1-15,22,30"},
    {WheelFault::ItemEmpty, "{field}: a comma with no number before or after it"},
    {WheelFault::NotNumber, "{field}: '{item}' is neither a number nor a range such as 11-20"},
    {WheelFault::NumberOutOfRange, "{field}: {item} is outside 1 to 39"},
    {WheelFault::RangeBackwards, "{field}: the range {item} runs backwards (write {b}-{a})"},
    {WheelFault::NumberTwice, "{field}: {a} is given twice"},
    {WheelFault::HitsOutOfRange, "{field} needs a whole number from 2 to 6, got '{item}'"},
    {WheelFault::DrawnOutOfRange, "{field} needs a whole number from 2 to 7, got '{item}'"},
    {WheelFault::PoolTooSmall, "a wheel needs at least 8 numbers in the pool, not {a}"},
    {WheelFault::TooManyKeys, "{a} keys given; a wheel takes at most 3"},
    {WheelFault::KeyOutsidePool, "the key {a} is not in the pool"},
    {WheelFault::HitsAboveDrawn, "{a} if {b}: the hits cannot be more than the numbers drawn"},
    {WheelFault::KeysAboveDrawn, "{a} keys cannot all be among {b} numbers drawn"},
    {WheelFault::KeysReachHits,
     "{a} keys at {b} hits: every ticket holds the keys, so any one ticket gives the hits; give fewer keys or more hits"},
}};

void replaceAll(std::string& text, const std::string& mark, const std::string& by) {
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
}

const char* fieldName(WheelField field, const WheelFieldNames& names) {
    switch (field) {
        case WheelField::Pool: return names.pool;
        case WheelField::Keys: return names.keys;
        case WheelField::Hits: return names.hits;
        case WheelField::Drawn: return names.drawn;
    }
    return names.pool;
}

}  // namespace

// "7", "3 and 7", "3, 7 and 9".
std::string numbersInProse(uint64_t mask) {
    std::string text;
    for (uint64_t rest = mask; rest != 0; rest &= rest - 1) {
        if (!text.empty()) text += (rest & (rest - 1)) == 0 ? " and " : ", ";
        text += std::to_string(std::countr_zero(rest));
    }
    return text;
}

const WheelFieldNames COMMAND_LINE_WHEEL_FIELDS{"--pool", "--keys", "--hits", "--if"};
const WheelFieldNames WINDOW_WHEEL_FIELDS{"the pool", "the keys", "hits", "numbers drawn"};

std::string wheelRefusalText(const WheelRefusal& refusal, const WheelFieldNames& names) {
    const auto row = std::find_if(FAULT_TEXTS.begin(), FAULT_TEXTS.end(),
                                  [&](const auto& r) { return r.first == refusal.fault; });
    if (row == FAULT_TEXTS.end()) return {};
    std::string text = row->second;
    replaceAll(text, "{field}", fieldName(refusal.field, names));
    replaceAll(text, "{item}", escapedText(refusal.item, 40));
    replaceAll(text, "{a}", std::to_string(refusal.first));
    replaceAll(text, "{b}", std::to_string(refusal.second));
    return text;
}

std::string refusedTicketText(const RefusedTicket& ticket) {
    const int concerned = std::popcount(ticket.concerned);
    switch (ticket.fault) {
        case TicketFault::NotSevenNumbers:
            return "holds " + std::to_string(std::popcount(ticket.numbers)) + " numbers, not seven";
        case TicketFault::OutsidePool:
            return numbersInProse(ticket.concerned) + (concerned == 1 ? " is" : " are") + " not in the pool";
        case TicketFault::MissingKey:
            return std::string(concerned == 1 ? "misses the key " : "misses the keys ") + numbersInProse(ticket.concerned);
    }
    return {};
}

}  // namespace quillstep
