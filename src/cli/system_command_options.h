#pragma once
// The arguments of the commands on abbreviated systems that take some: optimise4 and optimise5
// (options that follow the command) and check4 and check5 (a file name).

#include <string>
#include <vector>

#include "cli/options.h"

namespace quillstep {

bool isOptimiseCommand(const std::string& name);
bool isCheckCommand(const std::string& name);

// arguments[i] is the command's name; reads what belongs to it into `command` and leaves i on
// the last argument used. On a mistake returns false with a one-line `error`.
bool parseSystemCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                 std::string& error);

}  // namespace quillstep
