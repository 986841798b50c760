#include "app/parameter_steps.h"

#include <array>

#include "commands/number_text.h"
#include "commands/store_commands.h"

namespace quillstep {
namespace {

using Refusal = bool (*)(const GenerationParameters&);

// One parameter with its label and buttons. The refusal tests are written on the values before
// the step, exactly as the bounds are stated for the user.
struct FieldStep {
    int32_t GenerationParameters::*field;
    int labelId;
    const char* mask;
    int upId;
    Refusal upRefused;
    int downId;
    Refusal downRefused;
};

using P = const GenerationParameters&;

constexpr std::array<FieldStep, 11> FIELD_STEPS{{
    {&GenerationParameters::totalNumbers, 1039, "##", 1045, [](P p) { return p.totalNumbers + 1 >= 40; },
     1046, [](P p) { return p.totalNumbers - 1 < 8; }},
    {&GenerationParameters::minSum, 1041, "###", 1047, [](P p) { return p.minSum + 1 > p.maxSum; },
     1048, [](P p) { return p.minSum - 1 <= 27; }},
    {&GenerationParameters::maxSum, 1042, "###", 1049, [](P p) { return p.maxSum + 1 >= 253; },
     1050, [](P p) { return p.maxSum - 1 < p.minSum; }},
    {&GenerationParameters::minOdd, 1043, "#", 1051, [](P p) { return p.minOdd + 1 + p.minEven > 7; },
     1052, [](P p) { return p.minOdd - 1 < 0; }},
    {&GenerationParameters::minEven, 1044, "#", 1053, [](P p) { return p.minEven + 1 + p.minOdd > 7; },
     1054, [](P p) { return p.minEven - 1 < 0; }},
    {&GenerationParameters::forcedNumber, 1056, "##", 1057, [](P p) { return p.forcedNumber + 1 > p.totalNumbers; },
     1058, [](P p) { return p.forcedNumber - 1 < 1; }},
    {&GenerationParameters::rangeCount, 1060, "##", 1064,
     [](P p) { return p.rangeCount + 1 > p.numbersPerCombination; },
     1065, [](P p) { return p.rangeCount - 1 < 0; }},
    {&GenerationParameters::rangeLimit, 1067, "##", 1068, [](P p) { return p.rangeLimit + 1 > p.totalNumbers; },
     1069, [](P p) { return p.rangeLimit - 1 < p.numbersPerCombination; }},
    {&GenerationParameters::minNumber, 1116, "##", 1117, [](P p) { return p.minNumber + 1 >= p.maxNumber; },
     1118, [](P p) { return p.minNumber - 1 <= 0; }},
    {&GenerationParameters::maxNumber, 1120, "##", 1121, [](P p) { return p.maxNumber + 1 > p.totalNumbers; },
     1122, [](P p) { return p.maxNumber - 1 <= p.minNumber; }},
    // The neighbours' "down" button is created before its "up" button; the ids follow that order.
    {&GenerationParameters::maxNeighbours, 1126, "#", 1128, [](P p) { return p.maxNeighbours + 1 >= 7; },
     1127, [](P p) { return p.maxNeighbours - 1 < 0; }},
}};

// Column i (1 to 7) of the excluded numbers: "up" 1137 + i, label 1130 + i, "down" 1144 + i.
constexpr int EXCLUDED_LABEL_BASE = 1130;
constexpr int EXCLUDED_UP_BASE = 1137;
constexpr int EXCLUDED_DOWN_BASE = 1144;
constexpr int EXCLUDED_ENTRIES = 7;

void stepField(SharedState& state, Platform& platform, const FieldStep& step, int delta) {
    GenerationParameters& p = state.parameters;
    if ((delta > 0 ? step.upRefused : step.downRefused)(p)) return;
    p.*step.field += delta;
    platform.setControlText(step.labelId, maskedNumberText(p.*step.field, step.mask));
    disableStoreCommands(platform);
}

// The entries stay strictly increasing within 1 to 39: an entry never steps onto its neighbour.
void stepExcludedNumber(SharedState& state, Platform& platform, int entry, int delta) {
    auto& e = state.parameters.excludedNumbers;
    const int32_t lowest = entry == 1 ? 1 : e[entry - 1] + 1;
    const int32_t highest = entry == EXCLUDED_ENTRIES ? HIGHEST_NUMBER : e[entry + 1] - 1;
    const int32_t stepped = e[entry] + delta;
    if (stepped < lowest || stepped > highest) return;
    e[entry] = stepped;
    showExcludedNumber(state, platform, entry);
}

}  // namespace

void showExcludedNumber(const SharedState& state, Platform& platform, int entry) {
    platform.setControlText(EXCLUDED_LABEL_BASE + entry,
                            maskedNumberText(state.parameters.excludedNumbers[entry], "##"));
}

bool stepParameterButton(SharedState& state, Platform& platform, int controlId) {
    for (const FieldStep& step : FIELD_STEPS) {
        if (controlId == step.upId || controlId == step.downId) {
            stepField(state, platform, step, controlId == step.upId ? +1 : -1);
            return true;
        }
    }
    if (controlId > EXCLUDED_UP_BASE && controlId <= EXCLUDED_UP_BASE + EXCLUDED_ENTRIES) {
        stepExcludedNumber(state, platform, controlId - EXCLUDED_UP_BASE, +1);
        return true;
    }
    if (controlId > EXCLUDED_DOWN_BASE && controlId <= EXCLUDED_DOWN_BASE + EXCLUDED_ENTRIES) {
        stepExcludedNumber(state, platform, controlId - EXCLUDED_DOWN_BASE, -1);
        return true;
    }
    return false;
}

std::vector<int> parameterStepButtons() {
    std::vector<int> ids;
    for (const FieldStep& step : FIELD_STEPS) {
        ids.push_back(step.upId);
        ids.push_back(step.downId);
    }
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) ids.push_back(EXCLUDED_UP_BASE + i);
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) ids.push_back(EXCLUDED_DOWN_BASE + i);
    return ids;
}

}  // namespace quillstep
