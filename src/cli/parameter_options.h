#pragma once
// The integer parameters of the command line: one row per field with the values it may take,
// and the message that names the option the user gave when a state cannot be reached.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/parameters.h"

namespace quillstep {

struct ValueRange {
    int32_t lowest;
    int32_t highest;
    bool holds(int32_t value) const { return value >= lowest && value <= highest; }
};

struct ParameterOption {
    const char* name;  // without the leading "--"
    int32_t GenerationParameters::*field;
    ValueRange ownRange;                       // whatever the other fields hold
    int32_t GenerationParameters::*partner;    // the field that narrows the range, or null
    ValueRange (*rangeBesidePartner)(const GenerationParameters&);  // read only when the partner is in its own range
    const char* why;                           // said after a range the partner narrowed
};

extern const std::array<ParameterOption, 11> PARAMETER_OPTIONS;

// The row of option `name` (without "--"), or null.
const ParameterOption* findParameterOption(std::string_view name);

// The range the other fields leave `option`: narrowed by its partner when the partner lies in
// its own range, else the option's own range.
ValueRange allowedRange(const ParameterOption& option, const GenerationParameters& parameters);

// One integer option as the user gave it.
struct GivenValue {
    const ParameterOption* option;
    std::string typed;
};

// For a state the up/down buttons cannot reach: the message blaming the first option given (in
// the order given) whose value lies outside allowedRange, else the first excluded number out of
// order, echoing what the user typed (`typedExcluded`: the seven entries as typed, or empty).
std::string refusedParameterMessage(const GenerationParameters& parameters, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded);

}  // namespace quillstep
