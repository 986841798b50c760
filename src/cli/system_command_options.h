#pragma once
// The arguments of the commands on abbreviated systems that take some: optimise4 and optimise5
// (options that follow the command), search4 and search5 (--output only), check4, check5 and
// profile (a file name), match (a draw and a file name), complete4 and complete5 (options, then a
// file name).

#include <string>
#include <vector>

#include "cli/options.h"

namespace quillstep {

bool isOptimiseCommand(const std::string& name);
bool isCheckCommand(const std::string& name);
bool isCompleteCommand(const std::string& name);
bool isSearchCommand(const std::string& name);

// Why the draw of `match` cannot be drawn from 1..totalNumbers, or "" when it can.
std::string drawMistake(const CliCommand& command, int totalNumbers);

// arguments[i] is the command's name; reads what belongs to it into `command` and leaves i on
// the last argument used. On a mistake returns false with a one-line `error`.
bool parseSystemCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                 std::string& error);

}  // namespace quillstep
