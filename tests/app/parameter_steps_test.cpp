#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <set>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "app/parameter_steps.h"
#include "windows/control_ids.h"
#include "app/store_commands.h"
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
        {TOTAL_NUMBERS_LABEL, [](auto& p) { return p.totalNumbers; }},  {NUMBERS_PER_COMBINATION_LABEL, [](auto& p) { return p.numbersPerCombination; }},
        {MIN_SUM_LABEL, [](auto& p) { return p.minSum; }},        {MAX_SUM_LABEL, [](auto& p) { return p.maxSum; }},
        {MIN_ODD_LABEL, [](auto& p) { return p.minOdd; }},        {MIN_EVEN_LABEL, [](auto& p) { return p.minEven; }},
        {FORCED_NUMBER_LABEL, [](auto& p) { return p.forcedNumber; }},  {RANGE_COUNT_LABEL, [](auto& p) { return p.rangeCount; }},
        {RANGE_LIMIT_LABEL, [](auto& p) { return p.rangeLimit; }},    {MIN_NUMBER_LABEL, [](auto& p) { return p.minNumber; }},
        {MAX_NUMBER_LABEL, [](auto& p) { return p.maxNumber; }},     {MAX_NEIGHBOURS_LABEL, [](auto& p) { return p.maxNeighbours; }},
    };
    for (int i = 1; i <= 7; ++i) shown.push_back({excludedLabel(i), [i](auto& p) { return p.excludedNumbers[i]; }});
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
    expectRefused(TOTAL_NUMBERS_UP);
    click(TOTAL_NUMBERS_DOWN, 31);
    EXPECT_EQ(state.parameters.totalNumbers, 8);
    EXPECT_EQ(platform.text(TOTAL_NUMBERS_LABEL), "8");
    expectRefused(TOTAL_NUMBERS_DOWN);
    click(TOTAL_NUMBERS_UP);
    EXPECT_EQ(platform.text(TOTAL_NUMBERS_LABEL), "9");
}

TEST_F(AppParameterSteps, SumBoundsMeetButNeverCross) {
    click(MIN_SUM_UP, 10);  // minSum up to maxSum
    EXPECT_EQ(state.parameters.minSum, 150);
    EXPECT_EQ(platform.text(MIN_SUM_LABEL), "150");
    expectRefused(MIN_SUM_UP);
    expectRefused(MAX_SUM_DOWN);
    click(MIN_SUM_DOWN, 150 - 28);
    EXPECT_EQ(platform.text(MIN_SUM_LABEL), "28");
    expectRefused(MIN_SUM_DOWN);
    click(MAX_SUM_UP, 252 - 150);
    EXPECT_EQ(platform.text(MAX_SUM_LABEL), "252");
    expectRefused(MAX_SUM_UP);
}

TEST_F(AppParameterSteps, OddEvenUpsBlockedAtDefaultsUntilOneIsLowered) {
    expectRefused(MIN_ODD_UP);
    expectRefused(MIN_EVEN_UP);
    click(MIN_EVEN_DOWN);  // minEven 3
    click(MIN_ODD_UP);  // minOdd 4
    EXPECT_EQ(platform.text(MIN_ODD_LABEL), "4");
    EXPECT_EQ(platform.text(MIN_EVEN_LABEL), "3");
    click(MIN_EVEN_DOWN, 3);
    EXPECT_EQ(platform.text(MIN_EVEN_LABEL), "0");
    expectRefused(MIN_EVEN_DOWN);
    click(MIN_ODD_UP, 3);
    EXPECT_EQ(platform.text(MIN_ODD_LABEL), "7");
    expectRefused(MIN_ODD_UP);
    expectRefused(MIN_EVEN_UP);
}

TEST_F(AppParameterSteps, MinAndMaxNumberKeepOneApart) {
    click(MAX_NUMBER_DOWN, 37);  // maxNumber 2
    EXPECT_EQ(platform.text(MAX_NUMBER_LABEL), "2");
    expectRefused(MIN_NUMBER_UP);
    expectRefused(MAX_NUMBER_DOWN);
    expectRefused(MIN_NUMBER_DOWN);
    click(MAX_NUMBER_UP, 37);
    EXPECT_EQ(platform.text(MAX_NUMBER_LABEL), "39");
    expectRefused(MAX_NUMBER_UP);
    click(MIN_NUMBER_UP, 37);
    EXPECT_EQ(platform.text(MIN_NUMBER_LABEL), "38");
    expectRefused(MIN_NUMBER_UP);
}

