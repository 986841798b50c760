#pragma once
// How often each number 1 to 39 occurs in the stored combinations, in a window of its own.

#include <cstdint>
#include <string>

#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "texts/statistics_texts.h"

namespace quillstep {

// "Close", which ends the window.
constexpr int STATISTICS_CLOSE_BUTTON = 1084;

// Button "Statistics of numbers in generated combinations": counts the occurrences afresh, times
// the counting into countingMessage and shows the window, with the main window disabled meanwhile.
void showNumberStatistics(SharedState& state, Platform& platform);

// The window for the current counters and countingMessage.
WindowTemplate statisticsWindowTemplate(const SharedState& state);

// Shows the statistics window modally; returns once it has been closed.
void buildStatisticsWindow(const SharedState& state, Platform& platform);

// "Close" ends the window; every other control does nothing.
WindowAction statisticsWindowCallback(int controlId);

}  // namespace quillstep
