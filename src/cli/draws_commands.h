#pragma once
// The command-line commands on past draws: history (each number over a history file), backtest
// (the filters of the parameters given tried against it) and wins (a system file against it, with
// a ticket price and prizes). None needs a store. Each returns the exit status: 0 done, 2 a file
// cannot be read or holds a malformed line.

#include <ostream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "engine/parameters.h"

namespace quillstep {

bool isDrawsCommand(const std::string& name);

// arguments[i] is the command's name; reads its files (and for wins the options after them) into
// `command` and leaves i on the last argument used. On a mistake returns false with `error`.
bool parseDrawsCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                std::string& error);

int runHistoryCommand(const CliCommand& command, std::ostream& out);
int runBacktestCommand(const GenerationParameters& parameters, const CliCommand& command, std::ostream& out);
int runWinsCommand(const CliCommand& command, std::ostream& out);

}  // namespace quillstep
