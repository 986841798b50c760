#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "windows/statistics_window.h"

namespace quillstep {
namespace {

// Remembers whether the main window was enabled while each modal window was open.
class WatchingPlatform : public HeadlessPlatform {
public:
    std::vector<bool> mainEnabledDuringWindow;
    void runModalWindow(const WindowTemplate& window, const WindowHandler& handler) override {
        mainEnabledDuringWindow.push_back(mainWindowEnabled);
        HeadlessPlatform::runModalWindow(window, handler);
    }
};

// A clock that answers the given readings in turn.
std::function<double()> scriptedClock(std::vector<double> readings) {
    auto next = std::make_shared<size_t>(0);
    return [readings, next] { return readings.at((*next)++); };
}

void storeCombinations(SharedState& state, const std::vector<std::array<int32_t, 7>>& combinations) {
    int32_t* element = state.combinationStore.get() + 1;
    for (const auto& c : combinations)
        for (int32_t n : c) *element++ = n;
    state.generatedCount = static_cast<int32_t>(combinations.size());
}

class WindowsStatistics : public ::testing::Test {
protected:
    void SetUp() override {
        state = createSharedState();
        ASSERT_NE(state, nullptr);
    }
    const WindowTemplate& shown() const { return platform.shownWindows.back(); }
    std::string countText(int n) const { return shown().find(1044 + n)->text; }

