#pragma once
// What the Past draws window, the Check a system window's past-draws part and the command line's
// history, backtest and wins commands say: every text made here from the results of src/draws/,
// so that both faces say the same.

#include <string>
#include <vector>

#include "draws/backtest.h"
#include "draws/history_reader.h"
#include "draws/number_statistics.h"
#include "draws/wins.h"

namespace quillstep {

constexpr const char* OPEN_HISTORY_FILE_TITLE = "Open a file of past draws";
constexpr const char* NO_HISTORY_FILE_TEXT =
    "No file opened yet: press \"Open file...\" to choose a file of past draws.";
constexpr const char* HISTORY_FILE_RULES_TEXT =
    "One draw per line: seven numbers 1 to 39, optionally a date first (YYYY-MM-DD, DD.MM.YYYY or DD/MM/YYYY) and up "
    "to three bonus numbers after them. Dated draws are put in date order; without dates the first line is the oldest "
    "draw.";
constexpr const char* PAST_DRAWS_ODDS_TEXT =
    "Past draws do not change the odds of the next one: in every draw each of the 15380937 combinations of seven "
    "numbers is as likely as any other, whatever came before.";

// The command line's lines, each without its line end.
std::vector<std::string> historyLines(const History& history, const HistoryStatistics& statistics);
std::vector<std::string> backtestLines(const BacktestResult& result, const GenerationParameters& parameters);
std::vector<std::string> winsLines(const WinsResult& result);

// "2024-01-06" of a dated history, else the draw's place in the file ("1", "3000").
std::string drawPlaceText(const History& history, size_t index);

// "R (exactly 2 numbers in 1 to 20)": the condition and what the parameters make of it.
std::string conditionText(ConditionFlag condition, const GenerationParameters& parameters);

// The window's texts.
std::string historyFileText(const std::string& fileName);                        // "File: draws.csv"
std::string historySpanText(const History& history);                              // "3000 draws, from ... to ..."
std::string historyChartText(const HistoryStatistics& statistics);                // the bar chart's data
std::string historyNumbersText(const HistoryStatistics& statistics);               // most, least, longest wait
std::string historyPairsText(const HistoryStatistics& statistics);                // the pairs drawn most
std::string backtestModesText(const BacktestResult& result);                      // 14 lines
std::string backtestConditionsText(const BacktestResult& result, const GenerationParameters& parameters);
// A few sentences: the counts, the best line of the latest draw and of the first draw with the
// best match of all, and the money when priced.
std::string winsText(const WinsResult& result, const History& history);
// The lines of a system against one draw (a history of that draw alone).
std::string oneDrawMatchText(const WinsResult& result);
// A history file refused: its name, the line and the fault.
std::string unreadableHistoryText(const std::string& fileName, const HistoryReading& reading);

}  // namespace quillstep
