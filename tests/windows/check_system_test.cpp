// CTest label: threads
// The "Check a system" window on the headless platform: its template, the main window's button
// that opens it, and its handler on real stored combinations and real files.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "usecases/system_examination.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "texts/check_system_texts.h"
#include "windows/check_system_window.h"
#include "windows/smaller_systems_window.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

TEST(CheckSystemWindowTemplate, ControlsOfItsOwnInsideTheWindow) {
    CheckSystemSession session;
    session.guaranteedHits = 5;
    const WindowTemplate w = checkSystemWindowTemplate(session);
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    EXPECT_FALSE(w.isMainWindow);
    std::set<int> mainIds;
    for (const auto& c : mainWindowTemplate().controls) mainIds.insert(c.id);
    std::set<int> ids;
    for (const auto& c : w.controls) {
        EXPECT_GT(c.id, 1155) << c.id;
        EXPECT_FALSE(mainIds.count(c.id)) << c.id;
        EXPECT_TRUE(ids.insert(c.id).second) << c.id << " twice";
        EXPECT_LE(c.x + c.width, w.width) << c.id;
        EXPECT_LE(c.y + c.height, w.height) << c.id;
    }
    EXPECT_EQ(w.find(CHECK_GUARANTEE_LABEL)->text, "5");
    EXPECT_EQ(w.find(CHECK_OPEN_FILE)->text, "Open file...");
    EXPECT_EQ(w.find(CHECK_COMPLETE)->text, "Complete");
    EXPECT_EQ(w.find(CHECK_FILE_LABEL)->text, NO_SYSTEM_FILE_TEXT);
}

class CheckSystemWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = freshTestFolder("quillstep-check-window-");
        state_ = createSharedState();
        ASSERT_TRUE(state_);
        state_->outputFolder = folder_;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path writeFile(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return folder_ / name;
    }

    void storeFullWheel(int totalNumbers) {
        state_->parameters.totalNumbers = totalNumbers;
        runGenerationCommand(*state_, platform_, 2);
    }

    // Opens the window through the main window's button, gives it the clicks and lets it close.
    // The window starts from the guarantee of its last use: "down" first makes it 4.
    void run(std::vector<int> clicks) {
        clicks.insert(clicks.begin(), CHECK_GUARANTEE_DOWN);
        clicks.push_back(CHECK_CLOSE);
        platform_.mainWindowEnableHistory.clear();
        platform_.clicksForNextWindow = clicks;
        handleMainWindowCommand(*state_, platform_, CHECK_SYSTEM_BUTTON);
    }

    std::string text(int id) const { return platform_.windowText(id); }

    fs::path folder_;
    std::unique_ptr<SharedState> state_;
    HeadlessPlatform platform_;
};

// The system 1..7 and 1,2,3,8,9,10,11 on the full wheel of 11, with its best matches worked out
// by hand: it covers every one of the 330 stored combinations with four hits.
TEST_F(CheckSystemWindow, OpensAFileAndShowsWhatItWins) {
    storeFullWheel(11);
    EXPECT_TRUE(platform_.isEnabled(CHECK_SYSTEM_BUTTON));
    platform_.filesToOpen = {writeFile("other.csv", "N1;N2;N3;N4;N5;N6;N7\r\n1;2;3;4;5;6;7\r\n11;10;9;8;3;2;1\r\n")};
    run({CHECK_OPEN_FILE});
    EXPECT_EQ(platform_.fileDialogTitles, std::vector<std::string>{OPEN_SYSTEM_FILE_TITLE});
    EXPECT_EQ(platform_.mainWindowEnableHistory, (std::vector<bool>{false, true})) << "disabled while it is open";
    EXPECT_EQ(text(CHECK_FILE_LABEL), "File: other.csv");
    EXPECT_EQ(text(CHECK_SIZE_LABEL), "System size: 2 combinations");
    EXPECT_EQ(text(CHECK_UNCOVERED_LABEL), "Every one of the 330 stored combinations gets at least 4 hits.");
    EXPECT_EQ(text(CHECK_STORE_PROFILE_LABEL),
              "Best match over the stored combinations: 7=2 6=56 5=216 4=56 3=0 2=0 1=0 0=0");
    EXPECT_EQ(text(CHECK_DRAW_PROFILE_LABEL), "Best match over all 330 draws of 1 to 11: 7=2 6=56 5=216 4=56 3=0 2=0 1=0 0=0");
    EXPECT_EQ(text(CHECK_SHARES_LABEL),
              "Share of all draws with at least 3 hits: 100.00%, 4 hits: 100.00% and 5 hits: 83.03%.");
    EXPECT_EQ(text(CHECK_STORED_SHARE_LABEL),
              "The guarantee holds for the stored combinations only: 330 of 330 draws (100.00%).");
    EXPECT_EQ(text(CHECK_HOLES_LABEL), "No holes.");
    EXPECT_TRUE(platform_.isWindowControlEnabled(CHECK_COMPLETE));
}

