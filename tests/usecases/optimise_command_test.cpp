// CTest label: threads
#include "usecases/optimise_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/system_file_reader.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/check/independent_system_check.h"
#include "support/test_support.h"
#include "windows/file_reports.h"
#include "texts/smaller_systems_texts.h"

namespace quillstep {
namespace {

class OptimiseCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-optimise-");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::unique_ptr<SharedState> storedRun(int totalNumbers, int mode = 2) {
        auto state = createSharedState();
        state->parameters.totalNumbers = totalNumbers;
        state->outputFolder = folder;
        runGeneration(*state, platform, mode);
        state->memoryDescription = "STORE " + std::to_string(totalNumbers);
        return state;
    }

    static OptimiseSettings quick(int hits, uint64_t seed = 1) {
        OptimiseSettings settings;
        settings.guaranteedHits = hits;
        settings.timeLimitSeconds = 1.0;
        settings.seed = seed;
        settings.stepBudget = 2000;
        return settings;
    }

    // The written file, read and checked against the store without the command's help.
    SystemCheck checkWrittenFile(const SharedState& state, int hits, bool anyCombination) {
        const SystemFileContents contents = readSystemFile(folder / (hits == 5 ? G5_SYSTEM_FILE_NAME : G4_SYSTEM_FILE_NAME));
        EXPECT_TRUE(contents.ok()) << contents.error;
        std::vector<uint64_t> system;
        for (const auto& combination : contents.combinations) system.push_back(combinationMask(combination));
        const std::vector<uint64_t> stored = combinationMasks(state);
        const SystemCheck check = checkSystem(storedCoverRequest(stored, hits, state.parameters.totalNumbers), system);
        EXPECT_TRUE(check.holds(anyCombination));
        return check;
    }

    // The command as the window runs it: the platform's stop request and the main window's reports of the write.
    OptimiseOutcome optimise(SharedState& state, const OptimiseSettings& settings,
                             std::function<void(const CoverProgress&)> onProgress = {}) {
        OptimiseObserver observer;
        observer.onProgress = std::move(onProgress);
        observer.stopRequested = [this] { return platform.pollStopRequest(); };
        observer.write = mainWindowWriteObserver(platform);
        return optimiseStoredSystem(state, settings, observer);
    }

    HeadlessPlatform platform;
    std::filesystem::path folder;
};

TEST_F(OptimiseCommand, RefusesAnEmptyStoreAndBadSettingsWithoutWriting) {
    auto empty = storedRun(10, 4);  // the sum condition leaves nothing at 10 numbers
    ASSERT_EQ(empty->generatedCount, 0);
    OptimiseOutcome outcome = optimise(*empty, quick(4));
    EXPECT_FALSE(outcome.searched);
    EXPECT_EQ(outcome.fault.reason, FaultReason::NothingStored);
    EXPECT_EQ(optimiseFaultText(outcome), "nothing is stored: the last storing run accepted no combination");

    auto state = storedRun(10);
    for (OptimiseSettings bad : {quick(3), quick(6)}) {
        outcome = optimise(*state, bad);
        EXPECT_FALSE(outcome.searched);
        EXPECT_EQ(outcome.fault.reason, FaultReason::GuaranteeOutOfRange);
        EXPECT_EQ(optimiseFaultText(outcome), "guaranteed hits must be 4 or 5");
    }
    for (double seconds : {0.5, 3600.5}) {
        OptimiseSettings bad = quick(4);
        bad.timeLimitSeconds = seconds;
        outcome = optimise(*state, bad);
        EXPECT_FALSE(outcome.searched);
        EXPECT_EQ(optimiseFaultText(outcome), "the time limit must be 1 to 3600 seconds");
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(OptimiseCommand, WritesACheckedSystemNoLargerThanTheGreedySearchs) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("the greedy search must end within its share of the time limit");
    for (int totalNumbers : {10, 11, 12, 13}) {
        auto state = storedRun(totalNumbers);
        const std::vector<uint64_t> masks = combinationMasks(*state);
        for (int hits : {4, 5}) {
            SCOPED_TRACE("N " + std::to_string(totalNumbers) + " G" + std::to_string(hits));
            const int32_t greedySize = findBestStart(masks, hits, {}).bestSize;
            int progressCalls = 0;
            const OptimiseOutcome outcome =
                optimise(*state, quick(hits), [&](const CoverProgress&) { ++progressCalls; });
            ASSERT_TRUE(outcome.verified) << optimiseFaultText(outcome);
            EXPECT_EQ(outcome.fault.reason, FaultReason::None) << optimiseFaultText(outcome);
            EXPECT_GE(progressCalls, 1);
            EXPECT_LE(outcome.systemSize, greedySize);
            EXPECT_EQ(outcome.outsideFilters, 0);
            ASSERT_TRUE(outcome.written());
            EXPECT_EQ(outcome.systemFile.file.rows, outcome.systemSize);
            EXPECT_EQ(checkWrittenFile(*state, hits, false).systemSize, outcome.systemSize);

            // The abbreviated-system store holds the written system, ascending numbers per row.
            for (int32_t s = 0; s < outcome.systemSize; ++s)
                EXPECT_TRUE(std::is_sorted(state->systemCombination(s), state->systemCombination(s) + 7) &&
                            state->systemCombination(s)[0] >= 1 && state->systemCombination(s)[6] <= totalNumbers);
        }
    }
}

TEST_F(OptimiseCommand, TheSameSeedAndStepBudgetGiveTheSameFile) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("a step budget that must end before the time limit");
    auto state = storedRun(14);
    std::vector<std::string> files;
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(optimise(*state, quick(5, 7)).written());
        files.push_back(readFile(folder / G5_SYSTEM_FILE_NAME));
    }
    EXPECT_EQ(files[0], files[1]);
}

