// The main window's "Set values..." button, its held up/down buttons and its About entry, on the
// headless platform: the values typed end as the same steps would leave the window.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/main_window.h"
#include "app/parameter_steps.h"
#include "windows/control_ids.h"
#include "platform/headless/headless_platform.h"
#include "quillstep_version.h"
#include "windows/about_window.h"
#include "windows/set_values_form.h"
#include "windows/set_values_window.h"

namespace quillstep {
namespace {

constexpr int MODE_12 = NEIGHBOURS_FILTERS_BUTTON;

int editOf(const std::string& captionStart) {
    for (int i = 0; i < SET_VALUES_FIELD_COUNT; ++i)
        if (std::string(SET_VALUES_FIELDS[i].caption).rfind(captionStart, 0) == 0) return SET_VALUES_EDIT + i;
    ADD_FAILURE() << "no field " << captionStart;
    return 0;
}

struct MainWindowRun {
    std::unique_ptr<SharedState> state = createSharedState();
    HeadlessPlatform platform;
    MainWindowRun() { platform.clock = [] { return 1000.0; }; }

    void run(std::vector<int> clicks) {
        platform.mainWindowClicks = std::move(clicks);
        runMainWindow(*state, platform);
    }
    bool storeCommandsEnabled() const {
        bool all = true, none = true;
        for (int id : StoreCommands) (platform.isEnabled(id) ? none : all) = false;
        EXPECT_TRUE(all || none) << "the store commands are enabled and disabled together";
        return all && platform.isEnabled(SMALLER_SYSTEMS_BUTTON) && platform.isEnabled(CHECK_SYSTEM_BUTTON);
    }
};

TEST(AppSetValues, ValuesTypedEndAsTheStepsWouldLeaveThem) {
    MainWindowRun typed;
    ASSERT_NE(typed.state, nullptr);
    typed.platform.typingForNextWindow = {{editOf("Min sum"), "137"}, {editOf("Max neighbouring"), "1"},
                                         {editOf("Total"), "35"}, {editOf("Excluded"), "1,2,3,4,5,6,9"}};
    typed.platform.clicksForNextWindow = {SET_VALUES_OK};
    typed.run({MODE_12, SET_VALUES_BUTTON});

    // The same changes made by the up/down buttons, after the same storing run.
    MainWindowRun stepped;
    std::vector<int> clicks{MODE_12};
    clicks.insert(clicks.end(), 3, MIN_SUM_DOWN);
    clicks.insert(clicks.end(), 2, MAX_NEIGHBOURS_DOWN);
    clicks.insert(clicks.end(), 4, TOTAL_NUMBERS_DOWN);
    clicks.insert(clicks.end(), 2, excludedUp(7));
    stepped.run(clicks);

    EXPECT_EQ(typed.platform.text(MIN_SUM_LABEL), "137");
    EXPECT_EQ(typed.platform.text(excludedLabel(7)), "9");
    EXPECT_EQ(typed.platform.controlTexts, stepped.platform.controlTexts);
    EXPECT_EQ(typed.platform.controlEnabled, stepped.platform.controlEnabled);
    EXPECT_FALSE(typed.storeCommandsEnabled());
    EXPECT_EQ(typed.state->parameters.minSum, 137);
    EXPECT_EQ(typed.state->parameters.totalNumbers, 35);
    EXPECT_EQ(typed.state->parameters.maxNeighbours, 1);
    EXPECT_EQ(typed.state->parameters.excludedNumbers, stepped.state->parameters.excludedNumbers);
    // The main window was disabled while the window was open.
    EXPECT_EQ(typed.platform.mainWindowEnableHistory.back(), true);
    EXPECT_GE(typed.platform.mainWindowEnableHistory.size(), 2u);
}

TEST(AppSetValues, ExcludedNumbersAloneKeepTheStoreCommandsAsTheirStepsDo) {
    MainWindowRun typed;
    typed.platform.typingForNextWindow = {{editOf("Excluded"), "10,11,12,13,14,15,16"}};
    typed.platform.clicksForNextWindow = {SET_VALUES_OK};
    typed.run({MODE_12, SET_VALUES_BUTTON});
    EXPECT_TRUE(typed.storeCommandsEnabled());
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(typed.platform.text(excludedLabel(i)), std::to_string(9 + i));
}

TEST(AppSetValues, RefusedOrCancelledChangesNothing) {
    for (int lastClick : {SET_VALUES_OK, SET_VALUES_CANCEL}) {
        MainWindowRun run;
        // Max sum below min sum: refused with the command line's message, then OK again, then Cancel.
        run.platform.typingForNextWindow = {{editOf("Max sum"), "120"}, {editOf("Forced"), "3"}};
        run.platform.clicksForNextWindow = {SET_VALUES_OK, lastClick, SET_VALUES_CANCEL};
        run.run({MODE_12, SET_VALUES_BUTTON});
        const GenerationParameters defaults;
        EXPECT_EQ(run.state->parameters.maxSum, defaults.maxSum);
        EXPECT_EQ(run.state->parameters.forcedNumber, defaults.forcedNumber);
        EXPECT_EQ(run.platform.text(MAX_SUM_LABEL), "150");
        EXPECT_EQ(run.platform.text(FORCED_NUMBER_LABEL), "25");
        EXPECT_TRUE(run.storeCommandsEnabled());
        EXPECT_EQ(run.platform.windowText(SET_VALUES_MESSAGE),
                  "--max-sum 120 is out of range: allowed 140 to 252 (at least min-sum)");
    }
}

TEST(AppHeldButtons, UpAndDownButtonsRepeatWhileHeldAndNothingElseDoes) {
    const WindowTemplate w = mainWindowTemplate();
    const std::vector<int> steps = parameterStepButtons();
    for (const ControlTemplate& c : w.controls) {
        const bool step = std::find(steps.begin(), steps.end(), c.id) != steps.end();
        EXPECT_EQ(c.repeatsWhileHeld, step) << c.id << " " << c.text;
        if (step) EXPECT_TRUE(c.text == "up" || c.text == "down") << c.id;
    }
    EXPECT_EQ(steps.size(), 36u);
}

TEST(AppHeldButtons, RepeatScheduleIsOneClickThenTwelveASecond) {
    EXPECT_EQ(commandsWhileHeld(0), 1);
    EXPECT_EQ(commandsWhileHeld(399), 1);
    EXPECT_EQ(commandsWhileHeld(400), 1);
    EXPECT_EQ(commandsWhileHeld(400 + 82), 1);
    EXPECT_EQ(commandsWhileHeld(400 + 83), 2);
    // After the first repeat, about 12 a second.
    for (int seconds = 1; seconds <= 5; ++seconds) {
        const int perSecond = commandsWhileHeld(400 + 1000 * seconds) - commandsWhileHeld(400);
        EXPECT_GE(perSecond, 11 * seconds);
        EXPECT_LE(perSecond, 13 * seconds);
    }
}

TEST(AppHeldButtons, AHoldStepsAsOftenAsItsClicksWouldAndStopsAtTheBound) {
    MainWindowRun held;
    held.platform.mainWindowHolds = {{MIN_SUM_DOWN, 2000}, {MIN_ODD_UP, 10000}, {FULL_WHEEL_BUTTON, 3000}};
    held.run({});
    MainWindowRun clicked;
    std::vector<int> clicks(static_cast<size_t>(commandsWhileHeld(2000)), MIN_SUM_DOWN);
    clicks.push_back(MIN_ODD_UP);  // 3 is already the most beside min-even 4
    clicks.push_back(FULL_WHEEL_BUTTON);
    clicked.run(clicks);
    EXPECT_EQ(held.platform.controlTexts, clicked.platform.controlTexts);
    EXPECT_EQ(held.state->parameters.minSum, 140 - commandsWhileHeld(2000));
    EXPECT_EQ(held.state->parameters.minOdd, 3);
    // The generation button is no step: held, it runs once (one raised priority per run).
    EXPECT_EQ(std::count(held.platform.priorityHistory.begin(), held.platform.priorityHistory.end(), true), 1);
}

TEST(AppAbout, SystemMenuOpensTheAboutWindow) {
    const WindowTemplate w = mainWindowTemplate();
    ASSERT_EQ(w.systemMenuItems.size(), 1u);
    EXPECT_EQ(w.systemMenuItems[0].id, ABOUT_MENU_ITEM);
    EXPECT_EQ(w.systemMenuItems[0].text, "About Quillstep...");
    EXPECT_EQ(ABOUT_MENU_ITEM % 16, 0);
    EXPECT_EQ(w.find(ABOUT_MENU_ITEM), nullptr) << "no control shares the menu entry's id";

    MainWindowRun run;
    run.state->outputFolder = "some folder";
    run.platform.clicksForNextWindow = {ABOUT_OK_BUTTON};
    run.run({ABOUT_MENU_ITEM});
    ASSERT_EQ(run.platform.shownWindows.size(), 2u);
    const WindowTemplate& about = run.platform.shownWindows[1];
    EXPECT_EQ(about.title, "About Quillstep");
    EXPECT_EQ(about.find(ABOUT_VERSION_LABEL)->text, std::string("Quillstep ") + QUILLSTEP_VERSION_TEXT);
    const std::string purpose = about.find(ABOUT_PURPOSE_LABEL)->text;
    EXPECT_EQ(std::count(purpose.begin(), purpose.end(), '\n'), 2) << "three lines";
    const std::string files = about.find(ABOUT_FILES_LABEL)->text;
    EXPECT_NE(files.find("the folder chosen"), std::string::npos);
    EXPECT_NE(files.find((std::filesystem::current_path() / "some folder").string()), std::string::npos) << files;
    EXPECT_NE(about.find(ABOUT_GUARANTEE_LABEL)->text.find("holds only when the drawn combination is one of the stored"),
              std::string::npos);
    EXPECT_TRUE(run.platform.mainWindowEnabled);

    EXPECT_NE(aboutFilesText({}).find("the working directory:\n" + std::filesystem::current_path().string() + "\n"),
              std::string::npos);
}

}  // namespace
}  // namespace quillstep
