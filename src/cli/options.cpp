#include "cli/options.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/system_command_options.h"

namespace quillstep {

const char* const CLI_HELP_TEXT =
    R"(Usage: quillstep-cli [PARAMETERS] COMMAND...

Enumerates seven-number lottery combinations of 1..N, filters them, stores them, writes them to
text files, finds abbreviated systems among them and counts how often each number occurs. The
commands run in order in one process and share what they store, exactly as the buttons of the
Quillstep window do.

Parameters (defaults as at start-up; every state the window's up/down buttons can reach is accepted):
  --total N            total numbers in the system, 8 to 39 (39)
  --min-sum S          smallest sum of a combination, 28 to max-sum (140)
  --max-sum S          largest sum of a combination, min-sum to 252 (150)
  --min-odd K          least odd numbers, 0 to 7 - min-even (3)
  --min-even K         least even numbers, 0 to 7 - min-odd (4)
  --forced F           number every combination must hold, 1 to 39 (25)
  --range-count K      exact count of numbers in 1..range-limit, 0 to 7 (2)
  --range-limit L      upper end of that range, 7 to 39 (20)
  --min-number A       smallest number allowed, 1 to max-number - 1 (1)
  --max-number B       largest number allowed, min-number + 1 to 39 (39)
  --max-neighbours K   most pairs of neighbouring numbers, 0 to 6 (3)
  --excluded a,b,c,d,e,f,g
                       seven excluded numbers, strictly increasing, 1 to 39 (1,2,3,4,5,6,7)
  A value may follow its option as the next argument or after "=".

Commands:
  run MODE   generation mode 1 to 14 (the fourteen generation buttons, see below); prints
               combinations: <count>
               seconds: <elapsed seconds>
               description: <what the store holds; empty after a counting-only mode>
  write      writes mb_comb_file.txt from the store; prints
               file: mb_comb_file.txt rows: <n> seconds: <s>
  search4    abbreviated system with 4 guaranteed hits, written to mb_comb_file_ab.txt
  search5    abbreviated system with 5 guaranteed hits, written to mb_comb_file_ab5.txt; both print
               best start: <number>
               system size: <size>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>". Progress goes to stderr; Ctrl+C stops the search and
             keeps the best system among the starting combinations checked so far.
  optimise4 [--time-limit S] [--seed N] [--steps N] [--any-combination]
  optimise5 [the same options]
             a system with 4 (5) guaranteed hits, never larger than the greedy search's and
             usually smaller: the greedy search (given at most a quarter of the time limit) is
             the start of the optimiser. The result is checked against the store and written
             to mb_comb_file_ab.txt (mb_comb_file_ab5.txt); prints
               system size: <size>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>". --time-limit: seconds, 1 to 3600 (30); --seed: of the
             random choices (1); --steps: most local-search moves (none); with the same seed and a
             step budget reached before the time limit, the system is the same every time, as
             long as the greedy search too ended within its share.
             --any-combination: members may be any seven of 1..N, not only stored combinations
             (the file's description line then says how many lie outside the filters).
             Progress goes to stderr twice a second; Ctrl+C ends the search early and writes the
             best checked system found so far.
  check4 FILE
  check5 FILE
             checks a system file (this program's own, with or without its header, or lines of
             seven numbers 1 to 39 separated by commas or blanks) against the store; prints
               stored: <n>
               system size: <s>
               uncovered: <stored combinations that share fewer than 4 (5) numbers with every line>
               best match: 7=<a> 6=<b> 5=<c> 4=<d> 3=<e> 2=<f> 1=<g> 0=<h>
               hole: <the first ten uncovered combinations, one line each>
             and ends with status 0 when nothing is uncovered, 3 when something is.
  stats      counts how often each number occurs in the store; prints the counting message,
             then 39 lines "<number>: <count>" (the count is empty for 0)
  write, search4, search5, optimise4, optimise5, check4, check5 and stats are refused unless the
  last run stored its combinations.

Modes: 1/2 full wheel, 3/4 sum, 5/6 odd/even, 7/8 sum + odd/even (odd modes count only, even modes
store), 9 F+SUM+O/E, 10 R+F+SUM+O/E, 11 Min/Max+R+F+SUM+O/E, 12 N+MM+R+F+SUM+O/E,
13 all seven excluded numbers out, 14 at most two excluded numbers in (9 to 14 store).

Files are written to the current working directory. Messages of the window go to stderr.
Exit status: 0 done, 1 a file could not be written, 2 bad arguments, a refused command or a system
file that cannot be read or holds a malformed line, 3 a checked system leaves combinations uncovered.
)";

namespace {

struct IntegerOption {
    const char* name;
    int32_t GenerationParameters::*field;
};

constexpr std::array<IntegerOption, 11> IntegerOptions{{
    {"total", &GenerationParameters::totalNumbers},
    {"min-sum", &GenerationParameters::minSum},
    {"max-sum", &GenerationParameters::maxSum},
    {"min-odd", &GenerationParameters::minOdd},
    {"min-even", &GenerationParameters::minEven},
    {"forced", &GenerationParameters::forcedNumber},
    {"range-count", &GenerationParameters::rangeCount},
    {"range-limit", &GenerationParameters::rangeLimit},
    {"min-number", &GenerationParameters::minNumber},
    {"max-number", &GenerationParameters::maxNumber},
    {"max-neighbours", &GenerationParameters::maxNeighbours},
}};

std::optional<int32_t> parseInteger(const std::string& text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool parseExcluded(const std::string& text, GenerationParameters& p, std::string& error) {
    std::vector<int32_t> numbers;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const auto value = parseInteger(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!value) {
            error = "--excluded needs seven whole numbers separated by commas, got '" + text + "'";
            return false;
        }
        numbers.push_back(*value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != 7) {
        error = "--excluded needs exactly seven numbers, got " + std::to_string(numbers.size());
        return false;
    }
    for (int i = 0; i < 7; ++i) p.excludedNumbers[i + 1] = numbers[i];
    return true;
}

}  // namespace

std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
    CliOptions options;
    std::vector<bool> seen(IntegerOptions.size() + 1, false);
    size_t i = 0;
    for (; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        }
        if (argument.rfind("--", 0) != 0) break;
        std::string name = argument.substr(2), value;
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = "--" + name + " needs a value";
            return std::nullopt;
        }
        const auto option = std::find_if(IntegerOptions.begin(), IntegerOptions.end(),
                                         [&](const IntegerOption& o) { return name == o.name; });
        const size_t index = option == IntegerOptions.end() ? IntegerOptions.size() : size_t(option - IntegerOptions.begin());
        if (option == IntegerOptions.end() && name != "excluded") {
            error = "unknown option --" + name + " (see --help)";
            return std::nullopt;
        }
        if (seen[index]) {
            error = "--" + name + " is given twice";
            return std::nullopt;
        }
        seen[index] = true;
        if (option == IntegerOptions.end()) {
            if (!parseExcluded(value, options.parameters, error)) return std::nullopt;
            continue;
        }
        const auto number = parseInteger(value);
        if (!number) {
            error = "--" + name + " needs a whole number, got '" + value + "'";
            return std::nullopt;
        }
        options.parameters.*(option->field) = *number;
    }
    if (const auto unreachable = findUnreachableParameter(options.parameters)) {
        error = *unreachable;
        return std::nullopt;
    }

    for (; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        CliCommand command;
        command.name = name;
        if (name == "run") {
            const auto mode = i + 1 < arguments.size() ? parseInteger(arguments[i + 1]) : std::nullopt;
            if (!mode || *mode < 1 || *mode > 14) {
                error = "run needs a mode from 1 to 14" +
                        (i + 1 < arguments.size() ? ", got '" + arguments[i + 1] + "'" : std::string());
                return std::nullopt;
            }
            command.mode = *mode;
            ++i;
        } else if (isOptimiseCommand(name) || isCheckCommand(name)) {
            if (!parseSystemCommandArguments(arguments, i, command, error)) return std::nullopt;
        } else if (name != "write" && name != "search4" && name != "search5" && name != "stats") {
            error = name.rfind("--", 0) == 0 ? "parameters go before the commands: " + name
                                             : "unknown command '" + name + "' (see --help)";
            return std::nullopt;
        }
        options.commands.push_back(command);
    }
    if (options.commands.empty()) {
        error = "no command given (see --help)";
        return std::nullopt;
    }
    return options;
}

}  // namespace quillstep
