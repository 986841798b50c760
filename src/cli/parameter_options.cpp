#include "cli/parameter_options.h"

#include <algorithm>

#include "cli/echoed_text.h"

namespace quillstep {

// The own ranges are the closure of the step rules; a field that depends on another is narrowed
// by it. Fields bounded by the total of numbers are not narrowed by it: they are tested only when
// stepped, so after the total is lowered they may stay above it. Every range is computed from
// values already known to lie in their own ranges, so no sum here can overflow.
using P = const GenerationParameters&;
using G = GenerationParameters;
const std::array<ParameterOption, 11> PARAMETER_OPTIONS{{
    {"total", &G::totalNumbers, {LOWEST_TOTAL_NUMBERS, HIGHEST_NUMBER}, nullptr, nullptr, ""},
    {"min-sum", &G::minSum, {LOWEST_SUM, HIGHEST_SUM}, &G::maxSum,
     [](P p) { return ValueRange{LOWEST_SUM, p.maxSum}; }, " (at most max-sum)"},
    {"max-sum", &G::maxSum, {LOWEST_SUM, HIGHEST_SUM}, &G::minSum,
     [](P p) { return ValueRange{p.minSum, HIGHEST_SUM}; }, " (at least min-sum)"},
    {"min-odd", &G::minOdd, {0, NUMBERS_PER_COMBINATION}, &G::minEven,
     [](P p) { return ValueRange{0, NUMBERS_PER_COMBINATION - p.minEven}; }, " (min-odd + min-even at most 7)"},
    {"min-even", &G::minEven, {0, NUMBERS_PER_COMBINATION}, &G::minOdd,
     [](P p) { return ValueRange{0, NUMBERS_PER_COMBINATION - p.minOdd}; }, " (min-odd + min-even at most 7)"},
    {"forced", &G::forcedNumber, {1, HIGHEST_NUMBER}, nullptr, nullptr, ""},
    {"range-count", &G::rangeCount, {0, NUMBERS_PER_COMBINATION}, nullptr, nullptr, ""},
    {"range-limit", &G::rangeLimit, {NUMBERS_PER_COMBINATION, HIGHEST_NUMBER}, nullptr, nullptr, ""},
    {"min-number", &G::minNumber, {1, HIGHEST_NUMBER - 1}, &G::maxNumber,
     [](P p) { return ValueRange{1, p.maxNumber - 1}; }, " (below max-number)"},
    {"max-number", &G::maxNumber, {2, HIGHEST_NUMBER}, &G::minNumber,
     [](P p) { return ValueRange{p.minNumber + 1, HIGHEST_NUMBER}; }, " (above min-number)"},
    {"max-neighbours", &G::maxNeighbours, {0, NUMBERS_PER_COMBINATION - 1}, nullptr, nullptr, ""},
}};

namespace {

const ParameterOption* optionOfField(int32_t GenerationParameters::*field) {
    const auto row = std::find_if(PARAMETER_OPTIONS.begin(), PARAMETER_OPTIONS.end(),
                                  [&](const ParameterOption& o) { return o.field == field; });
    return row == PARAMETER_OPTIONS.end() ? nullptr : &*row;
}

bool partnerInItsRange(const ParameterOption& option, const GenerationParameters& p) {
    const ParameterOption* partner = option.partner ? optionOfField(option.partner) : nullptr;
    return partner && partner->ownRange.holds(p.*(partner->field));
}

}  // namespace

const ParameterOption* findParameterOption(std::string_view name) {
    const auto row = std::find_if(PARAMETER_OPTIONS.begin(), PARAMETER_OPTIONS.end(),
                                  [&](const ParameterOption& o) { return name == o.name; });
    return row == PARAMETER_OPTIONS.end() ? nullptr : &*row;
}

ValueRange allowedRange(const ParameterOption& option, const GenerationParameters& p) {
    return partnerInItsRange(option, p) ? option.rangeBesidePartner(p) : option.ownRange;
}

std::string refusedParameterMessage(const GenerationParameters& p, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded) {
    for (const GivenValue& value : given) {
        const ParameterOption& option = *value.option;
        const ValueRange range = allowedRange(option, p);
        if (range.holds(p.*(option.field))) continue;
        return std::string("--") + option.name + " " + echoedText(value.typed) + " is out of range: allowed " +
               std::to_string(range.lowest) + " to " + std::to_string(range.highest) +
               (partnerInItsRange(option, p) ? option.why : "");
    }
    // Strictly increasing from 1 to 39: each entry leaves room for the ones after it. The entry
    // before is already known to be in its range when an entry's lowest value is computed.
    const auto& e = p.excludedNumbers;
    for (int i = 1; i <= NUMBERS_PER_COMBINATION; ++i) {
        const ValueRange range{i == 1 ? 1 : e[i - 1] + 1, HIGHEST_NUMBER - (NUMBERS_PER_COMBINATION - i)};
        if (range.holds(e[i])) continue;
        const std::string typed = typedExcluded.size() == 7 ? echoedText(typedExcluded[i - 1]) : std::to_string(e[i]);
        return "--excluded: entry " + std::to_string(i) + " is " + typed + ", allowed " + std::to_string(range.lowest) +
               " to " + std::to_string(range.highest) + " (seven numbers, strictly increasing, from 1 to 39)";
    }
    return findUnreachableParameter(p).value_or("");
}

}  // namespace quillstep
