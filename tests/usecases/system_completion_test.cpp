// CTest label: threads
// Completing a system around its own lines: the fixed-member optimiser on real stores, the file
// it writes, and the cases it refuses. Coverage is judged by a plain loop over numbers.

#include "usecases/system_completion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <vector>

#include "usecases/store_masks.h"
#include "files/system_file_reader.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "wheels/optimiser/optimiser.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

// Stored combinations that share fewer than `hits` numbers with every member, counted plainly.
int64_t uncovered(const std::vector<uint64_t>& stored, const std::vector<uint64_t>& system, int hits) {
    int64_t count = 0;
    for (const uint64_t target : stored) {
        bool covered = false;
        for (const uint64_t member : system) covered = covered || std::popcount(target & member) >= hits;
        count += !covered;
    }
    return count;
}

std::vector<uint64_t> fileSystem(const fs::path& path) {
    const SystemFileContents contents = readSystemFile(path);
    EXPECT_TRUE(contents.ok()) << contents.error;
    std::vector<uint64_t> masks;
    for (const auto& combination : contents.combinations) masks.push_back(combinationMask(combination));
    return masks;
}

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (const int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

class SystemCompletion : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = freshTestFolder("quillstep-completion-");
        state_ = createSharedState();
        ASSERT_TRUE(state_);
        state_->outputFolder = folder_;
    }
    void TearDown() override { fs::remove_all(folder_); }

    void store(int mode, int totalNumbers = 39) {
        state_->parameters.totalNumbers = totalNumbers;
        runGeneration(*state_, platform_, mode);
        stored_ = combinationMasks(*state_);
    }

    // The optimiser's system of the store, with a step budget so that it is the same every time.
    std::vector<uint64_t> optimisedSystem(int hits) {
        CoverRequest request;
        request.stored = stored_.data();
        request.storedCount = static_cast<int64_t>(stored_.size());
        request.hits = hits;
        request.timeLimitSeconds = 20;
        request.moveBudget = 3000;
        request.threads = 2;
        return optimiseSystem(request).system;
    }

    CompletionOutcome complete(const std::vector<uint64_t>& lines, int hits, double seconds = 5) {
        CompletionSettings settings;
        settings.guaranteedHits = hits;
        settings.timeLimitSeconds = seconds;
        settings.stepBudget = 2000;
        return completeSystem(*state_, lines, settings, {});
    }

    fs::path folder_;
    std::unique_ptr<SharedState> state_;
    HeadlessPlatform platform_;
    std::vector<uint64_t> stored_;
};

TEST_F(SystemCompletion, ASystemWithOneLineRemovedGetsAtMostOneLineBack) {
    store(12);  // 10,276 stored
    const std::vector<uint64_t> full = optimisedSystem(4);
    ASSERT_GT(full.size(), 2u);
    ASSERT_EQ(uncovered(stored_, full, 4), 0);
    for (const size_t removed : {size_t{0}, full.size() / 2, full.size() - 1}) {
        std::vector<uint64_t> holed = full;
        holed.erase(holed.begin() + static_cast<std::ptrdiff_t>(removed));
        const CompletionOutcome outcome = complete(holed, 4);
        ASSERT_TRUE(outcome.completed()) << static_cast<int>(outcome.fault.reason);
        EXPECT_EQ(outcome.kept, static_cast<int32_t>(holed.size()));
        EXPECT_LE(outcome.added, 1) << "removed line " << removed;
        EXPECT_EQ(outcome.holes, uncovered(stored_, holed, 4));
        const std::vector<uint64_t> written = fileSystem(folder_ / G4_SYSTEM_FILE_NAME);
        ASSERT_EQ(written.size(), holed.size() + static_cast<size_t>(outcome.added));
        EXPECT_TRUE(std::equal(holed.begin(), holed.end(), written.begin())) << "the file's lines come first, in order";
        EXPECT_EQ(uncovered(stored_, written, 4), 0);
        for (size_t k = holed.size(); k < written.size(); ++k)
            EXPECT_NE(std::find(stored_.begin(), stored_.end(), written[k]), stored_.end()) << "added line not stored";
    }
}

