#pragma once
// "Smaller systems": the optimiser on the stored combinations, its result checked by the
// separate verification routine, put into the abbreviated-system file of its guarantee.
// Shared by the command line (optimise4, optimise5) and the window of its own.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "base/fault.h"
#include "files/combination_file.h"
#include "files/system_file_writer.h"
#include "engine/shared_state.h"
#include "usecases/system_search_request.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct OptimiseSettings : SystemSearchSettings {
    bool anyCombination = false;     // members may be any seven of 1..totalNumbers
};

struct OptimiseOutcome {
    bool searched = false;   // false: nothing stored or the settings unusable; nothing optimised or written
    bool stopped = false;    // ended early by the stop request (Escape, Ctrl+C)
    bool verified = false;   // the separate check found every stored combination covered (not
                             // checked: systems of the capacity or more, which are not written)
    int32_t systemSize = 0;
    int32_t outsideFilters = 0;  // members that are not stored combinations (anyCombination)
    int32_t storedCount = 0;     // the stored combinations it worked on
    double seconds = 0.0;        // the search: starting system and optimiser
    // None: the system was checked, written and read back. Otherwise NothingStored, a setting
    // (GuaranteeOutOfRange, TimeLimitOutOfRange, NegativeStepBudget), OptimiserRefused,
    // StoppedBeforeAnySystem, NoSystemInTime, SystemTooLargeForFile, NoSystemBelowCapacity (proven
    // before any search; systemSize is then the capacity), OptimiserOutOfMemory, or the system
    // file's fault (see systemFile).
    Fault fault;
    SystemFileOutcome systemFile;  // the check, the file and its read-back, once a system was to be written

    bool written() const { return fault.none(); }
};

using OptimiseObserver = SystemSearchObserver;

// Runs the optimiser on the stored combinations, verifies the result and writes it.
OptimiseOutcome optimiseStoredSystem(SharedState& state, const OptimiseSettings& settings,
                                     const OptimiseObserver& observer);

}  // namespace quillstep
