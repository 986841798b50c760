#include "app/abbreviated_system_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "windows/control_ids.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "usecases/store_masks.h"
#include "wheels/greedy/best_start_search.h"
#include "wheels/greedy/plain_greedy.h"
#include "files/verification_before_writing.h"
#include "support/test_support.h"
#include "windows/file_reports.h"

namespace quillstep {
namespace {

using Combination = std::array<int32_t, 7>;

std::unique_ptr<SharedState> stateWithStore(const std::vector<Combination>& combinations) {
    auto state = createSharedState();
    for (size_t j = 0; j < combinations.size(); ++j)
        std::copy(combinations[j].begin(), combinations[j].end(), state->combinationStore.get() + 7 * j + 1);
    state->generatedCount = static_cast<int32_t>(combinations.size());
    return state;
}

std::unique_ptr<SharedState> fullWheelState(int totalNumbers, HeadlessPlatform& platform) {
    auto state = createSharedState();
    state->parameters.totalNumbers = totalNumbers;
    runGeneration(*state, platform, 2);
    return state;
}

// Every combination of `totalNumbers` numbers, in lexicographic order.
std::vector<Combination> allCombinations(int totalNumbers) {
    std::vector<Combination> out;
    Combination c{1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        out.push_back(c);
        int i = 6;
        while (i >= 0 && c[i] == totalNumbers - 6 + i) --i;
        if (i < 0) return out;
        ++c[i];
        for (int k = i + 1; k < 7; ++k) c[k] = c[k - 1] + 1;
    }
}

std::vector<Combination> systemRows(const SharedState& state, int32_t size) {
    std::vector<Combination> rows(size);
    for (int32_t s = 0; s < size; ++s) std::copy_n(state.systemCombination(s), 7, rows[s].begin());
    return rows;
}

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

// A random store: `count` distinct combinations of 1..totalNumbers, in lexicographic order.
std::vector<Combination> randomStore(std::mt19937& random, int totalNumbers, size_t count) {
    std::vector<Combination> pool = allCombinations(totalNumbers);
    std::shuffle(pool.begin(), pool.end(), random);
    pool.resize(std::min(count, pool.size()));
    std::sort(pool.begin(), pool.end());
    return pool;
}

// Combinations of 1..39 no two of which share more than four numbers: every G5 pass adds them all.
std::vector<Combination> g5Strangers(size_t count) {
    std::mt19937 random(7);
    std::vector<Combination> chosen;
    std::vector<uint64_t> masks;
    while (chosen.size() < count) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) mask |= uint64_t{1} << (1 + random() % 39);
        if (std::any_of(masks.begin(), masks.end(), [&](uint64_t m) { return std::popcount(m & mask) > 4; })) continue;
        masks.push_back(mask);
        Combination c{};
        for (int v = 1, i = 0; v <= 39; ++v)
            if (mask >> v & 1) c[i++] = v;
        chosen.push_back(c);
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

std::vector<std::string> countLabelTexts(const HeadlessPlatform& platform) {
    std::vector<std::string> texts;
    for (const auto& [id, text] : platform.textHistory)
        if (id == COUNT_LABEL) texts.push_back(text);
    return texts;
}

class WheelsSearch : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-wheels-");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST(WheelsCommonNumbers, CountsTheIntersectionAndCoversFromExactlyTheGuaranteedHits) {
    const Combination a{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(countCommonNumbers(a.data(), a.data()), 7);
    const Combination fourShared{4, 5, 6, 7, 20, 21, 22};
    const Combination threeShared{5, 6, 7, 20, 21, 22, 23};
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

TEST_F(WheelsSearch, SmallFullWheelsGiveTheKnownSystems) {
    struct Case {
        int totalNumbers, hits, bestStart;
        std::vector<Combination> rows;
    };
    const std::vector<Case> cases{
        {8, 4, 1, {{1, 2, 3, 4, 5, 6, 7}}},
        {8, 5, 1, {{1, 2, 3, 4, 5, 6, 7}}},
        {9, 4, 1, {{1, 2, 3, 4, 5, 6, 7}}},
        {9, 5, 1, {{1, 2, 3, 4, 5, 6, 7}}},
        {10, 4, 1, {{1, 2, 3, 4, 5, 6, 7}}},
        {10, 5, 1, {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 8, 9, 10}, {1, 5, 6, 7, 8, 9, 10}}},
        {11, 4, 1, {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 8, 9, 10, 11}}},
        {11, 5, 330, {{5, 6, 7, 8, 9, 10, 11}, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 8, 9, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("N " + std::to_string(c.totalNumbers) + " G" + std::to_string(c.hits));
        HeadlessPlatform platform;
        auto state = fullWheelState(c.totalNumbers, platform);
        state->outputFolder = folder;
        const int32_t size = static_cast<int32_t>(c.rows.size());
        const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, c.hits);
        EXPECT_TRUE(outcome.searched);
        EXPECT_FALSE(outcome.stopped);
        EXPECT_EQ(outcome.startsChecked, state->generatedCount);
        EXPECT_EQ(outcome.bestStart, c.bestStart);
        EXPECT_EQ(outcome.bestSize, size);
        EXPECT_EQ(outcome.systemSize, size);
        EXPECT_EQ(systemRows(*state, size), c.rows);
        ASSERT_GE(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[0], "Best starting combination number: " + std::to_string(c.bestStart) +
                                            ", abbreviated system: " + std::to_string(size));
        EXPECT_EQ(platform.messages[1], "We found for now  " + std::to_string(size) + " combinations/" +
                                            std::to_string(c.hits) + " of any 7 under given conditions");
        EXPECT_TRUE(outcome.file.written);
        EXPECT_EQ(outcome.file.rows, size);
        const std::string content = readFile(folder / (c.hits == 4 ? "mb_comb_file_ab.txt" : "mb_comb_file_ab5.txt"));
        EXPECT_NE(content.find("\r\n1," + std::to_string(c.rows[0][0]) + ","), std::string::npos);
    }
}

TEST_F(WheelsSearch, TheSystemIsCheckedApartFromTheSearchAndItsFileReadBack) {
    HeadlessPlatform platform;
    auto state = fullWheelState(11, platform);
    state->outputFolder = folder;
    ASSERT_TRUE(searchAbbreviatedSystem(*state, platform, 4).file.written);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    std::vector<uint64_t> system;
    for (int32_t index : greedySystemMembers(masks, 1, 4)) system.push_back(masks[static_cast<size_t>(index)]);
    ASSERT_EQ(system.size(), 2u);

    // The check: the system holds; without a member it leaves combinations uncovered; against a
    // store without one of its members it holds a combination that is not stored.
    EXPECT_EQ(guaranteeFaultText(checkAgainstStore(masks, system, 4, 11), false, "the system found"), "");
    const std::vector<uint64_t> shorter(system.begin(), system.begin() + 1);
    EXPECT_EQ(guaranteeFaultText(checkAgainstStore(masks, shorter, 4, 11), false, "the system found"),
              "the system found leaves 35 stored combinations uncovered");
    std::vector<uint64_t> without = masks;
    without.erase(std::find(without.begin(), without.end(), system[1]));
    EXPECT_EQ(guaranteeFaultText(checkAgainstStore(without, system, 4, 11), false, "the system found"),
              "the system found holds 1 combinations that are not stored");

    // The read-back: the written file holds the system; a file changed afterwards does not.
    EXPECT_TRUE(fileHoldsSystem(*state, "mb_comb_file_ab.txt", system));
    EXPECT_FALSE(fileHoldsSystem(*state, "mb_comb_file_ab.txt", shorter));
    const std::string written = readFile(folder / "mb_comb_file_ab.txt");
    std::ofstream(folder / "mb_comb_file_ab.txt", std::ios::binary | std::ios::app) << "3,1,2,3,4,5,6,8\r\n";
    EXPECT_FALSE(fileHoldsSystem(*state, "mb_comb_file_ab.txt", system));
    std::ofstream(folder / "mb_comb_file_ab.txt", std::ios::binary | std::ios::trunc) << written;

    // A system that fails the check is not written. Here the total was lowered behind the store's
    // back, so that member 1,2,3,8,9,10,11 lies outside 1..9.
    state->parameters.totalNumbers = 9;
    platform.messages.clear();
    const SearchOutcome refused = searchAbbreviatedSystem(*state, platform, 4);
    EXPECT_FALSE(refused.file.written);
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[2],
              "Not written: the system found holds 1 members that are not seven numbers of 1 to the total; "
              "mb_comb_file_ab.txt keeps its previous content.");
    EXPECT_EQ(readFile(folder / "mb_comb_file_ab.txt"), written);
}

TEST_F(WheelsSearch, ElevenNumbersG5StartingCombinationsOtherThanTheLastGiveFiveOrSix) {
    HeadlessPlatform platform;
    auto state = fullWheelState(11, platform);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    EXPECT_EQ(greedySystemMembers(masks, 1, 5).size(), 5u);
    EXPECT_EQ(buildGreedySystemPlainly(*state, 1, 5), 5);
    for (int32_t start = 1; start < 330; ++start) {
        const auto size = static_cast<int32_t>(greedySystemMembers(masks, start, 5).size());
        EXPECT_TRUE(size == 5 || size == 6) << "start " << start << " size " << size;
    }
}

TEST_F(WheelsSearch, ProgressEveryFiftyStartsWithTheBlanksOfEachCommand) {
    for (int hits : {4, 5}) {
        HeadlessPlatform platform;
        auto state = fullWheelState(11, platform);  // 330 stored
        state->outputFolder = folder;
        platform.textHistory.clear();
        std::vector<std::pair<int32_t, int32_t>> reported;
        searchAbbreviatedSystem(*state, platform, hits,
                                [&](int32_t checked, int32_t all) { reported.emplace_back(checked, all); });
        std::vector<std::string> expected;
        std::vector<std::pair<int32_t, int32_t>> expectedNumbers;
        for (int start = 50; start <= 330; start += 50) {
            expected.push_back(std::string(" 330 checked systems:") + (hits == 4 ? "  " : " ") + std::to_string(start));
            expectedNumbers.emplace_back(start, 330);
        }
        expected.push_back(" 330");
        EXPECT_EQ(countLabelTexts(platform), expected) << "G" << hits;
        // The same numbers as data, as the command line reads them.
        EXPECT_EQ(reported, expectedNumbers) << "G" << hits;

        // The search alone: the numbers and the result, and not a single text.
        std::vector<std::pair<int32_t, int32_t>> alone;
        AbbreviatedSearchObserver observer;
        observer.onProgress = [&](int32_t checked, int32_t all) { alone.emplace_back(checked, all); };
        const AbbreviatedSearchResult found = findAbbreviatedSystem(*state, hits, observer);
        EXPECT_EQ(alone, expectedNumbers);
        EXPECT_TRUE(found.searched());
        EXPECT_EQ(found.startsChecked, 330);
        EXPECT_EQ(found.systemSize, static_cast<int32_t>(found.system.size()));
    }
}

TEST_F(WheelsSearch, FewStoredCombinationsShowOnlyTheFinalCount) {
    // One stored combination, and 49.
    const std::vector<Combination> wheel = allCombinations(12);
    for (size_t count : {size_t{1}, size_t{49}}) {
        HeadlessPlatform platform;
        auto state = stateWithStore(std::vector<Combination>(wheel.begin(), wheel.begin() + count));
        state->outputFolder = folder;
        const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 4);
        EXPECT_EQ(countLabelTexts(platform), std::vector<std::string>{" " + std::to_string(count)});
        if (count == 1) {
            ASSERT_EQ(platform.messages.size(), 3u);  // two of the search, one of the writer
            EXPECT_EQ(platform.messages[0], "Best starting combination number: 1, abbreviated system: 1");
            EXPECT_EQ(platform.messages[1], "We found for now  1 combinations/4 of any 7 under given conditions");
            EXPECT_EQ(outcome.file.rows, 1);
        }
    }
}

