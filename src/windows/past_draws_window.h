#pragma once
// The "Past draws" window: a file of past draws chosen in the system's file-open dialog, each
// number over it in a bar chart (times drawn against the expected 7/39 of the draws, the draws
// since it last came under each bar), the pairs drawn together most often, and the main window's
// current parameters tried against the draws. The file stays chosen for the next opening, which
// tries the parameters of that moment.

#include <filesystem>
#include <string>

#include "draws/history.h"
#include "draws/number_statistics.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace quillstep {

// The window's controls (2300 to 2319).
constexpr int PAST_DRAWS_HEADING = 2300;
constexpr int PAST_DRAWS_RULES = 2301;
constexpr int PAST_DRAWS_OPEN_FILE = 2302;
constexpr int PAST_DRAWS_FILE_LABEL = 2303;
constexpr int PAST_DRAWS_SPAN_LABEL = 2304;
constexpr int PAST_DRAWS_ODDS_LABEL = 2305;
constexpr int PAST_DRAWS_CHART = 2306;
constexpr int PAST_DRAWS_NUMBERS_LABEL = 2307;
constexpr int PAST_DRAWS_PAIRS_LABEL = 2308;
constexpr int PAST_DRAWS_FILTERS_CAPTION = 2309;
constexpr int PAST_DRAWS_MODES_LABEL = 2310;
constexpr int PAST_DRAWS_CONDITIONS_LABEL = 2311;
constexpr int PAST_DRAWS_RESULT_LABEL = 2312;
constexpr int PAST_DRAWS_CLOSE = 2313;

// The file chosen last and what was found in it.
struct PastDrawsSession {
    bool hasFile = false;
    std::string fileName;  // as shown: the name without its folder
    History history;
    HistoryStatistics statistics;
};

WindowTemplate pastDrawsWindowTemplate();

// A click in the window: "Open file..." or "Close".
WindowAction pastDrawsWindowCallback(const SharedState& state, Platform& platform, PastDrawsSession& session,
                                     int controlId);

// Shows the window modally with the main window disabled meanwhile; returns once it has closed.
void runPastDrawsWindow(const SharedState& state, Platform& platform, PastDrawsSession& session);

// Button "Past draws..." of the main window: the window with the file of its last use.
void showPastDrawsWindow(SharedState& state, Platform& platform);

// The name of a file without its folder, as the windows show it.
std::string shownFileName(const std::filesystem::path& path);

}  // namespace quillstep
