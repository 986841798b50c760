#pragma once
// The "Smaller systems" window: the optimiser on the stored combinations, with the guarantee, the
// time limit and the choice of members set by steps, progress while it runs (Escape stops it
// early) and the system's size and file at the end.

#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "windows/smaller_systems_choice.h"

namespace quillstep {

// The window's controls. Their ids follow those of the main window, so that every control of the
// program has an id of its own.
enum : int {
    SMALLER_SYSTEMS_HEADING = 1160,
    SMALLER_SYSTEMS_EXPLANATION,
    GUARANTEE_CAPTION,
    GUARANTEE_LABEL,
    GUARANTEE_UP,
    GUARANTEE_DOWN,
    TIME_LIMIT_CAPTION,
    TIME_LIMIT_LABEL,
    TIME_LIMIT_UP,
    TIME_LIMIT_DOWN,
    ANY_COMBINATION_BOX,
    SMALLER_SYSTEMS_START,
    SMALLER_SYSTEMS_CLOSE,
    SMALLER_SYSTEMS_PROGRESS,
    SMALLER_SYSTEMS_RESULT,
};
// "Save as...": the last system found, under a name of the user's own (greyed until there is one).
constexpr int SMALLER_SYSTEMS_SAVE_AS = 2200;

// The window for the given choice, before any click.
WindowTemplate smallerSystemsWindowTemplate(const SmallerSystemsChoice& choice);

// A click in the window: a step of the choice, the check box, a search (which returns when the
// optimiser has ended), "Save as..." or "Close".
WindowAction smallerSystemsWindowCallback(SharedState& state, Platform& platform, SmallerSystemsChoice& choice,
                                          int controlId);

// Shows the window modally for `choice`, which keeps what the user set, with the main window
// disabled meanwhile; returns once it has been closed.
void runSmallerSystemsWindow(SharedState& state, Platform& platform, SmallerSystemsChoice& choice);

// Button "Smaller systems..." of the main window: the window with the choice of its last use.
void showSmallerSystemsWindow(SharedState& state, Platform& platform);

// The choice of the window's last use (its defaults before the first), which other windows
// that run the optimiser follow.
const SmallerSystemsChoice& lastSmallerSystemsChoice();

}  // namespace quillstep
