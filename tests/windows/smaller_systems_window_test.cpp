// CTest label: threads
// The "Smaller systems" window on the headless platform: its template, the main window's button
// that opens it, and its handler running the optimiser on real stored combinations.

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "engine/run.h"
#include "platform/headless/headless_platform.h"
#include "texts/smaller_systems_texts.h"
#include "windows/smaller_systems_window.h"
#include "support/test_support.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

TEST(SmallerSystemsWindowTemplate, ControlsOfItsOwnAboveTheMainWindowsIds) {
    SmallerSystemsChoice choice;
    choice.guaranteedHits = 5;
    choice.timeLimitSeconds = 120;
    const WindowTemplate w = smallerSystemsWindowTemplate(choice);
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    EXPECT_FALSE(w.isMainWindow);

    std::set<int> mainIds;
    for (const auto& c : mainWindowTemplate().controls) mainIds.insert(c.id);
    std::set<int> ids;
    for (const auto& c : w.controls) {
        EXPECT_GT(c.id, 1153) << c.id;
        EXPECT_FALSE(mainIds.count(c.id)) << c.id << " is a main-window id";
        EXPECT_TRUE(ids.insert(c.id).second) << c.id << " twice";
        EXPECT_LE(c.x + c.width, w.width) << c.id;
        EXPECT_LE(c.y + c.height, w.height) << c.id;
    }
    EXPECT_EQ(w.find(GUARANTEE_LABEL)->text, "5");
    EXPECT_EQ(w.find(TIME_LIMIT_LABEL)->text, "120");
    EXPECT_EQ(w.find(ANY_COMBINATION_BOX)->kind, ControlKind::CheckBox);
    for (int id : {GUARANTEE_UP, TIME_LIMIT_UP}) EXPECT_EQ(w.find(id)->text, "up");
    for (int id : {GUARANTEE_DOWN, TIME_LIMIT_DOWN}) EXPECT_EQ(w.find(id)->text, "down");
    EXPECT_EQ(w.find(SMALLER_SYSTEMS_START)->text, "Start");
    EXPECT_EQ(w.find(SMALLER_SYSTEMS_CLOSE)->text, "Close");
}

// Control state of the window, as the handler leaves it after each click.
class SmallerSystemsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        state = createSharedState();
        ASSERT_NE(state, nullptr);
        folder = freshTestFolder("quillstep-smaller-");
        state->outputFolder = folder;
    }
    void TearDown() override { fs::remove_all(folder); }

    void open(std::vector<int> clicks) {
        platform.clicksForNextWindow = std::move(clicks);
        runSmallerSystemsWindow(*state, platform, choice);
    }

    std::unique_ptr<SharedState> state;
    HeadlessPlatform platform;
    SmallerSystemsChoice choice;
    fs::path folder;
};

TEST_F(SmallerSystemsWindow, StepsShowTheirValuesRefusedStepsWriteNothingCloseEndsTheWindow) {
    open({GUARANTEE_DOWN, GUARANTEE_UP, GUARANTEE_UP, TIME_LIMIT_DOWN, TIME_LIMIT_DOWN, TIME_LIMIT_DOWN,
          TIME_LIMIT_DOWN, TIME_LIMIT_DOWN, TIME_LIMIT_UP, SMALLER_SYSTEMS_CLOSE, GUARANTEE_DOWN});
    EXPECT_EQ(platform.windowText(GUARANTEE_LABEL), "5");
    EXPECT_EQ(platform.windowText(TIME_LIMIT_LABEL), "10");
    EXPECT_EQ(choice.guaranteedHits, 5) << "a click after Close reached the window";
    EXPECT_EQ(choice.timeLimitSeconds, 10);
    // One text per accepted step: guarantee once, time limit 30 -> 20 -> 15 -> 10 -> 5 -> 10.
    EXPECT_EQ(platform.windowTextHistory.size(), 6u);
    EXPECT_EQ(platform.mainWindowEnableHistory, (std::vector<bool>{false, true}));
}

TEST_F(SmallerSystemsWindow, CheckBoxShowsTheChoiceFromTheStartAndEachClickTurnsIt) {
    choice.anyCombination = true;
    open({});
    EXPECT_TRUE(platform.isWindowControlChecked(ANY_COMBINATION_BOX));
    open({ANY_COMBINATION_BOX});
    EXPECT_FALSE(platform.isWindowControlChecked(ANY_COMBINATION_BOX));
    EXPECT_FALSE(choice.anyCombination);
    open({ANY_COMBINATION_BOX, ANY_COMBINATION_BOX, ANY_COMBINATION_BOX});
    EXPECT_TRUE(platform.isWindowControlChecked(ANY_COMBINATION_BOX));
    EXPECT_TRUE(choice.anyCombination);
}

