#pragma once
// The commands of quillstep-cli, one row each: what follows the name, whether the command works
// on stored combinations, and the function that runs it. A new command is one row here plus its
// function in cli_commands.cpp (or a file of its own).

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_session.h"
#include "cli/options.h"
#include "engine/shared_state.h"

namespace quillstep {

// What follows a command's name: nothing, a mode (run), or the options or file name of the
// commands on abbreviated systems (optimise4/5, check4/5), or the files (and options) of the
// commands on past draws (history, backtest, wins).
enum class CommandArgument { None, Mode, SystemOptions, PastDraws };

struct CliCommandRow {
    const char* name;
    CommandArgument argument;
    // Refused unless the last run before it stored its combinations, as the window greys the
    // store buttons after a counting-only run.
    bool needsStoredCombinations;
    // The file the command writes into the output folder, or null. The folder must then be
    // writable before anything runs.
    const char* fileWritten;
    // Runs the command; returns the exit status, 0 to go on with the next command.
    int (*run)(CliSession& session, const CliCommand& command);
};

// The row of command `name`, or null. "optimize" is read as "optimise" (optimize4 is optimise4).
const CliCommandRow* findCliCommand(std::string_view name);

// The commands nearest to a mistyped `typed` (see closestNames), or none.
std::vector<std::string> closestCliCommands(std::string_view typed);

// Checks the output folder (the working directory too when a command writes there) and that
// every file to be checked opens, then runs the commands in order, stopping at the first that
// fails or when `out` cannot be written. Returns the exit status.
int runCommandLine(const CliOptions& options, std::ostream& out);

}  // namespace quillstep
