#pragma once
// The command line of quillstep-cli: parameters first, then the commands to run in order. The
// whole line is checked before anything runs.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draws/prices.h"
#include "engine/parameters.h"
#include "wheels/optimiser/optimiser.h"
#include "wheels/pool/wheel_request.h"

namespace quillstep {

struct CliCommandRow;

struct CliCommand {
    std::string name;                   // a name of the command table (cli_commands.h)
    int mode = 0;                       // for run
    const CliCommandRow* row = nullptr;
    // optimise4, optimise5
    double timeLimitSeconds = DEFAULT_TIME_LIMIT_SECONDS;
    bool timeLimitGiven = false;  // wheel: its own default otherwise
    uint64_t seed = 1;
    int64_t stepBudget = 0;  // 0: none
    bool anyCombination = false;
    // check4, check5, profile, match, complete4, complete5, checkwheel
    std::string fileName{};
    // match: the draw (bit v for number v)
    uint64_t draw = 0;
    // search4/5, optimise4/5, complete4/5: --output FILE, as given (empty: the guarantee's file)
    std::filesystem::path output{};
    // history, backtest, wins: the file of past draws; wins: the ticket price and prizes, if given
    std::string historyFileName{};
    std::optional<TicketPrices> prices{};
    // checkwheel, wheel: --pool, --keys, --hits and --if as typed (absent when not given), then the wheel
    // read from them. The texts are held apart and let go once read, so that a line of thousands
    // of commands without them stays small.
    struct WheelTexts {
        std::optional<std::string> pool, keys, hits, drawn;
    };
    std::shared_ptr<WheelTexts> wheelTexts{};
    WheelRequest wheel{};
};

struct CliOptions {
    GenerationParameters parameters;
    std::filesystem::path outputFolder;  // empty: the working directory
    std::vector<CliCommand> commands;
    bool help = false;
    bool version = false;
};

// Parses the arguments (without the program name). On a mistake returns nothing and sets `error`
// to a one-line message naming the option or command the user typed and what is allowed. A line
// is refused as a whole: a command that would be refused where it stands (a store command after
// a run that did not store) refuses the line, so that nothing runs.
std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const CLI_HELP_TEXT;
// "quillstep-cli <version>" and a line end: what --version prints.
extern const char* const CLI_VERSION_LINE;

}  // namespace quillstep
