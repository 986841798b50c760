#pragma once
// The command-line commands on any system file beyond check4/check5: profile (every possible
// draw), match (one draw) and complete4/complete5 (the file's lines kept, stored combinations
// added until every stored combination is covered). Each returns the exit status (0 done; 1 a
// file could not be written; 2 a system file cannot be read or is malformed, or the completion
// found no system to write).

#include <cstdint>
#include <ostream>
#include <vector>

#include "cli/options.h"
#include "engine/shared_state.h"
#include "cli/cli_session.h"

namespace quillstep {

// The lines of the command's system file as masks, or its reason on stderr ("quillstep-cli:
// <command>: <reason>") and false.
bool readSystemFileLines(const CliCommand& command, std::vector<uint64_t>& lines);

int runProfileCommand(const SharedState& state, const CliCommand& command, std::ostream& out);
int runMatchCommand(const CliCommand& command, std::ostream& out);
int runCompleteCommand(CliSession& session, const CliCommand& command);

// The "stored share:" line of check4/check5: how many of all possible draws the store holds.
std::string storedShareLine(int64_t stored, int totalNumbers);

}  // namespace quillstep
