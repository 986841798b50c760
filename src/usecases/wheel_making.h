#pragma once
// Making a wheel, the one use case behind the "wheel" command and the "Wheel my numbers..."
// window: the search for a small wheel (wheels/cover/wheel_search), then the checked writer of a
// wheel file (files/wheel_file_writer), whose independent check over every m-subset of the
// pool decides whether the file is written. No text is made here: both faces make theirs from
// the result.

#include <filesystem>
#include <string>

#include "files/wheel_file_writer.h"
#include "wheels/cover/wheel_search.h"

namespace quillstep {

struct WheelMaking {
    // The wheel (wheelCoverRequest) with the time limit, seed, threads, progress and stop.
    CoverRequest request;
    std::filesystem::path target;   // where the file goes
    std::string shownName;          // how the result names it
};

struct WheelMade {
    WheelSearchResult search;  // a refused request or a search stopped before any wheel: no file
    WheelFileOutcome file;     // the independent check and the file, when the search found a wheel
    // None: written. WheelRefused, WheelBeyondSearch, WheelStoppedBeforeAny or NoWheelInTime when
    // the search found no wheel, else the file's fault.
    Fault fault() const;
    bool written() const { return fault().none(); }
};

WheelMade makeWheel(const WheelMaking& making, const WriteObserver& observer);

}  // namespace quillstep
