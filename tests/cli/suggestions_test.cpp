// The help for a mistyped or misplaced word: the edit distance against a search over single
// edits, the names offered for slips, and the messages of the parser, whose corrected lines are
// parsed again and must mean what the user meant.

#include <gtest/gtest.h>

#include <map>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/options.h"
#include "support/test_support.h"
#include "cli/suggestions.h"

namespace quillstep {
namespace {

std::string errorOfLine(const std::string& line) {
    std::string error;
    return parseCommandLine(words(line), error) ? "accepted" : error;
}

// The fewest edits by breadth-first search: every word one edit away (a letter of the alphabet
// added anywhere, a letter removed or replaced, two neighbours swapped), level by level.
size_t editsBySearch(const std::string& from, const std::string& to, const std::string& alphabet) {
    std::map<std::string, size_t> reached{{from, 0}};
    std::queue<std::string> next;
    next.push(from);
    const size_t longest = std::max(from.size(), to.size()) + 1;
    while (!next.empty()) {
        const std::string word = next.front();
        next.pop();
        const size_t steps = reached[word];
        if (word == to) return steps;
        std::vector<std::string> around;
        for (size_t k = 0; k <= word.size(); ++k)
            for (const char c : alphabet) around.push_back(word.substr(0, k) + c + word.substr(k));
        for (size_t k = 0; k < word.size(); ++k) {
            around.push_back(word.substr(0, k) + word.substr(k + 1));
            for (const char c : alphabet) around.push_back(word.substr(0, k) + c + word.substr(k + 1));
            if (k + 1 < word.size()) {
                std::string swapped = word;
                std::swap(swapped[k], swapped[k + 1]);
                around.push_back(swapped);
            }
        }
        for (const std::string& w : around)
            if (w.size() <= longest && reached.emplace(w, steps + 1).second) next.push(w);
    }
    return SIZE_MAX;
}

TEST(CliSuggestions, EditDistanceIsTheFewestSingleEdits) {
    // Three letters, words of up to four: swaps far apart ("ca" to "abc" is two edits) included.
    const std::string alphabet = "abc";
    std::mt19937 rng(27);
    const auto randomWord = [&] {
        std::string w(rng() % 5, 'a');
        for (char& c : w) c = alphabet[rng() % alphabet.size()];
        return w;
    };
    for (int trial = 0; trial < 400; ++trial) {
        const std::string a = randomWord(), b = randomWord();
        ASSERT_EQ(editDistance(a, b), editsBySearch(a, b, alphabet)) << "'" << a << "' to '" << b << "'";
    }
    EXPECT_EQ(editDistance("ca", "abc"), 2u);
    EXPECT_EQ(editDistance("SEARCH4", "search4"), 0u) << "capitals count as small letters";
    EXPECT_EQ(editDistance("", "stats"), 5u);
}

TEST(CliSuggestions, SlipsGetTheNearestNamesAndOthersNone) {
    const std::vector<std::string> names{"search4", "search5", "stats", "write", "run", "check4", "check5"};
    using Names = std::vector<std::string>;
    EXPECT_EQ(closestNames("serch4", names), Names{"search4"});
    EXPECT_EQ(closestNames("saerch5", names), Names{"search5"});
    EXPECT_EQ(closestNames("check", names), (Names{"check4", "check5"})) << "a tie names both";
    EXPECT_EQ(closestNames("stast", names), Names{"stats"});
    EXPECT_EQ(closestNames("wirte", names), Names{"write"});
    EXPECT_EQ(closestNames("sarch", names), Names{}) << "two edits in five letters are no slip";
    EXPECT_EQ(closestNames("3", names), Names{});
    EXPECT_EQ(closestNames("", names), Names{});
    EXPECT_EQ(closestNames("run", {"run", "run"}), Names{"run"});

    EXPECT_EQ(namesInProse({"a"}, "or"), "a");
    EXPECT_EQ(namesInProse({"a", "b"}, "or"), "a or b");
    EXPECT_EQ(namesInProse({"a", "b", "c"}, "and"), "a, b and c");
    EXPECT_EQ(didYouMean({}), "");
    EXPECT_EQ(didYouMean({"check4", "check5"}), "; did you mean check4 or check5?");

    EXPECT_EQ(closestCliCommands("optimze4"), Names{"optimise4"}) << "near the other spelling, named in ours";
    EXPECT_EQ(closestCliCommands("optimise"), (Names{"optimise4", "optimise5"}));
    EXPECT_EQ(closestCliCommands("profiel"), Names{"profile"});
}

TEST(CliSuggestions, CorrectedLinesQuoteAndShorten) {
    EXPECT_EQ(commandLineText({"run", "12", "check4", "my system.txt"}, 0, 4), "quillstep-cli run 12 check4 'my system.txt'");
    EXPECT_EQ(commandLineText({"check4", "it's"}, 0, 2), "quillstep-cli check4 'it'\\''s'");
    EXPECT_EQ(commandLineText({"check4", "a\x1b"}, 0, 2), "quillstep-cli check4 'a\\x1b'");
    std::vector<std::string> longLine{"run", "12"};
    for (int k = 0; k < 60; ++k) longLine.push_back("stats");
    longLine.insert(longLine.begin() + 40, {"optimise4", "--seed", "1"});
    EXPECT_EQ(commandLineText(longLine, 40, 43), "quillstep-cli ... optimise4 --seed 1 ...");
}

TEST(CliSuggestions, MessagesSayWhereAnOptionGoes) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"--time-limit 20 run 12 optimise4",
         "--time-limit belongs after optimise4: quillstep-cli run 12 optimise4 --time-limit 20"},
        {"run 12 --seed=3 write optimise5", "--seed belongs after optimise5: quillstep-cli run 12 write optimise5 --seed=3"},
        {"run 12 optimise4 write --steps 9", "--steps belongs after optimise4: quillstep-cli run 12 optimise4 --steps 9 write"},
        {"--any-combination run 12 optimise4", "--any-combination belongs after optimise4: quillstep-cli run 12 optimise4 --any-combination"},
        {"--total 20 run 2 complete4 a.txt --seed 2",
         "--seed belongs after complete4: quillstep-cli --total 20 run 2 complete4 --seed 2 a.txt"},
        {"run 12 search4 --total 20",
         "--total is a parameter and goes before the commands: quillstep-cli --total 20 run 12 search4"},
        {"--min-sum 100 run 12 optimise4 --excluded=1,2,3,4,5,6,8",
         "--excluded is a parameter and goes before the commands: quillstep-cli --min-sum 100 --excluded=1,2,3,4,5,6,8 run 12 optimise4"},
        {"run 12 search4 --seed 1",
         "--seed is an option of optimise4, optimise5, complete4, complete5 and wheel; search4 takes --output"},
        {"--seed 1 run 12 search4",
         "--seed is an option of optimise4, optimise5, complete4, complete5 and wheel and goes after one of them, none of which is on the line"},
        {"run 12 check4 --seed 3 p.txt",
         "--seed is an option of optimise4, optimise5, complete4, complete5 and wheel; check4 takes only a file name"},
        {"run 12 complete4 p.txt --any-combination",
         "--any-combination is an option of optimise4 and optimise5; complete4 takes --time-limit, --seed, --steps and --output, then a file name"},
        {"run --seed 4 12 write", "--seed is an option of optimise4, optimise5, complete4, complete5 and wheel; run takes only a mode"},
        {"run 12 optimise4 --time-limt 5", "unknown option --time-limt; did you mean --time-limit?"},
        {"--max-neighbors 2 run 1", "unknown option --max-neighbors; did you mean --max-neighbours?"},
        {"run 12 check4 --p.txt", "unknown option --p.txt (see --help; a file whose name begins with -- is given as ./--p.txt)"},
        {"run 1 --version", "--version stands alone: quillstep-cli --version"},
        {"--seed run 12 optimise4", "--seed belongs after optimise4: quillstep-cli run 12 optimise4 --seed"},
        {"run --total 20 2 write", "--total is a parameter and goes before the commands: quillstep-cli --total 20 run 2 write"},
        {"run 12 serch4", "unknown command 'serch4'; did you mean search4?"},
        {"run 12 check p.txt", "unknown command 'check'; did you mean check4 or check5?"},
        {"run 12 optimise4 --steps 9223372036854775808",
         "--steps needs a whole number from 1 to 9223372036854775807, got '9223372036854775808'"},
        {"run 12 optimise4 --seed 18446744073709551616",
         "--seed needs a whole number from 0 to 18446744073709551615, got '18446744073709551616'"},
        {"run 12 optimise4 --time-limit 1e9", "--time-limit needs seconds from 1 to 3600, got '1e9'"},
    };
    for (const auto& [line, message] : cases) EXPECT_EQ(errorOfLine(line), message) << line;
}

