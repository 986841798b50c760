#pragma once
// The texts of the parameters' ranges and of a state the up/down buttons cannot reach, made here
// once for the command line (cli/parameter_options) and the "Set values" window. Both name a
// parameter by its command-line option.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/parameters.h"

namespace quillstep {

// One integer parameter as the user gave it (an option, or a field of the window).
struct GivenValue {
    const ParameterBounds* option;
    std::string typed;
};

// A parameter's value as typed: a whole number, or nothing. A number too large for 32 bits is kept
// at the nearest 32-bit bound, which lies outside every range, so that it is refused as out of
// range with its digits echoed.
std::optional<int32_t> typedParameterValue(const std::string& text);

// "0 to 4 (min-odd + min-even at most 7)": the range the other values leave the parameter, with
// the reason when its partner narrowed it.
std::string allowedRangeText(const ParameterBounds& bounds, const GenerationParameters& parameters);

// What the seven excluded numbers may be.
constexpr const char* EXCLUDED_NUMBERS_RULE = "seven numbers, strictly increasing, from 1 to 39";

// For a state the up/down buttons cannot reach: the message blaming the first value given (in
// the order given) that lies outside allowedRange, else the first excluded number out of order,
// echoing what the user typed (`typedExcluded`: the seven entries as typed, or empty), else the
// first parameter findUnreachableParameter names; empty for a state they can reach.
// "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"
std::string refusedParameterMessage(const GenerationParameters& parameters, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded);

}  // namespace quillstep
