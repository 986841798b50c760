// The headless platform the tests run the windows on: without its history it keeps only the
// latest of every record, and the latest state is the same as with the whole history kept.

#include <gtest/gtest.h>

#include "app/generation_command.h"
#include "platform/headless/headless_platform.h"
#include "windows/statistics_window.h"

namespace quillstep {
namespace {

TEST(HeadlessPlatformTest, WithoutHistoryOnlyTheLatestRecordsAreKept) {
    auto state = createSharedState();
    state->parameters.totalNumbers = 8;
    HeadlessPlatform latest;
    latest.keepHistory = false;
    HeadlessPlatform keeping;
    for (int k = 0; k < 50; ++k) {
        for (HeadlessPlatform* p : {&latest, &keeping}) {
            runGenerationCommand(*state, *p, k % 2 == 0 ? 2 : 1);
            if (k % 2 == 0) showNumberStatistics(*state, *p);
        }
    }
    EXPECT_EQ(latest.textHistory.size(), 1u);
    EXPECT_EQ(latest.shownWindows.size(), 1u);
    EXPECT_EQ(latest.priorityHistory, std::vector<bool>{false});
    EXPECT_EQ(latest.mainWindowEnableHistory.size(), 1u);
    EXPECT_EQ(latest.controlTexts, keeping.controlTexts);
    EXPECT_EQ(latest.controlEnabled, keeping.controlEnabled);
    EXPECT_EQ(latest.textHistory.back(), keeping.textHistory.back());
    EXPECT_EQ(keeping.shownWindows.size(), 25u);
}

}  // namespace
}  // namespace quillstep
