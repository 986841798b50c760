// CTest label: threads
// Generation-command texts and the three text files, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/file_viewer.h"
#include "files/combination_file.h"
#include "windows/file_reports.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"

#if defined(__unix__)
#include <unistd.h>
#endif

namespace quillstep {
namespace {

namespace fs = std::filesystem;

class CommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { state_ = createSharedState().release(); }
    static void TearDownTestSuite() { delete state_; }
    void SetUp() override {
        state_->parameters = GenerationParameters{};
        state_->memoryDescription.clear();
        folder_ = freshTestFolder("quillstep-commands-");
        state_->outputFolder = folder_;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, ec);
        fs::remove_all(folder_, ec);
        state_->outputFolder.clear();
    }
    // A clock that advances by `step` seconds at every reading.
    void tickingClock(double start, double step) {
        platform_.clock = [t = start - step, step]() mutable { return t += step; };
    }
    std::string fileText(const char* name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool storeCommandsEnabled() const {
        for (int id : StoreCommands)
            if (!platform_.isEnabled(id)) return false;
        return true;
    }
    bool storeCommandsDisabled() const {
        for (int id : StoreCommands)
            if (platform_.isEnabled(id)) return false;
        return true;
    }

    static SharedState* state_;
    HeadlessPlatform platform_;
    fs::path folder_;
};
SharedState* CommandsTest::state_ = nullptr;

TEST_F(CommandsTest, DescriptionsWithDefaultParameters) {
    const char* expected[15] = {
        "", "", "FULL SYSTEM 7/ 39", "", "FULL SYSTEM 7/ 39 SUM:140-150", "", "FULL SYSTEM 7/ 39 min ODD/EVEN:3/4", "",
        "FULL SYSTEM 7/ 39 min ODD/EVEN:3/4 SUM:140-150",
        "FULL SYSTEM 7/ 39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25",
        "FULL SYSTEM 7/ 39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25 condition:2 in range:1-20",
        "FULL SYSTEM 7/ 39min no.:1,max no.:39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25",
        "FULL SYSTEM 7/ 39max neighb. no:3,min no.:1,max no.:39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25",
        "FULL SYSTEM 7/ 39max neighb. no:3,min no.:1,max no.:39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25,dot'n "
        "want:1,2,3,4,5,6,7",
        "FULL SYSTEM 7/ 39max neighb. no:3,min no.:1,max no.:39 min ODD/EVEN:3/4 SUM:140-150 FIX number=25,don't "
        "want 5 num of:1,2,3,4,5,6,7"};
    for (int mode = 1; mode <= 14; ++mode)
        EXPECT_EQ(composeMemoryDescription(state_->parameters, mode), expected[mode]) << "mode " << mode;

    GenerationParameters p;
    p.totalNumbers = 8;
    p.maxNeighbours = 0;
    p.rangeCount = 0;
    p.minOdd = 0;
    p.excludedNumbers = {0, 3, 9, 10, 20, 30, 38, 39, 0};
    EXPECT_EQ(composeMemoryDescription(p, 2), "FULL SYSTEM 7/ 8");
    EXPECT_EQ(composeMemoryDescription(p, 10),
              "FULL SYSTEM 7/ 8 min ODD/EVEN:0/4 SUM:140-150 FIX number=25 condition:0 in range:1-20");
    EXPECT_EQ(composeMemoryDescription(p, 14),
              "FULL SYSTEM 7/ 8max neighb. no:0,min no.:1,max no.:39 min ODD/EVEN:0/4 SUM:140-150 FIX number=25,"
              "don't want 5 num of:3,9,10,20,30,38,39");
    EXPECT_EQ(composeMemoryDescription(p, 0), "");
    EXPECT_EQ(generationModeOfButton(ANY_FIVE_EXCLUDED_FILTERS_BUTTON), 14);
    EXPECT_EQ(generationModeOfButton(WRITE_COMBINATIONS_BUTTON), 0);
    for (int mode = 1; mode <= 14; ++mode) EXPECT_EQ(generationModeOfButton(generationButtonOfMode(mode)), mode);
}

TEST_F(CommandsTest, CountTimeAndMemoryLabelsAfterRuns) {
    state_->parameters.totalNumbers = 8;
    tickingClock(3600.0, 0.0);
    runGenerationCommand(*state_, platform_, 1);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 8(FULL SYSTEM)");
    EXPECT_EQ(platform_.text(TIME_LABEL), "0.");
    EXPECT_EQ(platform_.text(MEMORY_LABEL), "");
    EXPECT_TRUE(storeCommandsDisabled());

    runGenerationCommand(*state_, platform_, 2);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 8 (FULL SYSTEM)");
    EXPECT_EQ(platform_.text(MEMORY_LABEL), "FULL SYSTEM 7/ 8");
    EXPECT_EQ(state_->memoryDescription, "FULL SYSTEM 7/ 8");
    EXPECT_TRUE(storeCommandsEnabled());

    // A storing run that accepts nothing still describes itself and enables the store commands.
    tickingClock(100.0, 0.5);
    runGenerationCommand(*state_, platform_, 4);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 0 (SUM)");
    EXPECT_EQ(platform_.text(TIME_LABEL), "0.5 (SUM)");
    EXPECT_EQ(platform_.text(MEMORY_LABEL), "FULL SYSTEM 7/ 8 SUM:140-150");
    EXPECT_TRUE(storeCommandsEnabled());

    // A counting run clears the description and disables the store commands.
    tickingClock(100.0, 2.0);
    runGenerationCommand(*state_, platform_, 7);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 0 (SUM)+(O/E)");
    EXPECT_EQ(platform_.text(TIME_LABEL), "2. (SUM)+(O/E)");
    EXPECT_EQ(platform_.text(MEMORY_LABEL), "");
    EXPECT_EQ(state_->memoryDescription, "");
    EXPECT_TRUE(storeCommandsDisabled());

    state_->parameters = GenerationParameters{};
    tickingClock(100.0, 0.016);
    runGenerationCommand(*state_, platform_, 9);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 99427 (F/S/O/E)");
    EXPECT_EQ(platform_.text(TIME_LABEL).substr(0, 5), "0.016");
    runGenerationCommand(*state_, platform_, 13);
    EXPECT_EQ(platform_.text(COUNT_LABEL), " 833(NW7/N/MM/R/F/S/O/E)");
}

TEST_F(CommandsTest, CombinationFileOfTheFullWheelAtEight) {
    state_->parameters.totalNumbers = 8;
    runGenerationCommand(*state_, platform_, 2);
    tickingClock(500.0, 0.5);
    const FileWriteResult result = writeCombinationFile(*state_, platform_);
    ASSERT_TRUE(result.written) << result.error;
    EXPECT_EQ(fileText(COMBINATION_FILE_NAME),
              "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 8\"\r\n\r\n"
              "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,5,6,8\r\n3,1,2,3,4,5,7,8\r\n4,1,2,3,4,6,7,8\r\n"
              "5,1,2,3,5,6,7,8\r\n6,1,2,4,5,6,7,8\r\n7,1,3,4,5,6,7,8\r\n8,2,3,4,5,6,7,8\r\n");
    EXPECT_EQ(result.rows, 8);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0], "We store combinations  in file mb_comb_file.txt in  .5 seconds");
    EXPECT_EQ(platform_.text(TIME_LABEL), "0.5");
    EXPECT_FALSE(fs::exists(folder_ / "mb_comb_file.txt.partial"));

    // Writing again replaces the file instead of appending to it.
    state_->parameters.totalNumbers = 10;
    runGenerationCommand(*state_, platform_, 4);  // accepts nothing
    tickingClock(500.0, 0.0);
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_EQ(fileText(COMBINATION_FILE_NAME), "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10 SUM:140-150\"\r\n\r\n");
    EXPECT_EQ(platform_.messages.back(), "We store combinations  in file mb_comb_file.txt in  0 seconds");
    EXPECT_EQ(platform_.text(TIME_LABEL), "0.");
}

