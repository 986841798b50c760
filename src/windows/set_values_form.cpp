#include "windows/set_values_form.h"

#include <charconv>
#include <limits>
#include <vector>

#include "files/escaped_text.h"
#include "texts/parameter_texts.h"

namespace quillstep {

using G = GenerationParameters;
using Kind = SetValuesFieldKind;
const std::array<SetValuesField, SET_VALUES_FIELD_COUNT> SET_VALUES_FIELDS{{
    {"Total numbers in system (total)", Kind::Bounded, &G::totalNumbers},
    {"Numbers in combination", Kind::NumbersPerCombination, nullptr},
    {"Min sum of numbers (min-sum)", Kind::Bounded, &G::minSum},
    {"Max sum of numbers (max-sum)", Kind::Bounded, &G::maxSum},
    {"Min odd numbers (min-odd)", Kind::Bounded, &G::minOdd},
    {"Min even numbers (min-even)", Kind::Bounded, &G::minEven},
    {"Forced number (forced)", Kind::Bounded, &G::forcedNumber},
    {"Numbers in range (range-count)", Kind::Bounded, &G::rangeCount},
    {"Range from 1 to (range-limit)", Kind::Bounded, &G::rangeLimit},
    {"Min number (min-number)", Kind::Bounded, &G::minNumber},
    {"Max number (max-number)", Kind::Bounded, &G::maxNumber},
    {"Max neighbouring numbers (max-neighbours)", Kind::Bounded, &G::maxNeighbours},
    {"Excluded numbers (excluded)", Kind::Excluded, nullptr},
}};

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}


// The seven excluded numbers as typed (blanks around each allowed), or nothing.
std::optional<std::vector<std::string>> excludedEntries(const std::string& text) {
    std::vector<std::string> entries;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        entries.push_back(trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (!typedParameterValue(entries.back())) return std::nullopt;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return entries;
}

std::string quoted(const std::string& text) { return "'" + escapedText(text, ECHOED_TEXT_LIMIT) + "'"; }

// Every field that holds a number put into `p`; the others keep their value.
void takeNumbers(const SetValuesTexts& typed, GenerationParameters& p) {
    for (size_t i = 0; i < SET_VALUES_FIELDS.size(); ++i) {
        const SetValuesField& field = SET_VALUES_FIELDS[i];
        const std::string text = trimmed(typed[i]);
        if (field.kind == Kind::Excluded) {
            if (const auto entries = excludedEntries(text); entries && entries->size() == 7)
                for (int k = 0; k < 7; ++k) p.excludedNumbers[k + 1] = *typedParameterValue((*entries)[k]);
        } else if (const auto value = typedParameterValue(text)) {
            (field.kind == Kind::Bounded ? p.*field.field : p.numbersPerCombination) = *value;
        }
    }
}

}  // namespace

SetValuesTexts setValuesTexts(const GenerationParameters& p) {
    SetValuesTexts texts;
    for (size_t i = 0; i < SET_VALUES_FIELDS.size(); ++i) {
        const SetValuesField& field = SET_VALUES_FIELDS[i];
        if (field.kind == Kind::Bounded) {
            texts[i] = std::to_string(p.*field.field);
        } else if (field.kind == Kind::NumbersPerCombination) {
            texts[i] = std::to_string(p.numbersPerCombination);
        } else {
            for (int k = 1; k <= 7; ++k) texts[i] += (k > 1 ? "," : "") + std::to_string(p.excludedNumbers[k]);
        }
    }
    return texts;
}

std::string setValuesRangeText(const SetValuesField& field, const SetValuesTexts& typed,
                               const GenerationParameters& current) {
    if (field.kind == Kind::NumbersPerCombination) return "always " + std::to_string(NUMBERS_PER_COMBINATION);
    if (field.kind == Kind::Excluded) return EXCLUDED_NUMBERS_RULE;
    GenerationParameters p = current;
    takeNumbers(typed, p);
    return allowedRangeText(boundsOf(field.field), p);
}

SetValuesReading readSetValues(const SetValuesTexts& typed, const GenerationParameters& current) {
    const SetValuesTexts before = setValuesTexts(current);
    GenerationParameters p = current;
    std::vector<GivenValue> changed;
    std::vector<std::string> typedExcluded;
    for (size_t i = 0; i < SET_VALUES_FIELDS.size(); ++i) {
        const SetValuesField& field = SET_VALUES_FIELDS[i];
        const std::string text = trimmed(typed[i]);
        if (field.kind == Kind::Excluded) {
            const auto entries = excludedEntries(text);
            if (!entries)
                return {std::nullopt, std::string(field.caption) +
                                          " needs seven whole numbers separated by commas, got " + quoted(text)};
            if (entries->size() != 7)
                return {std::nullopt, std::string(field.caption) + " needs exactly seven numbers, got " +
                                          std::to_string(entries->size())};
            typedExcluded = *entries;
            continue;
        }
        if (!typedParameterValue(text))
            return {std::nullopt, std::string(field.caption) + " needs a whole number, got " + quoted(text)};
        if (field.kind == Kind::Bounded && text != before[i]) changed.push_back({&boundsOf(field.field), text});
    }
    takeNumbers(typed, p);
    if (findUnreachableParameter(p)) return {std::nullopt, refusedParameterMessage(p, changed, typedExcluded)};
    return {p, ""};
}

}  // namespace quillstep
