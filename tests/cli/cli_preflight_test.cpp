// CTest label: threads
// What quillstep-cli refuses before anything runs (a working directory that cannot receive the
// files, a file to check that cannot be opened), and the end of a write that a signal reaches
// only once the new file is in place.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/output_folder.h"
#include "files/combination_file.h"
#include "usecases/generation_run.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

class CliPreflightTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-cli-preflight-");
        previous = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    static CliOptions parsed(const std::vector<std::string>& arguments) {
        std::string error;
        auto options = parseCommandLine(arguments, error);
        EXPECT_TRUE(options) << error;
        return options.value_or(CliOptions{});
    }

    fs::path folder, previous;
};

TEST_F(CliPreflightTest, AnUnwritableWorkingDirectoryIsRefusedBeforeAnythingRuns) {
    // /proc takes no new file, not even from root.
    ASSERT_TRUE(fs::is_directory("/proc/self"));
    fs::current_path("/proc/self");
    const auto problem = findWorkingFolderProblem();
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->rfind("the working directory '/proc/", 0), 0u) << *problem;
    EXPECT_NE(problem->find("is not writable: "), std::string::npos) << *problem;
    EXPECT_NE(problem->find("(--output-dir names another folder)"), std::string::npos) << *problem;

    for (const char* command : {"write", "search4", "search5", "optimise4"}) {
        std::ostringstream out;
        EXPECT_EQ(runCommandLine(parsed({"--total", "10", "run", "2", command}), out), 2) << command;
        EXPECT_EQ(out.str(), "") << command;  // not even the run
    }
    // Commands that write nothing still run there, and --output-dir takes the files elsewhere.
    std::ostringstream counted;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "run", "2", "stats"}), counted), 0);
    EXPECT_NE(counted.str().find("combinations: 120\n"), std::string::npos);
    std::ostringstream elsewhere;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "--output-dir", folder.string(), "run", "2", "write"}), elsewhere), 0);
    EXPECT_TRUE(fs::exists(folder / COMBINATION_FILE_NAME));

    fs::current_path(folder);
    EXPECT_FALSE(findWorkingFolderProblem().has_value());
}

TEST_F(CliPreflightTest, AFileToCheckMustOpenBeforeTheEarlierCommandsRun) {
    fs::current_path(folder);
    std::ostringstream out;
    const std::string missing = (folder / "missing.txt").string();
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "run", "2", "write", "search4", "check4", missing}), out), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(fs::exists(folder / COMBINATION_FILE_NAME));
    EXPECT_FALSE(fs::exists(folder / G4_SYSTEM_FILE_NAME));

    // A file an earlier command of the line writes need not exist before the line runs.
    std::ostringstream written;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "run", "2", "search4", "check4", G4_SYSTEM_FILE_NAME}), written), 0);
    EXPECT_NE(written.str().find("uncovered: 0\n"), std::string::npos) << written.str();
    fs::remove(folder / G5_SYSTEM_FILE_NAME);
    fs::current_path(previous);
    std::ostringstream elsewhere;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "--output-dir", folder.string(), "run", "2", "optimise5",
                                     "--time-limit", "1", "check5", (folder / "." / G5_SYSTEM_FILE_NAME).string()}),
                             elsewhere),
              0);
    EXPECT_NE(elsewhere.str().find("uncovered: 0\n"), std::string::npos) << elsewhere.str();
    std::ostringstream notWrittenHere;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "--output-dir", folder.string(), "run", "2", "search4",
                                     "check4", (folder / "missing" / G4_SYSTEM_FILE_NAME).string()}),
                             notWrittenHere),
              2);
    fs::current_path(folder);

    // A file that opens but is malformed is refused when its command runs, after the others.
    std::ofstream(folder / "bad.txt") << "1 2 3\n";
    std::ostringstream later;
    EXPECT_EQ(runCommandLine(parsed({"--total", "10", "run", "2", "write", "check4", "bad.txt"}), later), 2);
    EXPECT_NE(later.str().find("file: mb_comb_file.txt rows: 120 "), std::string::npos) << later.str();
}

TEST_F(CliPreflightTest, AWriteThatASignalReachesAfterTheRenameIsDone) {
    auto state = createSharedState();
    state->parameters.totalNumbers = 10;
    state->outputFolder = folder;
    CliRunHost host(localTimeOfDaySeconds);
    runGenerationMode(*state, host, 2);
    std::ostringstream out;
    CliSession session{*state, out};
    // SIGINT raised when the writer reports the file done, i.e. after the rename.
    session.afterMessage = [](const std::string& text) {
        if (text.rfind("We store combinations", 0) == 0) std::raise(SIGINT);
    };
    const CliCommandRow* write = findCliCommand("write");
    EXPECT_EQ(write->run(session, CliCommand{"write", 0, write}), 0);
    EXPECT_EQ(out.str().rfind("file: mb_comb_file.txt rows: 120 seconds: ", 0), 0u) << out.str();
    EXPECT_TRUE(fs::exists(folder / COMBINATION_FILE_NAME));
}

}  // namespace
}  // namespace quillstep