TEST_F(SmallerSystemsWindow, NothingStoredSaysSoAndWritesNothing) {
    open({SMALLER_SYSTEMS_START});
    EXPECT_FALSE(platform.windowText(SMALLER_SYSTEMS_RESULT).empty());
    EXPECT_FALSE(fs::exists(folder / G4_SYSTEM_FILE_NAME));
    EXPECT_TRUE(platform.isWindowControlEnabled(SMALLER_SYSTEMS_START));
}

// Notes, for every progress text, whether "Start" was greyed out when it was shown, and asks the
// search to stop once it has reported a system (as Escape would), which keeps the tests short.
class WatchingPlatform : public HeadlessPlatform {
public:
    struct ProgressText {
        std::string text;
        bool startEnabled;
    };
    std::vector<ProgressText> progress;
    bool mainWindowEnabledMeanwhile = true;

    WatchingPlatform() {
        stopRequest = [this] { return reportedSystems > 0; };
    }
    void setWindowControlText(int controlId, const std::string& text) override {
        HeadlessPlatform::setWindowControlText(controlId, text);
        if (controlId != SMALLER_SYSTEMS_PROGRESS) return;
        progress.push_back({text, isWindowControlEnabled(SMALLER_SYSTEMS_START)});
        if (text.find("so far") != std::string::npos) ++reportedSystems;
        mainWindowEnabledMeanwhile = mainWindowEnabledMeanwhile && mainWindowEnabled;
    }

private:
    int reportedSystems = 0;
};

uint64_t maskOf(const int32_t* numbers) {
    uint64_t mask = 0;
    for (int k = 0; k < 7; ++k) mask |= uint64_t{1} << numbers[k];
    return mask;
}

// The rows of a system file, as masks, read after its header.
std::vector<uint64_t> systemRows(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint64_t> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');  // the row number
        std::vector<int32_t> numbers;
        while (std::getline(fields, field, ',')) numbers.push_back(std::stoi(field));
        EXPECT_EQ(numbers.size(), 7u) << line;
        if (numbers.size() == 7) rows.push_back(maskOf(numbers.data()));
    }
    return rows;
}

int sizeInResult(const std::string& result) {
    std::smatch match;
    if (!std::regex_search(result, match, std::regex(R"(System of (\d+) combinations?)"))) return -1;
    return std::stoi(match[1]);
}

class SmallerSystemsSearch : public SmallerSystemsWindow {
protected:
    void store(int totalNumbers, int mode) {
        state->parameters.totalNumbers = totalNumbers;
        runGeneration(*state, watching, mode);
        ASSERT_GT(state->generatedCount, 0);
        watching.mainWindowEnableHistory.clear();  // the run's own
    }
    void search(std::vector<int> clicks) {
        watching.clicksForNextWindow = std::move(clicks);
        runSmallerSystemsWindow(*state, watching, choice);
    }
    // Every stored combination shares at least `hits` numbers with a row.
    void expectCoversTheStore(const std::vector<uint64_t>& rows, int hits) const {
        ASSERT_FALSE(rows.empty());
        for (int32_t j = 0; j < state->generatedCount; ++j) {
            const uint64_t stored = maskOf(state->storedCombination(j));
            const bool covered = std::any_of(rows.begin(), rows.end(), [&](uint64_t row) {
                return std::bitset<64>(row & stored).count() >= static_cast<size_t>(hits);
            });
            ASSERT_TRUE(covered) << "stored combination " << j + 1;
        }
    }

    WatchingPlatform watching;
};

