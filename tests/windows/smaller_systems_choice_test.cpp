#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/smaller_systems_choice.h"
#include "texts/smaller_systems_texts.h"

namespace quillstep {
namespace {

std::vector<int> walk(SmallerSystemsChoice& choice, bool up) {
    std::vector<int> seen{choice.timeLimitSeconds};
    while (stepTimeLimit(choice, up)) seen.push_back(choice.timeLimitSeconds);
    return seen;
}

TEST(SmallerSystemsChoice, TimeLimitWalksItsStepsBetweenFiveAndSixHundredSeconds) {
    SmallerSystemsChoice choice;
    choice.timeLimitSeconds = 5;
    const std::vector<int> upward = walk(choice, true);
    EXPECT_EQ(upward.front(), 5);
    EXPECT_EQ(upward.back(), 600);
    for (size_t k = 1; k < upward.size(); ++k) EXPECT_GT(upward[k], upward[k - 1]);
    EXPECT_EQ(upward.size(), TIME_LIMIT_STEPS.size());

    EXPECT_FALSE(stepTimeLimit(choice, true));  // refused at the top, and nothing changes
    EXPECT_EQ(choice.timeLimitSeconds, 600);

    std::vector<int> downward = walk(choice, false);
    EXPECT_EQ(std::vector<int>(downward.rbegin(), downward.rend()), upward);
    EXPECT_FALSE(stepTimeLimit(choice, false));
    EXPECT_EQ(choice.timeLimitSeconds, 5);
}

TEST(SmallerSystemsChoice, TimeLimitBetweenTwoStepsMovesToTheNeighbourOnThatSide) {
    SmallerSystemsChoice choice;
    choice.timeLimitSeconds = 100;
    ASSERT_TRUE(stepTimeLimit(choice, true));
    EXPECT_EQ(choice.timeLimitSeconds, 120);
    choice.timeLimitSeconds = 100;
    ASSERT_TRUE(stepTimeLimit(choice, false));
    EXPECT_EQ(choice.timeLimitSeconds, 90);
}

TEST(SmallerSystemsChoice, GuaranteeIsFourOrFiveAndTheRestFollowsIntoTheSettings) {
    SmallerSystemsChoice choice;
    EXPECT_EQ(choice.guaranteedHits, 4);
    EXPECT_FALSE(stepGuarantee(choice, false));
    EXPECT_EQ(choice.guaranteedHits, 4);
    EXPECT_TRUE(stepGuarantee(choice, true));
    EXPECT_FALSE(stepGuarantee(choice, true));
    EXPECT_EQ(choice.guaranteedHits, 5);

    choice.timeLimitSeconds = 45;
    choice.anyCombination = true;
    const OptimiseSettings settings = optimiseSettingsOf(choice);
    EXPECT_EQ(settings.guaranteedHits, 5);
    EXPECT_EQ(settings.timeLimitSeconds, 45.0);
    EXPECT_TRUE(settings.anyCombination);
}

TEST(SmallerSystemsTexts, ProgressShowsTheBestSizeAndWholeSecondsLeftRoundedUp) {
    EXPECT_EQ(optimiserProgressText({12, 3.0, 26.2, 100}),
              "Smallest system so far: 12 combinations, 27 s left. Escape stops the search.");
    EXPECT_EQ(optimiserProgressText({1, 3.0, 0.0, 100}),
              "Smallest system so far: 1 combination, 0 s left. Escape stops the search.");
    EXPECT_EQ(optimiserProgressText({0, 0.0, 30.0, 0}), "No system found yet, 30 s left. Escape stops the search.");
    EXPECT_EQ(optimiserProgressText({5, 31.0, -0.5, 0}),
              "Smallest system so far: 5 combinations, 0 s left. Escape stops the search.");
}

OptimiseOutcome writtenOutcome(int32_t size, const char* fileName) {
    OptimiseOutcome outcome;
    outcome.searched = outcome.verified = outcome.systemFile.file.written = true;
    outcome.systemSize = size;
    outcome.seconds = 30.04;
    outcome.systemFile.file.fileName = fileName;
    outcome.systemFile.file.rows = size;
    return outcome;
}

TEST(SmallerSystemsTexts, OutcomeNamesSizeGuaranteeFileAndHowTheSearchEnded) {
    OptimiseSettings settings;
    EXPECT_EQ(optimiseOutcomeText(writtenOutcome(17, "mb_comb_file_ab.txt"), settings),
              "System of 17 combinations, 4 hits guaranteed, written to mb_comb_file_ab.txt. Searched for 30.0 s.");

    settings.guaranteedHits = 5;
    OptimiseOutcome stopped = writtenOutcome(1, "mb_comb_file_ab5.txt");
    stopped.stopped = true;
    stopped.seconds = 2.31;
    EXPECT_EQ(optimiseOutcomeText(stopped, settings),
              "System of 1 combination, 5 hits guaranteed, written to mb_comb_file_ab5.txt. Stopped by Escape after "
              "2.3 s.");
}

TEST(SmallerSystemsTexts, MembersOutsideTheFiltersAreCountedOnlyWhenAllowed) {
    OptimiseSettings settings;
    OptimiseOutcome outcome = writtenOutcome(9, "mb_comb_file_ab.txt");
    outcome.outsideFilters = 3;
    EXPECT_EQ(optimiseOutcomeText(outcome, settings).find("outside"), std::string::npos);

    settings.anyCombination = true;
    const std::string text = optimiseOutcomeText(outcome, settings);
    EXPECT_NE(text.find(" 3 of them lie outside the filters"), std::string::npos) << text;
    outcome.outsideFilters = 0;
    EXPECT_NE(optimiseOutcomeText(outcome, settings).find("Every one of them is a stored combination."),
              std::string::npos);
}

TEST(SmallerSystemsTexts, WhyNothingWasWritten) {
    const OptimiseSettings settings;
    OptimiseOutcome nothingStored;
    EXPECT_EQ(optimiseOutcomeText(nothingStored, settings), "Nothing is stored: run a generation with storing first.");
    nothingStored.fault = {FaultReason::NothingStored};
    EXPECT_EQ(optimiseOutcomeText(nothingStored, settings),
              "Nothing is stored: the last storing run accepted no combination.");

    OptimiseOutcome failedCheck = writtenOutcome(4, "mb_comb_file_ab.txt");
    failedCheck.verified = false;
    EXPECT_EQ(optimiseOutcomeText(failedCheck, settings), "No file written: the system did not pass its check.");
    failedCheck.fault = failedCheck.systemFile.fault = {FaultReason::MembersUncovering, 2};
    EXPECT_EQ(optimiseOutcomeText(failedCheck, settings),
              "No file written: the optimiser's system leaves 2 stored combinations uncovered.");

    OptimiseOutcome diskFull = writtenOutcome(4, "mb_comb_file_ab.txt");
    diskFull.systemFile.file.written = false;
    diskFull.systemFile.file.error = "No space left on device";
    diskFull.fault = diskFull.systemFile.fault = writtenFileFault(diskFull.systemFile.file);
    EXPECT_EQ(optimiseOutcomeText(diskFull, settings), "No file written: No space left on device.");

    OptimiseOutcome changedOnDisk = writtenOutcome(4, "mb_comb_file_ab.txt");
    changedOnDisk.systemFile.file.refusedBeforeReplacing = true;
    changedOnDisk.fault = changedOnDisk.systemFile.fault = writtenFileFault(changedOnDisk.systemFile.file);
    EXPECT_EQ(optimiseOutcomeText(changedOnDisk, settings),
              "No file written: mb_comb_file_ab.txt does not read back as the system that was written.");

    OptimiseOutcome tooLarge = writtenOutcome(1200, "mb_comb_file_ab.txt");
    tooLarge.verified = false;
    tooLarge.fault = {FaultReason::SystemTooLargeForFile, 1200};
    EXPECT_EQ(optimiseOutcomeText(tooLarge, settings),
              "No file written: a system of 1200 combinations is not written: files hold at most 999.");
}

}  // namespace
}  // namespace quillstep
