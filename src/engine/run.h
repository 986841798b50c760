#pragma once
// A timed run of one generation mode, and the occurrence count of the stored combinations.

#include <cstdint>

#include "engine/run_host.h"
#include "engine/shared_state.h"

namespace quillstep {

constexpr double SECONDS_PER_DAY = 86'400.0;

// Runs the kernel of `mode` (1 to 14) with the main window disabled and the process at high
// priority around the kernel alone; returns the elapsed seconds. Any other mode runs nothing
// and returns 0 with generatedCount 0.
double runGeneration(SharedState& state, RunHost& host, int mode);

// t1 - t0 of two time-of-day readings; a run that spans midnight gains a day instead of going negative.
double elapsedSeconds(double t0, double t1);

// Adds the occurrences of each number in the first generatedCount stored combinations to
// numberStatistics (the caller clears counters 1 to 39 first).
void countNumberOccurrences(SharedState& state);

}  // namespace quillstep