    std::unique_ptr<SharedState> state;
    WatchingPlatform platform;
};

TEST_F(WindowsStatistics, FullWheelAtEightNumbers) {
    state->parameters.totalNumbers = 8;
    runGeneration(*state, platform, 2);
    ASSERT_EQ(state->generatedCount, 8);
    platform.clock = scriptedClock({100.0, 100.25});
    platform.mainWindowEnableHistory.clear();
    showNumberStatistics(*state, platform);

    for (int n = 1; n <= 8; ++n) EXPECT_EQ(countText(n), "7") << n;
    for (int n = 9; n <= 39; ++n) EXPECT_EQ(countText(n), "") << n;
    EXPECT_EQ(state->countingMessage, " 8 combinations counted in: .25 seconds");
    EXPECT_EQ(shown().find(1086)->text, state->countingMessage);
    EXPECT_EQ(platform.mainEnabledDuringWindow.back(), false);
    EXPECT_EQ(platform.mainWindowEnableHistory, (std::vector<bool>{false, true}));
    EXPECT_TRUE(platform.mainWindowEnabled);
}

TEST_F(WindowsStatistics, CountsAreRecountedAndEmptyForZero) {
    state->numberStatistics[39] = 99;  // left over from an earlier use
    state->numberStatistics[5] = 1000;
    storeCombinations(*state, {{1, 2, 3, 4, 5, 6, 7}, {5, 10, 15, 20, 25, 30, 35}, {2, 5, 8, 11, 14, 17, 38}});
    platform.clock = scriptedClock({50.0, 50.0});
    showNumberStatistics(*state, platform);
    EXPECT_EQ(countText(5), "3");
    EXPECT_EQ(countText(2), "2");
    EXPECT_EQ(countText(38), "1");
    EXPECT_EQ(countText(39), "");
    EXPECT_EQ(countText(9), "");
    EXPECT_EQ(state->numberStatistics[39], 0);
    EXPECT_EQ(state->countingMessage, " 3 combinations counted in: 0 seconds");
}

TEST_F(WindowsStatistics, SameMillisecondMessageForTwoThousand) {
    storeCombinations(*state, std::vector<std::array<int32_t, 7>>(2000, {1, 2, 3, 4, 5, 6, 7}));
    platform.clock = scriptedClock({7.5, 7.5});
    showNumberStatistics(*state, platform);
    EXPECT_EQ(state->countingMessage, " 2000 combinations counted in: 0 seconds");
    EXPECT_EQ(countText(7), "2000");
}

TEST(WindowsStatisticsTemplate, LayoutAndFonts) {
    SharedState state;
    state.numberStatistics[12] = 2760681;
    state.countingMessage = "message";
    const WindowTemplate w = statisticsWindowTemplate(state);
    EXPECT_EQ(w.title, "Marrowby - Quillstep");
    EXPECT_EQ(std::vector<int>({w.x, w.y, w.width, w.height}), std::vector<int>({66, 58, 544, 329}));
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    EXPECT_EQ(w.iconResource, 0);
    EXPECT_FALSE(w.isMainWindow);

    std::vector<int> order{1002};
    for (int n = 1; n <= 39; ++n) order.push_back(1002 + n);
    for (int n = 1; n <= 39; ++n) order.push_back(1044 + n);
    order.insert(order.end(), {1084, 1085, 1086});
    std::vector<int> ids;
    for (const auto& c : w.controls) ids.push_back(c.id);
    EXPECT_EQ(ids, order);

    auto box = [&w](int id) {
        const ControlTemplate* c = w.find(id);
        return std::vector<int>({c->x, c->y, c->width, c->height});
    };
    EXPECT_EQ(box(1002), std::vector<int>({65, 15, 420, 25}));
    EXPECT_EQ(box(1003), std::vector<int>({35, 50, 15, 25}));   // number 1
    EXPECT_EQ(box(1011), std::vector<int>({35, 250, 15, 25}));  // number 9
    EXPECT_EQ(box(1012), std::vector<int>({25, 275, 25, 25}));  // number 10
    EXPECT_EQ(box(1013), std::vector<int>({155, 50, 25, 25}));  // number 11
    EXPECT_EQ(box(1032), std::vector<int>({290, 275, 25, 25})); // number 30
    EXPECT_EQ(box(1041), std::vector<int>({413, 250, 25, 25})); // number 39
    EXPECT_EQ(box(1045), std::vector<int>({60, 55, 80, 15}));   // count of 1
    EXPECT_EQ(box(1054), std::vector<int>({60, 280, 80, 15}));  // count of 10
    EXPECT_EQ(box(1056), std::vector<int>({190, 80, 80, 15}));  // count of 12
    EXPECT_EQ(box(1083), std::vector<int>({450, 255, 80, 15})); // count of 39
    EXPECT_EQ(box(1084), std::vector<int>({415, 285, 110, 40}));
    EXPECT_EQ(box(1085), std::vector<int>({50, 5, 450, 40}));
    EXPECT_EQ(box(1086), std::vector<int>({30, 305, 375, 20}));

    EXPECT_EQ(w.find(1002)->text, "Statistics of numbers in our combinations");
    EXPECT_EQ(w.find(1012)->text, "10");
    EXPECT_EQ(w.find(1041)->text, "39");
    EXPECT_EQ(w.find(1056)->text, "2760681");
    EXPECT_EQ(w.find(1084)->kind, ControlKind::Button);
    EXPECT_EQ(w.find(1085)->kind, ControlKind::GroupBox);
    EXPECT_EQ(w.find(1086)->text, "message");

    ASSERT_EQ(w.fonts.size(), 2u);
    const FontTemplate& heading = w.fonts[w.find(1002)->font];
    EXPECT_EQ(heading.pointSize, 24);
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.charset, 238);
    const FontTemplate& count = w.fonts[w.find(1086)->font];
    EXPECT_EQ(count.pointSize, 12);
    EXPECT_FALSE(count.bold);
    EXPECT_EQ(count.charset, 0);
    for (int n = 1; n <= 39; ++n) {
        EXPECT_EQ(w.find(1002 + n)->font, w.find(1002)->font) << n;
        EXPECT_EQ(w.find(1044 + n)->font, w.find(1086)->font) << n;
    }
    EXPECT_EQ(w.find(1084)->font, -1);
    EXPECT_EQ(w.find(1085)->font, -1);
}

TEST(WindowsStatisticsTemplate, OnlyCloseEndsTheWindow) {
    EXPECT_EQ(statisticsWindowCallback(1084), WindowAction::Close);
    for (int id : {1002, 1003, 1083, 1085, 1086, 2, 0}) EXPECT_EQ(statisticsWindowCallback(id), WindowAction::Continue);
}

}  // namespace
}  // namespace quillstep