TEST_F(CheckSystemWindow, FiveHitsShowTheHolesAndAMalformedFileChangesNothing) {
    storeFullWheel(11);
    platform_.filesToOpen = {writeFile("good.txt", "1 2 3 4 5 6 7\n1 2 3 8 9 10 11\n"),
                             writeFile("bad.txt", "1 2 3 4 5 6 7\n1 2 3 4 5 6 40\n"), fs::path()};
    run({CHECK_OPEN_FILE, CHECK_GUARANTEE_UP, CHECK_GUARANTEE_UP, CHECK_OPEN_FILE, CHECK_OPEN_FILE});
    EXPECT_EQ(text(CHECK_GUARANTEE_LABEL), "5");
    // 330 - 2 - 56 - 216 = 56 stored combinations share only four numbers with a line.
    EXPECT_EQ(text(CHECK_UNCOVERED_LABEL), "Uncovered: 56 of the 330 stored combinations get fewer than 5 hits.");
    EXPECT_EQ(text(CHECK_HOLES_LABEL), "First holes: 1,4,5,6,8,9,10; 1,4,5,6,8,9,11; 1,4,5,6,8,10,11 and more.");
    EXPECT_EQ(text(CHECK_FILE_LABEL), "File: good.txt");
    EXPECT_EQ(text(CHECK_RESULT_LABEL), "bad.txt was not opened: line 2: number 40 is outside 1 to 39. Nothing else has changed.");
    EXPECT_EQ(platform_.fileDialogTitles.size(), 3u);  // the third was cancelled and changed nothing
}

// A file without combination, or of numbers other programs separate otherwise, is never a system of
// size 0: the first is refused with a message and nothing run, the others are read.
TEST_F(CheckSystemWindow, AFileWithoutCombinationIsRefusedAndOtherSeparatorsAreRead) {
    storeFullWheel(11);
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("1 2 3 4 5 6 7\r\n1 2 3 8 9 10 11\r\n")) utf16 += std::string{c, '\0'};
    platform_.filesToOpen = {writeFile("dashes.txt", "1-2-3-4-5-6-7\n11-10-9-8-3-2-1\n"),
                             writeFile("empty.txt", ""), writeFile("words.txt", "N1;N2;N3\n\n# nothing yet\n"),
                             writeFile("unicode.txt", utf16)};
    run({CHECK_OPEN_FILE, CHECK_OPEN_FILE});
    EXPECT_EQ(text(CHECK_FILE_LABEL), "File: dashes.txt");
    EXPECT_EQ(text(CHECK_SIZE_LABEL), "System size: 2 combinations");
    EXPECT_EQ(text(CHECK_UNCOVERED_LABEL), "Every one of the 330 stored combinations gets at least 4 hits.");
    EXPECT_EQ(text(CHECK_RESULT_LABEL), "empty.txt was not opened: it holds no combination (the file is empty or holds "
                                        "only blank or header lines). Nothing else has changed.");
    run({CHECK_OPEN_FILE, CHECK_COMPLETE});
    EXPECT_EQ(text(CHECK_RESULT_LABEL), "words.txt was not opened: it holds no combination (the file is empty or holds "
                                        "only blank or header lines). Nothing else has changed.");
    EXPECT_EQ(text(CHECK_FILE_LABEL), NO_SYSTEM_FILE_TEXT);
    EXPECT_FALSE(platform_.isWindowControlEnabled(CHECK_COMPLETE));
    EXPECT_FALSE(fs::exists(folder_ / G4_SYSTEM_FILE_NAME)) << "nothing completed from an empty system";
    run({CHECK_OPEN_FILE});
    EXPECT_EQ(text(CHECK_FILE_LABEL), "File: unicode.txt");
    EXPECT_EQ(text(CHECK_SIZE_LABEL), "System size: 2 combinations");
}

