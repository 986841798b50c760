// CTest label: threads
// The optimise command on stores whose covering relation would not fit: it takes the optimiser
// without one, checks and writes its system, and refuses cleanly when memory runs out.

#include "usecases/optimise_command.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <string>

#include "usecases/store_masks.h"
#include "files/system_file_reader.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "wheels/large_optimiser/large_optimiser.h"
#include "windows/file_reports.h"
#include "texts/smaller_systems_texts.h"

#if defined(__linux__)
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLSTEP_ADDRESS_SANITIZER 1  // or the thread sanitizer: both reserve far more address space
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUILLSTEP_ADDRESS_SANITIZER 1
#endif
#endif

namespace quillstep {
namespace {

namespace fs = std::filesystem;

class LargeOptimiseCommand : public ::testing::Test {
protected:
    void SetUp() override { folder = freshTestFolder("quillstep-large-"); }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::unique_ptr<SharedState> stored(int totalNumbers, int mode) {
        auto state = createSharedState();
        state->parameters.totalNumbers = totalNumbers;
        state->outputFolder = folder;
        runGeneration(*state, platform, mode);
        state->memoryDescription = "STORE";
        return state;
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
    fs::path folder;
};

TEST_F(LargeOptimiseCommand, TheFullWheelOf20IsOptimisedWithoutARelationCheckedAndWritten) {
    auto state = stored(20, 2);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    ASSERT_TRUE(large::prefersLargeOptimiser(static_cast<int64_t>(masks.size()), 4, 20));
    OptimiseSettings settings;
    settings.timeLimitSeconds = 3;
    int progressReports = 0;
    const OptimiseOutcome outcome = optimise(*state, settings, [&](const CoverProgress&) { ++progressReports; });
    ASSERT_TRUE(outcome.verified) << optimiseFaultText(outcome);
    ASSERT_TRUE(outcome.written()) << optimiseFaultText(outcome);
    EXPECT_EQ(outcome.systemFile.check.uncovered, 0);
    EXPECT_GT(progressReports, 0);
    EXPECT_LT(outcome.systemSize, 36);  // the greedy search's size on this store
    // The file, read back and checked by a plain loop.
    const SystemFileContents contents = readSystemFile(folder / G4_SYSTEM_FILE_NAME);
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(static_cast<int32_t>(contents.combinations.size()), outcome.systemSize);
    std::vector<uint64_t> system;
    for (const auto& c : contents.combinations) system.push_back(combinationMask(c));
    int64_t uncovered = 0;
    for (const uint64_t x : masks) {
        bool covered = false;
        for (const uint64_t m : system) covered = covered || std::popcount(x & m) >= 4;
        uncovered += !covered;
    }
    EXPECT_EQ(uncovered, 0);
}

TEST_F(LargeOptimiseCommand, AStopRequestKeepsTheBestSystemSoFar) {
    auto state = stored(22, 2);
    int polls = 0;
    platform.stopRequest = [&] { return ++polls > 100; };  // about two seconds in
    OptimiseSettings settings;
    settings.timeLimitSeconds = 3600;
    const OptimiseOutcome outcome = optimise(*state, settings);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_LT(outcome.seconds, 60.0);
    if (outcome.systemSize > 0) {
        EXPECT_TRUE(outcome.verified) << optimiseFaultText(outcome);
        EXPECT_TRUE(outcome.written()) << optimiseFaultText(outcome);
    } else {
        EXPECT_EQ(outcome.fault.reason, FaultReason::StoppedBeforeAnySystem);
        EXPECT_EQ(optimiseFaultText(outcome), "stopped before any system covered every stored combination");
    }
}

#if defined(__linux__) && !defined(QUILLSTEP_ADDRESS_SANITIZER)
rlim_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * rlim_t(sysconf(_SC_PAGESIZE));
}

TEST_F(LargeOptimiseCommand, WithoutMemoryForItsCountsItSaysSoAndWritesNothing) {
    // The child runs in a fresh process, its heap holding no memory that earlier tests freed.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto state = stored(39, 4);  // 2,363,628 stored: 19 MB of masks, 12 MB of counts per thread
    for (const rlim_t extra : {rlim_t{4} << 20, rlim_t{21} << 20}) {
        EXPECT_EXIT(
            {
                mallopt(M_MMAP_THRESHOLD, 128 * 1024);
                rlimit limit{};
                getrlimit(RLIMIT_AS, &limit);
                limit.rlim_cur = addressSpaceInUse() + extra;
                setrlimit(RLIMIT_AS, &limit);
                OptimiseSettings settings;
                settings.timeLimitSeconds = 2;
                const OptimiseOutcome outcome = optimise(*state, settings);
                const std::string text = optimiseFaultText(outcome);
                const std::string expected = "not enough memory for the optimiser on 2363628 stored combinations";
                const bool refused = outcome.fault.reason == FaultReason::OptimiserOutOfMemory && text == expected &&
                                     !outcome.written() && !fs::exists(folder / G4_SYSTEM_FILE_NAME);
                std::fprintf(stderr, "%s\n", text.c_str());
                std::_Exit(refused ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    GTEST_FLAG_SET(death_test_style, style);
}
#endif

}  // namespace
}  // namespace quillstep
