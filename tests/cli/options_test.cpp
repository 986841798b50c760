// The command line is parsed and checked as a whole: options, parameters, commands and the store
// rule, with messages that name what the user typed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/echoed_text.h"
#include "cli/options.h"
#include "support/test_support.h"
#include "cli/parameter_options.h"
#include "engine/generation_mode.h"

namespace quillstep {
namespace {

// The error of a refused line, or "accepted".
std::string errorOf(const std::vector<std::string>& arguments) {
    std::string error;
    return parseCommandLine(arguments, error) ? "accepted" : error;
}
std::string errorOfLine(const std::string& line) { return errorOf(words(line)); }

// The states the up/down buttons reach from the defaults, written out on 64-bit values so that no
// value the user can type overflows here.
bool reachable(const GenerationParameters& p) {
    const auto in = [](int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; };
    bool ok = in(p.totalNumbers, 8, 39) && in(p.minSum, 28, 252) && in(p.maxSum, p.minSum, 252) &&
              in(p.minOdd, 0, 7) && in(p.minEven, 0, 7) && int64_t(p.minOdd) + p.minEven <= 7 &&
              in(p.forcedNumber, 1, 39) && in(p.rangeCount, 0, 7) && in(p.rangeLimit, 7, 39) &&
              in(p.minNumber, 1, 38) && in(p.maxNumber, int64_t(p.minNumber) + 1, 39) && in(p.maxNeighbours, 0, 6);
    for (int i = 1; i <= 7; ++i) ok = ok && in(p.excludedNumbers[i], i == 1 ? 1 : int64_t(p.excludedNumbers[i - 1]) + 1, 39);
    return ok;
}

TEST(CliStoreRule, ARefusedCommandAnywhereRefusesTheWholeLine) {
    const std::string refused = " is refused: the last run before it did not store its combinations";
    EXPECT_EQ(errorOfLine("--total 8 run 2 write run 1 write").rfind("write" + refused, 0), 0u);
    EXPECT_EQ(errorOfLine("--total 8 run 2 stats run 4 search4 run 7 search5").rfind("search5" + refused, 0), 0u);
    EXPECT_EQ(errorOfLine("stats run 2").rfind("stats" + refused, 0), 0u);
    EXPECT_EQ(errorOfLine("--total 8 run 2 write run 1 run 14 stats search4 search5 write"), "accepted");
}

TEST(CliStoreRule, EveryStoreCommandFollowsTheModeBeforeIt) {
    for (const char* command : {"write", "search4", "search5", "stats"}) {
        ASSERT_NE(findCliCommand(command), nullptr);
        EXPECT_TRUE(findCliCommand(command)->needsStoredCombinations) << command;
        for (int mode = 1; mode <= 14; ++mode) {
            const bool accepted = errorOf({"run", "2", "run", std::to_string(mode), command}) == "accepted";
            EXPECT_EQ(accepted, isStoringMode(mode)) << command << " after mode " << mode;
        }
    }
    EXPECT_FALSE(findCliCommand("run")->needsStoredCombinations);
}

TEST(CliStoreRule, CommandsKeepTheirOrderAndModes) {
    std::string error;
    const auto options = parseCommandLine(words("--total=9 --output-dir out run 2 stats run 13 write"), error);
    ASSERT_TRUE(options) << error;
    ASSERT_EQ(options->commands.size(), 4u);
    EXPECT_EQ(options->commands[0].name, "run");
    EXPECT_EQ(options->commands[0].mode, 2);
    EXPECT_EQ(options->commands[1].name, "stats");
    EXPECT_EQ(options->commands[2].mode, 13);
    EXPECT_EQ(options->commands[3].row, findCliCommand("write"));
    EXPECT_EQ(options->parameters.totalNumbers, 9);
    EXPECT_EQ(options->outputFolder, "out");
}

TEST(CliParameterMessages, NameTheOptionGivenWithTheRangeLeftToIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"--min-even 5", "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"},
        {"--min-even 10", "--min-even 10 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"},
        {"--min-even -2147483648", "--min-even -2147483648 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)"},
        {"--min-odd 2147483647", "--min-odd 2147483647 is out of range: allowed 0 to 3 (min-odd + min-even at most 7)"},
        {"--min-sum 200", "--min-sum 200 is out of range: allowed 28 to 150 (at most max-sum)"},
        {"--max-sum 100", "--max-sum 100 is out of range: allowed 140 to 252 (at least min-sum)"},
        {"--min-sum 200 --max-sum 300", "--max-sum 300 is out of range: allowed 200 to 252 (at least min-sum)"},
        {"--max-sum 300 --min-sum 200", "--max-sum 300 is out of range: allowed 200 to 252 (at least min-sum)"},
        {"--min-sum 160 --max-sum 155", "--min-sum 160 is out of range: allowed 28 to 155 (at most max-sum)"},
        {"--max-sum 9999 --min-sum -5", "--max-sum 9999 is out of range: allowed 28 to 252"},
        {"--min-number 39", "--min-number 39 is out of range: allowed 1 to 38 (below max-number)"},
        {"--max-number 20 --min-number 20", "--max-number 20 is out of range: allowed 21 to 39 (above min-number)"},
        {"--total 99999999999", "--total 99999999999 is out of range: allowed 8 to 39"},
        {"--forced=-99999999999", "--forced -99999999999 is out of range: allowed 1 to 39"},
        {"--max-neighbours 007", "--max-neighbours 007 is out of range: allowed 0 to 6"},
        {"--total 20 --excluded 1,2,3,4,5,6,40",
         "--excluded: entry 7 is 40, allowed 7 to 39 (seven numbers, strictly increasing, from 1 to 39)"},
        {"--excluded 1,2,3,4,99999999999,6,7",
         "--excluded: entry 5 is 99999999999, allowed 5 to 37 (seven numbers, strictly increasing, from 1 to 39)"},
        {"--excluded=-2147483648,2,3,4,5,6,7",
         "--excluded: entry 1 is -2147483648, allowed 1 to 33 (seven numbers, strictly increasing, from 1 to 39)"},
        {"--excluded 5,4,6,7,8,9,10",
         "--excluded: entry 2 is 4, allowed 6 to 34 (seven numbers, strictly increasing, from 1 to 39)"},
    };
    for (const auto& [line, message] : cases) EXPECT_EQ(errorOfLine(line + " run 1"), message) << line;
}

