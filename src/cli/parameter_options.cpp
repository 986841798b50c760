#include "cli/parameter_options.h"

#include <algorithm>

#include "cli/echoed_text.h"

namespace quillstep {
namespace {

bool partnerInItsRange(const ParameterOption& option, const GenerationParameters& p) {
    return option.partner && boundsOf(option.partner).ownRange.holds(p.*(option.partner));
}

// "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"
std::string outOfRangeMessage(const ParameterOption& option, const std::string& typed, const GenerationParameters& p) {
    const ValueRange range = allowedRange(option, p);
    return std::string("--") + option.name + " " + typed + " is out of range: allowed " + std::to_string(range.lowest) +
           " to " + std::to_string(range.highest) + (partnerInItsRange(option, p) ? option.why : "");
}

std::string excludedMessage(int entry, const std::string& typed, const ValueRange& range) {
    return "--excluded: entry " + std::to_string(entry) + " is " + typed + ", allowed " + std::to_string(range.lowest) +
           " to " + std::to_string(range.highest) + " (seven numbers, strictly increasing, from 1 to 39)";
}

}  // namespace

const ParameterOption* findParameterOption(std::string_view name) {
    const auto row = std::find_if(PARAMETER_OPTIONS.begin(), PARAMETER_OPTIONS.end(),
                                  [&](const ParameterOption& o) { return name == o.name; });
    return row == PARAMETER_OPTIONS.end() ? nullptr : &*row;
}

std::string refusedParameterMessage(const GenerationParameters& p, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded) {
    for (const GivenValue& value : given) {
        const ParameterOption& option = *value.option;
        if (allowedRange(option, p).holds(p.*(option.field))) continue;
        return outOfRangeMessage(option, echoedText(value.typed), p);
    }
    const auto unreachable = findUnreachableParameter(p);
    if (!unreachable) return "";
    if (unreachable->bounds)
        return outOfRangeMessage(*unreachable->bounds, std::to_string(p.*(unreachable->bounds->field)), p);
    if (const int i = unreachable->excludedEntry; i != 0) {
        const std::string typed =
            typedExcluded.size() == 7 ? echoedText(typedExcluded[i - 1]) : std::to_string(p.excludedNumbers[i]);
        return excludedMessage(i, typed, unreachable->allowed);
    }
    return "numbers per combination must be 7";
}

}  // namespace quillstep
