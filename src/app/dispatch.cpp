#include "app/dispatch.h"

#include <array>

#include "app/abbreviated_system_buttons.h"
#include "app/parameter_steps.h"
#include "app/file_viewer.h"
#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "windows/about_window.h"
#include "windows/check_system_window.h"
#include "windows/file_reports.h"
#include "windows/set_values_window.h"
#include "windows/past_draws_window.h"
#include "windows/smaller_systems_window.h"
#include "windows/statistics_window.h"
#include "windows/wheel_window.h"

namespace quillstep {
namespace {

using Action = void (*)(SharedState&, Platform&);

struct CommandRow {
    int controlId;
    Action action;
};

// The buttons that work on the stored combinations, "Set values...", "Past draws..." and the system
// menu's "About Quillstep...". The generation buttons and the parameter steps have tables of their own.
constexpr std::array<CommandRow, 13> STORE_COMMAND_ROWS{{
    {WRITE_COMBINATIONS_BUTTON, [](SharedState& s, Platform& p) { writeCombinationFile(s, p); }},
    {VIEW_COMBINATIONS_BUTTON, [](SharedState&, Platform& p) { viewFile(p, COMBINATION_FILE_NAME); }},
    {SEARCH_G4_BUTTON, [](SharedState& s, Platform& p) { searchAbbreviatedSystem(s, p, 4); }},
    {VIEW_G4_BUTTON, [](SharedState&, Platform& p) { viewFile(p, G4_SYSTEM_FILE_NAME); }},
    {SEARCH_G5_BUTTON, [](SharedState& s, Platform& p) { searchAbbreviatedSystem(s, p, 5); }},
    {VIEW_G5_BUTTON, [](SharedState&, Platform& p) { viewFile(p, G5_SYSTEM_FILE_NAME); }},
    {STATISTICS_BUTTON, [](SharedState& s, Platform& p) { showNumberStatistics(s, p); }},
    {SMALLER_SYSTEMS_BUTTON, [](SharedState& s, Platform& p) { showSmallerSystemsWindow(s, p); }},
    {CHECK_SYSTEM_BUTTON, [](SharedState& s, Platform& p) { showCheckSystemWindow(s, p); }},
    {SET_VALUES_BUTTON, [](SharedState& s, Platform& p) {
         if (const auto typed = showSetValuesWindow(p, s.parameters)) applyParameters(s, p, *typed);
     }},
    {ABOUT_MENU_ITEM, [](SharedState& s, Platform& p) { showAboutWindow(p, s.outputFolder); }},
    {PAST_DRAWS_BUTTON, [](SharedState& s, Platform& p) { showPastDrawsWindow(s, p); }},
    {WHEEL_MY_NUMBERS_BUTTON, [](SharedState& s, Platform& p) { showWheelWindow(s, p, makeWheel); }},
}};

}  // namespace

void handleMainWindowCommand(SharedState& state, Platform& platform, int controlId) {
    if (const int mode = generationModeOfButton(controlId); mode != 0) {
        runGenerationCommand(state, platform, mode);
        return;
    }
    for (const CommandRow& row : STORE_COMMAND_ROWS) {
        if (row.controlId == controlId) {
            row.action(state, platform);
            return;
        }
    }
    stepParameterButton(state, platform, controlId);
}

}  // namespace quillstep
