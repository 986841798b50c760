#pragma once
// What the user chooses in the "Wheel my numbers" window before a search: the numbers of the pool
// and the keys on a play slip of 1..39, the hits t and the numbers drawn m ("t if m"), and the
// time limit. The pool and the keys are kept apart, as chosen, so that a key left outside the
// pool is said as such when the wheel is asked for rather than silently dropped.

#include <cstdint>

#include "wheels/pool/wheel_request.h"

namespace quillstep {

struct WheelChoice {
    uint64_t pool = 0;          // the numbers chosen on the slip (bit v for number v)
    uint64_t keys = 0;          // the numbers marked as keys
    bool markingKeys = false;   // a click on the slip marks a key instead of choosing a number
    int hits = 4;               // t, 2 to 6
    int drawn = 5;              // m, 2 to 7
    int timeLimitSeconds = 30;  // one of TIME_LIMIT_STEPS (windows/smaller_systems_choice.h)
};

// A click on `number` (1 to 39) of the slip: in or out of the pool, or, while keys are being
// marked, a key or no longer one. A number taken out of the pool stays a key if it was one.
void clickSlipNumber(WheelChoice& choice, int number);

// Clears the slip: no numbers, no keys (t, m and the time limit stay).
void clearSlip(WheelChoice& choice);

// One step up or down; false (and nothing changed) when the step would leave the range.
bool stepWheelHits(WheelChoice& choice, bool up);
bool stepWheelDrawn(WheelChoice& choice, bool up);
bool stepWheelTimeLimit(WheelChoice& choice, bool up);

// The request the choice makes, and the first fault that refuses it (the rules of
// findWheelRequestFault, the same as the command line's).
WheelRequest wheelRequestOf(const WheelChoice& choice);
WheelRefusal wheelChoiceFault(const WheelChoice& choice);

}  // namespace quillstep