TEST_F(CommandsTest, ProgressTextsEveryFiveThousandRows) {
    auto progressTexts = [&](int32_t rows) {
        state_->generatedCount = rows;
        platform_.textHistory.clear();
        EXPECT_TRUE(writeCombinationFile(*state_, platform_).written);
        std::vector<std::string> texts;
        for (const auto& [id, text] : platform_.textHistory)
            if (id == TIME_LABEL) texts.push_back(text);
        texts.pop_back();  // the writing time after the message
        return texts;
    };
    state_->parameters.totalNumbers = 20;
    runGenerationCommand(*state_, platform_, 2);
    EXPECT_EQ(progressTexts(5000), (std::vector<std::string>{" 0"}));
    EXPECT_EQ(progressTexts(5001), (std::vector<std::string>{" 0", " 5000"}));
    EXPECT_EQ(progressTexts(77520).size(), 16u);
    EXPECT_EQ(progressTexts(77520).back(), " 75000");
    // Every row of the 77,520 holds its number and the stored combination, through every carry of
    // the row number.
    std::istringstream lines(fileText(COMBINATION_FILE_NAME));
    std::string line;
    for (int i = 0; i < 3; ++i) std::getline(lines, line);
    int64_t row = 0;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line.back(), '\r');
        const int32_t* c = state_->storedCombination(row);
        std::ostringstream expected;
        expected << ++row;
        for (int k = 0; k < 7; ++k) expected << ',' << c[k];
        expected << '\r';
        ASSERT_EQ(line, expected.str());
    }
    EXPECT_EQ(row, 77520);
    EXPECT_EQ(progressTexts(0), (std::vector<std::string>{}));
}

