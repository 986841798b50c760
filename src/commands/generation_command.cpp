#include "commands/generation_command.h"

#include <array>

#include "commands/control_ids.h"
#include "commands/number_text.h"
#include "commands/store_commands.h"
#include "engine/generation_mode.h"
#include "engine/run.h"

namespace quillstep {
namespace {

// The pieces a description is made of, in the order they may appear.
enum Piece : uint32_t {
    FULL_SYSTEM = 1u << 0,      // A
    NEIGHBOURS_PIECE = 1u << 1, // B
    MIN_MAX_PIECE = 1u << 2,    // C
    MIN_MAX_FIRST = 1u << 3,    // C′: C without its leading comma
    ODD_EVEN_PIECE = 1u << 4,   // D
    SUM_PIECE = 1u << 5,        // E
    FORCED_PIECE = 1u << 6,     // F
    RANGE_PIECE = 1u << 7,      // G
    DONT_WANT_7 = 1u << 8,      // H7
    DONT_WANT_5 = 1u << 9,      // H5
};

struct CommandRow {
    int mode;
    int button;
    const char* countSuffix;
    const char* timeSuffix;
    uint32_t pieces;  // 0: counting only, the description is empty
};

constexpr uint32_t FILTERED = FULL_SYSTEM | ODD_EVEN_PIECE | SUM_PIECE | FORCED_PIECE;
constexpr uint32_t FILTERED_N = FULL_SYSTEM | NEIGHBOURS_PIECE | MIN_MAX_PIECE | ODD_EVEN_PIECE | SUM_PIECE | FORCED_PIECE;

constexpr std::array<CommandRow, 14> CommandTable{{
    {1, FULL_WHEEL_BUTTON, "(FULL SYSTEM)", "", 0},
    {2, FULL_WHEEL_STORING_BUTTON, " (FULL SYSTEM)", "", FULL_SYSTEM},
    {3, SUM_BUTTON, " (SUM)", " (SUM)", 0},
    {4, SUM_STORING_BUTTON, " (SUM)", " (SUM)", FULL_SYSTEM | SUM_PIECE},
    {5, ODD_EVEN_BUTTON, " (ODD/EVEN)", " (ODD/EVEN)", 0},
    {6, ODD_EVEN_STORING_BUTTON, " (ODD/EVEN)", " (ODD/EVEN)", FULL_SYSTEM | ODD_EVEN_PIECE},
    {7, SUM_ODD_EVEN_BUTTON, " (SUM)+(O/E)", " (SUM)+(O/E)", 0},
    {8, SUM_ODD_EVEN_STORING_BUTTON, " (SUM)+(O/E)", " (SUM)+(O/E)", FULL_SYSTEM | ODD_EVEN_PIECE | SUM_PIECE},
    {9, FORCED_FILTERS_BUTTON, " (F/S/O/E)", "", FILTERED},
    {10, RANGE_FILTERS_BUTTON, "(R/F/S/O/E)", "", FILTERED | RANGE_PIECE},
    {11, MIN_MAX_FILTERS_BUTTON, "(MM/R/F/S/O/E)", "", FILTERED | MIN_MAX_FIRST},
    {12, NEIGHBOURS_FILTERS_BUTTON, "(N/MM/R/F/S/O/E)", "", FILTERED_N},
    {13, ALL_EXCLUDED_FILTERS_BUTTON, "(NW7/N/MM/R/F/S/O/E)", "", FILTERED_N | DONT_WANT_7},
    {14, ANY_FIVE_EXCLUDED_FILTERS_BUTTON, "(NW5/N/MM/R/F/S/O/E)", "", FILTERED_N | DONT_WANT_5},
}};

std::string mask(int32_t value, const char* m) { return maskedNumberText(value, m); }

std::string excludedList(const GenerationParameters& p) {
    std::string list;
    for (int i = 1; i <= 7; ++i) {
        if (i > 1) list += ',';
        list += mask(p.excludedNumbers[i], "##");
    }
    return list;
}

std::string composeDescription(const GenerationParameters& p, uint32_t pieces) {
    std::string d;
    if (pieces & FULL_SYSTEM) d += "FULL SYSTEM 7/" + signedNumberText(p.totalNumbers, 2);
    if (pieces & NEIGHBOURS_PIECE) d += "max neighb. no:" + mask(p.maxNeighbours, "#");
    if (pieces & (MIN_MAX_PIECE | MIN_MAX_FIRST)) {
        if (pieces & MIN_MAX_PIECE) d += ',';
        d += "min no.:" + mask(p.minNumber, "##") + ",max no.:" + mask(p.maxNumber, "##");
    }
    if (pieces & ODD_EVEN_PIECE) d += " min ODD/EVEN:" + mask(p.minOdd, "#") + "/" + mask(p.minEven, "#");
    if (pieces & SUM_PIECE) d += " SUM:" + mask(p.minSum, "###") + "-" + mask(p.maxSum, "###");
    if (pieces & FORCED_PIECE) d += " FIX number=" + mask(p.forcedNumber, "##");
    if (pieces & RANGE_PIECE) d += " condition:" + mask(p.rangeCount, "#") + " in range:1-" + mask(p.rangeLimit, "##");
    if (pieces & DONT_WANT_7) d += ",dot'n want:" + excludedList(p);
    if (pieces & DONT_WANT_5) d += ",don't want 5 num of:" + excludedList(p);
    return d;
}

const CommandRow* rowOfMode(int mode) { return isGenerationMode(mode) ? &CommandTable[mode - 1] : nullptr; }

}  // namespace

std::string composeMemoryDescription(const GenerationParameters& parameters, int mode) {
    const CommandRow* row = rowOfMode(mode);
    return row ? composeDescription(parameters, row->pieces) : std::string();
}

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
    const double seconds = runGeneration(state, platform, mode);
    platform.setControlText(COUNT_LABEL, signedNumberText(state.generatedCount, 18) + row->countSuffix);
    platform.setControlText(TIME_LABEL, maskedNumberText(seconds, "#.###############") + row->timeSuffix);
    state.memoryDescription = composeDescription(state.parameters, row->pieces);
    platform.setControlText(MEMORY_LABEL, state.memoryDescription);
    if (isStoringMode(mode))
        enableStoreCommands(platform);
    else
        disableStoreCommands(platform);
    return seconds;
}

}  // namespace quillstep
