// CTest label: threads
// The commands of quillstep-cli as they run: the output folder, a standard output that fails, a
// search stopped by Ctrl+C, the window's messages echoed, the statistics without a window.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <streambuf>

#include "cli/cli_commands.h"
#include "cli/echoed_text.h"
#include "cli/output_folder.h"
#include "files/combination_file.h"
#include "platform/headless/headless_platform.h"
#include "usecases/generation_run.h"
#include "windows/statistics_window.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

class CliCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-cli-");
    }
    void TearDown() override { fs::remove_all(folder); }

    static CliOptions parsed(const std::vector<std::string>& arguments) {
        std::string error;
        auto options = parseCommandLine(arguments, error);
        EXPECT_TRUE(options) << error;
        return options.value_or(CliOptions{});
    }
    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder;
};

TEST_F(CliCommandsTest, OutputFolderReceivesTheFiles) {
    std::ostringstream out;
    const auto options = parsed({"--total", "10", "--output-dir", folder.string(), "run", "2", "write", "search5"});
    ASSERT_EQ(runCommandLine(options, out), 0);
    EXPECT_EQ(filesInFolder().size(), 2u);
    EXPECT_TRUE(fs::exists(folder / COMBINATION_FILE_NAME));
    EXPECT_TRUE(fs::exists(folder / G5_SYSTEM_FILE_NAME));
    EXPECT_NE(out.str().find("file: mb_comb_file.txt rows: 120 "), std::string::npos) << out.str();
}

TEST_F(CliCommandsTest, OutputFolderProblemsAreFoundBeforeAnythingRuns) {
    EXPECT_EQ(findOutputFolderProblem(""), std::nullopt);  // the working directory
    EXPECT_EQ(findOutputFolderProblem(folder), std::nullopt);
    EXPECT_TRUE(filesInFolder().empty()) << "the probe file is removed";
    // (The folder's name is echoed as every typed text is, cut at ECHOED_TEXT_LIMIT bytes.)
    EXPECT_EQ(findOutputFolderProblem(folder / "missing"),
              "--output-dir '" + echoedText((folder / "missing").string()) + "' does not exist");
    std::ofstream(folder / "plain.txt") << "x";
    EXPECT_EQ(findOutputFolderProblem(folder / "plain.txt"),
              "--output-dir '" + echoedText((folder / "plain.txt").string()) + "' is not a folder");
#if defined(__linux__)
    // Nobody, not even root, creates files in /proc.
    const auto proc = findOutputFolderProblem("/proc");
    ASSERT_TRUE(proc);
    EXPECT_EQ(proc->rfind("--output-dir '/proc' is not writable: ", 0), 0u) << *proc;
#endif

    std::ostringstream out;
    const auto options = parsed({"--total", "8", "--output-dir", (folder / "missing").string(), "run", "2", "write"});
    EXPECT_EQ(runCommandLine(options, out), 2);
    EXPECT_EQ(out.str(), "") << "no command ran";
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

// A standard output that refuses every byte, like /dev/full.
class FullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST_F(CliCommandsTest, UnwritableOutputStopsWithStatusOne) {
    FullBuffer full;
    std::ostream out(&full);
    const auto options = parsed({"--total", "8", "--output-dir", folder.string(), "run", "2", "write"});
    EXPECT_EQ(runCommandLine(options, out), 1);
    EXPECT_TRUE(filesInFolder().empty()) << "the commands after the failed line do not run";
}

// The full wheel of `totalNumbers`, stored.
std::unique_ptr<SharedState> fullWheel(int totalNumbers, const fs::path& folder) {
    auto state = createSharedState();
    state->parameters.totalNumbers = totalNumbers;
    state->outputFolder = folder;
    CliRunHost host(localTimeOfDaySeconds);
    runGenerationMode(*state, host, 2);
    return state;
}

int runSearch5(CliSession& session) {
    const CliCommandRow* search5 = findCliCommand("search5");
    return search5->run(session, CliCommand{"search5", 0, search5});
}

TEST_F(CliCommandsTest, StoppedSearchSaysSoOnStandardOutput) {
    // 77520 starting combinations: far more than the search gets through before it sees the stop.
    auto state = fullWheel(20, folder);
    std::ostringstream out;
    CliSession session{*state, out};
    // Ctrl+C arrives with the first progress report.
    bool raised = false;
    session.afterSearchProgress = [&raised](int32_t, int32_t) {
        if (!raised) {
            raised = true;
            std::raise(SIGINT);
        }
    };
    ASSERT_EQ(runSearch5(session), 0);
    ASSERT_TRUE(raised);

    std::smatch m;
    const std::string text = out.str();
    ASSERT_TRUE(std::regex_search(text, m, std::regex("^stopped after: ([0-9]+) of 77520\nbest start: [0-9]+\n")))
        << text;
    const int checked = std::stoi(m[1]);
    EXPECT_GE(checked, 50);
    EXPECT_LT(checked, 77520);
}

TEST_F(CliCommandsTest, SearchRunToItsEndSaysNothingOfStopping) {
    auto state = fullWheel(12, folder);
    std::ostringstream out;
    CliSession session{*state, out};
    std::vector<std::string> messages;
    session.afterMessage = [&messages](const std::string& text) { messages.push_back(text); };
    ASSERT_EQ(runSearch5(session), 0);
    EXPECT_EQ(out.str().rfind("best start: ", 0), 0u) << out.str();
    // The window's messages, from the same texts, in the window's order; the last one the writer's.
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].rfind("Best starting combination number:", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1].rfind("We found for now ", 0), 0u) << messages[1];
    EXPECT_EQ(messages[2].rfind("We store combinations  in file mb_comb_file_ab5.txt in ", 0), 0u) << messages[2];
}

TEST_F(CliCommandsTest, StatsCountsWithoutAWindowAndPrintsTheWindowsFigures) {
    auto state = fullWheel(9, folder);  // 36 combinations: every number 28 times
    std::ostringstream out;
    CliSession session{*state, out};
    session.clock = [t = 0.0]() mutable { return t += 0.25; };
    const CliCommandRow* stats = findCliCommand("stats");
    ASSERT_EQ(stats->run(session, CliCommand{"stats", 0, stats}), 0);

    std::string expected = countingMessageText(36, 0.25) + "\n";
    for (int v = 1; v <= 39; ++v) expected += std::to_string(v) + ": " + (v <= 9 ? "28" : "") + "\n";
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(countingMessageText(36, 0.25), " 36 combinations counted in: .25 seconds");

    // The window shows the same counts and message.
    HeadlessPlatform window;
    window.clock = [t = 0.0]() mutable { return t += 0.25; };
    showNumberStatistics(*state, window);
    EXPECT_EQ(state->countingMessage, countingMessageText(36, 0.25));
}

}  // namespace
}  // namespace quillstep