TEST_F(SmallerSystemsSearch, StartShowsProgressWithInputGreyedThenTheSystemAndItsFile) {
    store(12, 2);  // the full wheel of 12: 792 combinations
    choice.timeLimitSeconds = 5;
    search({SMALLER_SYSTEMS_START});

    ASSERT_GE(watching.progress.size(), 2u);
    for (size_t k = 0; k + 1 < watching.progress.size(); ++k) {
        EXPECT_NE(watching.progress[k].text.find(" s left."), std::string::npos) << watching.progress[k].text;
        EXPECT_FALSE(watching.progress[k].startEnabled) << "Start enabled while the search runs";
    }
    EXPECT_EQ(watching.progress.back().text, SMALLER_SYSTEMS_READY_TEXT);
    EXPECT_TRUE(watching.isWindowControlEnabled(SMALLER_SYSTEMS_START));
    EXPECT_TRUE(watching.isWindowControlEnabled(SMALLER_SYSTEMS_CLOSE));
    EXPECT_FALSE(watching.mainWindowEnabledMeanwhile);
    EXPECT_EQ(watching.mainWindowEnableHistory, (std::vector<bool>{false, true}));

    const std::string result = watching.windowText(SMALLER_SYSTEMS_RESULT);
    EXPECT_NE(result.find("4 hits guaranteed, written to mb_comb_file_ab.txt."), std::string::npos) << result;
    EXPECT_NE(result.find("Stopped by Escape"), std::string::npos) << result;
    const std::vector<uint64_t> rows = systemRows(folder / G4_SYSTEM_FILE_NAME);
    EXPECT_EQ(static_cast<int>(rows.size()), sizeInResult(result)) << result;
    expectCoversTheStore(rows, 4);
}

TEST_F(SmallerSystemsSearch, AnyCombinationCountsTheMembersOutsideTheFilters) {
    state->parameters.minSum = 40;  // sums of seven of 1..12 run from 28 to 63
    state->parameters.maxSum = 50;
    store(12, 4);
    choice.anyCombination = true;
    choice.guaranteedHits = 5;
    search({SMALLER_SYSTEMS_START});

    const std::string result = watching.windowText(SMALLER_SYSTEMS_RESULT);
    ASSERT_NE(result.find("written to mb_comb_file_ab5.txt"), std::string::npos) << result;
    const std::vector<uint64_t> rows = systemRows(folder / G5_SYSTEM_FILE_NAME);
    expectCoversTheStore(rows, 5);
    std::set<uint64_t> stored;
    for (int32_t j = 0; j < state->generatedCount; ++j) stored.insert(maskOf(state->storedCombination(j)));
    const auto outside = std::count_if(rows.begin(), rows.end(), [&](uint64_t row) { return !stored.count(row); });
    if (outside == 0)
        EXPECT_NE(result.find("Every one of them is a stored combination."), std::string::npos) << result;
    else
        EXPECT_NE(result.find(" " + std::to_string(outside) + " of them lie outside the filters"), std::string::npos)
            << result;
}

TEST_F(SmallerSystemsSearch, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    store(10, 2);
    state->outputFolder = folder / "missing";
    search({SMALLER_SYSTEMS_START});
    const std::string result = watching.windowText(SMALLER_SYSTEMS_RESULT);
    EXPECT_EQ(result.rfind("No file written: ", 0), 0u) << result;
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_TRUE(watching.isWindowControlEnabled(SMALLER_SYSTEMS_START));
}

// The main window's button opens the window once a storing run has enabled it.
TEST_F(SmallerSystemsWindow, MainWindowButtonFollowsTheStoreButtonsAndOpensTheWindow) {
    runMainWindow(*state, platform);
    auto click = [&](int id) { handleMainWindowCommand(*state, platform, id); };
    EXPECT_FALSE(platform.isEnabled(SMALLER_SYSTEMS_BUTTON));
    for (int k = 0; k < 31; ++k) click(TOTAL_NUMBERS_DOWN);  // 8 numbers
    click(FULL_WHEEL_STORING_BUTTON);                         // full wheel with storing
    EXPECT_TRUE(platform.isEnabled(SMALLER_SYSTEMS_BUTTON));
    click(excludedUp(7));  // an excluded number leaves the store buttons as they are
    EXPECT_TRUE(platform.isEnabled(SMALLER_SYSTEMS_BUTTON));
    click(MIN_SUM_UP);  // a parameter step greys them
    EXPECT_FALSE(platform.isEnabled(SMALLER_SYSTEMS_BUTTON));
    click(FULL_WHEEL_STORING_BUTTON);
    click(FULL_WHEEL_BUTTON);  // and so does a counting run
    EXPECT_FALSE(platform.isEnabled(SMALLER_SYSTEMS_BUTTON));

    click(FULL_WHEEL_STORING_BUTTON);
    const size_t shown = platform.shownWindows.size();
    platform.clicksForNextWindow = {SMALLER_SYSTEMS_CLOSE};
    click(SMALLER_SYSTEMS_BUTTON);
    ASSERT_EQ(platform.shownWindows.size(), shown + 1);
    EXPECT_NE(platform.shownWindows.back().find(SMALLER_SYSTEMS_START), nullptr);
    EXPECT_TRUE(platform.mainWindowEnabled);
}

}  // namespace
}  // namespace quillstep
