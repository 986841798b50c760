#include "cli/system_command_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <bit>
#include <limits>
#include <optional>
#include <utility>

#include "cli/echoed_text.h"
#include "cli/misplaced_options.h"
#include "cli/suggestions.h"
#include "engine/lottery.h"
#include "texts/wheel_request_texts.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {
namespace {

enum class OptimiseOption { TimeLimit, Seed, Steps, AnyCombination, Output, Pool, Keys, Hits, Drawn };

constexpr CommandNames OPTIMISERS{"optimise4", "optimise5", "complete4", "complete5"};
constexpr CommandNames TIMED_SEARCHES{"optimise4", "optimise5", "complete4", "complete5", "wheel"};
constexpr CommandNames SYSTEM_WRITERS{"search4", "search5", "optimise4", "optimise5", "complete4", "complete5", "wheel"};
constexpr CommandNames WHEEL_COMMANDS{"checkwheel", "wheel"};

// The options that follow a command, and the commands that take each. complete4/5 hear of
// --any-combination only to say why they refuse it. --pool, --keys, --hits and --if give a wheel
// on the player's own numbers.
struct OptimiseOptionName {
    CommandOption row;
    OptimiseOption option;
};

constexpr std::array<OptimiseOptionName, 9> OptimiseOptions{{
    {{"time-limit", true, TIMED_SEARCHES}, OptimiseOption::TimeLimit},
    {{"seed", true, TIMED_SEARCHES}, OptimiseOption::Seed},
    {{"steps", true, OPTIMISERS}, OptimiseOption::Steps},
    {{"any-combination", false, {"optimise4", "optimise5"}}, OptimiseOption::AnyCombination},
    {{"output", true, SYSTEM_WRITERS}, OptimiseOption::Output},
    {{"pool", true, WHEEL_COMMANDS}, OptimiseOption::Pool},
    {{"keys", true, WHEEL_COMMANDS}, OptimiseOption::Keys},
    {{"hits", true, WHEEL_COMMANDS}, OptimiseOption::Hits},
    {{"if", true, WHEEL_COMMANDS}, OptimiseOption::Drawn},
}};

const OptimiseOptionName* findOptimiseOption(std::string_view name) {
    const auto known = std::find_if(OptimiseOptions.begin(), OptimiseOptions.end(),
                                    [&](const OptimiseOptionName& o) { return name == o.row.name; });
    return known == OptimiseOptions.end() ? nullptr : &*known;
}

template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Where a wheel option (Pool, Keys, Hits or Drawn, the last for any other) keeps its text.
std::optional<std::string> CliCommand::WheelTexts::*wheelTextOf(OptimiseOption option) {
    switch (option) {
        case OptimiseOption::Pool: return &CliCommand::WheelTexts::pool;
        case OptimiseOption::Keys: return &CliCommand::WheelTexts::keys;
        case OptimiseOption::Hits: return &CliCommand::WheelTexts::hits;
        default: return &CliCommand::WheelTexts::drawn;
    }
}

// Sets one option; returns why its value is refused, naming both ends of what it takes.
std::string setOption(OptimiseOption option, const std::string& echoed, const std::string& value, CliCommand& command) {
    switch (option) {
        case OptimiseOption::TimeLimit: {
            const auto seconds = parseNumber<double>(value);
            if (!seconds || !timeLimitAllowed(*seconds))
                return "--time-limit needs seconds from " + std::to_string(SHORTEST_TIME_LIMIT_SECONDS) + " to " +
                       std::to_string(LONGEST_TIME_LIMIT_SECONDS) + ", got '" + echoed + "'";
            command.timeLimitSeconds = *seconds;
            command.timeLimitGiven = true;
            return {};
        }
        case OptimiseOption::Seed: {
            const auto seed = parseNumber<uint64_t>(value);
            if (!seed)
                return "--seed needs a whole number from 0 to " + std::to_string(std::numeric_limits<uint64_t>::max()) +
                       ", got '" + echoed + "'";
            command.seed = *seed;
            return {};
        }
        case OptimiseOption::Steps: {
            const auto steps = parseNumber<int64_t>(value);
            if (!steps || *steps < 1)
                return "--steps needs a whole number from 1 to " + std::to_string(std::numeric_limits<int64_t>::max()) +
                       ", got '" + echoed + "'";
            command.stepBudget = *steps;
            return {};
        }
        case OptimiseOption::AnyCombination:
            command.anyCombination = true;
            return {};
        case OptimiseOption::Output:
            if (value.empty()) return "--output needs the name of a file";
            command.output = value;
            return {};
        case OptimiseOption::Pool:
        case OptimiseOption::Keys:
        case OptimiseOption::Hits:
        case OptimiseOption::Drawn:
            if (!command.wheelTexts) command.wheelTexts = std::make_shared<CliCommand::WheelTexts>();
            (*command.wheelTexts).*wheelTextOf(option) = value;  // read as a whole by readWheelRequest
            return {};
    }
    return {};
}

// The options after an optimise or complete command, up to the first argument that is not one of
// its options; that one is left for the caller, which says where it goes.
bool parseOptimiseOptions(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                          std::string& error) {
    std::array<bool, OptimiseOptions.size()> seen{};
    while (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) == 0) {
        std::string name = arguments[i + 1].substr(2), value;
        const size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptimiseOptionName* known = findOptimiseOption(name);
        if (known && known->option == OptimiseOption::AnyCombination && isCompleteCommand(command.name)) {
            error = "--any-combination is not an option of " + command.name + ": the lines added are stored combinations";
            return false;
        }
        if (!known || !commandTakesOption(command.name, known->row)) return true;
        ++i;
        bool& wasSeen = seen[static_cast<size_t>(known - OptimiseOptions.begin())];
        if (wasSeen) {
            error = "--" + name + " is given twice for " + command.name;
            return false;
        }
        wasSeen = true;
        if (!known->row.takesValue) {
            if (eq != std::string::npos) {
                error = "--" + name + " takes no value";
                return false;
            }
        } else if (eq == std::string::npos) {
            if (i + 1 >= arguments.size()) {
                error = "--" + name + " needs a value";
                return false;
            }
            value = arguments[++i];
        }
        error = setOption(known->option, echoedText(value), value, command);
        if (!error.empty()) return false;
    }
    return true;
}

