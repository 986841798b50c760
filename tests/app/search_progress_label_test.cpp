// CTest label: threads
// The G4/G5 search's share done and time left: the estimate both faces share, its texts, and the
// main window's progress label during a real search on the headless platform.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/abbreviated_system_buttons.h"
#include "app/main_window.h"
#include "windows/control_ids.h"
#include "usecases/search_progress_estimate.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "texts/search_progress_texts.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

TEST(SearchRateMeter, CountsTheRateFromTheFirstReportOn) {
    SearchRateMeter meter;
    // The first report comes 10 s after the clock's zero (the work before the passes): no rate yet.
    SearchProgressEstimate first = meter.onStartsChecked(50, 1000, 10.0);
    EXPECT_FALSE(first.rateKnown());
    EXPECT_DOUBLE_EQ(first.shareDone(), 0.05);
    // The same moment again still knows no rate.
    EXPECT_FALSE(meter.onStartsChecked(50, 1000, 10.0).rateKnown());
    const SearchProgressEstimate later = meter.onStartsChecked(950, 1000, 20.0);
    ASSERT_TRUE(later.rateKnown());
    EXPECT_DOUBLE_EQ(later.startsPerSecond, 90.0);  // 900 starts in 10 s, not 950 in 20 s
    EXPECT_DOUBLE_EQ(later.secondsLeft(), 50.0 / 90.0);
    EXPECT_DOUBLE_EQ(later.shareDone(), 0.95);

    SearchProgressEstimate empty;
    EXPECT_EQ(empty.shareDone(), 0.0);
    EXPECT_EQ(empty.secondsLeft(), 0.0);
}

TEST(SearchProgressTexts, ShareRateAndTimeLeftForTheCommandLineAndTheWindow) {
    EXPECT_EQ(durationText(0.4), "0 s");
    EXPECT_EQ(durationText(59.6), "1 min 0 s");
    EXPECT_EQ(durationText(192), "3 min 12 s");
    EXPECT_EQ(durationText(68 * 3600 + 12 * 60 + 5), "68 h 12 min");
    const SearchProgressEstimate mode4{229700, 2363628, 250.0};
    EXPECT_EQ(searchProgressText(mode4),
              "progress: 229700 of 2363628 starting combinations (9.7%), 250/s, about 2 h 22 min left");
    EXPECT_EQ(searchProgressLabelText(mode4), "9.7% done, 250/s, about 2 h 22 min left");
    const SearchProgressEstimate slow{50, 120000, 2.5};
    EXPECT_EQ(searchProgressText(slow),
              "progress: 50 of 120000 starting combinations (0.0%), 2.5/s, about 13 h 19 min left");
    EXPECT_EQ(searchProgressLabelText(slow), "0.0% done, 2.5/s, about 13 h 19 min left");
    const SearchProgressEstimate unknown{50, 2000, 0.0};
    EXPECT_EQ(searchProgressText(unknown),
              "progress: 50 of 2000 starting combinations (2.5%), time left not known yet");
    EXPECT_EQ(searchProgressLabelText(unknown), "2.5% done, time left not known yet");
}

TEST(MainWindowSearchProgressLabel, AnEmptyLabelOfItsOwnAfterTheExistingControls) {
    const WindowTemplate w = mainWindowTemplate();
    const ControlTemplate* label = w.find(SEARCH_PROGRESS_LABEL);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->kind, ControlKind::Label);
    EXPECT_EQ(label->text, "");
    EXPECT_LE(label->x + label->width, w.width);
    EXPECT_LE(label->y + label->height, w.height);
    // It overlaps no other control.
    for (const ControlTemplate& c : w.controls) {
        if (c.id == SEARCH_PROGRESS_LABEL) continue;
        const bool apart = c.x + c.width <= label->x || label->x + label->width <= c.x ||
                           c.y + c.height <= label->y || label->y + label->height <= c.y;
        EXPECT_TRUE(apart) << "overlaps control " << c.id;
    }
}

// The share, rate and time left worked out by hand for `checked` of `total` starts, `seconds`
// after the first report, which came at `firstChecked`.
std::string expectedLabel(int checked, int total, int firstChecked, double seconds) {
    char share[32];
    std::snprintf(share, sizeof share, "%.1f%%", 100.0 * checked / total);
    if (checked == firstChecked) return std::string(share) + " done, time left not known yet";
    const double rate = (checked - firstChecked) / seconds;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, "%.0f/s", rate);
    const long left = std::lround((total - checked) / rate);
    return std::string(share) + " done, " + rateText + ", about " + std::to_string(left) + " s left";
}

TEST(MainWindowSearchProgressLabel, ShowsShareAndTimeLeftWhileASearchRunsAndEmptiesAfter) {
    const std::filesystem::path folder = freshTestFolder("quillstep-progress-label-");
    for (const double startOfDay : {1000.0, 86399.5}) {  // the second search passes midnight
        SCOPED_TRACE(startOfDay);
        HeadlessPlatform platform;
        auto state = createSharedState();
        state->parameters.totalNumbers = 11;
        runGeneration(*state, platform, 2);  // 330 stored
        state->outputFolder = folder;
        // A clock that moves one second at every reading.
        double now = startOfDay - 1.0;
        platform.clock = [&now] {
            now += 1.0;
            return now >= 86400.0 ? now - 86400.0 : now;
        };
        platform.textHistory.clear();
        searchAbbreviatedSystem(*state, platform, 4);

        std::vector<std::string> shown;
        for (const auto& [id, text] : platform.textHistory)
            if (id == SEARCH_PROGRESS_LABEL) shown.push_back(text);
        std::vector<std::string> expected;
        for (int checked = 50, k = 0; checked <= 330; checked += 50, ++k)
            expected.push_back(expectedLabel(checked, 330, 50, k));
        expected.push_back("");  // the search has ended
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(platform.text(SEARCH_PROGRESS_LABEL), "");
        // The specified count label keeps its texts.
        EXPECT_EQ(platform.text(COUNT_LABEL), " 330");
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillstep
