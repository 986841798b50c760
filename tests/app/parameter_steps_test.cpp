#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <set>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "app/parameter_steps.h"
#include "commands/control_ids.h"
#include "commands/store_commands.h"
#include "platform/headless/headless_platform.h"

namespace quillstep {
namespace {

// Which label shows which value, written out independently of the step table.
struct ShownValue {
    int labelId;
    std::function<int32_t(const GenerationParameters&)> value;
};

std::vector<ShownValue> shownValues() {
    std::vector<ShownValue> shown{
        {1039, [](auto& p) { return p.totalNumbers; }},  {1040, [](auto& p) { return p.numbersPerCombination; }},
        {1041, [](auto& p) { return p.minSum; }},        {1042, [](auto& p) { return p.maxSum; }},
        {1043, [](auto& p) { return p.minOdd; }},        {1044, [](auto& p) { return p.minEven; }},
        {1056, [](auto& p) { return p.forcedNumber; }},  {1060, [](auto& p) { return p.rangeCount; }},
        {1067, [](auto& p) { return p.rangeLimit; }},    {1116, [](auto& p) { return p.minNumber; }},
        {1120, [](auto& p) { return p.maxNumber; }},     {1126, [](auto& p) { return p.maxNeighbours; }},
    };
    for (int i = 1; i <= 7; ++i) shown.push_back({1130 + i, [i](auto& p) { return p.excludedNumbers[i]; }});
    return shown;
}

// How far the parameters moved: the sum of the absolute changes over every value.
int distance(const GenerationParameters& a, const GenerationParameters& b) {
    int moved = 0;
    for (const auto& s : shownValues()) moved += std::abs(s.value(a) - s.value(b));
    return moved;
}

// The main window open with its first texts, store buttons greyed, and clicks handed over one by one.
class AppParameterSteps : public ::testing::Test {
protected:
    void SetUp() override { runMainWindow(state, platform); }

    void click(int id, int times = 1) {
        for (int k = 0; k < times; ++k) handleMainWindowCommand(state, platform, id);
    }

    bool storeButtonsEnabled() const {
        for (int id : StoreCommands)
            if (!platform.isEnabled(id)) return false;
        return true;
    }

    void expectLabelsShowParameters() const {
        for (const auto& s : shownValues())
            ASSERT_EQ(platform.text(s.labelId), std::to_string(s.value(state.parameters))) << "label " << s.labelId;
    }

    // A click that must be refused: nothing written, nothing enabled or disabled, parameters equal.
    void expectRefused(int id) {
        const GenerationParameters before = state.parameters;
        const auto texts = platform.textHistory.size();
        const auto enabled = platform.controlEnabled;
        click(id);
        EXPECT_EQ(platform.textHistory.size(), texts) << "button " << id;
        EXPECT_EQ(platform.controlEnabled, enabled) << "button " << id;
        EXPECT_EQ(distance(before, state.parameters), 0) << "button " << id;
    }

