// CTest label: threads
// The G4/G5 buttons: the greedy search run from the main window, with the count label, the
// messages, the checked and read-back file, and a stop request.

#include "app/abbreviated_system_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "usecases/optimise_command.h"
#include "usecases/store_masks.h"
#include "files/system_file_reader.h"
#include "files/verification_before_writing.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "support/greedy_stores.h"
#include "support/test_support.h"
#include "wheels/greedy/best_start_search.h"
#include "base/worker_threads.h"
#include "texts/fault_texts.h"
#include "windows/file_reports.h"

namespace quillstep {
namespace {

// Whether the system file `fileName` in the output folder reads back as exactly `system`: the same
// combinations in the same order, read from whatever lies under the name now.
bool fileHoldsSystem(const SharedState& state, const std::string& fileName, const std::vector<uint64_t>& system) {
    const SystemFileContents contents = readSystemFile(state.outputFolder / fileName, EmptySystemFile::Read);
    if (!contents.ok() || contents.combinations.size() != system.size()) return false;
    for (size_t s = 0; s < system.size(); ++s)
        if (combinationMask(contents.combinations[s]) != system[s]) return false;
    return true;
}

std::vector<std::string> countLabelTexts(const HeadlessPlatform& platform) {
    std::vector<std::string> texts;
    for (const auto& [id, text] : platform.textHistory)
        if (id == COUNT_LABEL) texts.push_back(text);
    return texts;
}

class AppAbbreviatedSystemButtons : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-g4g5-buttons-");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(AppAbbreviatedSystemButtons, SmallFullWheelsGiveTheKnownSystems) {
    struct Case {
        int totalNumbers, hits, bestStart;
        std::vector<SevenNumbers> rows;
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
        auto state = fullWheelState(c.totalNumbers);
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

TEST_F(AppAbbreviatedSystemButtons, TheSystemIsCheckedApartFromTheSearchAndItsFileReadBack) {
    HeadlessPlatform platform;
    auto state = fullWheelState(11);
    state->outputFolder = folder;
    ASSERT_TRUE(searchAbbreviatedSystem(*state, platform, 4).file.written);
    const std::vector<uint64_t> masks = combinationMasks(*state);
    std::vector<uint64_t> system;
    for (int32_t index : greedySystemMembers(masks, 1, 4)) system.push_back(masks[static_cast<size_t>(index)]);
    ASSERT_EQ(system.size(), 2u);

    // The check: the system holds; without a member it leaves combinations uncovered; against a
    // store without one of its members it holds a combination that is not stored.
    EXPECT_EQ(faultText(guaranteeFault(checkAgainstStore(masks, system, 4, 11), false), "the system found"), "");
    const std::vector<uint64_t> shorter(system.begin(), system.begin() + 1);
    EXPECT_EQ(faultText(guaranteeFault(checkAgainstStore(masks, shorter, 4, 11), false), "the system found"),
              "the system found leaves 35 stored combinations uncovered");
    std::vector<uint64_t> without = masks;
    without.erase(std::find(without.begin(), without.end(), system[1]));
    EXPECT_EQ(faultText(guaranteeFault(checkAgainstStore(without, system, 4, 11), false), "the system found"),
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

TEST_F(AppAbbreviatedSystemButtons, ProgressEveryFiftyStartsWithTheBlanksOfEachCommand) {
    for (int hits : {4, 5}) {
        HeadlessPlatform platform;
        auto state = fullWheelState(11);  // 330 stored
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

TEST_F(AppAbbreviatedSystemButtons, FewStoredCombinationsShowOnlyTheFinalCount) {
    // One stored combination, and 49.
    const std::vector<SevenNumbers> wheel = allCombinations(12);
    for (size_t count : {size_t{1}, size_t{49}}) {
        HeadlessPlatform platform;
        auto state = stateWithStore(std::vector<SevenNumbers>(wheel.begin(), wheel.begin() + count));
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

TEST_F(AppAbbreviatedSystemButtons, NothingStoredShowsAMessageAndWritesNothing) {
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

TEST_F(AppAbbreviatedSystemButtons, NineHundredNinetyNineAreWrittenAThousandAreNotUsefull) {
    const std::vector<SevenNumbers> strangers = g5Strangers(1001);
    for (size_t count : {size_t{999}, size_t{1000}, size_t{1001}}) {
        SCOPED_TRACE(count);
        HeadlessPlatform platform;
        auto state = stateWithStore(std::vector<SevenNumbers>(strangers.begin(), strangers.begin() + count));
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

TEST_F(AppAbbreviatedSystemButtons, AStopRequestEndsWithTheBestOfTheCheckedStarts) {
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

// The command on 1000 pairs: the texts of a search through every starting combination.
TEST(AppAbbreviatedSystemButtonsCapacity, TheButtonShowsWhatTheFullSearchShows) {
    const std::vector<uint64_t> masks = g5Pairs(1000);
    auto state = createSharedState();
    for (size_t j = 0; j < masks.size(); ++j) {
        int32_t* row = state->combinationStore.get() + 7 * j + 1;
        for (uint64_t rest = masks[j]; rest != 0; rest &= rest - 1) *row++ = std::countr_zero(rest);
    }
    state->generatedCount = static_cast<int32_t>(masks.size());
    state->outputFolder = freshTestFolder("quillstep-capacity-bound-");
    HeadlessPlatform platform;
    const SearchOutcome outcome = searchAbbreviatedSystem(*state, platform, 5);

    std::vector<std::string> labels;
    for (const auto& [id, text] : platform.textHistory)
        if (id == COUNT_LABEL) labels.push_back(text);
    std::vector<std::string> expected;
    for (int start = 50; start <= 2000; start += 50) expected.push_back(" 2000 checked systems: " + std::to_string(start));
    expected.push_back(" 2000");
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{
                                     "Best starting combination number: 1, abbreviated system: 1000",
                                     "We found for now  1000 combinations/5 of any 7 under given conditions",
                                     "Not usefull! Try something else"}));
    EXPECT_EQ(outcome.startsChecked, 2000);
    EXPECT_EQ(outcome.systemSize, 1000);
    EXPECT_TRUE(std::filesystem::is_empty(state->outputFolder));
    std::filesystem::remove_all(state->outputFolder);
}

// A worker that finds no memory (the part hook) reaches the window's handlers as their message,
// the program goes on, and the previous file stays.
TEST(AppAbbreviatedSystemButtonsMemory, AWorkerWithoutMemoryIsReportedByTheWindowAndTheProgramGoesOn) {
    const std::filesystem::path folder = freshTestFolder("quillstep-workers-");
    auto state = createSharedState();
    HeadlessPlatform platform;
    runGenerationCommand(*state, platform, 12);
    state->outputFolder = folder;
    std::ofstream(folder / G5_SYSTEM_FILE_NAME) << "previous";

    struct HookOff {
        ~HookOff() { failPartsAfter(-1); }  // also when a check above ends the case
    } hookOff;
    failPartsAfter(0);
    const SearchOutcome refused = searchAbbreviatedSystem(*state, platform, 5);
    EXPECT_FALSE(refused.searched);
    EXPECT_EQ(platform.messages.back(), SEARCH_OUT_OF_MEMORY_MESSAGE);

    OptimiseSettings settings;
    settings.guaranteedHits = 5;
    settings.timeLimitSeconds = 1;
    settings.stepBudget = 1000;
    const OptimiseOutcome outcome = optimiseStoredSystem(*state, settings, {});
    EXPECT_EQ(outcome.fault.reason, FaultReason::OptimiserOutOfMemory);
    EXPECT_EQ(readFile(folder / G5_SYSTEM_FILE_NAME), "previous");

    failPartsAfter(-1);
    const SearchOutcome searched = searchAbbreviatedSystem(*state, platform, 5);
    EXPECT_TRUE(searched.searched) << "the program goes on";
    EXPECT_NE(readFile(folder / G5_SYSTEM_FILE_NAME), "previous");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace quillstep
