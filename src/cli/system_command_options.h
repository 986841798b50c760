#pragma once
// The arguments of the commands on abbreviated systems that take some: optimise4 and optimise5
// (options that follow the command), search4 and search5 (--output only), check4, check5 and
// profile (a file name), match (a draw and a file name), complete4 and complete5 (options, then a
// file name), checkwheel (the wheel's --pool, --keys, --hits and --if, then a file name), wheel
// (the wheel's options, --time-limit, --seed and --output, no file name).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"

namespace quillstep {

// An option that follows a command (without "--"), whether a value follows it, and the
// commands that take it (the rest of the array empty).
// The commands that take an option (unused places empty).
using CommandNames = std::array<std::string_view, 7>;

struct CommandOption {
    const char* name;
    bool takesValue;
    CommandNames commands;
};

// The option named `name` (without "--"), or null; the names of all of them.
const CommandOption* findCommandOption(std::string_view name);
std::vector<std::string> commandOptionNames();

bool commandTakesOption(std::string_view command, const CommandOption& option);
// "optimise4", "optimise5", ...
std::vector<std::string> commandsTakingOption(const CommandOption& option);
// What follows `command` on the line, for messages: "no options", "only a mode", "only a file
// name", "--time-limit, --seed, --steps and --any-combination", ...
std::string whatCommandTakes(std::string_view command);

bool isOptimiseCommand(const std::string& name);
bool isCheckCommand(const std::string& name);
bool isCompleteCommand(const std::string& name);
bool isSearchCommand(const std::string& name);
bool isWheelCheckCommand(const std::string& name);
bool isWheelCommand(const std::string& name);

// Why the draw of `match` cannot be drawn from 1..totalNumbers, or "" when it can.
std::string drawMistake(const CliCommand& command, int totalNumbers);

// arguments[i] is the command's name; reads what belongs to it into `command` and leaves i on
// the last argument used. An option the command does not take ends its options (the caller says
// where it goes); where a file name or a draw belongs, it is refused, never taken for one. On a
// mistake returns false with a one-line `error`.
bool parseSystemCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                 std::string& error);

}  // namespace quillstep
