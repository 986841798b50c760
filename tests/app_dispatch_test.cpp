#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "commands/combination_file.h"
#include "commands/control_ids.h"
#include "commands/generation_command.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

constexpr int LOWER_TOTAL = 1046;

// The main window with the shared state of a real start, its clicks handed over one by one.
class AppDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        state = createSharedState();
        ASSERT_NE(state, nullptr);
        folder = std::filesystem::temp_directory_path() /
                 ("quillstep_app_dispatch_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        state->outputFolder = folder;
        platform.processesStart = true;
        platform.clock = [] { return 1000.0; };
        runMainWindow(*state, platform);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void click(int id, int times = 1) {
        for (int k = 0; k < times; ++k) handleMainWindowCommand(*state, platform, id);
    }
    void lowerTotalTo8() { click(LOWER_TOTAL, 31); }

    std::unique_ptr<SharedState> state;
    HeadlessPlatform platform;
    std::filesystem::path folder;
};

TEST_F(AppDispatch, FullWheelButtonsCountAndStore) {
    lowerTotalTo8();
    click(1029);
    EXPECT_EQ(platform.text(COUNT_LABEL), " 8(FULL SYSTEM)");
    EXPECT_EQ(platform.text(MEMORY_LABEL), "");
    for (int id : StoreCommands) EXPECT_FALSE(platform.isEnabled(id)) << id;

    click(1030);
    EXPECT_EQ(platform.text(COUNT_LABEL), " 8 (FULL SYSTEM)");
    EXPECT_EQ(platform.text(MEMORY_LABEL), "FULL SYSTEM 7/ 8");
    for (int id : StoreCommands) EXPECT_TRUE(platform.isEnabled(id)) << id;
}

// Each generation button runs its own mode: its labels match those of a direct run of that mode.
TEST_F(AppDispatch, EveryGenerationButtonRunsItsMode) {
    const std::pair<int, int> buttonModes[] = {{1029, 1},  {1030, 2},  {1031, 3},  {1032, 4},  {1033, 5},
                                               {1034, 6},  {1035, 7},  {1036, 8},  {1059, 9},  {1071, 10},
                                               {1124, 11}, {1129, 12}, {1152, 13}, {1153, 14}};
    lowerTotalTo8();
    click(1048, 110);  // minSum 30: the sums at 8 numbers are 28 to 35, so the sum runs accept some
    for (const auto& [button, mode] : buttonModes) {
        click(button);
        HeadlessPlatform direct;
        runGenerationCommand(*state, direct, mode);
        EXPECT_EQ(platform.text(COUNT_LABEL), direct.text(COUNT_LABEL)) << "button " << button;
        EXPECT_EQ(platform.text(MEMORY_LABEL), direct.text(MEMORY_LABEL)) << "button " << button;
        EXPECT_EQ(platform.isEnabled(STATISTICS_BUTTON), direct.isEnabled(STATISTICS_BUTTON)) << "button " << button;
    }
}

TEST_F(AppDispatch, ViewButtonsOpenTheirFiles) {
    click(1030);  // a storing run enables the view buttons' row
    const std::pair<int, const char*> views[] = {
        {1038, COMBINATION_FILE_NAME}, {1075, G4_SYSTEM_FILE_NAME}, {1077, G5_SYSTEM_FILE_NAME}};
    for (const auto& [button, file] : views) {
        platform.startedCommandLines.clear();
        click(button);
        ASSERT_EQ(platform.startedCommandLines.size(), 1u) << button;
        EXPECT_EQ(platform.startedCommandLines[0], editorCommandLine(file)) << button;
    }
}

TEST_F(AppDispatch, FileAndSearchButtonsWriteTheirFiles) {
    lowerTotalTo8();
    click(1030);
    click(1037);
    EXPECT_TRUE(std::filesystem::exists(folder / COMBINATION_FILE_NAME));
    click(1074);
    EXPECT_TRUE(std::filesystem::exists(folder / G4_SYSTEM_FILE_NAME));
    click(1076);
    EXPECT_TRUE(std::filesystem::exists(folder / G5_SYSTEM_FILE_NAME));
    EXPECT_TRUE(platform.startedCommandLines.empty()) << "writing opens no viewer";
}

TEST_F(AppDispatch, StatisticsButtonOpensItsWindow) {
    lowerTotalTo8();
    click(1030);
    click(STATISTICS_BUTTON);
    ASSERT_EQ(platform.shownWindows.size(), 2u);
    EXPECT_EQ(platform.shownWindows[1].find(1084)->text, "Close");
    EXPECT_TRUE(platform.mainWindowEnabled);
}

TEST_F(AppDispatch, IdsWithoutActionDoNothing) {
    const auto texts = platform.textHistory.size();
    const auto enabled = platform.controlEnabled;
    for (int id : {0, 1002, 1005, 1026, 1061, 1078, 1084, 1115, 1125, 1130, 1137, 1156, 9999, -1}) click(id);
    EXPECT_EQ(platform.textHistory.size(), texts);
    EXPECT_EQ(platform.controlEnabled, enabled);
    EXPECT_EQ(platform.shownWindows.size(), 1u);
    EXPECT_TRUE(platform.mainWindowEnableHistory.empty());
    EXPECT_TRUE(platform.priorityHistory.empty());
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.startedCommandLines.empty());
}

}  // namespace
}  // namespace quillstep
