#include <gtest/gtest.h>

#include "app/startup.h"
#include "windows/control_ids.h"
#include "platform/headless/headless_platform.h"
#include "windows/intro_window.h"

namespace quillstep {
namespace {

TEST(AppStartup, IntroFirstThenMainWindowAndExitCodeZero) {
    HeadlessPlatform platform;
    platform.clicksForNextWindow = {INTRO_START_BUTTON};
    platform.mainWindowClicks = {TOTAL_NUMBERS_DOWN, TOTAL_NUMBERS_DOWN, FULL_WHEEL_BUTTON};  // total 37, then a counting run
    EXPECT_EQ(runProgram(platform), 0);

    ASSERT_EQ(platform.shownWindows.size(), 2u);
    EXPECT_FALSE(platform.shownWindows[0].isMainWindow);
    EXPECT_NE(platform.shownWindows[0].find(INTRO_START_BUTTON), nullptr);
    EXPECT_TRUE(platform.shownWindows[1].isMainWindow);
    EXPECT_TRUE(platform.messages.empty());

    // The main window worked on the shared state the start created.
    EXPECT_EQ(platform.text(TOTAL_NUMBERS_LABEL), "37");
    EXPECT_EQ(platform.text(COUNT_LABEL), " 10295472(FULL SYSTEM)");
    for (int id : StoreCommands) EXPECT_FALSE(platform.isEnabled(id)) << id;
}

TEST(AppStartup, MainWindowOpensHoweverTheIntroCloses) {
    HeadlessPlatform platform;  // no click: the intro window closes by itself
    EXPECT_EQ(runProgram(platform), 0);
    ASSERT_EQ(platform.shownWindows.size(), 2u);
    EXPECT_TRUE(platform.shownWindows[1].isMainWindow);
    EXPECT_EQ(platform.text(TOTAL_NUMBERS_LABEL), "39");
    EXPECT_TRUE(platform.textHistory.empty()) << "nothing wrote to the main window without a click";
}

}  // namespace
}  // namespace quillstep