    SharedState state;
    HeadlessPlatform platform;
};

TEST_F(AppParameterSteps, TotalNumbersStaysWithin8And39) {
    expectRefused(1045);
    click(1046, 31);
    EXPECT_EQ(state.parameters.totalNumbers, 8);
    EXPECT_EQ(platform.text(1039), "8");
    expectRefused(1046);
    click(1045);
    EXPECT_EQ(platform.text(1039), "9");
}

TEST_F(AppParameterSteps, SumBoundsMeetButNeverCross) {
    click(1047, 10);  // minSum up to maxSum
    EXPECT_EQ(state.parameters.minSum, 150);
    EXPECT_EQ(platform.text(1041), "150");
    expectRefused(1047);
    expectRefused(1050);
    click(1048, 150 - 28);
    EXPECT_EQ(platform.text(1041), "28");
    expectRefused(1048);
    click(1049, 252 - 150);
    EXPECT_EQ(platform.text(1042), "252");
    expectRefused(1049);
}

TEST_F(AppParameterSteps, OddEvenUpsBlockedAtDefaultsUntilOneIsLowered) {
    expectRefused(1051);
    expectRefused(1053);
    click(1054);  // minEven 3
    click(1051);  // minOdd 4
    EXPECT_EQ(platform.text(1043), "4");
    EXPECT_EQ(platform.text(1044), "3");
    click(1054, 3);
    EXPECT_EQ(platform.text(1044), "0");
    expectRefused(1054);
    click(1051, 3);
    EXPECT_EQ(platform.text(1043), "7");
    expectRefused(1051);
    expectRefused(1053);
}

TEST_F(AppParameterSteps, MinAndMaxNumberKeepOneApart) {
    click(1122, 37);  // maxNumber 2
    EXPECT_EQ(platform.text(1120), "2");
    expectRefused(1117);
    expectRefused(1122);
    expectRefused(1118);
    click(1121, 37);
    EXPECT_EQ(platform.text(1120), "39");
    expectRefused(1121);
    click(1117, 37);
    EXPECT_EQ(platform.text(1116), "38");
    expectRefused(1117);
}

TEST_F(AppParameterSteps, RangeCountAndLimitBounds) {
    click(1064, 5);
    EXPECT_EQ(platform.text(1060), "7");
    expectRefused(1064);
    click(1065, 7);
    EXPECT_EQ(platform.text(1060), "0");
    expectRefused(1065);
    click(1069, 13);
    EXPECT_EQ(platform.text(1067), "7");
    expectRefused(1069);
    click(1068, 32);
    EXPECT_EQ(platform.text(1067), "39");
    expectRefused(1068);
}

TEST_F(AppParameterSteps, NeighboursBoundsWithDownCreatedFirst) {
    click(1128, 3);
    EXPECT_EQ(platform.text(1126), "6");
    expectRefused(1128);
    click(1127, 6);
    EXPECT_EQ(platform.text(1126), "0");
    expectRefused(1127);
}

TEST_F(AppParameterSteps, LoweredTotalLeavesForcedAndMaxNumberAlone) {
    click(1046, 19);  // totalNumbers 20
    EXPECT_EQ(platform.text(1056), "25");
    EXPECT_EQ(platform.text(1120), "39");
    expectRefused(1057);
    expectRefused(1121);
    expectRefused(1068);  // rangeLimit 20 is at the total already
    click(1058);
    click(1122);
    EXPECT_EQ(platform.text(1056), "24");
    EXPECT_EQ(platform.text(1120), "38");
    click(1058, 23);
    EXPECT_EQ(platform.text(1056), "1");
    expectRefused(1058);
}

TEST_F(AppParameterSteps, ExcludedNumbersStayStrictlyIncreasing) {
    for (int i = 1; i <= 7; ++i) expectRefused(1144 + i);  // every down
    for (int i = 1; i <= 6; ++i) expectRefused(1137 + i);  // every up but the last
    click(1144, 32);
    EXPECT_EQ(platform.text(1137), "39");
    expectRefused(1144);
    click(1143, 32);
    EXPECT_EQ(platform.text(1136), "38");
    expectRefused(1143);
    expectRefused(1151);  // entry 7 cannot step onto entry 6
    click(1150);
    click(1151);
    EXPECT_EQ(platform.text(1136), "37");
    EXPECT_EQ(platform.text(1137), "38");
    EXPECT_EQ(platform.text(1135), "5");
}

TEST_F(AppParameterSteps, FieldStepsGreyStoreButtonsExcludedStepsDoNot) {
    enableStoreCommands(platform);
    click(1144);  // excluded entry 7 up
    click(1151);  // and down again
    EXPECT_TRUE(storeButtonsEnabled());
    expectRefused(1045);  // a refused field step leaves them enabled too
    EXPECT_TRUE(storeButtonsEnabled());
    click(1047);
    EXPECT_FALSE(storeButtonsEnabled());
    for (int id : StoreCommands) EXPECT_FALSE(platform.isEnabled(id)) << id;
}

TEST_F(AppParameterSteps, StepButtonListCoversEveryUpAndDown) {
    std::set<int> upDown;
    for (const auto& c : mainWindowTemplate().controls)
        if (c.text == "up" || c.text == "down") upDown.insert(c.id);
    const std::vector<int> listed = parameterStepButtons();
    EXPECT_EQ(std::set<int>(listed.begin(), listed.end()), upDown);
    EXPECT_EQ(listed.size(), upDown.size());
}

// Every invariant the steps promise, checked on the values alone.
void expectReachable(const GenerationParameters& p) {
    ASSERT_EQ(findUnreachableParameter(p), std::nullopt);
    ASSERT_TRUE(p.totalNumbers >= 8 && p.totalNumbers <= 39);
    ASSERT_TRUE(28 <= p.minSum && p.minSum <= p.maxSum && p.maxSum <= 252);
    ASSERT_TRUE(p.minOdd >= 0 && p.minEven >= 0 && p.minOdd + p.minEven <= 7);
    ASSERT_TRUE(p.forcedNumber >= 1 && p.forcedNumber <= 39);
    ASSERT_TRUE(p.rangeCount >= 0 && p.rangeCount <= 7);
    ASSERT_TRUE(p.rangeLimit >= 7 && p.rangeLimit <= 39);
    ASSERT_TRUE(1 <= p.minNumber && p.minNumber < p.maxNumber && p.maxNumber <= 39);
    ASSERT_TRUE(p.maxNeighbours >= 0 && p.maxNeighbours <= 6);
    ASSERT_EQ(p.numbersPerCombination, 7);
    ASSERT_GE(p.excludedNumbers[1], 1);
    for (int i = 2; i <= 7; ++i) ASSERT_LT(p.excludedNumbers[i - 1], p.excludedNumbers[i]);
    ASSERT_LE(p.excludedNumbers[7], 39);
}

TEST_F(AppParameterSteps, RandomClicksKeepEveryInvariant) {
    const std::vector<int> buttons = parameterStepButtons();
    const std::set<int> excludedButtons{1138, 1139, 1140, 1141, 1142, 1143, 1144,
                                        1145, 1146, 1147, 1148, 1149, 1150, 1151};
    std::mt19937 random(20240613);
    std::uniform_int_distribution<size_t> pick(0, buttons.size() - 1);
    std::bernoulli_distribution reenable(0.1);
    int accepted = 0;
    for (int k = 0; k < 20000; ++k) {
        if (reenable(random)) enableStoreCommands(platform);
        const bool enabledBefore = storeButtonsEnabled();
        const GenerationParameters before = state.parameters;
        const int id = buttons[pick(random)];
        click(id);
        const int moved = distance(before, state.parameters);
        ASSERT_LE(moved, 1) << "click " << k << " on " << id;
        accepted += moved;
        expectReachable(state.parameters);
        expectLabelsShowParameters();
        if (moved == 1 && !excludedButtons.count(id))
            ASSERT_FALSE(storeButtonsEnabled()) << "click " << k << " on " << id;
        else
            ASSERT_EQ(storeButtonsEnabled(), enabledBefore) << "click " << k << " on " << id;
    }
    EXPECT_GT(accepted, 5000);  // the walk really moved, not only bounced off the bounds
}

}  // namespace
}  // namespace quillstep