// Lines that parse, with one option of a command or one parameter moved to a wrong place: the
// message's corrected line parses to what the original meant.
TEST(CliSuggestions, CorrectedLinesMeanWhatWasMeant) {
    const std::vector<std::string> meant{
        "--total 20 run 2 optimise4 --time-limit 20 --seed 7",
        "run 12 search4 optimise5 --steps 40 --any-combination check5 mb_comb_file_ab5.txt",
        "--min-sum 120 run 12 write complete4 --time-limit 9 p.txt stats",
        "run 12 optimise4 --seed=5 run 13 stats",
    };
    std::mt19937 rng(6);
    int corrected = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const std::vector<std::string> original = words(meant[rng() % meant.size()]);
        std::string error;
        const auto wanted = parseCommandLine(original, error);
        ASSERT_TRUE(wanted) << error;
        // One option and its value, moved to another place in the line.
        std::vector<size_t> options;
        for (size_t k = 0; k < original.size(); ++k)
            if (original[k].rfind("--", 0) == 0) options.push_back(k);
        const size_t from = options[rng() % options.size()];
        const bool withValue = original[from].find('=') == std::string::npos && original[from] != "--any-combination";
        const size_t count = withValue ? 2 : 1;
        std::vector<std::string> moved(original.begin() + from, original.begin() + from + count), line;
        for (size_t k = 0; k < original.size(); ++k)
            if (k < from || k >= from + count) line.push_back(original[k]);
        // Never between an option and its value.
        size_t to = 0;
        do to = rng() % (line.size() + 1);
        while (to > 0 && line[to - 1].rfind("--", 0) == 0 && line[to - 1].find('=') == std::string::npos &&
               line[to - 1] != "--any-combination");
        line.insert(line.begin() + to, moved.begin(), moved.end());
        if (parseCommandLine(line, error)) continue;  // still a right place
        const size_t colon = error.find(": quillstep-cli ");
        ASSERT_NE(colon, std::string::npos) << error;
        const auto fixed = parseCommandLine(words(error.substr(colon + 16)), error);
        ASSERT_TRUE(fixed) << error;
        EXPECT_EQ(fixed->parameters.totalNumbers, wanted->parameters.totalNumbers);
        EXPECT_EQ(fixed->parameters.minSum, wanted->parameters.minSum);
        ASSERT_EQ(fixed->commands.size(), wanted->commands.size());
        for (size_t c = 0; c < fixed->commands.size(); ++c) {
            const CliCommand &got = fixed->commands[c], &want = wanted->commands[c];
            EXPECT_EQ(got.name, want.name);
            EXPECT_EQ(got.timeLimitSeconds, want.timeLimitSeconds);
            EXPECT_EQ(got.seed, want.seed);
            EXPECT_EQ(got.stepBudget, want.stepBudget);
            EXPECT_EQ(got.anyCombination, want.anyCombination);
            EXPECT_EQ(got.fileName, want.fileName);
        }
        ++corrected;
    }
    EXPECT_GT(corrected, 100);
}

TEST(CliSuggestions, OptimizeIsOptimise) {
    std::string error;
    const auto options = parseCommandLine(words("run 12 optimize4 --seed 3 optimize5 --time-limit 5"), error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->commands[1].name, "optimise4");
    EXPECT_EQ(options->commands[1].row, findCliCommand("optimise4"));
    EXPECT_EQ(options->commands[1].seed, 3u);
    EXPECT_EQ(options->commands[2].row, findCliCommand("optimise5"));
    EXPECT_EQ(options->commands[2].timeLimitSeconds, 5.0);
    EXPECT_EQ(findCliCommand("optimize"), nullptr);
    EXPECT_EQ(errorOfLine("run 1 optimize4"), "optimise4 is refused: the last run before it did not store its combinations "
                                             "(use run with a storing mode: 2, 4, 6, 8 to 14); nothing was run");
}

}  // namespace
}  // namespace quillstep
