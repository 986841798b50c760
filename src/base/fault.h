#pragma once
// How a piece of work ended: one shape for every use case (the G4/G5 search, the optimiser, the
// completion, a wheel) and for the checked writers of their files. A fault is its reason and the
// few facts its text names; the reason's kind and words are one table (texts/fault_texts), which
// both faces read: the window shows the words, the command line prints them on its "not written:"
// line and ends with the kind's exit status (cli/exit_status).

#include <cstdint>
#include <string>
#include <utility>

namespace quillstep {

// What an ending means to the caller, whatever the work.
enum class FaultKind {
    None,            // done: the file written and read back, the check clean
    Answer,          // nothing written, and that is the answer: nothing stored, or a system too
                     // large for its file
    Fault,           // a file or the output could not be written, a check failed, or memory ran
                     // short; the previous file stays
    Refused,         // the request cannot be met as given: bad input, a file that cannot be read or
                     // holds a malformed line, a system that cannot be completed
    Uncovered,       // a checked system leaves combinations uncovered
    NoSystemInTime,  // no system (or wheel) in the time given or before a stop
};

// Why a piece of work wrote no file; one list for every use case.
enum class FaultReason {
    None,
    // Nothing to work on.
    NothingToSearch,          // the G4/G5 search: the last storing run accepted nothing
    NothingStored,            // the optimiser: the same, answered
    NothingStoredToComplete,  // the completion: the same, refused
    // Settings of the optimiser and the completion.
    GuaranteeOutOfRange,
    TimeLimitOutOfRange,
    NegativeStepBudget,
    // The system file given to the completion.
    TooManyLinesToComplete,  // count: its lines
    NumberAboveTotal,        // count: the line (from 1); bound: the total numbers
    // What a search found.
    SystemNotUseful,             // the G4/G5 search's system of the capacity or more
    SystemTooLargeForFile,       // the optimiser's; count: its size
    CompletionTooLargeForFile,   // the completion's; count: its size
    NoSystemBelowCapacity,       // proven before the optimiser's search; count: stored combinations
    NoCompletionBelowCapacity,   // proven before the completion's search; count: stored combinations
    StoppedBeforeAnySystem,
    NoSystemInTime,
    OptimiserRefused,          // detail: the optimiser's own reason
    CompletionSearchFailed,    // detail: the fixed-member optimiser's own reason
    SystemFileUnreadable,      // the system file to complete; detail: the reader's reason
    // Memory; count: the stored combinations.
    SearchOutOfMemory,
    OptimiserOutOfMemory,
    CompletionOutOfMemory,
    // The checked writer of a system file.
    MembersMalformed,   // count: members that are not seven numbers of 1 to the total
    MembersUncovering,  // count: stored combinations left uncovered
    MembersNotStored,   // count: members that are not stored combinations
    WriteFailed,        // detail: the writer's error
    ReadBackDiffers,    // detail: the file's name
    // Wheels.
    WheelRefused,
    WheelBeyondSearch,       // it needs more tickets than the search keeps
    WheelStoppedBeforeAny,
    NoWheelInTime,
    WheelTooLargeForFile,    // count: its tickets
    WheelUncovering,         // count: sets of drawn numbers the check found uncovered
    WheelOutOfMemory,  // the last: FAULT_REASON_COUNT counts up to it
};
constexpr int FAULT_REASON_COUNT = static_cast<int>(FaultReason::WheelOutOfMemory) + 1;

struct Fault {
    Fault() = default;
    Fault(FaultReason why, int64_t countNamed = 0, int64_t boundNamed = 0, std::string detailNamed = {})
        : reason(why), count(countNamed), bound(boundNamed), detail(std::move(detailNamed)) {}

    FaultReason reason = FaultReason::None;
    int64_t count = 0;   // the number its text names (see the reasons)
    int64_t bound = 0;   // the bound it passed, where its text names one
    std::string detail;  // words that are not this program's: the writer's error, the optimiser's reason, a file's name

    bool none() const { return reason == FaultReason::None; }
};

}  // namespace quillstep