TEST_F(SystemCompletion, ACoveringSystemIsWrittenUnchanged) {
    store(12);
    const std::vector<uint64_t> full = optimisedSystem(5);
    const CompletionOutcome outcome = complete(full, 5);
    ASSERT_TRUE(outcome.completed()) << static_cast<int>(outcome.fault.reason);
    EXPECT_EQ(outcome.added, 0);
    EXPECT_EQ(outcome.holes, 0);
    EXPECT_EQ(outcome.systemFile.file.fileName, G5_SYSTEM_FILE_NAME);
    EXPECT_EQ(fileSystem(folder_ / G5_SYSTEM_FILE_NAME), full);
}

TEST_F(SystemCompletion, KeepsLinesOutsideTheFiltersAndCoversFromNothing) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("a step budget that must end before the time limit");
    store(2, 12);  // the full wheel of 12: 792 stored
    // No lines at all: the completion is a whole system of stored combinations.
    const CompletionOutcome fromNothing = complete({}, 4);
    ASSERT_TRUE(fromNothing.completed()) << static_cast<int>(fromNothing.fault.reason);
    EXPECT_EQ(fromNothing.kept, 0);
    EXPECT_EQ(fromNothing.holes, 792);
    EXPECT_EQ(uncovered(stored_, fileSystem(folder_ / G4_SYSTEM_FILE_NAME), 4), 0);

    store(12);  // the mode-12 store at 39 numbers, which 1..7 is not part of
    const std::vector<uint64_t> lines{maskOf({1, 2, 3, 4, 5, 6, 7}), maskOf({8, 14, 20, 25, 30, 33, 39})};
    const CompletionOutcome outcome = complete(lines, 4);
    ASSERT_TRUE(outcome.completed()) << static_cast<int>(outcome.fault.reason);
    EXPECT_EQ(outcome.outsideFilters, static_cast<int32_t>(std::count_if(lines.begin(), lines.end(), [&](uint64_t l) {
                  return std::find(stored_.begin(), stored_.end(), l) == stored_.end();
              })));
    const std::vector<uint64_t> written = fileSystem(folder_ / G4_SYSTEM_FILE_NAME);
    EXPECT_TRUE(std::equal(lines.begin(), lines.end(), written.begin()));
    EXPECT_EQ(uncovered(stored_, written, 4), 0);
}

TEST_F(SystemCompletion, RefusesWhatItCannotComplete) {
    const std::vector<uint64_t> line{maskOf({1, 2, 3, 4, 5, 6, 7})};
    EXPECT_EQ(complete(line, 4).fault.reason, FaultReason::NothingStoredToComplete);
    store(2, 11);  // 1..7 leaves holes: 7,8,9,10,11 and two of 1..6 share only three numbers with it
    const CompletionOutcome above = complete({line[0], maskOf({1, 2, 3, 4, 5, 6, 12})}, 4);
    EXPECT_EQ(above.fault.reason, FaultReason::NumberAboveTotal);
    EXPECT_EQ(above.fault.count, 2);
    EXPECT_EQ(complete(line, 6).fault.reason, FaultReason::GuaranteeOutOfRange);
    EXPECT_EQ(complete(line, 4, 0.5).fault.reason, FaultReason::TimeLimitOutOfRange);
    EXPECT_FALSE(fs::exists(folder_ / G4_SYSTEM_FILE_NAME)) << "a refused completion wrote a file";
    // 999 lines leave no room for the line that the holes need; 1000 are too many to begin with.
    const CompletionOutcome full = complete(std::vector<uint64_t>(999, line[0]), 4);
    EXPECT_EQ(full.fault.reason, FaultReason::CompletionTooLargeForFile);
    EXPECT_GE(full.systemSize(), 1000);
    const CompletionOutcome tooMany = complete(std::vector<uint64_t>(1000, line[0]), 4);
    EXPECT_EQ(tooMany.fault.reason, FaultReason::TooManyLinesToComplete);
    EXPECT_EQ(tooMany.kept, 1000);
    EXPECT_FALSE(fs::exists(folder_ / G4_SYSTEM_FILE_NAME)) << "a refused completion wrote a file";
}

}  // namespace
}  // namespace quillstep
