// CTest label: threads
// The Past draws window and the Check a system window's past-draws part on the headless platform:
// templates, the main window's button, labels made from real files, and the same counts as the
// computations of src/draws/ give (which draws_counts_test checks against plain loops).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "draws/backtest.h"
#include "draws/history_reader.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "windows/check_system_window.h"
#include "texts/past_draws_texts.h"
#include "windows/past_draws_window.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

int linesOf(const std::string& text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(PastDrawsWindowTemplate, ControlsOfItsOwnInsideTheWindow) {
    const WindowTemplate w = pastDrawsWindowTemplate();
    EXPECT_EQ(w.style, AUXILIARY_WINDOW_STYLE);
    std::set<int> ids;
    for (const auto& c : w.controls) {
        EXPECT_GE(c.id, 2300) << c.id;
        EXPECT_LE(c.id, 2399) << c.id;
        EXPECT_TRUE(ids.insert(c.id).second) << c.id << " twice";
        EXPECT_LE(c.x + c.width, w.width) << c.id;
        EXPECT_LE(c.y + c.height, w.height) << c.id;
    }
    EXPECT_EQ(w.find(PAST_DRAWS_OPEN_FILE)->text, "Open file...");
    EXPECT_EQ(w.find(PAST_DRAWS_CHART)->kind, ControlKind::BarChart);
    EXPECT_EQ(w.find(PAST_DRAWS_FILE_LABEL)->text, NO_HISTORY_FILE_TEXT);
    EXPECT_NE(w.find(PAST_DRAWS_ODDS_LABEL)->text.find("do not change the odds"), std::string::npos);
    // The backtest's lines (8 dialog units each) fit their labels.
    BacktestResult widest;
    widest.drawsAboveTotal = 1;
    EXPECT_LE(linesOf(backtestModesText(widest)) * 8.2, w.find(PAST_DRAWS_MODES_LABEL)->height);
    EXPECT_LE(linesOf(backtestConditionsText(widest, GenerationParameters{})) * 8.2,
              w.find(PAST_DRAWS_CONDITIONS_LABEL)->height);

    CheckSystemSession session;
    const WindowTemplate check = checkSystemWindowTemplate(session);
    for (const int id : {CHECK_DRAW_FIELD, CHECK_PRICE_FIELD, CHECK_PRIZES_FIELD})
        EXPECT_EQ(check.find(id)->kind, ControlKind::Edit) << id;
    EXPECT_EQ(check.find(CHECK_PAST_DRAWS)->text, "Past draws...");
    for (const auto& c : check.controls) EXPECT_LE(c.y + c.height, check.height) << c.id;
}

class PastDrawsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = freshTestFolder("quillstep-past-draws-");
        state_ = createSharedState();
        ASSERT_TRUE(state_);
        state_->outputFolder = folder_;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path writeFile(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return folder_ / name;
    }

    // 400 dated draws, newest first in the file: random ones and the mode-12 store's.
    fs::path writeHistory(const std::string& name) {
        const std::vector<uint64_t> random = randomDistinctCombinations(3, 39, 300);
        const std::vector<uint64_t> stored = storeOfMode(12);
        std::ostringstream text;
        text << "Date;N1;N2;N3;N4;N5;N6;N7\n";
        for (int k = 399; k >= 0; --k) {
            const uint64_t mask = k % 4 == 0 ? stored[static_cast<size_t>(k) * 7] : random[static_cast<size_t>(k) % 300];
            text << 1 + k % 28 << "." << 1 + (k / 28) % 12 << "." << 2000 + k / 336;
            for (int v = 1; v <= 39; ++v)
                if (mask >> v & 1) text << ";" << v;
            text << "\n";
        }
        return writeFile(name, text.str());
    }

    std::string text(int id) const { return platform_.windowText(id); }

    fs::path folder_;
    std::unique_ptr<SharedState> state_;
    HeadlessPlatform platform_;
};

TEST_F(PastDrawsWindow, TheMainWindowButtonOpensItWithoutAStore) {
    const fs::path file = writeHistory("draws.csv");
    platform_.filesToOpen = {file};
    platform_.clicksForNextWindow = {PAST_DRAWS_OPEN_FILE, PAST_DRAWS_CLOSE};
    handleMainWindowCommand(*state_, platform_, PAST_DRAWS_BUTTON);
    EXPECT_EQ(platform_.fileDialogTitles, std::vector<std::string>{OPEN_HISTORY_FILE_TITLE});
    EXPECT_EQ(platform_.mainWindowEnableHistory, (std::vector<bool>{false, true}));

    const HistoryReading reading = readHistoryFile(file);
    ASSERT_TRUE(reading.ok()) << reading.error;
    const HistoryStatistics statistics = historyStatistics({&reading.history, 10});
    EXPECT_EQ(text(PAST_DRAWS_FILE_LABEL), "File: draws.csv");
    EXPECT_EQ(text(PAST_DRAWS_SPAN_LABEL), "400 draws, from 2000-01-01 to 2001-03-08.");
    const std::string chart = text(PAST_DRAWS_CHART);
    EXPECT_EQ(chart, historyChartText(statistics));
    EXPECT_EQ(linesOf(chart), 2 + 39);
    EXPECT_EQ(chart.rfind("71.79\texpected\n", 0), 0u) << "400 * 7 / 39";
    // Bar 25: its count, then its number and its draws since it last came.
    std::istringstream lines(chart);
    std::string line;
    for (int k = 0; k < 2 + 25; ++k) std::getline(lines, line);
    EXPECT_EQ(line.rfind(std::to_string(statistics.numbers[25].timesDrawn) + "\t25\t" +
                             std::to_string(statistics.numbers[25].drawsSinceLast) + "\t", 0),
              0u)
        << line;
    const BacktestResult backtest = backtestFilters({&reading.history, state_->parameters});
    EXPECT_GE(backtest.modes[11].keptDraws, 100) << "a quarter of the draws come from the mode-12 store";
    EXPECT_EQ(text(PAST_DRAWS_MODES_LABEL), backtestModesText(backtest));
    EXPECT_EQ(text(PAST_DRAWS_PAIRS_LABEL), historyPairsText(statistics));
}