// Seven different whole numbers 1 to 39 separated by commas, as a mask.
std::optional<uint64_t> parseDraw(const std::string& text) {
    uint64_t draw = 0;
    int numbers = 0;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const auto value = parseNumber<int>(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!value || *value < 1 || *value > HIGHEST_NUMBER || (draw >> *value & 1)) return std::nullopt;
        draw |= uint64_t{1} << *value;
        ++numbers;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (numbers != NUMBERS_PER_COMBINATION) return std::nullopt;
    return draw;
}

// The wheel of --pool, --keys, --hits and --if, read by the one reading of a wheel request.
bool readWheel(CliCommand& command, std::string& error) {
    WheelRequestTexts texts;
    const CliCommand::WheelTexts none;
    const CliCommand::WheelTexts& given = command.wheelTexts ? *command.wheelTexts : none;
    const std::pair<const std::optional<std::string>&, WheelField> needed[] = {
        {given.pool, WheelField::Pool}, {given.hits, WheelField::Hits}, {given.drawn, WheelField::Drawn}};
    for (const auto& [text, field] : needed) {
        if (text) continue;
        WheelRefusal missing;
        missing.fault = WheelFault::Missing;
        missing.field = field;
        error = command.name + ": " + wheelRefusalText(missing, COMMAND_LINE_WHEEL_FIELDS);
        return false;
    }
    texts.pool = *given.pool;
    texts.keysGiven = given.keys.has_value();
    if (texts.keysGiven) texts.keys = *given.keys;
    texts.hits = *given.hits;
    texts.drawn = *given.drawn;
    const WheelRequestReading reading = readWheelRequest(texts);
    if (!reading.ok()) {
        error = command.name + ": " + wheelRefusalText(reading.refusal, COMMAND_LINE_WHEEL_FIELDS);
        return false;
    }
    command.wheel = reading.request;
    command.wheelTexts.reset();
    return true;
}

}  // namespace

const CommandOption* findCommandOption(std::string_view name) {
    const OptimiseOptionName* known = findOptimiseOption(name);
    return known ? &known->row : nullptr;
}

