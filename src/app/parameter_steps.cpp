#include "app/parameter_steps.h"

#include <array>

#include "windows/control_ids.h"
#include "files/number_text.h"
#include "app/store_commands.h"

namespace quillstep {
namespace {

// One parameter with its label and buttons; its bounds come from PARAMETER_BOUNDS.
struct FieldStep {
    int32_t GenerationParameters::*field;
    int labelId;
    const char* mask;
    int upId;
    int downId;
};

using G = GenerationParameters;
constexpr std::array<FieldStep, 11> FIELD_STEPS{{
    {&G::totalNumbers, TOTAL_NUMBERS_LABEL, "##", TOTAL_NUMBERS_UP, TOTAL_NUMBERS_DOWN},
    {&G::minSum, MIN_SUM_LABEL, "###", MIN_SUM_UP, MIN_SUM_DOWN},
    {&G::maxSum, MAX_SUM_LABEL, "###", MAX_SUM_UP, MAX_SUM_DOWN},
    {&G::minOdd, MIN_ODD_LABEL, "#", MIN_ODD_UP, MIN_ODD_DOWN},
    {&G::minEven, MIN_EVEN_LABEL, "#", MIN_EVEN_UP, MIN_EVEN_DOWN},
    {&G::forcedNumber, FORCED_NUMBER_LABEL, "##", FORCED_NUMBER_UP, FORCED_NUMBER_DOWN},
    {&G::rangeCount, RANGE_COUNT_LABEL, "##", RANGE_COUNT_UP, RANGE_COUNT_DOWN},
    {&G::rangeLimit, RANGE_LIMIT_LABEL, "##", RANGE_LIMIT_UP, RANGE_LIMIT_DOWN},
    {&G::minNumber, MIN_NUMBER_LABEL, "##", MIN_NUMBER_UP, MIN_NUMBER_DOWN},
    {&G::maxNumber, MAX_NUMBER_LABEL, "##", MAX_NUMBER_UP, MAX_NUMBER_DOWN},
    {&G::maxNeighbours, MAX_NEIGHBOURS_LABEL, "#", MAX_NEIGHBOURS_UP, MAX_NEIGHBOURS_DOWN},
}};

// A step is tested on the values before it: up is refused above the step range, down below it.
bool refused(const ValueRange& range, int32_t value, int delta) {
    return delta > 0 ? value + 1 > range.highest : value - 1 < range.lowest;
}

// A field has a new value: its label shows it and the store no longer matches the parameters.
void showChangedField(const SharedState& state, Platform& platform, const FieldStep& step) {
    platform.setControlText(step.labelId, maskedNumberText(state.parameters.*step.field, step.mask));
    disableStoreCommands(platform);
}

void stepField(SharedState& state, Platform& platform, const FieldStep& step, int delta) {
    GenerationParameters& p = state.parameters;
    if (refused(stepRange(boundsOf(step.field), p), p.*step.field, delta)) return;
    p.*step.field += delta;
    showChangedField(state, platform, step);
}

// The entries stay strictly increasing within 1 to 39: an entry never steps onto its neighbour.
void stepExcludedNumber(SharedState& state, Platform& platform, int entry, int delta) {
    auto& e = state.parameters.excludedNumbers;
    if (refused(excludedStepRange(state.parameters, entry), e[entry], delta)) return;
    e[entry] += delta;
    showExcludedNumber(state, platform, entry);
}

}  // namespace

void showExcludedNumber(const SharedState& state, Platform& platform, int entry) {
    platform.setControlText(excludedLabel(entry),
                            maskedNumberText(state.parameters.excludedNumbers[entry], "##"));
}

void applyParameters(SharedState& state, Platform& platform, const GenerationParameters& parameters) {
    GenerationParameters& p = state.parameters;
    for (const FieldStep& step : FIELD_STEPS) {
        if (p.*step.field == parameters.*step.field) continue;
        p.*step.field = parameters.*step.field;
        showChangedField(state, platform, step);
    }
    for (int entry = 1; entry <= EXCLUDED_ENTRIES; ++entry) {
        if (p.excludedNumbers[entry] == parameters.excludedNumbers[entry]) continue;
        p.excludedNumbers[entry] = parameters.excludedNumbers[entry];
        showExcludedNumber(state, platform, entry);
    }
}

bool stepParameterButton(SharedState& state, Platform& platform, int controlId) {
    for (const FieldStep& step : FIELD_STEPS) {
        if (controlId == step.upId || controlId == step.downId) {
            stepField(state, platform, step, controlId == step.upId ? +1 : -1);
            return true;
        }
    }
    for (int entry = 1; entry <= EXCLUDED_ENTRIES; ++entry) {
        if (controlId == excludedUp(entry) || controlId == excludedDown(entry)) {
            stepExcludedNumber(state, platform, entry, controlId == excludedUp(entry) ? +1 : -1);
            return true;
        }
    }
    return false;
}

std::vector<int> parameterStepButtons() {
    std::vector<int> ids;
    for (const FieldStep& step : FIELD_STEPS) {
        ids.push_back(step.upId);
        ids.push_back(step.downId);
    }
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) ids.push_back(excludedUp(i));
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) ids.push_back(excludedDown(i));
    return ids;
}

}  // namespace quillstep
