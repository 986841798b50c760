#pragma once
// The command-line commands optimise4, optimise5, check4 and check5. Each returns the exit status
// (0 done; 1 a file could not be written; 2 a system file cannot be read or is malformed;
// 3 the checked system leaves stored combinations uncovered; 4 the optimiser found no system
// within the time limit or before it was stopped).

#include <ostream>

#include "cli/options.h"
#include "engine/shared_state.h"
#include "cli/cli_session.h"
#include "usecases/system_search_request.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {


// The contract lines go to `out`; progress and errors to stderr.
int runOptimiseCommand(CliSession& session, const CliCommand& command);
int runCheckCommand(const SharedState& state, const CliCommand& command, std::ostream& out);

// The settings of optimise4/5 and complete4/5 from the command line, and their observer: progress
// on stderr ("progress: <what> ..."), Ctrl+C as the stop request, the session's writer.
SystemSearchSettings systemSearchSettings(const CliCommand& command);
SystemSearchObserver systemSearchObserver(CliSession& session, const char* progressWhat);

// "progress: <what> <n or none yet>, elapsed <s> s, remaining <s> s" on stderr: the optimiser's
// line ("best size") and the completion's ("members added").
void printCoverProgress(const char* what, const CoverProgress& progress);

}  // namespace quillstep
