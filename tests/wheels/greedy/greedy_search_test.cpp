// CTest label: threads
// The greedy search on bit masks: the plain pass it must agree with, its instruction-set kernels,
// the cut of a pass that can no longer win, and the best start over threads.

#include "wheels/greedy/best_start_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/greedy_stores.h"
#include "wheels/greedy/greedy_pass.h"
#include "wheels/greedy/plain_greedy.h"

namespace quillstep {
namespace {

// The search as the plain loop does it, over starting numbers 1 to lastStart.
BestStart plainBestStart(SharedState& state, int hits, int32_t lastStart) {
    BestStart best;
    for (int32_t start = 1; start <= lastStart; ++start) {
        const int32_t size = buildGreedySystemPlainly(state, start, hits);
        if (size < best.bestSize) best.bestStart = start, best.bestSize = size;
    }
    best.startsChecked = lastStart;
    return best;
}

TEST(WheelsCommonNumbers, CountsTheIntersectionAndCoversFromExactlyTheGuaranteedHits) {
    const SevenNumbers a{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(countCommonNumbers(a.data(), a.data()), 7);
    const SevenNumbers fourShared{4, 5, 6, 7, 20, 21, 22};
    const SevenNumbers threeShared{5, 6, 7, 20, 21, 22, 23};
    EXPECT_EQ(countCommonNumbers(a.data(), fourShared.data()), 4);
    EXPECT_EQ(countCommonNumbers(fourShared.data(), a.data()), 4);
    EXPECT_EQ(countCommonNumbers(a.data(), threeShared.data()), 3);

    auto state = stateWithStore({a, fourShared, threeShared});
    std::copy(a.begin(), a.end(), state->abbreviatedSystemStore.get() + 1);
    EXPECT_TRUE(isCovered(*state, 2, 1, 4));   // exactly four shared
    EXPECT_FALSE(isCovered(*state, 3, 1, 4));  // one fewer
    EXPECT_FALSE(isCovered(*state, 2, 1, 5));
    EXPECT_FALSE(isCovered(*state, 2, 0, 0));  // an empty system covers nothing
}

TEST(WheelsFastPass, ElevenNumbersG5StartingCombinationsOtherThanTheLastGiveFiveOrSix) {
    auto state = fullWheelState(11);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    EXPECT_EQ(greedySystemMembers(masks, 1, 5).size(), 5u);
    EXPECT_EQ(buildGreedySystemPlainly(*state, 1, 5), 5);
    for (int32_t start = 1; start < 330; ++start) {
        const auto size = static_cast<int32_t>(greedySystemMembers(masks, start, 5).size());
        EXPECT_TRUE(size == 5 || size == 6) << "start " << start << " size " << size;
    }
}

TEST(WheelsFastPass, EveryKernelBuildsThePlainSystemFromEveryStart) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 12; ++round) {
        const int totalNumbers = 10 + round % 8;
        auto state = stateWithStore(randomStore(random, totalNumbers, 40 + random() % 160));
        const std::vector<uint64_t> masks = combinationMasks(*state);
        for (int hits : {4, 5, 6}) {
            for (int32_t start = 1; start <= state->generatedCount; ++start) {
                const int32_t plainSize = buildGreedySystemPlainly(*state, start, hits);
                const std::vector<SevenNumbers> plainRows = systemRows(*state, plainSize);
                for (PassKernel kernel : availablePassKernels()) {
                    const std::vector<int32_t> members = greedySystemMembers(masks, start, hits, kernel);
                    ASSERT_EQ(static_cast<int32_t>(members.size()), plainSize)
                        << passKernelName(kernel) << " round " << round << " G" << hits << " start " << start;
                    for (size_t s = 0; s < members.size(); ++s) {
                        SevenNumbers row{};
                        std::copy_n(state->storedCombination(members[s]), 7, row.begin());
                        ASSERT_EQ(row, plainRows[s]) << passKernelName(kernel) << " start " << start;
                    }
                }
            }
        }
    }
}

TEST(WheelsFastSearch, AgreesWithThePlainLoopOnRandomStoresAndThreadCounts) {
    std::mt19937 random(99);
    for (int round = 0; round < 10; ++round) {
        // Few numbers give many equal sizes; more numbers give varied ones.
        const int totalNumbers = round < 4 ? 11 + round : 14 + random() % 12;
        auto state = stateWithStore(randomStore(random, totalNumbers, 60 + random() % 180));
        const std::vector<uint64_t> masks = combinationMasks(*state);
        for (int hits : {4, 5}) {
            const BestStart plain = plainBestStart(*state, hits, state->generatedCount);
            for (PassKernel kernel : availablePassKernels()) {
                for (unsigned threads : {1u, 2u, 3u, 8u}) {
                    StartSearchOptions options;
                    options.kernel = kernel;
                    options.threads = threads;
                    const BestStart fast = findBestStart(masks, hits, options);
                    EXPECT_EQ(fast.bestStart, plain.bestStart) << "round " << round << " G" << hits << " "
                                                               << passKernelName(kernel) << " threads " << threads;
                    EXPECT_EQ(fast.bestSize, plain.bestSize);
                    EXPECT_EQ(fast.startsChecked, state->generatedCount);
                    EXPECT_FALSE(fast.stopped);
                }
            }
            for (unsigned threads : {1u, 3u}) {
                StartSearchOptions options;
                options.path = StartSearchPath::Lanes;
                options.threads = threads;
                const BestStart lanes = findBestStart(masks, hits, options);
                EXPECT_EQ(lanes.pathUsed, StartSearchPath::Lanes);
                EXPECT_EQ(lanes.bestStart, plain.bestStart) << "round " << round << " G" << hits << " lanes";
                EXPECT_EQ(lanes.bestSize, plain.bestSize) << "round " << round << " G" << hits << " lanes";
            }
        }
    }
}

TEST(WheelsFastSearch, APassIsCutOnlyWhenItCanNoLongerBeatTheBest) {
    std::mt19937 random(5);
    auto state = stateWithStore(randomStore(random, 14, 150));
    const std::vector<uint64_t> masks = combinationMasks(*state);
    std::vector<uint64_t> system(GREEDY_SYSTEM_ROOM);
    for (int hits : {4, 5}) {
        for (int32_t start = 1; start <= state->generatedCount; start += 7) {
            const int32_t trueSize = buildGreedySystemPlainly(*state, start, hits);
            // Best keys around the start's own: sizes one below to one above, starts before and after.
            for (int32_t bestSize = trueSize - 1; bestSize <= trueSize + 1; ++bestSize) {
                for (int32_t bestStart : {start - 1, start + 1}) {
                    if (bestSize < 1 || bestStart < 1) continue;
                    GreedyPassRequest request;
                    request.masks = masks.data();
                    request.count = state->generatedCount;
                    request.guaranteedHits = hits;
                    request.startIndex = start - 1;
                    request.stopSize = hopelessSize(start, bestStart, bestSize);
                    request.systemMasks = system.data();
                    const int32_t size = runGreedyPass(fastestPassKernel(), request);
                    const bool wins = trueSize < bestSize || (trueSize == bestSize && start < bestStart);
                    if (wins) {
                        EXPECT_EQ(size, trueSize) << "start " << start << " best " << bestStart << "/" << bestSize;
                        EXPECT_LT(size, request.stopSize);
                    } else {
                        EXPECT_EQ(size, request.stopSize) << "start " << start << " best " << bestStart << "/" << bestSize;
                    }
                }
            }
        }
    }
    EXPECT_EQ(hopelessSize(5, 1, 10000), 1000);
    EXPECT_EQ(hopelessSize(1, 7, 999), 1000);
}

TEST(WheelsFastSearch, TiesAndTheCapacityGoToTheLowestStart) {
    // Twelve numbers: 792 stored, hundreds of starting numbers share the smallest size.
    auto wheel = fullWheelState(12);
    for (int hits : {4, 5}) {
        const BestStart plain = plainBestStart(*wheel, hits, wheel->generatedCount);
        StartSearchOptions options;
        options.threads = 2;
        const BestStart fast = findBestStart(combinationMasks(*wheel), hits, options);
        EXPECT_EQ(fast.bestStart, plain.bestStart) << "G" << hits;
        EXPECT_EQ(fast.bestSize, plain.bestSize) << "G" << hits;
    }
    // Every pass reaches the capacity: starting number 1 is reported, whichever thread ends first.
    const std::vector<uint64_t> strangers = combinationMasks(*stateWithStore(g5Strangers(1200)));
    for (unsigned threads : {1u, 2u, 4u}) {
        StartSearchOptions options;
        options.threads = threads;
        const BestStart fast = findBestStart(strangers, 5, options);
        EXPECT_EQ(fast.bestStart, 1);
        EXPECT_EQ(fast.bestSize, 1000);
    }
}

}  // namespace
}  // namespace quillstep
