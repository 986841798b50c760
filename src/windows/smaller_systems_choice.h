#pragma once
// What the user chooses in the "Smaller systems" window before a search: the guarantee, the time
// limit and whether system members may be any seven numbers. Each value changes one step at a
// time; a step past a bound is refused and changes nothing.

#include <array>

#include "usecases/optimise_command.h"

namespace quillstep {

// The time limits a user can step through, in seconds: fine steps for short trials, coarser ones
// for the long searches that find the smallest systems.
constexpr std::array<int, 14> TIME_LIMIT_STEPS{5, 10, 15, 20, 30, 45, 60, 90, 120, 180, 240, 300, 420, 600};
constexpr int LOWEST_GUARANTEE = 4, HIGHEST_GUARANTEE = 5;

struct SmallerSystemsChoice {
    int guaranteedHits = 4;     // 4 or 5
    int timeLimitSeconds = 30;  // one of TIME_LIMIT_STEPS
    bool anyCombination = false;
};

// One step up or down; false (and nothing changed) when the step would leave the range.
bool stepGuarantee(SmallerSystemsChoice& choice, bool up);
bool stepTimeLimit(SmallerSystemsChoice& choice, bool up);

// The settings the optimiser command is given for this choice.
OptimiseSettings optimiseSettingsOf(const SmallerSystemsChoice& choice);

}  // namespace quillstep
