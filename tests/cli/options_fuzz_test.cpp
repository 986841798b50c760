// Thousands of random and mutated command lines: the parser never accepts a line that would break
// a rule, and every refusal is one printable line.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/options.h"
#include "engine/generation_mode.h"

namespace quillstep {
namespace {

const std::vector<std::string> VOCABULARY{
    "--total", "--min-sum", "--max-sum", "--min-odd", "--min-even", "--forced", "--range-count",
    "--range-limit", "--min-number", "--max-number", "--max-neighbours", "--excluded", "--output-dir",
    "--help", "-h", "--", "--total=8", "--excluded=1,2,3,4,5,6,7", "--excluded=3,9,12,20,31,38,39",
    "run", "write", "search4", "search5", "stats", "1", "2", "4", "7", "8", "13", "14", "15", "0", "-1",
    "140", "252", "39", "2147483648", "-2147483649", ",", "1,2,3", "", "=", "run=2", "ctrl\x01\x1b",
};

// A byte-level change of one word: a random byte replaced, inserted or removed, or the word cut.
std::string mutate(std::string word, std::mt19937& rng) {
    const size_t at = word.empty() ? 0 : rng() % (word.size() + 1);
    switch (rng() % 4) {
        case 0: if (at < word.size()) word[at] = char(rng() % 256); break;
        case 1: word.insert(word.begin() + at, char(rng() % 256)); break;
        case 2: if (at < word.size()) word.erase(at, 1); break;
        default: word.resize(at); break;
    }
    return word;
}

std::vector<std::string> randomLine(std::mt19937& rng) {
    std::vector<std::string> line;
    const int length = int(rng() % 12);
    for (int k = 0; k < length; ++k) {
        std::string word = VOCABULARY[rng() % VOCABULARY.size()];
        if (rng() % 6 == 0) word = mutate(word, rng);
        line.push_back(word);
    }
    return line;
}

void expectOnePrintableLine(const std::string& error, const std::vector<std::string>& line) {
    ASSERT_FALSE(error.empty());
    EXPECT_LE(error.size(), 300u);
    for (const char c : error) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_FALSE(byte < 0x20 || byte == 0x7f) << "control byte " << int(byte) << " in: " << error << " ("
                                                  << line.size() << " words)";
    }
}

void expectEveryRuleHolds(const CliOptions& options) {
    if (options.help) return;
    ASSERT_FALSE(options.commands.empty());
    EXPECT_EQ(findUnreachableParameter(options.parameters), std::nullopt);
    bool stored = false;
    for (const CliCommand& command : options.commands) {
        ASSERT_EQ(command.row, findCliCommand(command.name));
        ASSERT_NE(command.row, nullptr);
        if (command.name == "run") {
            ASSERT_TRUE(isGenerationMode(command.mode));
            stored = isStoringMode(command.mode);
        }
        EXPECT_TRUE(stored || !command.row->needsStoredCombinations) << command.name;
    }
}

TEST(CliFuzz, RandomAndMutatedLines) {
    constexpr int LINES = 20000;
    std::mt19937 rng(20261207);
    int accepted = 0;
    for (int n = 0; n < LINES; ++n) {
        const std::vector<std::string> line = randomLine(rng);
        std::string error;
        const auto options = parseCommandLine(line, error);
        if (options) {
            ++accepted;
            expectEveryRuleHolds(*options);
        } else {
            expectOnePrintableLine(error, line);
        }
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace quillstep
