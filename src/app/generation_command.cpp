#include "app/generation_command.h"

#include <array>

#include "windows/control_ids.h"
#include "files/number_text.h"
#include "app/store_commands.h"
#include "engine/generation_mode.h"
#include "usecases/generation_run.h"

namespace quillstep {
namespace {

struct CommandRow {
    int mode;
    int button;
    const char* countSuffix;
    const char* timeSuffix;
};

constexpr std::array<CommandRow, 14> CommandTable{{
    {1, FULL_WHEEL_BUTTON, "(FULL SYSTEM)", ""},
    {2, FULL_WHEEL_STORING_BUTTON, " (FULL SYSTEM)", ""},
    {3, SUM_BUTTON, " (SUM)", " (SUM)"},
    {4, SUM_STORING_BUTTON, " (SUM)", " (SUM)"},
    {5, ODD_EVEN_BUTTON, " (ODD/EVEN)", " (ODD/EVEN)"},
    {6, ODD_EVEN_STORING_BUTTON, " (ODD/EVEN)", " (ODD/EVEN)"},
    {7, SUM_ODD_EVEN_BUTTON, " (SUM)+(O/E)", " (SUM)+(O/E)"},
    {8, SUM_ODD_EVEN_STORING_BUTTON, " (SUM)+(O/E)", " (SUM)+(O/E)"},
    {9, FORCED_FILTERS_BUTTON, " (F/S/O/E)", ""},
    {10, RANGE_FILTERS_BUTTON, "(R/F/S/O/E)", ""},
    {11, MIN_MAX_FILTERS_BUTTON, "(MM/R/F/S/O/E)", ""},
    {12, NEIGHBOURS_FILTERS_BUTTON, "(N/MM/R/F/S/O/E)", ""},
    {13, ALL_EXCLUDED_FILTERS_BUTTON, "(NW7/N/MM/R/F/S/O/E)", ""},
    {14, ANY_FIVE_EXCLUDED_FILTERS_BUTTON, "(NW5/N/MM/R/F/S/O/E)", ""},
}};

const CommandRow* rowOfMode(int mode) { return isGenerationMode(mode) ? &CommandTable[mode - 1] : nullptr; }

}  // namespace

int generationButtonOfMode(int mode) {
    const CommandRow* row = rowOfMode(mode);
    return row ? row->button : 0;
}

int generationModeOfButton(int controlId) {
    for (const CommandRow& row : CommandTable)
        if (row.button == controlId) return row.mode;
    return 0;
}

double runGenerationCommand(SharedState& state, Platform& platform, int mode) {
    const CommandRow* row = rowOfMode(mode);
    if (!row) return 0.0;
    const GenerationResult result = runGenerationMode(state, platform, mode);
    platform.setControlText(COUNT_LABEL, signedNumberText(result.count, 18) + row->countSuffix);
    platform.setControlText(TIME_LABEL, maskedNumberText(result.seconds, "#.###############") + row->timeSuffix);
    platform.setControlText(MEMORY_LABEL, state.memoryDescription);
    if (result.stored)
        enableStoreCommands(platform);
    else
        disableStoreCommands(platform);
    return result.seconds;
}

}  // namespace quillstep