TEST(CliParameterMessages, EchoedValuesAreEscapedAndCut) {
    EXPECT_EQ(errorOf({"--total", "\x1b[2J\n", "run", "1"}), "--total needs a whole number, got '\\x1b[2J\\x0a'");
    EXPECT_EQ(errorOf({"run", "1", std::string(ECHOED_TEXT_LIMIT + 60, 'x')}),
              "unknown command '" + std::string(ECHOED_TEXT_LIMIT, 'x') + "...' (see --help)");
    EXPECT_EQ(errorOf({"--col\tour", "1"}), "unknown option --col\\x09our (see --help)");
    EXPECT_EQ(errorOf({"run", "\x7f"}), "run needs a mode from 1 to 14, got '\\x7f'");
    EXPECT_EQ(echoedText("a\\b"), "a\\\\b");
    // A cut never splits a UTF-8 sequence: ASCII bytes up to one short of the limit, then a
    // two-byte letter across it.
    const std::string typed = std::string(ECHOED_TEXT_LIMIT - 1, 'a') + "\xc3\xa9" + "zzz";
    EXPECT_EQ(echoedText(typed), std::string(ECHOED_TEXT_LIMIT - 1, 'a') + "...");
    EXPECT_EQ(echoedText("\xc3\xa9"), "\xc3\xa9");
    EXPECT_EQ(echoedText(std::string(ECHOED_TEXT_LIMIT, 'q')), std::string(ECHOED_TEXT_LIMIT, 'q'));
}

TEST(CliParameterMessages, OutputFolderNeedsAName) {
    EXPECT_EQ(errorOfLine("--output-dir= run 1"), "--output-dir needs a folder");
    EXPECT_EQ(errorOfLine("--output-dir a --output-dir b run 1"), "--output-dir is given twice");
}

