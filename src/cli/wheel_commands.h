#pragma once
// The command-line commands on wheels of the player's own numbers: checkwheel (a file of tickets
// checked over every m-subset of the pool). Returns the exit status: 0 every target covered, 3
// some are not, 2 the file cannot be read, is malformed or holds a ticket that is not seven
// numbers of the pool with every key, 1 too little memory.

#include <ostream>

#include "cli/options.h"

namespace quillstep {

int runCheckWheelCommand(const CliCommand& command, std::ostream& out);

}  // namespace quillstep