std::vector<std::string> commandOptionNames() {
    std::vector<std::string> names;
    for (const OptimiseOptionName& o : OptimiseOptions) names.emplace_back(o.row.name);
    return names;
}

bool commandTakesOption(std::string_view command, const CommandOption& option) {
    return std::find(option.commands.begin(), option.commands.end(), command) != option.commands.end();
}

std::vector<std::string> commandsTakingOption(const CommandOption& option) {
    std::vector<std::string> names;
    for (const std::string_view name : option.commands)
        if (!name.empty()) names.emplace_back(name);
    return names;
}

std::string whatCommandTakes(std::string_view command) {
    std::vector<std::string> options;
    for (const OptimiseOptionName& o : OptimiseOptions)
        if (commandTakesOption(command, o.row)) options.push_back(std::string("--") + o.row.name);
    const std::string name(command);
    const std::string listed = namesInProse(options, "and");
    if (name == "run") return "only a mode";
    if (name == "match") return "only a draw and a file name";
    if (isCheckCommand(name) || name == "profile") return "only a file name";
    if (isCompleteCommand(name) || isWheelCheckCommand(name)) return listed + ", then a file name";
    return options.empty() ? "no options" : listed;
}

bool isOptimiseCommand(const std::string& name) { return name == "optimise4" || name == "optimise5"; }
bool isCheckCommand(const std::string& name) { return name == "check4" || name == "check5"; }
bool isCompleteCommand(const std::string& name) { return name == "complete4" || name == "complete5"; }
bool isSearchCommand(const std::string& name) { return name == "search4" || name == "search5"; }
bool isWheelCheckCommand(const std::string& name) { return name == "checkwheel"; }
bool isWheelCommand(const std::string& name) { return name == "wheel"; }

std::string drawMistake(const CliCommand& command, int totalNumbers) {
    if (command.name != "match" || (command.draw >> (totalNumbers + 1)) == 0) return {};
    return "match: the draw holds " + std::to_string(63 - std::countl_zero(command.draw)) +
           ", above the total numbers in system (" + std::to_string(totalNumbers) + ")";
}

bool parseSystemCommandArguments(const std::vector<std::string>& arguments, size_t& i, CliCommand& command,
                                 std::string& error) {
    if (isOptimiseCommand(command.name) || isSearchCommand(command.name))
        return parseOptimiseOptions(arguments, i, command, error);
    if (isCompleteCommand(command.name)) {
        if (!parseOptimiseOptions(arguments, i, command, error)) return false;
        if (command.anyCombination) {
            error = "--any-combination is not an option of " + command.name + ": the lines added are stored combinations";
            return false;
        }
    }
    // An option where the draw or the file name belongs is not taken for either.
    const auto optionInstead = [&] {
        if (i + 1 >= arguments.size() || arguments[i + 1].rfind("--", 0) != 0) return false;
        error = misplacedOptionMessage(arguments, i + 1, command.name);
        return true;
    };
    if (isWheelCommand(command.name)) {
        // Its options only: it reads no file.
        return parseOptimiseOptions(arguments, i, command, error) && !optionInstead() && readWheel(command, error);
    }
    if (isWheelCheckCommand(command.name)) {
        // An option it does not take is named before the wheel is read, so that a mistyped --hits
        // is answered as mistyped rather than as missing.
        if (!parseOptimiseOptions(arguments, i, command, error) || optionInstead() || !readWheel(command, error))
            return false;
    }
    if (command.name == "match") {
        if (optionInstead()) return false;
        if (i + 1 >= arguments.size()) {
            error = "match needs a draw of seven numbers separated by commas, then a system file";
            return false;
        }
        const std::string& drawText = arguments[++i];
        const auto draw = parseDraw(drawText);
        if (!draw) {
            error = "match needs a draw of seven different numbers 1 to 39 separated by commas, got '" +
                    echoedText(drawText) + "'";
            return false;
        }
        command.draw = *draw;
    }
    if (optionInstead()) return false;
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = command.name + " needs the name of a system file";
        return false;
    }
    command.fileName = arguments[++i];
    return true;
}

}  // namespace quillstep
