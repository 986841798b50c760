#pragma once
// The integer parameters of the command line: one row per field with the values it may take (the
// table of engine/parameters.h), and the message that names the option the user gave when a
// state cannot be reached.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/parameters.h"

namespace quillstep {

using ParameterOption = ParameterBounds;
inline const std::array<ParameterOption, 11>& PARAMETER_OPTIONS = PARAMETER_BOUNDS;

// The row of option `name` (without "--"), or null.
const ParameterOption* findParameterOption(std::string_view name);

// One integer option as the user gave it.
struct GivenValue {
    const ParameterOption* option;
    std::string typed;
};

// For a state the up/down buttons cannot reach: the message blaming the first option given (in
// the order given) whose value lies outside allowedRange, else the first excluded number out of
// order, echoing what the user typed (`typedExcluded`: the seven entries as typed, or empty),
// else the first parameter findUnreachableParameter names.
std::string refusedParameterMessage(const GenerationParameters& parameters, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded);

}  // namespace quillstep
