#pragma once
// One-step changes of the run parameters by the "up" and "down" buttons of the main window.

#include <vector>

#include "engine/shared_state.h"
#include "platform/platform.h"

namespace quillstep {

// Runs the step of the "up" or "down" button `controlId`. Returns false when the id is not a step
// button. A step that would leave its field's range is refused silently: nothing changes.
bool stepParameterButton(SharedState& state, Platform& platform, int controlId);

// Takes the parameters of the "Set values" window (a state the steps can reach) as the steps
// would have brought them: every changed value's label shows it, and a change of any value but
// the excluded numbers greys out the store commands.
void applyParameters(SharedState& state, Platform& platform, const GenerationParameters& parameters);

// Writes entry `entry` (1 to 7) of the excluded numbers into its label.
void showExcludedNumber(const SharedState& state, Platform& platform, int entry);

// Every step button of the main window: the eleven field pairs, then the excluded-number ups and downs.
std::vector<int> parameterStepButtons();

}  // namespace quillstep
