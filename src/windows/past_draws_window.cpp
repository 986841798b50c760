#include "windows/past_draws_window.h"

#include <array>

#include "draws/backtest.h"
#include "draws/history_reader.h"
#include "texts/past_draws_texts.h"
#include "windows/program_identity.h"

namespace quillstep {
namespace {

using namespace window_rows;

constexpr int WIDTH = 540, BOTTOM = 418;

// In creation (tab) order.
constexpr std::array<ControlRow, 14> CONTROLS{{
    {PAST_DRAWS_HEADING, LABEL, "Past draws", 10, 8, 520, 14, HEADING_FONT},
    {PAST_DRAWS_RULES, LABEL, HISTORY_FILE_RULES_TEXT, 10, 25, 520, 18, DIALOG_FONT},
    {PAST_DRAWS_OPEN_FILE, BUTTON, "Open file...", 10, 47, 90, 18, DIALOG_FONT},
    {PAST_DRAWS_FILE_LABEL, LABEL, NO_HISTORY_FILE_TEXT, 110, 46, 420, 9, DIALOG_FONT},
    {PAST_DRAWS_SPAN_LABEL, LABEL, "", 110, 56, 420, 9, DIALOG_FONT},
    {PAST_DRAWS_ODDS_LABEL, LABEL, PAST_DRAWS_ODDS_TEXT, 10, 70, 520, 18, VALUE_FONT},
    {PAST_DRAWS_CHART, ControlKind::BarChart, "", 10, 90, 520, 150, DIALOG_FONT},
    {PAST_DRAWS_NUMBERS_LABEL, LABEL, "", 10, 244, 520, 18, DIALOG_FONT},
    {PAST_DRAWS_PAIRS_LABEL, LABEL, "", 10, 263, 520, 18, DIALOG_FONT},
    {PAST_DRAWS_FILTERS_CAPTION, LABEL,
     "The main window's current parameters tried against these draws (a mode keeps a draw that lies in 1 to N and "
     "passes all its conditions):",
     10, 284, 520, 18, DIALOG_FONT},
    {PAST_DRAWS_MODES_LABEL, LABEL, "", 10, 304, 260, 116, DIALOG_FONT},
    {PAST_DRAWS_CONDITIONS_LABEL, LABEL, "", 275, 304, 255, 100, DIALOG_FONT},
    {PAST_DRAWS_RESULT_LABEL, LABEL, "", 10, BOTTOM + 4, 410, 18, DIALOG_FONT},
    {PAST_DRAWS_CLOSE, BUTTON, "Close", 430, BOTTOM + 4, 100, 18, DIALOG_FONT},
}};

// Every label that describes the file, cleared until one is open.
void showHistory(const SharedState& state, Platform& platform, const PastDrawsSession& session) {
    if (!session.hasFile) return;
    const GenerationParameters& parameters = state.parameters;
    const BacktestResult backtest = backtestFilters({&session.history, parameters});
    platform.setWindowControlText(PAST_DRAWS_FILE_LABEL, historyFileText(session.fileName));
    platform.setWindowControlText(PAST_DRAWS_SPAN_LABEL, historySpanText(session.history));
    platform.setWindowControlText(PAST_DRAWS_CHART, historyChartText(session.statistics));
    platform.setWindowControlText(PAST_DRAWS_NUMBERS_LABEL, historyNumbersText(session.statistics));
    platform.setWindowControlText(PAST_DRAWS_PAIRS_LABEL, historyPairsText(session.statistics));
    platform.setWindowControlText(PAST_DRAWS_MODES_LABEL, backtestModesText(backtest));
    platform.setWindowControlText(PAST_DRAWS_CONDITIONS_LABEL, backtestConditionsText(backtest, parameters));
}

// Reads the file; one that cannot be used changes nothing but the result text.
void openHistoryFile(const SharedState& state, Platform& platform, PastDrawsSession& session,
                     const std::filesystem::path& path) {
    HistoryReading reading = readHistoryFile(path);
    const std::string name = shownFileName(path);
    if (!reading.ok()) {
        platform.setWindowControlText(PAST_DRAWS_RESULT_LABEL, unreadableHistoryText(name, reading));
        return;
    }
    session.hasFile = true;
    session.fileName = name;
    session.history = std::move(reading.history);
    session.statistics = historyStatistics({&session.history, 10});
    platform.setWindowControlText(PAST_DRAWS_RESULT_LABEL, "");
    showHistory(state, platform, session);
}

}  // namespace

std::string shownFileName(const std::filesystem::path& path) {
    try {
        return path.filename().string();
    } catch (const std::exception&) {  // a name the narrow character set cannot spell
        const std::u8string name = path.filename().u8string();
        return std::string(name.begin(), name.end());
    }
}

WindowTemplate pastDrawsWindowTemplate() {
    WindowTemplate window = programWindowFrame(60, 20, WIDTH, BOTTOM + 28);
    window.fonts = {{12, true, false, DEFAULT_CHARACTER_SET}, {8, true, false, DEFAULT_CHARACTER_SET}};
    for (const ControlRow& row : CONTROLS) window.controls.push_back(row.toControl());
    return window;
}

WindowAction pastDrawsWindowCallback(const SharedState& state, Platform& platform, PastDrawsSession& session,
                                     int controlId) {
    switch (controlId) {
        case PAST_DRAWS_OPEN_FILE: {
            const std::filesystem::path path = platform.chooseFileToOpen(OPEN_HISTORY_FILE_TITLE);
            if (!path.empty()) openHistoryFile(state, platform, session, path);
            break;
        }
        case PAST_DRAWS_CLOSE:
            return WindowAction::Close;
        default:
            break;
    }
    return WindowAction::Continue;
}

void runPastDrawsWindow(const SharedState& state, Platform& platform, PastDrawsSession& session) {
    WindowHandler handler;
    handler.onCreated = [&state, &platform, &session] { showHistory(state, platform, session); };
    handler.onCommand = [&state, &platform, &session](int controlId) {
        return pastDrawsWindowCallback(state, platform, session, controlId);
    };
    platform.enableMainWindow(false);
    platform.runModalWindow(pastDrawsWindowTemplate(), handler);
    platform.enableMainWindow(true);
}

void showPastDrawsWindow(SharedState& state, Platform& platform) {
    static PastDrawsSession lastSession;  // the file stays chosen until the program ends
    runPastDrawsWindow(state, platform, lastSession);
}

}  // namespace quillstep
