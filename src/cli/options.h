#pragma once
// The command line of quillstep-cli: parameters first, then the commands to run in order.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/parameters.h"

namespace quillstep {

struct CliCommand {
    std::string name;  // run, write, search4, search5, optimise4, optimise5, check4, check5, stats
    int mode = 0;      // for run
    // optimise4, optimise5
    double timeLimitSeconds = 30.0;
    uint64_t seed = 1;
    int64_t stepBudget = 0;  // 0: none
    bool anyCombination = false;
    // check4, check5
    std::string fileName;
};

struct CliOptions {
    GenerationParameters parameters;
    std::vector<CliCommand> commands;
    bool help = false;
};

// Parses the arguments (without the program name). On a mistake returns nothing and sets `error`
// to a one-line message naming the parameter or command and what is allowed.
std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const CLI_HELP_TEXT;

}  // namespace quillstep
