#include "texts/parameter_texts.h"

#include <charconv>
#include <limits>

#include "files/escaped_text.h"

namespace quillstep {

std::optional<int32_t> typedParameterValue(const std::string& text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ptr != end) return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return text[0] == '-' ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
    if (ec != std::errc()) return std::nullopt;
    return value;
}
namespace {

bool partnerInItsRange(const ParameterBounds& option, const GenerationParameters& p) {
    return option.partner && boundsOf(option.partner).ownRange.holds(p.*(option.partner));
}

std::string echoed(const std::string& typed) { return escapedText(typed, ECHOED_TEXT_LIMIT); }

std::string outOfRangeMessage(const ParameterBounds& option, const std::string& typed, const GenerationParameters& p) {
    return std::string("--") + option.name + " " + typed + " is out of range: allowed " + allowedRangeText(option, p);
}

std::string excludedMessage(int entry, const std::string& typed, const ValueRange& range) {
    return "--excluded: entry " + std::to_string(entry) + " is " + typed + ", allowed " + std::to_string(range.lowest) +
           " to " + std::to_string(range.highest) + " (" + EXCLUDED_NUMBERS_RULE + ")";
}

}  // namespace

std::string allowedRangeText(const ParameterBounds& bounds, const GenerationParameters& p) {
    const ValueRange range = allowedRange(bounds, p);
    return std::to_string(range.lowest) + " to " + std::to_string(range.highest) +
           (partnerInItsRange(bounds, p) ? bounds.why : "");
}

std::string refusedParameterMessage(const GenerationParameters& p, const std::vector<GivenValue>& given,
                                    const std::vector<std::string>& typedExcluded) {
    for (const GivenValue& value : given) {
        const ParameterBounds& option = *value.option;
        if (allowedRange(option, p).holds(p.*(option.field))) continue;
        return outOfRangeMessage(option, echoed(value.typed), p);
    }
    const auto unreachable = findUnreachableParameter(p);
    if (!unreachable) return "";
    if (unreachable->bounds)
        return outOfRangeMessage(*unreachable->bounds, std::to_string(p.*(unreachable->bounds->field)), p);
    if (const int i = unreachable->excludedEntry; i != 0) {
        const std::string typed =
            typedExcluded.size() == 7 ? echoed(typedExcluded[i - 1]) : std::to_string(p.excludedNumbers[i]);
        return excludedMessage(i, typed, unreachable->allowed);
    }
    return "numbers per combination must be 7";
}

}  // namespace quillstep