TEST_F(CommandsTest, SystemFilesHaveTheirGuaranteeLine) {
    state_->memoryDescription = "FULL SYSTEM 7/ 10";
    const int32_t system[3][7] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 8, 9, 10}, {1, 5, 6, 7, 8, 9, 10}};
    std::copy_n(&system[0][0], 21, state_->abbreviatedSystemStore.get() + 1);
    tickingClock(10.0, 0.25);
    ASSERT_TRUE(writeSystemRows(*state_, 5, 3, {}, mainWindowWriteObserver(platform_)).written);
    EXPECT_EQ(fileText(G5_SYSTEM_FILE_NAME),
              "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10\"\r\n\"gar.:5 from 7 OK numbers\"\r\n\r\n"
              "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n3,1,5,6,7,8,9,10\r\n");
    EXPECT_EQ(platform_.messages.back(), "We store combinations  in file mb_comb_file_ab5.txt in  .25 seconds");
    ASSERT_TRUE(writeSystemRows(*state_, 4, 1, {}, mainWindowWriteObserver(platform_)).written);
    EXPECT_EQ(fileText(G4_SYSTEM_FILE_NAME),
              "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10\"\r\n\"gar.:4 from 7 OK numbers\"\r\n\r\n"
              "1,1,2,3,4,5,6,7\r\n");
    EXPECT_TRUE(fs::exists(folder_ / G5_SYSTEM_FILE_NAME));  // the other file stays
}

TEST_F(CommandsTest, FailedWritesAreReportedAndKeepTheOldFile) {
    state_->parameters.totalNumbers = 8;
    runGenerationCommand(*state_, platform_, 2);
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    const std::string old = fileText(COMBINATION_FILE_NAME);
    state_->parameters.totalNumbers = 9;
    runGenerationCommand(*state_, platform_, 2);

#if defined(__unix__)
    if (geteuid() != 0) {  // permissions do not bind the superuser
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(writeCombinationFile(*state_, platform_).written);
        fs::permissions(folder_, fs::perms::owner_all);
        EXPECT_EQ(fileText(COMBINATION_FILE_NAME), old);
    }
#endif
    // A folder that cannot hold the file.
    const size_t messagesBefore = platform_.messages.size();
    state_->outputFolder = folder_ / "missing";
    const FileWriteResult missing = writeCombinationFile(*state_, platform_);
    EXPECT_FALSE(missing.written);
    ASSERT_EQ(platform_.messages.size(), messagesBefore + 1);
    EXPECT_EQ(platform_.messages.back().find("We store"), std::string::npos);
    EXPECT_NE(platform_.messages.back().find("mb_comb_file.txt"), std::string::npos);
    state_->outputFolder = folder_;
    EXPECT_EQ(fileText(COMBINATION_FILE_NAME), old);
}

TEST_F(CommandsTest, ViewerFallsBackToTheDefaultProgramThenSaysSo) {
    platform_.processesStart = true;
    viewFile(platform_, "mb_comb_file_ab.txt");
    EXPECT_EQ(platform_.startedCommandLines.back(),
              "\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" \"mb_comb_file_ab.txt\"");
    EXPECT_TRUE(platform_.openedFiles.empty());

    platform_.processesStart = false;
    platform_.defaultProgramOpens = true;
    viewFile(platform_, "mb_comb_file.txt");
    EXPECT_EQ(platform_.openedFiles, (std::vector<std::string>{"mb_comb_file.txt"}));
    EXPECT_TRUE(platform_.messages.empty());

    platform_.defaultProgramOpens = false;
    viewFile(platform_, "mb_comb_file_ab5.txt");
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_NE(platform_.messages[0].find("mb_comb_file_ab5.txt"), std::string::npos);
}

}  // namespace
}  // namespace quillstep
