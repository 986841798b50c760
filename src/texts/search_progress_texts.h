#pragma once
// The texts of a G4/G5 search's progress, made in one place for the main window's progress label
// and the command line's progress line, from the figures of usecases/search_progress_estimate.h.

#include <string>

#include "usecases/search_progress_estimate.h"

namespace quillstep {

// "12 s", "3 min 12 s", "2 h 21 min": a duration as a person reads it.
std::string durationText(double seconds);

// The command line: "progress: 229700 of 2363628 starting combinations (9.7%), 251/s, about
// 2 h 21 min left", or "..., time left not known yet" before the rate is known.
std::string searchProgressText(const SearchProgressEstimate& estimate);

// The main window's label: "9.7% done, 251/s, about 2 h 21 min left", or "9.7% done, time left not
// known yet".
std::string searchProgressLabelText(const SearchProgressEstimate& estimate);

}  // namespace quillstep
