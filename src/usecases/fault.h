#pragma once
// The one shape of how a use case ended. Each use case keeps its own reasons (SearchRefusal,
// OptimiseFault, CompletionFault, SystemFileFault, WheelFileFault, the writer's error), which its texts name;
// what both faces do with an ending follows from its kind alone: the window shows a message or
// not, the command line prints its "not written:" line and ends with the kind's exit status
// (cli/exit_status).

#include "files/combination_file.h"
#include "usecases/abbreviated_search.h"
#include "usecases/optimise_command.h"
#include "usecases/system_completion.h"
#include "usecases/wheel_making.h"
#include "wheels/check/independent_system_check.h"

namespace quillstep {

enum class FaultKind {
    None,            // done: the file written and read back, the check clean
    Answer,          // nothing written, and that is the answer: nothing stored, or a system of
                     // ABBREVIATED_SYSTEM_CAPACITY or more from the search or the optimiser
    Fault,           // a file or the output could not be written, or memory ran short; the
                     // previous file stays
    Refused,         // the request cannot be met as given: bad input, a file that cannot be read or
                     // holds a malformed line, a system that cannot be completed
    Uncovered,       // a checked system leaves combinations uncovered
    NoSystemInTime,  // the optimiser found no system in the time given or before a stop
};

FaultKind faultKindOf(const FileWriteResult& file);
FaultKind faultKindOf(const SearchOutcome& outcome);
FaultKind faultKindOf(const OptimiseOutcome& outcome);
FaultKind faultKindOf(const CompletionOutcome& outcome);
FaultKind faultKindOf(const SystemCheck& check);
// A wheel: written; a request refused; no wheel in the time given (or none the file can hold from
// the start); a wheel over the file's lines (an answer); a failed check or write (a fault).
FaultKind faultKindOf(const WheelMade& made);
// A wheel file checked: a refused request or ticket, holes, or covered.
FaultKind faultKindOf(const WheelCheck& check);

}  // namespace quillstep
