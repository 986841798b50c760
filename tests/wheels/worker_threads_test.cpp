// CTest label: threads
// The worker helper and every threaded part when thread starts fail (the test hook), when a part
// throws, and when the calling thread has to run the parts itself: every part still runs once,
// the stop request and the time limit are still honoured, and a worker's exception reaches the
// calling thread once every thread has been joined.

#include "base/worker_threads.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "files/combination_file.h"
#include "app/generation_command.h"
#include "usecases/optimise_command.h"
#include "usecases/store_masks.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "wheels/check/draw_profile.h"
#include "wheels/check/independent_system_check.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/capacity_proof.h"
#include "wheels/large_optimiser/large_optimiser.h"
#include "wheels/optimiser/optimiser.h"
#include "wheels/optimiser/optimiser_coverage_check.h"

namespace quillstep {
namespace {

using Clock = std::chrono::steady_clock;

// Every case leaves the hooks off for the next.
class WorkerThreads : public ::testing::Test {
protected:
    void TearDown() override {
        failThreadStartsAfter(-1);
        failPartsAfter(-1);
    }
};

// The counts of successful thread starts tried: none, some, all.
constexpr int64_t START_CASES[] = {0, 1, 2, -1};

TEST(WorkerThreadCount, AskedCountsAreKeptWithinOneAndTheCapAndZeroMeansTheHardware) {
    for (const unsigned asked : {1u, 2u, 3u, 16u, 17u, MOST_WORKER_THREADS}) EXPECT_EQ(workerThreadCount(asked), asked);
    for (const unsigned asked : {MOST_WORKER_THREADS + 1, 1000u, ~0u}) EXPECT_EQ(workerThreadCount(asked), MOST_WORKER_THREADS);
    const unsigned hardware = std::thread::hardware_concurrency();
    EXPECT_EQ(workerThreadCount(0), hardware == 0 ? 1u : std::min(hardware, MOST_WORKER_THREADS));
}

TEST_F(WorkerThreads, EveryPartRunsOnceWhateverTheThreadsThatCouldBeStarted) {
    for (const int64_t starts : START_CASES) {
        failThreadStartsAfter(starts);
        std::vector<std::atomic<int>> runs(5);
        WorkerRun run;
        run.parts = 5;
        run.work = [&](unsigned part) { ++runs[part]; };
        const unsigned threads = runWorkers(run);
        EXPECT_EQ(threads, starts < 0 ? 5u : static_cast<unsigned>(starts)) << "starts allowed " << starts;
        for (unsigned part = 0; part < runs.size(); ++part) EXPECT_EQ(runs[part].load(), 1) << "part " << part;
    }
}

TEST_F(WorkerThreads, TheCallingThreadRunningThePartsStillPollsThroughItsStopFlagReads) {
    failThreadStartsAfter(0);
    StopFlag stop;
    int polls = 0;
    const auto caller = std::this_thread::get_id();
    bool pollElsewhere = false;
    WorkerRun run;
    run.parts = 2;
    run.work = [&](unsigned) {
        while (!stop.load()) {
        }
    };
    run.poll = [&] {
        pollElsewhere = pollElsewhere || std::this_thread::get_id() != caller;
        if (++polls == 3) stop.raise();  // the stop request, asked on the third poll
    };
    run.pollInterval = std::chrono::milliseconds(5);
    EXPECT_EQ(runWorkers(run), 0u);
    EXPECT_GE(polls, 3);
    EXPECT_FALSE(pollElsewhere);
}

TEST_F(WorkerThreads, AFailingPartEndsTheOthersAndItsExceptionReachesTheCaller) {
    for (const int64_t starts : START_CASES) {
        failThreadStartsAfter(starts);
        StopFlag stop;
        std::atomic<int> begun{0};
        WorkerRun run;
        run.parts = 4;
        run.work = [&](unsigned part) {
            ++begun;
            if (part == 1) throw std::bad_alloc();
            if (part == 0 && (starts < 0 || starts >= 2))
                while (!stop.load()) {
                }  // with a second thread for part 1, ends only because the failure raises the flag
        };
        run.onFailure = [&] { stop.raise(); };
        EXPECT_THROW(runWorkers(run), std::bad_alloc) << "starts allowed " << starts;
        EXPECT_TRUE(stop.load());
        if (starts == 0) {
            EXPECT_EQ(begun.load(), 2) << "on the calling thread, the parts after the failure are left out";
        }
    }
}

TEST_F(WorkerThreads, APollThatThrowsEndsThePartsAndReachesTheCaller) {
    StopFlag stop;
    WorkerRun run;
    run.parts = 2;
    run.work = [&](unsigned) {
        while (!stop.load()) {
        }
    };
    run.poll = [] { throw std::runtime_error("progress could not be shown"); };
    run.pollInterval = std::chrono::milliseconds(2);
    run.onFailure = [&] { stop.raise(); };
    EXPECT_THROW(runWorkers(run), std::runtime_error);
}

TEST_F(WorkerThreads, TheBestStartSearchGivesItsAnswerAndHonoursTheStopWithoutThreads) {
    const std::vector<uint64_t> masks = storeOfMode(12);  // 10,276 combinations
    StartSearchOptions options;
    options.threads = 2;
    const BestStart expected = findBestStart(masks, 5, options);
    for (const int64_t starts : {0, 1}) {
        failThreadStartsAfter(starts);
        const BestStart found = findBestStart(masks, 5, options);
        EXPECT_EQ(found.bestStart, expected.bestStart) << "starts allowed " << starts;
        EXPECT_EQ(found.bestSize, expected.bestSize);
        EXPECT_FALSE(found.stopped);
    }
    const std::vector<uint64_t> large = storeOfMode(9);  // 99,427 combinations: seconds of passes
    for (const int64_t starts : {0, 1}) {
        failThreadStartsAfter(starts);
        StartSearchOptions stopping = options;
        int progressCalls = 0;
        stopping.onProgress = [&](int32_t) { ++progressCalls; };
        const auto begin = Clock::now();
        stopping.stopRequested = [&] { return Clock::now() - begin > std::chrono::milliseconds(200); };
        const BestStart found = findBestStart(large, 4, stopping);
        EXPECT_TRUE(found.stopped) << "starts allowed " << starts;
        EXPECT_LT(found.startsChecked, static_cast<int32_t>(large.size()));
        EXPECT_GE(progressCalls, 2);
    }
}

TEST_F(WorkerThreads, TheOptimiserEndsAtItsTimeLimitAndOnAStopWithoutThreads) {
    QUILLSTEP_SKIP_UNDER_THREAD_SANITIZER("a stop on time");
    const std::vector<uint64_t> targets = storeOfMode(12);
    for (const int64_t starts : {0, 1}) {
        failThreadStartsAfter(starts);
        CoverRequest request;
        request.stored = targets.data();
        request.storedCount = static_cast<int64_t>(targets.size());
        request.hits = 5;
        request.threads = 2;
        request.startTickets = targets;  // covers: the result is never empty, however slow the machine
        request.timeLimitSeconds = 1.0;  // no step budget: only the time limit ends the search
        const OptimiserResult timed = optimiseSystem(request);
        EXPECT_TRUE(timed.timeLimitReached) << "starts allowed " << starts;
        EXPECT_LT(timed.seconds, 1.0 + 0.5);
        EXPECT_TRUE(systemCoversAll(targets.data(), static_cast<int32_t>(request.storedCount), timed.system, 5, 1));

        request.timeLimitSeconds = 60;
        const auto begin = Clock::now();
        request.stopRequested = [&] { return Clock::now() - begin > std::chrono::milliseconds(500); };
        const OptimiserResult stopped = optimiseSystem(request);
        EXPECT_TRUE(stopped.stopped);
        EXPECT_LT(stopped.seconds, 0.5 + 0.5);
        EXPECT_TRUE(systemCoversAll(targets.data(), static_cast<int32_t>(request.storedCount), stopped.system, 5, 1));
    }
}

TEST_F(WorkerThreads, BothChecksAndTheCountingGiveTheSameAnswersWithoutThreads) {
    const std::vector<uint64_t> masks = storeOfMode(12);
    std::vector<uint64_t> holed = masks;
    holed.resize(20);  // the first twenty as a system: it leaves holes
    CoverRequest request = storedCoverRequest(masks, 5, HIGHEST_NUMBER);
    request.threads = 2;
    const SystemCheck expected = checkSystem(request, holed);
    ASSERT_GT(expected.uncovered, 0);
    const std::vector<int32_t> counts = coveredCounts(masks, 4);
    for (const int64_t starts : {0, 1}) {
        failThreadStartsAfter(starts);
        const SystemCheck check = checkSystem(request, holed);
        EXPECT_EQ(check.uncovered, expected.uncovered) << "starts allowed " << starts;
        EXPECT_EQ(check.bestMatchCounts, expected.bestMatchCounts);
        EXPECT_EQ(check.holes, expected.holes);
        EXPECT_FALSE(systemCoversAll(masks.data(), static_cast<int32_t>(masks.size()), holed, 5, 2));
        EXPECT_TRUE(systemCoversAll(masks.data(), static_cast<int32_t>(masks.size()), masks, 5, 2));
        EXPECT_EQ(coveredCounts(masks, 4), counts);
    }
}

TEST_F(WorkerThreads, TheCountingSplitOverThreadsCountsAsOneThreadAndStopsOnRequest) {
    auto state = createSharedState();
    state->parameters.totalNumbers = 26;  // 657,800 combinations: two parts
    HeadlessPlatform platform;
    runGenerationCommand(*state, platform, 2);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    CountingWork one;
    one.threads = 1;
    CountingWork two;
    two.threads = 2;
    const auto single = coveredCounts(masks, 5, one);
    ASSERT_TRUE(single && !single->empty());
    EXPECT_EQ(coveredCounts(masks, 5, two), single);
    EXPECT_EQ((*single)[0], 1 + 7 * 19 + 21 * 171) << "a combination of the full wheel of 26 at five hits";
    two.stopRequested = [] { return true; };
    EXPECT_FALSE(coveredCounts(masks, 5, two).has_value());
    EXPECT_EQ(proveEveryPassReachesCapacity(masks, 5, 1000, two), CapacityProof::Stopped);
    // Before the optimiser the full wheel needs no counting: every combination covers as many.
    EXPECT_EQ(proveNoSystemBelowCapacity(masks, 5, 1000, true, two), CapacityProof::NotProven);
}

TEST_F(WorkerThreads, WithoutADiskThreadTheWriterWritesTheSameFile) {
    const std::filesystem::path folder = freshTestFolder("quillstep-workers-");
    auto state = createSharedState();
    state->parameters.totalNumbers = 20;  // 77,520 rows, many blocks
    HeadlessPlatform platform;
    runGenerationCommand(*state, platform, 2);
    state->outputFolder = folder;
    ASSERT_TRUE(writeCombinationRows(*state, {}).written);
    const std::string expected = readFile(folder / COMBINATION_FILE_NAME);
    failThreadStartsAfter(0);
    ASSERT_TRUE(writeCombinationRows(*state, {}).written);
    EXPECT_EQ(readFile(folder / COMBINATION_FILE_NAME), expected);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

// Every seven of 1..totalNumbers, as masks with bit n for number n.
std::vector<uint64_t> fullWheel(int totalNumbers) {
    std::vector<uint64_t> all;
    for (uint64_t bits = 0; bits < (uint64_t{1} << totalNumbers); ++bits)
        if (std::popcount(bits) == 7) all.push_back(bits << 1);
    return all;
}

TEST_F(WorkerThreads, TheDrawProfileCountsTheSameWithoutThreadsAndCarriesAFailingPart) {
    const std::vector<uint64_t> wheel = fullWheel(20);
    std::vector<uint64_t> system;
    for (size_t i = 0; i < wheel.size(); i += 997) system.push_back(wheel[i]);
    const int64_t size = static_cast<int64_t>(system.size());
    const DrawProfile threaded = profileAllDraws(system.data(), size, 20, 2);
    int64_t draws = 0;
    for (const int64_t count : threaded.bestMatchCounts) draws += count;
    EXPECT_EQ(draws, threaded.draws);
    for (const int64_t starts : START_CASES) {
        failThreadStartsAfter(starts);
        EXPECT_EQ(profileAllDraws(system.data(), size, 20, 2).bestMatchCounts, threaded.bestMatchCounts)
            << "starts allowed " << starts;
    }
    failThreadStartsAfter(-1);
    failPartsAfter(1);
    EXPECT_THROW(profileAllDraws(system.data(), size, 20, 2), std::bad_alloc);
}

TEST_F(WorkerThreads, TheOptimiserWithoutARelationEndsOnTimeAndOnAStopWithoutThreads) {
    const std::vector<uint64_t> wheel = fullWheel(20);
    CoverRequest request;
    request.stored = wheel.data();
    request.storedCount = static_cast<int64_t>(wheel.size());
    request.hits = 4;
    request.pool = numbersUpTo(20);
    request.threads = 2;
    for (const int64_t starts : {0, 1}) {
        failThreadStartsAfter(starts);
        request.timeLimitSeconds = 1.0;
        request.stopRequested = nullptr;
        const large::Result timed = large::optimiseLargeStore(request);
        EXPECT_TRUE(timed.timeLimitReached) << "starts allowed " << starts;
        EXPECT_LT(timed.seconds, 1.0 + 0.5);
        ASSERT_FALSE(timed.system.empty());
        EXPECT_TRUE(systemCoversAll(wheel.data(), static_cast<int32_t>(wheel.size()), timed.system, 4, 1));

        request.timeLimitSeconds = 60;
        const auto begin = Clock::now();
        request.stopRequested = [&] { return Clock::now() - begin > std::chrono::milliseconds(500); };
        const large::Result stopped = large::optimiseLargeStore(request);
        EXPECT_TRUE(stopped.stopped) << "starts allowed " << starts;
        EXPECT_LT(stopped.seconds, 0.5 + 0.5);
    }
    failThreadStartsAfter(-1);
    failPartsAfter(1);
    request.timeLimitSeconds = 5;
    request.stopRequested = nullptr;
    const auto begin = Clock::now();
    EXPECT_THROW(large::optimiseLargeStore(request), std::bad_alloc);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - begin).count(), 5.0) << "the other search ended at once";
}

}  // namespace
}  // namespace quillstep