TEST_F(CheckSystemWindow, CompletesAHoledSystemAndShowsTheSystemWritten) {
    storeFullWheel(11);
    platform_.filesToOpen = {writeFile("holed.txt", "1,2,3,4,5,6,7\n")};
    run({CHECK_OPEN_FILE, CHECK_COMPLETE});
    EXPECT_EQ(text(CHECK_RESULT_LABEL),
              "Completed: 1 combination added to the 1 line of the file, a system of 2 combinations with 4 hits "
              "guaranteed, written to mb_comb_file_ab.txt.");
    EXPECT_EQ(text(CHECK_FILE_LABEL), "File: mb_comb_file_ab.txt");
    EXPECT_EQ(text(CHECK_UNCOVERED_LABEL), "Every one of the 330 stored combinations gets at least 4 hits.");
    const SystemFileContents written = readSystemFile(folder_ / G4_SYSTEM_FILE_NAME);
    ASSERT_EQ(written.combinations.size(), 2u);
    EXPECT_EQ(written.combinations[0], (SystemFileCombination{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(platform_.isWindowControlEnabled(CHECK_CLOSE));
}

TEST_F(CheckSystemWindow, CompleteWaitsForAFileAndAStore) {
    run({CHECK_COMPLETE});
    EXPECT_FALSE(platform_.isWindowControlEnabled(CHECK_COMPLETE));
    EXPECT_EQ(text(CHECK_FILE_LABEL), NO_SYSTEM_FILE_TEXT);
    // Without a store the file is still profiled over every draw.
    platform_.filesToOpen = {writeFile("one.txt", "1,2,3,4,5,6,7\n")};
    platform_.clicksForNextWindow = {CHECK_OPEN_FILE, CHECK_COMPLETE, CHECK_CLOSE};
    CheckSystemSession session;
    runCheckSystemWindow(*state_, platform_, session);
    EXPECT_FALSE(platform_.isWindowControlEnabled(CHECK_COMPLETE));
    EXPECT_EQ(text(CHECK_UNCOVERED_LABEL), "Nothing is stored: run a generation with storing to check the system.");
    EXPECT_EQ(text(CHECK_DRAW_PROFILE_LABEL).rfind("Best match over all 15380937 draws of 1 to 39: 7=1 6=224 ", 0), 0u);
    EXPECT_FALSE(fs::exists(folder_ / G4_SYSTEM_FILE_NAME));
}

// Any two combinations of 8 numbers share six: one member is the whole system, at either guarantee,
// and it gets six or seven hits on every one of the 8 draws.
TEST_F(CheckSystemWindow, TheSmallerSystemsResultTellsTheShareOfAllDraws) {
    storeFullWheel(8);
    platform_.clicksForNextWindow = {SMALLER_SYSTEMS_START, SMALLER_SYSTEMS_CLOSE};
    showSmallerSystemsWindow(*state_, platform_);
    const std::string result = platform_.windowText(SMALLER_SYSTEMS_RESULT);
    const std::string hits = std::to_string(lastSmallerSystemsChoice().guaranteedHits);
    EXPECT_NE(result.find("System of 1 combination,"), std::string::npos) << result;
    EXPECT_NE(result.find(" It gets at least " + hits + " hits on 100.00% of all 8 possible draws."), std::string::npos)
        << result;
}

// 1000 lines drawn at random leave a few of the 15380937 draws with only three hits: the window
// must not show their share of "at least 4" as 100.00%, nor any share above none as 0.00%.
TEST_F(CheckSystemWindow, AShareOfAlmostAllDrawsIsNotShownAsAll) {
    std::mt19937 random(1);
    std::string lines;
    for (int line = 0; line < 1000; ++line) {
        uint64_t used = 0;
        for (int k = 0; k < 7;) {
            const int v = std::uniform_int_distribution<int>(1, 39)(random);
            if (used & (uint64_t{1} << v)) continue;
            used |= uint64_t{1} << v;
            lines += (k++ > 0 ? " " : "") + std::to_string(v);
        }
        lines += "\n";
    }
    platform_.filesToOpen = {writeFile("random.txt", lines)};
    platform_.clicksForNextWindow = {CHECK_OPEN_FILE, CHECK_CLOSE};
    CheckSystemSession session;
    runCheckSystemWindow(*state_, platform_, session);
    const DrawProfile& profile = session.examination.profile;
    ASSERT_EQ(profile.draws, 15380937);
    const int64_t belowFour = profile.draws - profile.drawsWithAtLeast(4);
    ASSERT_GT(belowFour, 0);
    ASSERT_LT(belowFour, profile.draws / 20000) << "the case this test is about: a share that rounds to 100.00";
    const std::string shares = text(CHECK_SHARES_LABEL);
    EXPECT_NE(shares.find("4 hits: 99.99%"), std::string::npos) << shares;
    for (const int hits : {3, 5})
        EXPECT_EQ(shares.find(std::to_string(hits) + " hits: 100.00%") != std::string::npos,
                  profile.drawsWithAtLeast(hits) == profile.draws)
            << shares;
}

TEST(CheckSystemTexts, SharesAndCounts) {
    EXPECT_EQ(percentText(10276, 15380937), "0.07");
    EXPECT_EQ(percentText(1, 8), "12.50");
    EXPECT_EQ(percentText(1, 3), "33.33");
    EXPECT_EQ(percentText(2, 3), "66.67");
    EXPECT_EQ(percentText(5, 5), "100.00");
    EXPECT_EQ(percentText(0, 0), "0.00");
    // Only none is 0.00% and only all is 100.00%: 77 of the 15380937 draws missing is not all.
    EXPECT_EQ(percentText(15380937 - 77, 15380937), "99.99");
    EXPECT_EQ(percentText(15380937 - 1, 15380937), "99.99");
    EXPECT_EQ(percentText(1, 15380937), "0.01");
    EXPECT_EQ(percentText(0, 15380937), "0.00");
    EXPECT_EQ(percentText(15380937, 15380937), "100.00");
    EXPECT_EQ(percentText(99989, 100000), "99.99");
    // Against a plain computation: the nearest hundredth (half up), moved into 0.01..99.99 when
    // the share is neither none nor all.
    for (int64_t whole = 1; whole <= 300; ++whole)
        for (int64_t part = 0; part <= whole; ++part) {
            const double exact = 100.0 * static_cast<double>(part) / static_cast<double>(whole);
            const std::string text = percentText(part, whole);
            EXPECT_EQ(text == "0.00", part == 0) << part << "/" << whole;
            EXPECT_EQ(text == "100.00", part == whole) << part << "/" << whole;
            EXPECT_LE(std::abs(std::stod(text) - exact), 0.005 + 1e-9) << part << "/" << whole << " " << text;
        }
    for (const int64_t whole : {int64_t{20000}, int64_t{31824}, int64_t{15380937}})
        for (const int64_t part : {int64_t{1}, int64_t{2}, whole / 20000, whole - whole / 20000, whole - 2, whole - 1}) {
            const std::string text = percentText(part, whole);
            EXPECT_TRUE(text != "0.00" && text != "100.00") << part << "/" << whole << " " << text;
        }
    EXPECT_EQ(combinationCountText(1), "1 combination");
    DrawProfile profile;
    profile.draws = 330;
    profile.bestMatchCounts = {0, 0, 0, 0, 56, 216, 56, 2};
    EXPECT_EQ(allDrawsShareText(profile, 5), " It gets at least 5 hits on 83.03% of all 330 possible draws.");
}

TEST(CheckSystemTexts, WhyACompletionWroteNoFile) {
    CompletionOutcome outcome;
    outcome.kept = 2;
    outcome.fault = {FaultReason::NumberAboveTotal, 2, 11};
    EXPECT_EQ(completionFaultText(outcome), "combination 2 of the system holds a number above 11, the total "
                                                "numbers in system");
    EXPECT_EQ(completionOutcomeText(outcome, 4), "Not completed: combination 2 of the system holds a number "
                                                     "above 11, the total numbers in system.");
    outcome.kept = 999;
    outcome.added = 3;
    outcome.fault = {FaultReason::CompletionTooLargeForFile, outcome.systemSize()};
    EXPECT_EQ(completionFaultText(outcome), "a system of 1002 combinations is not written: files hold at most 999");
    outcome.systemFile.file.fileName = G4_SYSTEM_FILE_NAME;
    outcome.systemFile.file.refusedBeforeReplacing = true;
    outcome.fault = writtenFileFault(outcome.systemFile.file);
    EXPECT_EQ(completionFaultText(outcome),
              std::string(G4_SYSTEM_FILE_NAME) + " does not read back as the system that was written");
    outcome.fault = {};
    EXPECT_EQ(completionFaultText(outcome), "");
    EXPECT_EQ(completionOutcomeText(outcome, 4).rfind("Completed: 3 combinations added to the 999 lines", 0), 0u);
}

}  // namespace
}  // namespace quillstep