// Each option's widest range, written out here: values are drawn inside it, on and just beyond
// its ends, and at the ends of 32 bits.
const std::map<std::string, std::pair<int32_t, int32_t>> WIDEST{
    {"total", {8, 39}},      {"min-sum", {28, 252}},    {"max-sum", {28, 252}},     {"min-odd", {0, 7}},
    {"min-even", {0, 7}},    {"forced", {1, 39}},       {"range-count", {0, 7}},    {"range-limit", {7, 39}},
    {"min-number", {1, 38}}, {"max-number", {2, 39}},   {"max-neighbours", {0, 6}},
};

int32_t randomValue(const std::string& option, std::mt19937& rng) {
    const auto [low, high] = WIDEST.at(option);
    const int32_t candidates[] = {low - 1, low, high, high + 1, INT32_MIN, INT32_MAX};
    if (rng() % 2 == 0) return std::uniform_int_distribution<int32_t>(low, high)(rng);
    return candidates[rng() % 6];
}

// Random parameter lists: the accepted ones are exactly the reachable states, and every refusal
// blames an option that was given.
TEST(CliParameterMessages, AcceptedStatesAreExactlyTheReachableOnes) {
    std::mt19937 rng(10);
    int accepted = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        GenerationParameters p;
        std::vector<std::string> arguments, given;
        for (const ParameterOption& option : PARAMETER_OPTIONS) {
            if (rng() % 3 != 0) continue;
            p.*(option.field) = randomValue(option.name, rng);
            given.push_back(std::string("--") + option.name);
            arguments.push_back(given.back());
            arguments.push_back(std::to_string(p.*(option.field)));
        }
        if (rng() % 3 == 0) {  // mostly increasing, now and then an entry anywhere from -1 to 41
            std::string list;
            for (int i = 1; i <= 7; ++i) {
                const int32_t e = rng() % 8 == 0 ? std::uniform_int_distribution<int32_t>(-1, 41)(rng)
                                                 : 5 * i + std::uniform_int_distribution<int32_t>(-2, 2)(rng);
                p.excludedNumbers[i] = e;
                list += (i > 1 ? "," : "") + std::to_string(e);
            }
            given.push_back("--excluded");
            arguments.insert(arguments.end(), {"--excluded", list});
        }
        arguments.insert(arguments.end(), {"run", "1"});
        std::string error;
        const bool isAccepted = parseCommandLine(arguments, error).has_value();
        ASSERT_EQ(isAccepted, reachable(p)) << "trial " << trial << ": " << error;
        accepted += isAccepted;
        bool blamesAGivenOption = isAccepted;
        for (const std::string& name : given)
            blamesAGivenOption = blamesAGivenOption || error.rfind(name + " ", 0) == 0 || error.rfind(name + ":", 0) == 0;
        EXPECT_TRUE(blamesAGivenOption) << "trial " << trial << ": " << error;
    }
    EXPECT_GT(accepted, 100);  // the draw reaches both sides of the rule
}

}  // namespace
}  // namespace quillstep

namespace quillstep {
namespace {

// --version and --help answer by themselves wherever they stand among the options, and nothing
// after them is looked at; the version line names the program and a dotted version.
TEST(CliVersion, AnswersBeforeAnythingIsChecked) {
    std::string error;
    for (const auto& line : {"--version", "--total 40 --version", "--version run 99 fly", "--version --help"}) {
        const auto options = parseCommandLine(words(line), error);
        ASSERT_TRUE(options) << line << ": " << error;
        EXPECT_TRUE(options->version) << line;
        EXPECT_FALSE(options->help) << line;
        EXPECT_TRUE(options->commands.empty()) << line;
    }
    const auto help = parseCommandLine(words("--help --version"), error);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help && !help->version);
    EXPECT_FALSE(parseCommandLine(words("run 1 --version"), error)) << "--version is an option, not a command";

    const std::string versionLine = CLI_VERSION_LINE;
    ASSERT_EQ(versionLine.rfind("quillstep-cli ", 0), 0u);
    const std::string version = versionLine.substr(14);
    EXPECT_EQ(version.back(), '\n');
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    EXPECT_EQ(version.find_first_not_of("0123456789.\n"), std::string::npos) << version;
}

}  // namespace
}  // namespace quillstep
