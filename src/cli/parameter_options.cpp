#include "cli/parameter_options.h"

#include <algorithm>

namespace quillstep {

const ParameterOption* findParameterOption(std::string_view name) {
    const auto row = std::find_if(PARAMETER_OPTIONS.begin(), PARAMETER_OPTIONS.end(),
                                  [&](const ParameterOption& o) { return name == o.name; });
    return row == PARAMETER_OPTIONS.end() ? nullptr : &*row;
}

}  // namespace quillstep
