#pragma once
// The "Check a system" window: any system file, this program's or another's, checked against the
// stored combinations at a guarantee of 4 or 5 hits and profiled over every possible draw; a
// system with holes completed by the optimiser with the time limit of the "Smaller systems"
// window.

#include <filesystem>
#include <string>

#include "usecases/system_examination.h"
#include "engine/shared_state.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "windows/system_save_as.h"

namespace quillstep {

// The window's controls; their ids follow those of the "Smaller systems" window.
constexpr int CHECK_SYSTEM_HEADING = 1180;
constexpr int CHECK_SYSTEM_EXPLANATION = 1181;
constexpr int CHECK_GUARANTEE_CAPTION = 1182;
constexpr int CHECK_GUARANTEE_LABEL = 1183;
constexpr int CHECK_GUARANTEE_UP = 1184;
constexpr int CHECK_GUARANTEE_DOWN = 1185;
constexpr int CHECK_OPEN_FILE = 1186;
constexpr int CHECK_COMPLETE = 1187;
constexpr int CHECK_CLOSE = 1188;
constexpr int CHECK_FILE_LABEL = 1189;
constexpr int CHECK_SIZE_LABEL = 1190;
constexpr int CHECK_UNCOVERED_LABEL = 1191;
constexpr int CHECK_STORE_PROFILE_LABEL = 1192;
constexpr int CHECK_DRAW_PROFILE_LABEL = 1193;
constexpr int CHECK_SHARES_LABEL = 1194;
constexpr int CHECK_STORED_SHARE_LABEL = 1195;
constexpr int CHECK_HOLES_LABEL = 1196;
constexpr int CHECK_RESULT_LABEL = 1197;
// "Save as...": the last completed system under a name of the user's own (greyed until there is one).
constexpr int CHECK_SAVE_AS = 2201;
// The system against one typed draw and against a file of past draws (2320 to 2339).
constexpr int CHECK_DRAW_CAPTION = 2320;
constexpr int CHECK_DRAW_FIELD = 2321;
constexpr int CHECK_MATCH = 2322;
constexpr int CHECK_MATCH_LABEL = 2323;
constexpr int CHECK_PRICE_CAPTION = 2324;
constexpr int CHECK_PRICE_FIELD = 2325;
constexpr int CHECK_PRIZES_CAPTION = 2326;
constexpr int CHECK_PRIZES_FIELD = 2327;
constexpr int CHECK_PAST_DRAWS = 2328;
constexpr int CHECK_WINS_LABEL = 2329;

constexpr const char* OPEN_SYSTEM_FILE_TITLE = "Open a system file";

// What one opening of the window works with: the guarantee and the file examined last.
struct CheckSystemSession {
    int guaranteedHits = 4;
    bool hasFile = false;
    std::string fileName;  // as shown: the name without its folder
    SystemExamination examination;
    SavableSystem completed;  // the last completion's system, for "Save as..."
};

WindowTemplate checkSystemWindowTemplate(const CheckSystemSession& session);

// A click in the window: a step of the guarantee, "Open file...", "Complete" (which returns when
// the completion has ended), "Save as...", "Match" (the draw typed against the system), "Past
// draws..." (a file of past draws chosen, the system's wins over it at the price and prizes typed)
// or "Close".
WindowAction checkSystemWindowCallback(SharedState& state, Platform& platform, CheckSystemSession& session,
                                       int controlId);

// Shows the window modally with the main window disabled meanwhile; returns once it has closed.
void runCheckSystemWindow(SharedState& state, Platform& platform, CheckSystemSession& session);

// Button "Check a system..." of the main window: the window with the guarantee of its last use.
void showCheckSystemWindow(SharedState& state, Platform& platform);

}  // namespace quillstep