TEST_F(WheelsSearch, NothingStoredShowsAMessageAndWritesNothing) {
    HeadlessPlatform platform;
    auto state = createSharedState();
    state->outputFolder = folder;
    const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 4);
    EXPECT_FALSE(outcome.searched);
    EXPECT_FALSE(outcome.file.written);
    EXPECT_EQ(platform.messages, std::vector<std::string>{NOTHING_TO_SEARCH_MESSAGE});
    EXPECT_TRUE(platform.textHistory.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(WheelsSearch, NineHundredNinetyNineAreWrittenAThousandAreNotUsefull) {
    const std::vector<Combination> strangers = g5Strangers(1001);
    for (size_t count : {size_t{999}, size_t{1000}, size_t{1001}}) {
        SCOPED_TRACE(count);
        HeadlessPlatform platform;
        auto state = stateWithStore(std::vector<Combination>(strangers.begin(), strangers.begin() + count));
        state->outputFolder = folder;
        std::filesystem::remove(folder / "mb_comb_file_ab5.txt");
        const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 5);
        const int32_t expectedSize = std::min<int32_t>(static_cast<int32_t>(count), 1000);
        EXPECT_EQ(outcome.bestStart, 1);
        EXPECT_EQ(outcome.bestSize, expectedSize);
        EXPECT_EQ(outcome.systemSize, expectedSize);
        ASSERT_GE(platform.messages.size(), 3u);
        EXPECT_EQ(platform.messages[0],
                  "Best starting combination number: 1, abbreviated system: " + std::to_string(expectedSize));
        EXPECT_EQ(platform.messages[1], "We found for now  " + std::to_string(expectedSize) +
                                            " combinations/5 of any 7 under given conditions");
        const bool written = expectedSize < 1000;
        EXPECT_EQ(outcome.file.written, written);
        EXPECT_EQ(std::filesystem::exists(folder / "mb_comb_file_ab5.txt"), written);
        if (!written) {
            EXPECT_EQ(platform.messages[2], "Not usefull! Try something else");
        }
        EXPECT_EQ(platform.messages.size(), 3u);
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
                const std::vector<Combination> plainRows = systemRows(*state, plainSize);
                for (PassKernel kernel : availablePassKernels()) {
                    const std::vector<int32_t> members = greedySystemMembers(masks, start, hits, kernel);
                    ASSERT_EQ(static_cast<int32_t>(members.size()), plainSize)
                        << passKernelName(kernel) << " round " << round << " G" << hits << " start " << start;
                    for (size_t s = 0; s < members.size(); ++s) {
                        Combination row{};
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
    HeadlessPlatform platform;
    auto wheel = fullWheelState(12, platform);
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

TEST_F(WheelsSearch, AStopRequestEndsWithTheBestOfTheCheckedStarts) {
    HeadlessPlatform platform;
    auto state = createSharedState();
    runGeneration(*state, platform, 12);  // 10,276 stored
    ASSERT_EQ(state->generatedCount, 10276);
    state->outputFolder = folder;
    int polls = 0;
    platform.stopRequest = [&] { return ++polls >= 3; };
    platform.textHistory.clear();
    const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 5);

    ASSERT_TRUE(outcome.stopped);
    EXPECT_EQ(polls, 3);
    ASSERT_GE(outcome.startsChecked, 1);
    ASSERT_LT(outcome.startsChecked, 10276);
    // The best among starting numbers 1 to startsChecked, as one pass after another finds it.
    const std::vector<uint64_t> masks = combinationMasks(*state);
    BestStart expected;
    for (int32_t start = 1; start <= outcome.startsChecked; ++start) {
        const int32_t size = static_cast<int32_t>(greedySystemMembers(masks, start, 5).size());
        if (size < expected.bestSize) expected.bestStart = start, expected.bestSize = size;
    }
    EXPECT_EQ(outcome.bestStart, expected.bestStart);
    EXPECT_EQ(outcome.bestSize, expected.bestSize);
    EXPECT_EQ(outcome.systemSize, expected.bestSize);
    EXPECT_TRUE(outcome.file.written);

    ASSERT_GE(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0], "Search stopped after " + std::to_string(outcome.startsChecked) +
                                        " of 10276 starting combinations; the best system among them follows.");
    EXPECT_EQ(platform.messages[1], "Best starting combination number: " + std::to_string(expected.bestStart) +
                                        ", abbreviated system: " + std::to_string(expected.bestSize));
    std::vector<std::string> progress;
    for (int32_t start = 50; start <= outcome.startsChecked; start += 50)
        progress.push_back(" 10276 checked systems: " + std::to_string(start));
    progress.push_back(" 10276");
    EXPECT_EQ(countLabelTexts(platform), progress);
}

}  // namespace
}  // namespace quillstep
