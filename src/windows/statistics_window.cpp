#include "windows/statistics_window.h"

#include <array>
#include <string>

#include "windows/program_identity.h"
#include "files/number_text.h"
#include "engine/run.h"

namespace quillstep {
namespace {

constexpr int HEADING_LABEL = 1002;
constexpr int NUMBER_LABEL_BASE = 1002;  // number n: 1002 + n
constexpr int COUNT_LABEL_BASE = 1044;   // number n: 1044 + n
constexpr int HEADING_FRAME = 1085;
constexpr int MESSAGE_LABEL = 1086;

enum FontIndex : int { DIALOG_FONT = -1, HEADING_FONT, COUNT_FONT };
constexpr int CENTRAL_EUROPEAN_CHARSET = 238;
constexpr int ANSI_CHARSET = 0;

// The numbers stand in four columns of ten (the last of nine), 25 units apart; each count stands
// 5 units lower than its number.
struct StatisticsColumn {
    int numberX, numberWidth, countX;
};
constexpr std::array<StatisticsColumn, 4> COLUMNS{{{35, 15, 60}, {155, 25, 190}, {290, 25, 325}, {413, 25, 450}}};
constexpr int ROW_HEIGHT = 25, FIRST_NUMBER_Y = 50, FIRST_COUNT_Y = 55, NUMBER_HEIGHT = 25;
constexpr int COUNT_WIDTH = 80, COUNT_HEIGHT = 15;

ControlTemplate numberLabel(int n) {
    const int row = (n - 1) % 10;
    const StatisticsColumn& column = COLUMNS[(n - 1) / 10];
    // 10 closes the first column and is two digits wide, so it starts further left.
    const bool ten = n == 10;
    return {NUMBER_LABEL_BASE + n, ControlKind::Label, std::to_string(n), ten ? 25 : column.numberX,
            FIRST_NUMBER_Y + ROW_HEIGHT * row, ten ? 25 : column.numberWidth, NUMBER_HEIGHT, HEADING_FONT};
}

ControlTemplate countLabel(const SharedState& state, int n) {
    const int32_t count = state.numberStatistics[n];
    const int row = (n - 1) % 10;
    return {COUNT_LABEL_BASE + n, ControlKind::Label, count > 0 ? maskedNumberText(count, "##########") : "",
            COLUMNS[(n - 1) / 10].countX, FIRST_COUNT_Y + ROW_HEIGHT * row, COUNT_WIDTH, COUNT_HEIGHT, COUNT_FONT};
}

}  // namespace

WindowTemplate statisticsWindowTemplate(const SharedState& state) {
    WindowTemplate window = programWindowFrame(66, 58, 544, 329);
    window.fonts = {{24, true, false, CENTRAL_EUROPEAN_CHARSET}, {12, false, false, ANSI_CHARSET}};

    auto& controls = window.controls;
    controls.push_back({HEADING_LABEL, ControlKind::Label, "Statistics of numbers in our combinations", 65, 15, 420,
                        25, HEADING_FONT});
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) controls.push_back(numberLabel(n));
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) controls.push_back(countLabel(state, n));
    controls.push_back({STATISTICS_CLOSE_BUTTON, ControlKind::Button, "Close", 415, 285, 110, 40, DIALOG_FONT});
    controls.push_back({HEADING_FRAME, ControlKind::GroupBox, "", 50, 5, 450, 40, DIALOG_FONT});
    controls.push_back({MESSAGE_LABEL, ControlKind::Label, state.countingMessage, 30, 305, 375, 20, COUNT_FONT});
    return window;
}

WindowAction statisticsWindowCallback(int controlId) {
    return controlId == STATISTICS_CLOSE_BUTTON ? WindowAction::Close : WindowAction::Continue;
}

void buildStatisticsWindow(const SharedState& state, Platform& platform) {
    WindowHandler handler;
    handler.onCommand = statisticsWindowCallback;
    platform.runModalWindow(statisticsWindowTemplate(state), handler);
}

void showNumberStatistics(SharedState& state, Platform& platform) {
    for (int n = 1; n <= HIGHEST_NUMBER; ++n) state.numberStatistics[n] = 0;
    const double t0 = platform.timeOfDaySeconds();
    countNumberOccurrences(state);
    const double t1 = platform.timeOfDaySeconds();
    state.countingMessage = countingMessageText(state.generatedCount, elapsedSeconds(t0, t1));
    platform.enableMainWindow(false);
    buildStatisticsWindow(state, platform);
    platform.enableMainWindow(true);
}

}  // namespace quillstep