TEST_F(PastDrawsWindow, KeepsItsFileAndTriesTheParametersOfTheNextOpening) {
    platform_.filesToOpen = {writeHistory("draws.csv"), writeFile("bad.csv", "1 2 3 4 5 6 7\n1 2 3\n")};
    PastDrawsSession session;
    platform_.clicksForNextWindow = {PAST_DRAWS_OPEN_FILE, PAST_DRAWS_OPEN_FILE, PAST_DRAWS_CLOSE};
    runPastDrawsWindow(*state_, platform_, session);
    EXPECT_EQ(text(PAST_DRAWS_RESULT_LABEL),
              "bad.csv was not opened: line 2: expected seven numbers, found 3 numbers. Nothing else has changed.");
    EXPECT_EQ(text(PAST_DRAWS_FILE_LABEL), "File: draws.csv");
    const std::string before = text(PAST_DRAWS_CONDITIONS_LABEL);
    EXPECT_EQ(before.find("Above the total"), std::string::npos);

    state_->parameters.totalNumbers = 30;  // as steps of the main window would leave it
    platform_.clicksForNextWindow = {PAST_DRAWS_CLOSE};
    runPastDrawsWindow(*state_, platform_, session);
    EXPECT_EQ(text(PAST_DRAWS_FILE_LABEL), "File: draws.csv");
    const BacktestResult backtest = backtestFilters({&session.history, state_->parameters});
    EXPECT_GT(backtest.drawsAboveTotal, 0);
    EXPECT_EQ(text(PAST_DRAWS_CONDITIONS_LABEL), backtestConditionsText(backtest, state_->parameters));
    EXPECT_NE(text(PAST_DRAWS_CONDITIONS_LABEL), before);
}

TEST_F(PastDrawsWindow, CheckASystemMatchesATypedDrawAndPastDraws) {
    const fs::path system = writeFile("system.txt", "1,2,3,4,5,6,7\n20,21,22,23,24,25,26\n");
    const fs::path draws = writeFile("draws.csv", "2024-01-13;1;2;3;4;5;6;7\n06.01.2024;1;2;3;8;9;10;11;12\n"
                                                  "20/01/2024;26;25;24;23;22;21;20\n");
    platform_.filesToOpen = {system, draws, draws};
    platform_.typingForNextWindow = {{CHECK_DRAW_FIELD, "26 25 24 23 22 1 2"},
                                    {CHECK_PRICE_FIELD, "2"},
                                    {CHECK_PRIZES_FIELD, "3=1,7=1000.50"}};
    CheckSystemSession session;
    platform_.clicksForNextWindow = {CHECK_MATCH, CHECK_PAST_DRAWS, CHECK_OPEN_FILE, CHECK_MATCH, CHECK_PAST_DRAWS,
                                     CHECK_CLOSE};
    runCheckSystemWindow(*state_, platform_, session);
    // Before a system was open the two buttons were greyed and sent nothing.
    EXPECT_EQ(platform_.fileDialogTitles.size(), 2u);
    EXPECT_EQ(text(CHECK_MATCH_LABEL),
              "Lines by the numbers they share with the draw: 7=0 6=0 5=1 4=0 3=0 2=1 1=0 0=0. Best: 5 on line 2.");
    EXPECT_EQ(text(CHECK_WINS_LABEL),
              "draws.csv: Over 3 draws, best match per draw: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=0. Hits of every line in "
              "every draw: 7=2 6=0 5=0 4=0 3=1 2=0 1=0 0=3. The latest draw (of 2024-01-20): 7 hits on line 2; the first "
              "with 7 hits: draw of 2024-01-13, line 1. Cost 12, won 2002, balance 1990.");
}

TEST_F(PastDrawsWindow, CheckASystemNamesWhatItCannotRead) {
    platform_.filesToOpen = {writeFile("system.txt", "1,2,3,4,5,6,7\n"), writeFile("bad.csv", "1,2,3,4,5,6,7,7\n")};
    platform_.typingForNextWindow = {{CHECK_DRAW_FIELD, "1,2,3,4,5,6"}, {CHECK_PRIZES_FIELD, "3=1,9=5"}};
    CheckSystemSession session;
    platform_.clicksForNextWindow = {CHECK_OPEN_FILE, CHECK_MATCH, CHECK_PAST_DRAWS, CHECK_CLOSE};
    runCheckSystemWindow(*state_, platform_, session);
    EXPECT_EQ(text(CHECK_MATCH_LABEL), "The draw is not read: expected seven numbers, found 6 numbers.");
    EXPECT_EQ(text(CHECK_WINS_LABEL).rfind("The prizes are not read: prizes go as hits=amount", 0), 0u)
        << text(CHECK_WINS_LABEL);
    EXPECT_EQ(platform_.fileDialogTitles.size(), 1u) << "no file is asked for with prizes that cannot be read";

    platform_.typingForNextWindow = {{CHECK_PRICE_FIELD, "1"}};
    platform_.clicksForNextWindow = {CHECK_PAST_DRAWS, CHECK_CLOSE};
    runCheckSystemWindow(*state_, platform_, session);
    EXPECT_EQ(text(CHECK_WINS_LABEL),
              "bad.csv was not opened: line 1: bonus number 7 is one of the seven numbers. Nothing else has changed.");
}

}  // namespace
}  // namespace quillstep
