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
enum : int {
    PAST_DRAWS_HEADING = 2300,
    PAST_DRAWS_RULES,
    PAST_DRAWS_OPEN_FILE,
    PAST_DRAWS_FILE_LABEL,
    PAST_DRAWS_SPAN_LABEL,
    PAST_DRAWS_ODDS_LABEL,
    PAST_DRAWS_CHART,
    PAST_DRAWS_NUMBERS_LABEL,
    PAST_DRAWS_PAIRS_LABEL,
    PAST_DRAWS_FILTERS_CAPTION,
    PAST_DRAWS_MODES_LABEL,
    PAST_DRAWS_CONDITIONS_LABEL,
    PAST_DRAWS_RESULT_LABEL,
    PAST_DRAWS_CLOSE,
};

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