TEST_F(AppParameterSteps, RangeCountAndLimitBounds) {
    click(RANGE_COUNT_UP, 5);
    EXPECT_EQ(platform.text(RANGE_COUNT_LABEL), "7");
    expectRefused(RANGE_COUNT_UP);
    click(RANGE_COUNT_DOWN, 7);
    EXPECT_EQ(platform.text(RANGE_COUNT_LABEL), "0");
    expectRefused(RANGE_COUNT_DOWN);
    click(RANGE_LIMIT_DOWN, 13);
    EXPECT_EQ(platform.text(RANGE_LIMIT_LABEL), "7");
    expectRefused(RANGE_LIMIT_DOWN);
    click(RANGE_LIMIT_UP, 32);
    EXPECT_EQ(platform.text(RANGE_LIMIT_LABEL), "39");
    expectRefused(RANGE_LIMIT_UP);
}

TEST_F(AppParameterSteps, NeighboursBoundsWithDownCreatedFirst) {
    click(MAX_NEIGHBOURS_UP, 3);
    EXPECT_EQ(platform.text(MAX_NEIGHBOURS_LABEL), "6");
    expectRefused(MAX_NEIGHBOURS_UP);
    click(MAX_NEIGHBOURS_DOWN, 6);
    EXPECT_EQ(platform.text(MAX_NEIGHBOURS_LABEL), "0");
    expectRefused(MAX_NEIGHBOURS_DOWN);
}

TEST_F(AppParameterSteps, LoweredTotalLeavesForcedAndMaxNumberAlone) {
    click(TOTAL_NUMBERS_DOWN, 19);  // totalNumbers 20
    EXPECT_EQ(platform.text(FORCED_NUMBER_LABEL), "25");
    EXPECT_EQ(platform.text(MAX_NUMBER_LABEL), "39");
    expectRefused(FORCED_NUMBER_UP);
    expectRefused(MAX_NUMBER_UP);
    expectRefused(RANGE_LIMIT_UP);  // rangeLimit 20 is at the total already
    click(FORCED_NUMBER_DOWN);
    click(MAX_NUMBER_DOWN);
    EXPECT_EQ(platform.text(FORCED_NUMBER_LABEL), "24");
    EXPECT_EQ(platform.text(MAX_NUMBER_LABEL), "38");
    click(FORCED_NUMBER_DOWN, 23);
    EXPECT_EQ(platform.text(FORCED_NUMBER_LABEL), "1");
    expectRefused(FORCED_NUMBER_DOWN);
}

TEST_F(AppParameterSteps, ExcludedNumbersStayStrictlyIncreasing) {
    for (int i = 1; i <= 7; ++i) expectRefused(excludedDown(i));  // every down
    for (int i = 1; i <= 6; ++i) expectRefused(excludedUp(i));  // every up but the last
    click(excludedUp(7), 32);
    EXPECT_EQ(platform.text(excludedLabel(7)), "39");
    expectRefused(excludedUp(7));
    click(excludedUp(6), 32);
    EXPECT_EQ(platform.text(excludedLabel(6)), "38");
    expectRefused(excludedUp(6));
    expectRefused(excludedDown(7));  // entry 7 cannot step onto entry 6
    click(excludedDown(6));
    click(excludedDown(7));
    EXPECT_EQ(platform.text(excludedLabel(6)), "37");
    EXPECT_EQ(platform.text(excludedLabel(7)), "38");
    EXPECT_EQ(platform.text(excludedLabel(5)), "5");
}

TEST_F(AppParameterSteps, FieldStepsGreyStoreButtonsExcludedStepsDoNot) {
    enableStoreCommands(platform);
    click(excludedUp(7));  // excluded entry 7 up
    click(excludedDown(7));  // and down again
    EXPECT_TRUE(storeButtonsEnabled());
    expectRefused(TOTAL_NUMBERS_UP);  // a refused field step leaves them enabled too
    EXPECT_TRUE(storeButtonsEnabled());
    click(MIN_SUM_UP);
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
    std::set<int> excludedButtons;
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) excludedButtons.insert({excludedUp(i), excludedDown(i)});
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
