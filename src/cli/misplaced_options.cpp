#include "cli/misplaced_options.h"

#include "cli/cli_commands.h"
#include "cli/echoed_text.h"
#include "cli/parameter_options.h"
#include "cli/suggestions.h"
#include "cli/system_command_options.h"

namespace quillstep {
namespace {

// The options of the line that take a value and are no parameters of the integer table.
constexpr const char* OTHER_PARAMETERS[] = {"excluded", "output-dir"};

bool isParameterName(const std::string& name) {
    if (findParameterOption(name)) return true;
    for (const char* other : OTHER_PARAMETERS)
        if (name == other) return true;
    return false;
}

std::vector<std::string> allOptionNames() {
    std::vector<std::string> names;
    for (const ParameterOption& option : PARAMETER_OPTIONS) names.emplace_back(option.name);
    for (const char* other : OTHER_PARAMETERS) names.emplace_back(other);
    for (const std::string& name : commandOptionNames()) names.push_back(name);
    names.emplace_back("help");
    names.emplace_back("version");
    return names;
}

// Where the commands begin: after the options before them, each one word ("--total=20",
// "--any-combination") or two.
size_t firstCommandAt(const std::vector<std::string>& arguments) {
    size_t i = 0;
    while (i < arguments.size() && arguments[i].rfind("--", 0) == 0) {
        const CommandOption* option = findCommandOption(arguments[i].substr(2));
        i += arguments[i].find('=') != std::string::npos || (option && !option->takesValue) ? 1 : 2;
    }
    return std::min(i, arguments.size());
}

// The line with the words [from, from + count) moved to stand before arguments[to], and the
// range of the moved words and the word next to them, which a shortened line keeps.
std::string movedLine(const std::vector<std::string>& arguments, size_t from, size_t count, size_t to, bool keepWordBefore) {
    std::vector<std::string> moved(arguments.begin() + from, arguments.begin() + from + count);
    std::vector<std::string> rest;
    for (size_t k = 0; k < arguments.size(); ++k)
        if (k < from || k >= from + count) rest.push_back(arguments[k]);
    const size_t at = to > from ? to - count : to;
    rest.insert(rest.begin() + at, moved.begin(), moved.end());
    const size_t keyBegin = keepWordBefore && at > 0 ? at - 1 : at;
    const size_t keyEnd = at + count + (keepWordBefore ? 0 : 1);
    return commandLineText(rest, keyBegin, keyEnd);
}

// The command of the line that takes `option` nearest after `at`, else the last before it; the
// index of its name, or the size of the line when none does.
size_t commandTaking(const std::vector<std::string>& arguments, size_t at, const CommandOption& option) {
    size_t before = arguments.size();
    for (size_t k = firstCommandAt(arguments); k < arguments.size(); ++k) {
        const CliCommandRow* row = findCliCommand(arguments[k]);
        if (k == at || !row || !commandTakesOption(row->name, option)) continue;
        if (k > at) return k;
        before = k;
    }
    return before;
}

}  // namespace

std::string misplacedOptionMessage(const std::vector<std::string>& arguments, size_t at, const std::string& after) {
    const std::string& word = arguments[at];
    const size_t eq = word.find('=');
    const std::string name = word.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const std::string shown = "--" + echoedText(name);

    if (name == "help" || name == "version") return shown + " stands alone: quillstep-cli " + shown;

    const bool isParameter = isParameterName(name);
    const CommandOption* option = findCommandOption(name);
    if (!isParameter && !option) {
        const std::vector<std::string> closest = closestNames(name, allOptionNames());
        // Where a file name belongs, it may have been meant as one.
        const bool fileNext = !after.empty() && whatCommandTakes(after).ends_with("file name");
        if (closest.empty())
            return "unknown option " + shown + " (see --help" +
                   (fileNext ? "; a file whose name begins with -- is given as ./" + echoedText(word) : std::string()) + ")";
        std::vector<std::string> withDashes;
        for (const std::string& c : closest) withDashes.push_back("--" + c);
        return "unknown option " + shown + didYouMean(withDashes);
    }
    // Its value moves with it; a command or another option after it is no value.
    const bool takesValue = isParameter || option->takesValue;
    const bool valueFollows = takesValue && eq == std::string::npos && at + 1 < arguments.size() &&
                              arguments[at + 1].rfind("--", 0) != 0 && !findCliCommand(arguments[at + 1]);
    const size_t count = valueFollows ? 2 : 1;

    if (isParameter)
        return shown + " is a parameter and goes before the commands: " +
               movedLine(arguments, at, count, firstCommandAt(arguments), false);

    const size_t target = commandTaking(arguments, at, *option);
    if (target < arguments.size()) {
        const std::string command = findCliCommand(arguments[target])->name;
        return shown + " belongs after " + command + ": " + movedLine(arguments, at, count, target + 1, true);
    }
    std::string message = shown + " is an option of " + namesInProse(commandsTakingOption(*option), "and");
    if (after.empty()) return message + " and goes after one of them, none of which is on the line";
    return message + "; " + after + " takes " + whatCommandTakes(after);
}

}  // namespace quillstep
