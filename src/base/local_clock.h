#pragma once
// The local time of day, as the runs, the writers and the counting are timed on it when no window
// gives the clock (the command line, the tests).

namespace quillstep {

// The local time of day in seconds with millisecond resolution, from the C++ clock.
double localTimeOfDaySeconds();

}  // namespace quillstep
