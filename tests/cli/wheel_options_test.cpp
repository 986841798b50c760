// checkwheel's options on the command line: read into the wheel in any order and either form
// ("--hits 4", "--hits=4"), each at most once, and only after checkwheel.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"

namespace quillstep {
namespace {

std::optional<CliOptions> parse(const std::vector<std::string>& arguments, std::string& error) {
    return parseCommandLine(arguments, error);
}

TEST(CliWheelOptions, ReadsTheWheelInAnyOrderAndEitherForm) {
    std::string error;
    const auto options = parse({"checkwheel", "--if=5", "--keys", "3", "--pool", "3,7,11-20", "--hits=4", "w.txt"}, error);
    ASSERT_TRUE(options) << error;
    ASSERT_EQ(options->commands.size(), 1u);
    const CliCommand& command = options->commands[0];
    EXPECT_EQ(command.fileName, "w.txt");
    uint64_t pool = (uint64_t{1} << 3) | (uint64_t{1} << 7);
    for (int v = 11; v <= 20; ++v) pool |= uint64_t{1} << v;
    EXPECT_EQ(command.wheel.pool, pool);
    EXPECT_EQ(command.wheel.keys, uint64_t{1} << 3);
    EXPECT_EQ(command.wheel.hits, 4);
    EXPECT_EQ(command.wheel.drawn, 5);

    // Two wheels on one line, after a counting run: no store needed.
    const auto two = parse({"run", "1", "checkwheel", "--pool", "1-8", "--hits", "2", "--if", "2", "a.txt", "checkwheel",
                            "--pool", "1-39", "--hits", "4", "--if", "4", "b.txt"},
                           error);
    ASSERT_TRUE(two) << error;
    EXPECT_EQ(two->commands[2].wheel.pool, (uint64_t{2} << 39) - 2);
    EXPECT_EQ(two->commands[2].wheel.keys, 0u);
}

TEST(CliWheelOptions, RefusesAnOptionGivenTwiceOrMisplaced) {
    std::string error;
    EXPECT_FALSE(parse({"checkwheel", "--pool", "1-8", "--pool", "1-9", "--hits", "2", "--if", "2", "w.txt"}, error));
    EXPECT_EQ(error, "--pool is given twice for checkwheel");
    EXPECT_FALSE(parse({"run", "12", "check4", "--hits", "4", "w.txt"}, error));
    EXPECT_EQ(error, "--hits is an option of checkwheel and wheel; check4 takes only a file name");
    EXPECT_FALSE(parse({"checkwheel", "--pool", "1-8", "--hits", "2", "--if", "2", "--any-combination", "w.txt"}, error));
    EXPECT_EQ(error.rfind("--any-combination is an option of optimise4 and optimise5; checkwheel takes --pool", 0), 0u)
        << error;
}

}  // namespace
}  // namespace quillstep
