// The texts of a wheel made: the published size shown only for pools without keys, and why a
// wheel was not written.
#include <gtest/gtest.h>

#include "texts/published_wheels.h"
#include "texts/wheel_making_texts.h"

namespace quillstep {
namespace {

uint64_t rangeMask(int from, int to) {
    uint64_t mask = 0;
    for (int v = from; v <= to; ++v) mask |= uint64_t{1} << v;
    return mask;
}

TEST(WheelMakingTexts, PublishedSizeOnlyForPoolsWithoutKeys) {
    // Any pool of 15 numbers has the row of 15; the numbers themselves do not matter.
    const auto row = publishedWheel(15, 4, 5);
    ASSERT_TRUE(row);
    EXPECT_EQ(publishedWheelText({rangeMask(20, 34), 0, 4, 5}), "best published: " + std::to_string(row->bestKnown));
    EXPECT_EQ(publishedWheelText({rangeMask(20, 34), uint64_t{1} << 20, 4, 5}), "");
    EXPECT_EQ(publishedWheelText({rangeMask(1, 39), 0, 6, 7}), "");  // no such row
    const auto covering = publishedWheel(12, 4, 4);
    ASSERT_TRUE(covering && covering->lowerBound);
    EXPECT_EQ(publishedLowerBoundText({rangeMask(1, 12), 0, 4, 4}), "lower bound: " + std::to_string(*covering->lowerBound));
    EXPECT_EQ(publishedLowerBoundText({rangeMask(1, 15), 0, 4, 5}), "");  // the row has none
}

TEST(WheelMakingTexts, WhyNothingWasWritten) {
    WheelMade made;
    made.search.timeLimitReached = true;
    EXPECT_EQ(wheelNotWrittenText(made), "no wheel covered every set of drawn numbers in the time given");
    made.search.stopped = true;
    EXPECT_EQ(wheelNotWrittenText(made), "stopped before any wheel covered every set of drawn numbers");
    made.search.stopped = false;
    made.search.tooManyTickets = true;
    EXPECT_EQ(wheelNotWrittenText(made), "the wheel needs more than 65535 tickets, more than the search keeps");
    made.search.tooManyTickets = false;
    made.search.tickets.assign(10000, 0xFE);
    made.file.fault = {FaultReason::WheelTooLargeForFile, 10000};
    EXPECT_EQ(wheelNotWrittenText(made), "the wheel has 10000 tickets, more than the " + std::to_string(WHEEL_FILE_ROW_LIMIT) + " a wheel file holds");
    made.file.file.error = "No space left on device";
    made.file.fault = writtenFileFault(made.file.file);
    EXPECT_EQ(wheelNotWrittenText(made), "No space left on device");
}

}  // namespace
}  // namespace quillstep