TEST_F(OptimiseCommand, AnyCombinationSaysInTheFileWhenMembersLieOutsideTheFilters) {
    auto state = storedRun(13);
    state->memoryDescription = "STORE";
    OptimiseSettings settings = quick(5);
    settings.anyCombination = true;
    const OptimiseOutcome outcome = optimise(*state, settings);
    ASSERT_TRUE(outcome.written()) << optimiseFaultText(outcome);
    const SystemCheck check = checkWrittenFile(*state, 5, true);
    EXPECT_EQ(static_cast<int64_t>(outcome.outsideFilters), static_cast<int64_t>(check.membersNotStored.size()));
    const std::string description = readFile(folder / G5_SYSTEM_FILE_NAME).substr(0, 120);
    const std::string note = " (system holds " + std::to_string(outcome.outsideFilters) + " combinations outside the filters)";
    if (outcome.outsideFilters > 0)
        EXPECT_NE(description.find("\"STORE" + note + "\"\r\n"), std::string::npos) << description;
    else
        EXPECT_NE(description.find("\"STORE\"\r\n"), std::string::npos) << description;
}

TEST_F(OptimiseCommand, AStopRequestStillWritesACheckedSystem) {
    auto state = storedRun(13);
    platform.stopRequest = [] { return true; };
    OptimiseSettings settings = quick(5);
    settings.stepBudget = 0;
    settings.timeLimitSeconds = 60.0;
    const OptimiseOutcome outcome = optimise(*state, settings);
    EXPECT_TRUE(outcome.stopped);
    ASSERT_TRUE(outcome.written()) << optimiseFaultText(outcome);
    EXPECT_LT(outcome.seconds, 30.0);
    checkWrittenFile(*state, 5, false);
}

TEST_F(OptimiseCommand, AStoreNoSystemBelowAThousandCoversIsAnsweredBeforeAnySearch) {
    // 1000 stored combinations no two of which share five numbers: each covers only itself, so
    // no 999 of them cover the store, which the capacity proof shows before any search.
    std::mt19937 random(7);
    std::vector<uint64_t> strangers;
    while (strangers.size() < 1000) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % 39);
        if (std::none_of(strangers.begin(), strangers.end(), [&](uint64_t m) { return std::popcount(m & mask) > 4; }))
            strangers.push_back(mask);
    }
    auto state = createSharedState();
    state->outputFolder = folder;
    for (size_t j = 0; j < strangers.size(); ++j)
        for (int v = 1, k = 0; v <= 39; ++v)
            if (strangers[j] >> v & 1) state->combinationStore[7 * j + 1 + k++] = v;
    state->generatedCount = 1000;
    std::ofstream(folder / G5_SYSTEM_FILE_NAME) << "previous";

    int progressReports = 0;
    OptimiseObserver observer;
    observer.onProgress = [&](const CoverProgress&) { ++progressReports; };
    OptimiseSettings settings = quick(5);
    settings.timeLimitSeconds = 3600;
    settings.stepBudget = 0;
    const OptimiseOutcome outcome = optimiseStoredSystem(*state, settings, observer);
    EXPECT_TRUE(outcome.searched);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.systemSize, 1000);
    EXPECT_FALSE(outcome.written());
    EXPECT_EQ(outcome.fault.reason, FaultReason::NoSystemBelowCapacity);
    EXPECT_EQ(progressReports, 0);  // no search ran
    EXPECT_EQ(optimiseFaultText(outcome),
              "no system of fewer than 1000 combinations can cover the 1000 stored combinations (proven before any search)");
    EXPECT_EQ(optimiseOutcomeText(outcome, settings),
              "No file written: no system of fewer than 1000 combinations can cover the 1000 stored combinations "
              "(proven before any search).");
    EXPECT_EQ(readFile(folder / G5_SYSTEM_FILE_NAME), "previous");
}

}  // namespace
}  // namespace quillstep
