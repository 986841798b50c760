#include "windows/smaller_systems_choice.h"

#include <algorithm>

namespace quillstep {

bool stepGuarantee(SmallerSystemsChoice& choice, bool up) {
    const int next = choice.guaranteedHits + (up ? 1 : -1);
    if (next < LOWEST_GUARANTEE || next > HIGHEST_GUARANTEE) return false;
    choice.guaranteedHits = next;
    return true;
}

bool stepTimeLimit(SmallerSystemsChoice& choice, bool up) {
    // The neighbour in the table, found by value, so that a limit between two steps moves to the
    // nearer one on that side.
    const int current = choice.timeLimitSeconds;
    if (up) {
        const auto next = std::upper_bound(TIME_LIMIT_STEPS.begin(), TIME_LIMIT_STEPS.end(), current);
        if (next == TIME_LIMIT_STEPS.end()) return false;
        choice.timeLimitSeconds = *next;
    } else {
        const auto atOrAbove = std::lower_bound(TIME_LIMIT_STEPS.begin(), TIME_LIMIT_STEPS.end(), current);
        if (atOrAbove == TIME_LIMIT_STEPS.begin()) return false;
        choice.timeLimitSeconds = *(atOrAbove - 1);
    }
    return true;
}

OptimiseSettings optimiseSettingsOf(const SmallerSystemsChoice& choice) {
    OptimiseSettings settings;
    settings.guaranteedHits = choice.guaranteedHits;
    settings.timeLimitSeconds = choice.timeLimitSeconds;
    settings.anyCombination = choice.anyCombination;
    return settings;
}

}  // namespace quillstep
