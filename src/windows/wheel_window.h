#pragma once
// The "Wheel my numbers" window: a play slip of 1..39 on which the player chooses the pool and
// marks up to three keys, the guarantee "t if m" and the time limit set by steps, Start (Escape
// stops the search and keeps the smallest wheel found), the search's progress, then the wheel's
// size beside the best published one, its wins over every draw of 1..39 and its checked file,
// and "Save as..." for a name of one's own. A malformed choice is said in the window and nothing
// runs.

#include <functional>

#include "usecases/wheel_making.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "windows/wheel_choice.h"
#include "windows/wheel_window_texts.h"

namespace quillstep {

// The window's controls.
constexpr int WHEEL_HEADING = 2400;
constexpr int WHEEL_EXPLANATION = 2401;
// The slip: number n (1 to 39) is the toggle button slipNumberButton(n), 2402 to 2440.
constexpr int slipNumberButton(int number) { return 2401 + number; }
constexpr int slipNumberOfButton(int controlId) {
    return controlId >= slipNumberButton(1) && controlId <= slipNumberButton(39) ? controlId - 2401 : 0;
}
constexpr int WHEEL_MARK_KEYS = 2441;
constexpr int WHEEL_CLEAR_SLIP = 2442;
constexpr int WHEEL_CHOICE_LABEL = 2443;
constexpr int WHEEL_HITS_CAPTION = 2444;
constexpr int WHEEL_HITS_LABEL = 2445;
constexpr int WHEEL_HITS_UP = 2446;
constexpr int WHEEL_HITS_DOWN = 2447;
constexpr int WHEEL_DRAWN_CAPTION = 2448;
constexpr int WHEEL_DRAWN_LABEL = 2449;
constexpr int WHEEL_DRAWN_UP = 2450;
constexpr int WHEEL_DRAWN_DOWN = 2451;
constexpr int WHEEL_TIME_CAPTION = 2452;
constexpr int WHEEL_TIME_LABEL = 2453;
constexpr int WHEEL_TIME_UP = 2454;
constexpr int WHEEL_TIME_DOWN = 2455;
constexpr int WHEEL_GUARANTEE_LABEL = 2456;
constexpr int WHEEL_START = 2457;
constexpr int WHEEL_SAVE_AS = 2458;
constexpr int WHEEL_CLOSE = 2459;
constexpr int WHEEL_PROGRESS = 2460;
constexpr int WHEEL_SIZE_LABEL = 2461;
constexpr int WHEEL_SHARES_LABEL = 2462;
constexpr int WHEEL_FILE_LABEL = 2463;
constexpr int WHEEL_KEYS_HINT = 2464;  // beside "Mark keys" and "Clear": what a key is

// The making of a wheel the window asks for: makeWheel (commands/wheel_making: the search, the
// independent check and the file), handed in by the main window so that the tests may give
// another maker.
using WheelMaker = std::function<WheelMade(const WheelMaking&, const WriteObserver&)>;

// The window for the given choice, before any click.
WindowTemplate wheelWindowTemplate(const WheelChoice& choice);

// A click in the window: a number of the slip, "Mark keys", "Clear", a step, Start (which
// returns when the wheel has been made or refused), "Save as..." or "Close".
WindowAction wheelWindowCallback(SharedState& state, Platform& platform, const WheelMaker& makeWheel,
                                 WheelChoice& choice, int controlId);

// Shows the window modally for `choice`, which keeps what the user chose, with the main window
// disabled meanwhile; returns once it has been closed.
void runWheelWindow(SharedState& state, Platform& platform, const WheelMaker& makeWheel,
                    WheelChoice& choice);

// Button "Wheel my numbers..." of the main window: the window with the choice of its last use.
void showWheelWindow(SharedState& state, Platform& platform, const WheelMaker& makeWheel);

}  // namespace quillstep
