#pragma once
// "Smaller systems": the optimiser on the stored combinations, its result checked by the
// separate verification routine, put into the abbreviated-system file of its guarantee.
// Shared by the command line (optimise4, optimise5) and the window of its own.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "files/combination_file.h"
#include "files/system_file_writer.h"
#include "engine/shared_state.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {

struct OptimiseSettings {
    int guaranteedHits = 4;          // 4: mb_comb_file_ab.txt, 5: mb_comb_file_ab5.txt
    double timeLimitSeconds = DEFAULT_TIME_LIMIT_SECONDS;  // timeLimitAllowed
    uint64_t seed = 1;
    int64_t stepBudget = 0;          // 0: none
    bool anyCombination = false;     // members may be any seven of 1..totalNumbers
    std::filesystem::path output;    // a file name of the user's own; empty: the guarantee's file
};

// Why no file was written; the texts are the callers' (windows/smaller_systems_texts.h).
enum class OptimiseFault {
    None,                  // the system was checked, written and read back
    NothingStored,         // the last storing run accepted no combination
    GuaranteeOutOfRange,   // settings: guaranteed hits not 4 or 5
    TimeLimitOutOfRange,   // settings: time limit not timeLimitAllowed
    NegativeStepBudget,    // settings: a step budget below 0
    RequestRefused,        // the optimiser refused the request (see optimiserError)
    StoppedBeforeAnySystem,
    NoSystemInTime,
    TooLargeForFile,       // systemSize members: at least ABBREVIATED_SYSTEM_CAPACITY
    NoSystemBelowCapacity, // proven before any search: no system of fewer than ABBREVIATED_SYSTEM_CAPACITY
                           // members covers the store (systemSize is then the capacity)
    SystemFileFault,       // the check, the writer or the read-back failed (see systemFile)
    OutOfMemory,           // the optimiser's tables did not fit (storedCount combinations)
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
    OptimiseFault fault = OptimiseFault::None;
    std::string optimiserError;  // the optimiser's own reason, for RequestRefused
    SystemFileOutcome systemFile;  // the check, the file and its read-back, once a system was to be written

    bool written() const { return fault == OptimiseFault::None; }
};

struct OptimiseObserver {
    // About twice a second, on the calling thread: the best size so far and the seconds left.
    std::function<void(const OptimiserProgress&)> onProgress;
    std::function<bool()> stopRequested;  // polled; true ends early with the best system so far
    WriteObserver write;                  // the system file's writing
};

// Runs the optimiser on the stored combinations, verifies the result and writes it.
OptimiseOutcome optimiseStoredSystem(SharedState& state, const OptimiseSettings& settings,
                                     const OptimiseObserver& observer);

}  // namespace quillstep
