#include "windows/wheel_choice.h"

#include <algorithm>

#include "windows/smaller_systems_choice.h"

namespace quillstep {
namespace {

bool stepWithin(int& value, bool up, int lowest, int highest) {
    const int next = value + (up ? 1 : -1);
    if (next < lowest || next > highest) return false;
    value = next;
    return true;
}

}  // namespace

void clickSlipNumber(WheelChoice& choice, int number) {
    if (number < 1 || number > HIGHEST_NUMBER) return;
    const uint64_t bit = uint64_t{1} << number;
    if (choice.markingKeys)
        choice.keys ^= bit;
    else
        choice.pool ^= bit;
}

void clearSlip(WheelChoice& choice) {
    choice.pool = 0;
    choice.keys = 0;
}

bool stepWheelHits(WheelChoice& choice, bool up) {
    return stepWithin(choice.hits, up, WHEEL_FEWEST_HITS, WHEEL_MOST_HITS);
}

bool stepWheelDrawn(WheelChoice& choice, bool up) {
    return stepWithin(choice.drawn, up, WHEEL_FEWEST_DRAWN, WHEEL_MOST_DRAWN);
}

bool stepWheelTimeLimit(WheelChoice& choice, bool up) {
    const auto at = std::find(TIME_LIMIT_STEPS.begin(), TIME_LIMIT_STEPS.end(), choice.timeLimitSeconds);
    if (at == TIME_LIMIT_STEPS.end()) {
        choice.timeLimitSeconds = TIME_LIMIT_STEPS.front();
        return true;
    }
    if (up ? at + 1 == TIME_LIMIT_STEPS.end() : at == TIME_LIMIT_STEPS.begin()) return false;
    choice.timeLimitSeconds = up ? *(at + 1) : *(at - 1);
    return true;
}

WheelRequest wheelRequestOf(const WheelChoice& choice) {
    return WheelRequest{choice.pool, choice.keys, choice.hits, choice.drawn};
}

WheelRefusal wheelChoiceFault(const WheelChoice& choice) { return findWheelRequestFault(wheelRequestOf(choice)); }

}  // namespace quillstep
