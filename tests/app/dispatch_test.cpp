// CTest label: threads
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "app/file_viewer.h"
#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "platform/headless/headless_platform.h"
#include "windows/statistics_window.h"

namespace quillstep {
namespace {

constexpr int LOWER_TOTAL = TOTAL_NUMBERS_DOWN;

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
    click(FULL_WHEEL_BUTTON);
    EXPECT_EQ(platform.text(COUNT_LABEL), " 8(FULL SYSTEM)");
    EXPECT_EQ(platform.text(MEMORY_LABEL), "");
    for (int id : StoreCommands) EXPECT_FALSE(platform.isEnabled(id)) << id;

    click(FULL_WHEEL_STORING_BUTTON);
    EXPECT_EQ(platform.text(COUNT_LABEL), " 8 (FULL SYSTEM)");
    EXPECT_EQ(platform.text(MEMORY_LABEL), "FULL SYSTEM 7/ 8");
    for (int id : StoreCommands) EXPECT_TRUE(platform.isEnabled(id)) << id;
}

// Each generation button runs its own mode: its labels match those of a direct run of that mode.
TEST_F(AppDispatch, EveryGenerationButtonRunsItsMode) {
    const std::pair<int, int> buttonModes[] = {
        {FULL_WHEEL_BUTTON, 1},         {FULL_WHEEL_STORING_BUTTON, 2},    {SUM_BUTTON, 3},
        {SUM_STORING_BUTTON, 4},        {ODD_EVEN_BUTTON, 5},              {ODD_EVEN_STORING_BUTTON, 6},
        {SUM_ODD_EVEN_BUTTON, 7},       {SUM_ODD_EVEN_STORING_BUTTON, 8},  {FORCED_FILTERS_BUTTON, 9},
        {RANGE_FILTERS_BUTTON, 10},     {MIN_MAX_FILTERS_BUTTON, 11},      {NEIGHBOURS_FILTERS_BUTTON, 12},
        {ALL_EXCLUDED_FILTERS_BUTTON, 13}, {ANY_FIVE_EXCLUDED_FILTERS_BUTTON, 14}};
    lowerTotalTo8();
    click(MIN_SUM_DOWN, 110);  // minSum 30: the sums at 8 numbers are 28 to 35, so the sum runs accept some
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
    click(FULL_WHEEL_STORING_BUTTON);  // a storing run enables the view buttons' row
    const std::pair<int, const char*> views[] = {
        {VIEW_COMBINATIONS_BUTTON, COMBINATION_FILE_NAME}, {VIEW_G4_BUTTON, G4_SYSTEM_FILE_NAME}, {VIEW_G5_BUTTON, G5_SYSTEM_FILE_NAME}};
    for (const auto& [button, file] : views) {
        platform.startedCommandLines.clear();
        click(button);
        ASSERT_EQ(platform.startedCommandLines.size(), 1u) << button;
        EXPECT_EQ(platform.startedCommandLines[0], editorCommandLine(file)) << button;
    }
}

TEST_F(AppDispatch, FileAndSearchButtonsWriteTheirFiles) {
    lowerTotalTo8();
    click(FULL_WHEEL_STORING_BUTTON);
    click(WRITE_COMBINATIONS_BUTTON);
    EXPECT_TRUE(std::filesystem::exists(folder / COMBINATION_FILE_NAME));
    click(SEARCH_G4_BUTTON);
    EXPECT_TRUE(std::filesystem::exists(folder / G4_SYSTEM_FILE_NAME));
    click(SEARCH_G5_BUTTON);
    EXPECT_TRUE(std::filesystem::exists(folder / G5_SYSTEM_FILE_NAME));
    EXPECT_TRUE(platform.startedCommandLines.empty()) << "writing opens no viewer";
}

TEST_F(AppDispatch, StatisticsButtonOpensItsWindow) {
    lowerTotalTo8();
    click(FULL_WHEEL_STORING_BUTTON);
    click(STATISTICS_BUTTON);
    ASSERT_EQ(platform.shownWindows.size(), 2u);
    EXPECT_EQ(platform.shownWindows[1].find(STATISTICS_CLOSE_BUTTON)->text, "Close");
    EXPECT_TRUE(platform.mainWindowEnabled);
}

TEST_F(AppDispatch, IdsWithoutActionDoNothing) {
    const auto texts = platform.textHistory.size();
    const auto enabled = platform.controlEnabled;
    for (int id : {0, 1002, 1005, 1026, 1061, 1078, 1084, 1115, 1125, 1130, 1137, 1199, 9999, -1}) click(id);
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
