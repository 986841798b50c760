#include "engine/parameters.h"

#include <algorithm>

namespace quillstep {

// Every range beside a partner is computed from a partner already known to lie in its own range,
// so no sum here can overflow.
using P = const GenerationParameters&;
using G = GenerationParameters;
const std::array<ParameterBounds, 11> PARAMETER_BOUNDS{{
    {"total", &G::totalNumbers, {LOWEST_TOTAL_NUMBERS, HIGHEST_NUMBER}, nullptr, nullptr, "", false},
    {"min-sum", &G::minSum, {LOWEST_SUM, HIGHEST_SUM}, &G::maxSum,
     [](P p) { return ValueRange{LOWEST_SUM, p.maxSum}; }, " (at most max-sum)", false},
    {"max-sum", &G::maxSum, {LOWEST_SUM, HIGHEST_SUM}, &G::minSum,
     [](P p) { return ValueRange{p.minSum, HIGHEST_SUM}; }, " (at least min-sum)", false},
    {"min-odd", &G::minOdd, {0, NUMBERS_PER_COMBINATION}, &G::minEven,
     [](P p) { return ValueRange{0, NUMBERS_PER_COMBINATION - p.minEven}; }, " (min-odd + min-even at most 7)", false},
    {"min-even", &G::minEven, {0, NUMBERS_PER_COMBINATION}, &G::minOdd,
     [](P p) { return ValueRange{0, NUMBERS_PER_COMBINATION - p.minOdd}; }, " (min-odd + min-even at most 7)", false},
    {"forced", &G::forcedNumber, {1, HIGHEST_NUMBER}, nullptr, nullptr, "", true},
    {"range-count", &G::rangeCount, {0, NUMBERS_PER_COMBINATION}, nullptr, nullptr, "", false},
    {"range-limit", &G::rangeLimit, {NUMBERS_PER_COMBINATION, HIGHEST_NUMBER}, nullptr, nullptr, "", true},
    {"min-number", &G::minNumber, {1, HIGHEST_NUMBER - 1}, &G::maxNumber,
     [](P p) { return ValueRange{1, p.maxNumber - 1}; }, " (below max-number)", false},
    {"max-number", &G::maxNumber, {2, HIGHEST_NUMBER}, &G::minNumber,
     [](P p) { return ValueRange{p.minNumber + 1, HIGHEST_NUMBER}; }, " (above min-number)", true},
    {"max-neighbours", &G::maxNeighbours, {0, NUMBERS_PER_COMBINATION - 1}, nullptr, nullptr, "", false},
}};

const ParameterBounds& boundsOf(int32_t GenerationParameters::*field) {
    return *std::find_if(PARAMETER_BOUNDS.begin(), PARAMETER_BOUNDS.end(),
                         [&](const ParameterBounds& b) { return b.field == field; });
}

ValueRange allowedRange(const ParameterBounds& bounds, const GenerationParameters& p) {
    const bool partnerInItsRange = bounds.partner && boundsOf(bounds.partner).ownRange.holds(p.*bounds.partner);
    return partnerInItsRange ? bounds.rangeBesidePartner(p) : bounds.ownRange;
}

ValueRange stepRange(const ParameterBounds& bounds, const GenerationParameters& p) {
    ValueRange range = bounds.partner ? bounds.rangeBesidePartner(p) : bounds.ownRange;
    if (bounds.belowTotal) range.highest = std::min(range.highest, p.totalNumbers);
    return range;
}

ValueRange excludedRange(const GenerationParameters& p, int entry) {
    return {entry == 1 ? 1 : p.excludedNumbers[entry - 1] + 1, HIGHEST_NUMBER - (NUMBERS_PER_COMBINATION - entry)};
}

ValueRange excludedStepRange(const GenerationParameters& p, int entry) {
    return {entry == 1 ? 1 : p.excludedNumbers[entry - 1] + 1,
            entry == NUMBERS_PER_COMBINATION ? HIGHEST_NUMBER : p.excludedNumbers[entry + 1] - 1};
}

std::optional<UnreachableParameter> findUnreachableParameter(const GenerationParameters& p) {
    // A field is tested beside its partner once the partner, earlier in the table, is known to lie
    // in its own range; the first of a pair is tested against its own range.
    for (const ParameterBounds& bounds : PARAMETER_BOUNDS) {
        const bool partnerChecked = bounds.partner && &boundsOf(bounds.partner) < &bounds;
        const ValueRange range = partnerChecked ? bounds.rangeBesidePartner(p) : bounds.ownRange;
        if (!range.holds(p.*bounds.field)) return UnreachableParameter{&bounds, 0, range};
    }
    // The entry before is already known to be in its range when an entry's range is computed.
    for (int i = 1; i <= NUMBERS_PER_COMBINATION; ++i) {
        const ValueRange range = excludedRange(p, i);
        if (!range.holds(p.excludedNumbers[i])) return UnreachableParameter{nullptr, i, range};
    }
    if (p.numbersPerCombination != NUMBERS_PER_COMBINATION)
        return UnreachableParameter{nullptr, 0, {NUMBERS_PER_COMBINATION, NUMBERS_PER_COMBINATION}};
    return std::nullopt;
}

}  // namespace quillstep
