#pragma once
// The integer parameters of the command line: one row per field with the values it may take (the
// table of engine/parameters.h); the message that names the option the user gave when a state
// cannot be reached is made in windows/parameter_texts, which the "Set values" window shares.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/parameters.h"
#include "texts/parameter_texts.h"

namespace quillstep {

using ParameterOption = ParameterBounds;
inline const std::array<ParameterOption, 11>& PARAMETER_OPTIONS = PARAMETER_BOUNDS;

// The row of option `name` (without "--"), or null.
const ParameterOption* findParameterOption(std::string_view name);

}  // namespace quillstep
