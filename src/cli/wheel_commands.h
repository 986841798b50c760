#pragma once
// The command-line commands on wheels of the player's own numbers: checkwheel (a file of tickets
// checked over every m-subset of the pool; exit status 0 every target covered, 3 some are not,
// 2 the file cannot be read, is malformed or holds a ticket that is not seven numbers of the pool
// with every key, 1 too little memory) and wheel (a small wheel searched, checked and written;
// 0 written or too large for a wheel file, 4 no wheel within the time limit or before Ctrl+C,
// 1 the check or the write failed, or too little memory).

#include <filesystem>
#include <ostream>

#include "cli/options.h"

namespace quillstep {

int runCheckWheelCommand(const CliCommand& command, std::ostream& out);

// The time limit of `wheel` without --time-limit: what the sizes of the README were measured at.
constexpr double WHEEL_DEFAULT_TIME_LIMIT_SECONDS = 60.0;
// The wheel's file goes to `outputFolder` unless --output names one.
int runWheelCommand(const CliCommand& command, const std::filesystem::path& outputFolder, std::ostream& out);

}  // namespace quillstep
