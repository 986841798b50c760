// The use cases without any window or platform: a generation run and the G4/G5 search report
// through their callbacks and end with values; the search's file is what its result says, and
// the texts both faces make of the results.

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "base/local_clock.h"
#include "cli/cli_session.h"
#include "files/system_file_reader.h"
#include "texts/search_texts.h"
#include "usecases/abbreviated_search.h"
#include "usecases/generation_run.h"
#include "wheels/check/independent_system_check.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

// Every seven of 1..n as masks (bit v for number v), by a plain loop over all masks.
std::vector<uint64_t> fullWheelMasks(int n) {
    std::vector<uint64_t> masks;
    for (uint64_t m = 0; m < (uint64_t{1} << n); ++m)
        if (std::popcount(m) == 7) masks.push_back(m << 1);
    return masks;
}

// A run host that counts what the run asked of it.
class CountingHost : public RunHost {
public:
    void enableMainWindow(bool) override { ++windowChanges; }
    void setHighPriority(bool) override { ++priorityChanges; }
    double timeOfDaySeconds() override { return seconds += 0.5; }
    int windowChanges = 0, priorityChanges = 0;
    double seconds = 100.0;
};

TEST(UseCasesTest, GenerationRunReturnsItsFiguresAndDescribesTheStore) {
    auto state = createSharedState();
    state->parameters.totalNumbers = 10;
    CountingHost host;
    const GenerationResult stored = runGenerationMode(*state, host, 2);
    EXPECT_EQ(stored.mode, 2);
    EXPECT_EQ(stored.count, 120);  // C(10,7)
    EXPECT_TRUE(stored.stored);
    EXPECT_GT(stored.seconds, 0.0);  // timed on the host's clock, which moves 0.5 s a reading
    EXPECT_GT(host.windowChanges, 0);
    EXPECT_EQ(state->memoryDescription, "FULL SYSTEM 7/ 10");

    const GenerationResult counted = runGenerationMode(*state, host, 1);
    EXPECT_FALSE(counted.stored);
    EXPECT_EQ(counted.count, 120);
    EXPECT_EQ(state->memoryDescription, "");

    const GenerationResult none = runGenerationMode(*state, host, 15);
    EXPECT_EQ(none.mode, 0);
    EXPECT_EQ(none.count, 0);
}

TEST(UseCasesTest, SearchReportsBeforeWritingAndItsFileHoldsTheGuarantee) {
    const fs::path folder = freshTestFolder("quillstep-usecases-");
    auto state = createSharedState();
    state->parameters.totalNumbers = 12;
    state->outputFolder = folder;
    CliRunHost host(localTimeOfDaySeconds);
    runGenerationMode(*state, host, 2);

    std::vector<std::string> events;
    SearchObserver observer;
    observer.onProgress = [&](int32_t checked, int32_t all) {
        EXPECT_EQ(all, 792);
        EXPECT_EQ(checked % 50, 0);
        if (events.empty() || events.back() != "progress") events.push_back("progress");
    };
    observer.onSearched = [&](const SearchOutcome& found) {
        events.push_back("searched " + std::to_string(found.systemSize));
    };
    observer.write.onEnded = [&](const FileWriteResult& file) { events.push_back("written " + file.fileName); };
    const SearchOutcome outcome = searchAndWriteSystem(*state, {5, {}}, observer);

    ASSERT_TRUE(outcome.searched);
    ASSERT_TRUE(outcome.file.written) << searchFaultText(outcome);
    EXPECT_EQ(events, (std::vector<std::string>{"progress", "searched " + std::to_string(outcome.systemSize),
                                                "written mb_comb_file_ab5.txt"}));
    EXPECT_EQ(outcome.startsInAll, 792);
    EXPECT_EQ(outcome.startsChecked, 792);
    EXPECT_FALSE(outcome.stopped);

    // The file, read back on its own, covers every stored combination at five hits.
    const SystemFileContents contents = readSystemFile(folder / "mb_comb_file_ab5.txt");
    ASSERT_TRUE(contents.ok()) << contents.error;
    ASSERT_EQ(static_cast<int32_t>(contents.combinations.size()), outcome.systemSize);
    std::vector<uint64_t> system;
    for (const SystemFileCombination& c : contents.combinations) system.push_back(combinationMask(c));
    const std::vector<uint64_t> stored = fullWheelMasks(12);
    EXPECT_EQ(checkSystem(storedCoverRequest(stored, 5, 12), system).uncovered, 0);
    fs::remove_all(folder);
}

TEST(UseCasesTest, SearchWithNothingStoredIsRefusedWithoutCallingBack) {
    auto state = createSharedState();
    state->parameters.totalNumbers = 10;
    state->parameters.minSum = 140;  // mode 4 at 10 numbers stores nothing (at most 7 + ... + 10 = 49)
    CountingHost host;
    runGenerationMode(*state, host, 4);
    ASSERT_EQ(state->generatedCount, 0);
    bool called = false;
    SearchObserver observer;
    observer.onSearched = [&](const SearchOutcome&) { called = true; };
    observer.write.onEnded = [&](const FileWriteResult&) { called = true; };
    const SearchOutcome outcome = searchAndWriteSystem(*state, {4, {}}, observer);
    EXPECT_FALSE(outcome.searched);
    EXPECT_EQ(outcome.fault.reason, FaultReason::NothingToSearch);
    EXPECT_FALSE(called);
    EXPECT_EQ(std::string(searchRefusalMessage(outcome.fault)), NOTHING_TO_SEARCH_MESSAGE);
}

TEST(UseCasesTest, SearchTextsFollowTheResult) {
    SearchOutcome outcome;
    outcome.searched = true;
    outcome.bestStart = 17;
    outcome.bestSize = 23;
    outcome.systemSize = 23;
    EXPECT_EQ(searchFoundMessages(outcome, 4),
              (std::vector<std::string>{"Best starting combination number: 17, abbreviated system: 23",
                                        "We found for now  23 combinations/4 of any 7 under given conditions"}));
    outcome.stopped = true;
    outcome.startsChecked = 150;
    outcome.startsInAll = 10276;
    outcome.systemSize = ABBREVIATED_SYSTEM_CAPACITY;
    const std::vector<std::string> stopped = searchFoundMessages(outcome, 5);
    ASSERT_EQ(stopped.size(), 4u);
    EXPECT_EQ(stopped.front(),
              "Search stopped after 150 of 10276 starting combinations; the best system among them follows.");
    EXPECT_EQ(stopped[2], "We found for now  1000 combinations/5 of any 7 under given conditions");
    EXPECT_EQ(stopped.back(), NOT_USEFUL_MESSAGE);

    outcome.systemFile.file.fileName = "x.txt";
    outcome.systemFile.file.refusedBeforeReplacing = true;
    outcome.fault = outcome.systemFile.fault = writtenFileFault(outcome.systemFile.file);
    EXPECT_EQ(searchFaultText(outcome), "x.txt does not read back as the system that was written");
    EXPECT_EQ(searchFileFaultMessage(outcome), "Not written: x.txt does not read back as the system that was written.");
    outcome.systemFile.file.refusedBeforeReplacing = false;
    outcome.systemFile.file.error = "File too large";
    outcome.fault = outcome.systemFile.fault = writtenFileFault(outcome.systemFile.file);
    EXPECT_EQ(searchFaultText(outcome), "File too large");
    EXPECT_EQ(searchFileFaultMessage(outcome), "") << "the writer's own message tells a failed write";
}

}  // namespace
}  // namespace quillstep
