#pragma once
// The "Set values" window without the window: its thirteen fields (the parameters of the main
// window, read from top to bottom), the text each shows, the range beside it, and the reading of
// what was typed, checked by the rules of the up/down buttons and the command line.

#include <array>
#include <optional>
#include <string>

#include "engine/parameters.h"

namespace quillstep {

enum class SetValuesFieldKind { Bounded, NumbersPerCombination, Excluded };

struct SetValuesField {
    const char* caption;  // plain English with the command-line option the messages name
    SetValuesFieldKind kind;
    int32_t GenerationParameters::*field;  // a field of PARAMETER_BOUNDS (Bounded only)
};

constexpr int SET_VALUES_FIELD_COUNT = 13;
extern const std::array<SetValuesField, SET_VALUES_FIELD_COUNT> SET_VALUES_FIELDS;

using SetValuesTexts = std::array<std::string, SET_VALUES_FIELD_COUNT>;

// The texts the fields show for these parameters ("140"; the excluded numbers "1,2,3,4,5,6,7").
SetValuesTexts setValuesTexts(const GenerationParameters& parameters);

// The range beside a field, for the values typed so far (a field that holds no number counts with
// the value of `current`): "28 to 150 (at most max-sum)", "always 7", the excluded numbers' rule.
std::string setValuesRangeText(const SetValuesField& field, const SetValuesTexts& typed,
                               const GenerationParameters& current);

// What OK makes of the typed texts: the new parameters, or why nothing is applied - a field that
// holds no whole number (named by its caption), or the command line's message for a state the
// up/down buttons cannot reach (naming the first changed field out of its range).
struct SetValuesReading {
    std::optional<GenerationParameters> parameters;
    std::string error;
};
SetValuesReading readSetValues(const SetValuesTexts& typed, const GenerationParameters& current);

}  // namespace quillstep
