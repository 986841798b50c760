#include "app/main_window.h"

#include <array>

#include "app/dispatch.h"
#include "app/parameter_steps.h"
#include "windows/control_ids.h"
#include "app/store_commands.h"

namespace quillstep {
namespace {

// Indices into the window's font list; NO_FONT keeps the dialog font (MS Sans Serif 8 pt).
enum FontIndex : int { NO_FONT = -1, FONT_A, FONT_B, FONT_C, FONT_D, FONT_E, FONT_F, FONT_G, FONT_H };

// The system's default character set (DEFAULT_CHARSET), which the window's own fonts use.
constexpr int DEFAULT_CHARACTER_SET = 1;

constexpr ControlKind LABEL = ControlKind::Label;
constexpr ControlKind CENTRED = ControlKind::CentredLabel;
constexpr ControlKind BUTTON = ControlKind::Button;
constexpr ControlKind FRAME = ControlKind::EtchedFrame;
constexpr ControlKind GROUP = ControlKind::GroupBox;

// Every control up to the neighbouring-numbers area, in creation order. The excluded-number
// columns and the two buttons beside them follow from EXCLUDED_COLUMNS and TRAILING_CONTROLS.
constexpr std::array CONTROLS{
    ControlRow{TOTAL_NUMBERS_CAPTION, LABEL, "Total numbers in system", 10, 13, 80, 25, FONT_A},
    ControlRow{NUMBERS_PER_COMBINATION_CAPTION, LABEL, "Numbers in combination", 10, 45, 75, 25, FONT_B},
    ControlRow{COUNT_CAPTION, LABEL, "Number of generated combinations", 350, 185, 70, 15, NO_FONT},
    ControlRow{STATISTICS_BUTTON, BUTTON, "Statistics of numbers in generated combinations", 350, 170, 305, 15, NO_FONT},
    ControlRow{COUNT_LABEL, LABEL, "0", 420, 185, 240, 15, FONT_C},
    ControlRow{TIME_CAPTION, LABEL, "Used time in seconds", 350, 203, 70, 10, NO_FONT},
    ControlRow{TIME_LABEL, LABEL, "0.00", 420, 200, 240, 14, FONT_C},
    ControlRow{MIN_SUM_CAPTION, LABEL, "Min SUM of numbers in combination", 10, 85, 80, 20, NO_FONT},
    ControlRow{MAX_SUM_CAPTION, LABEL, "Max SUM of numbers in combination", 10, 120, 80, 19, NO_FONT},
    ControlRow{PROGRAM_NAME_LABEL, CENTRED, "Quillstep", 210, 250, 125, 45, FONT_D},
    // The notice, read from top to bottom: the headline, then lines 1 to 8.
    // Lines 4 and 8 are placed so that no neighbouring line's box paints over their letters
    // (line 5 over the descenders of line 4, line 7 over the tops of line 8).
    ControlRow{NOTICE_LINE_4, LABEL, "While a run lasts the window rests and the priority is raised.",
               350, 97, 319, 9, NO_FONT},
    ControlRow{NOTICE_LINE_5, LABEL, "It was written in C++ as one small program with no outside libraries.",
               350, 106, 315, 20, NO_FONT},
    ControlRow{NOTICE_LINE_8, LABEL, "Every window is described by a table and built in memory as it opens.",
               350, 154, 315, 10, NO_FONT},
    ControlRow{NOTICE_LINE_1, LABEL, "All 15,380,937 combinations of 7 out of 39 are stepped through in order.",
               350, 65, 315, 10, NO_FONT},
    ControlRow{NOTICE_LINE_2, LABEL, "Counting the full wheel without storing takes only a moment.",
               350, 75, 315, 10, NO_FONT},
    ControlRow{NOTICE_LINE_3, LABEL, "The conditions are tested in turn, and the first failed one ends the test.",
               350, 83, 300, 14, NO_FONT},
    ControlRow{NOTICE_LINE_6, LABEL, "Nothing is allocated while a run lasts.", 350, 121, 190, 15, NO_FONT},
    ControlRow{NOTICE_LINE_7, LABEL, "The stored combinations stay in memory until the next storing run.",
               350, 136, 305, 18, NO_FONT},
    ControlRow{NOTICE_HEADLINE, CENTRED, "Quillstep generates lottery combinations at high speed.", 350, 45, 300, 20, FONT_A},
    ControlRow{MIN_ODD_CAPTION, LABEL, "Min ODD numbers in combination", 200, 85, 70, 20, NO_FONT},
    ControlRow{MIN_EVEN_CAPTION, LABEL, "Min EVEN numbers in combination", 200, 120, 70, 19, NO_FONT},
    ControlRow{TOTAL_NUMBERS_FRAME, FRAME, "Line1", 5, 5, 190, 70, NO_FONT},
    ControlRow{FULL_WHEEL_BUTTON, BUTTON, "Full wheel (without storing in memory)", 200, 5, 145, 30, NO_FONT},
    ControlRow{FULL_WHEEL_STORING_BUTTON, BUTTON, "Full wheel (with storing in memory)", 200, 40, 145, 35, NO_FONT},
    ControlRow{SUM_BUTTON, BUTTON, "Use sum condition (without storing in memory)", 5, 150, 180, 20, NO_FONT},
    ControlRow{SUM_STORING_BUTTON, BUTTON, "Use sum condition (with storring in memory)", 5, 175, 180, 20, NO_FONT},
    ControlRow{ODD_EVEN_BUTTON, BUTTON, "Use o/e condition (without storing in memory)", 195, 150, 150, 20, NO_FONT},
    ControlRow{ODD_EVEN_STORING_BUTTON, BUTTON, "Use o/e condition (with storing in memory)", 195, 175, 150, 20, NO_FONT},
    ControlRow{SUM_ODD_EVEN_BUTTON, BUTTON, "Use SUM+ODD/EVEN condition (without storing in memory)", 5, 200, 340, 20, NO_FONT},
    ControlRow{SUM_ODD_EVEN_STORING_BUTTON, BUTTON, "Use SUM+ODD/EVEN condition (with storing in memory)", 5, 225, 340, 20, NO_FONT},
    ControlRow{WRITE_COMBINATIONS_BUTTON, BUTTON, "Last data to mb_comb_file.txt", 350, 215, 160, 15, NO_FONT},
    ControlRow{VIEW_COMBINATIONS_BUTTON, BUTTON, "View mb_comb_file.txt", 515, 215, 145, 15, NO_FONT},
    ControlRow{TOTAL_NUMBERS_LABEL, LABEL, "39", 95, 15, 30, 25, FONT_E},
    ControlRow{NUMBERS_PER_COMBINATION_LABEL, LABEL, "7", 95, 45, 25, 25, FONT_E},
    ControlRow{MIN_SUM_LABEL, LABEL, "140", 100, 85, 40, 25, FONT_E},
    ControlRow{MAX_SUM_LABEL, LABEL, "150", 100, 120, 40, 20, FONT_E},
    ControlRow{MIN_ODD_LABEL, LABEL, "3", 280, 80, 20, 25, FONT_E},
    ControlRow{MIN_EVEN_LABEL, LABEL, "4", 280, 120, 20, 25, FONT_E},
    ControlRow{TOTAL_NUMBERS_UP, BUTTON, "up", 150, 10, 30, 15, NO_FONT},
    ControlRow{TOTAL_NUMBERS_DOWN, BUTTON, "down", 150, 25, 30, 20, NO_FONT},
    ControlRow{MIN_SUM_UP, BUTTON, "up", 150, 80, 30, 15, NO_FONT},
    ControlRow{MIN_SUM_DOWN, BUTTON, "down", 150, 95, 30, 15, NO_FONT},
    ControlRow{MAX_SUM_UP, BUTTON, "up", 150, 115, 30, 14, NO_FONT},
    ControlRow{MAX_SUM_DOWN, BUTTON, "down", 150, 130, 30, 15, NO_FONT},
    ControlRow{MIN_ODD_UP, BUTTON, "up", 315, 80, 30, 15, NO_FONT},
    ControlRow{MIN_ODD_DOWN, BUTTON, "down", 315, 95, 30, 15, NO_FONT},
    ControlRow{MIN_EVEN_UP, BUTTON, "up", 315, 115, 30, 15, NO_FONT},
    ControlRow{MIN_EVEN_DOWN, BUTTON, "down", 315, 130, 30, 15, NO_FONT},
    ControlRow{FORCED_NUMBER_CAPTION, LABEL, "Force this Number", 10, 255, 75, 9, FONT_F},
    ControlRow{FORCED_NUMBER_LABEL, LABEL, "25", 15, 270, 30, 20, FONT_G},
    ControlRow{FORCED_NUMBER_UP, BUTTON, "up", 50, 265, 31, 15, NO_FONT},
    ControlRow{FORCED_NUMBER_DOWN, BUTTON, "down", 50, 280, 31, 15, NO_FONT},
    ControlRow{FORCED_FILTERS_BUTTON, BUTTON, "F+SUM+O/E (with storing)", 85, 265, 95, 30, NO_FONT},
    ControlRow{RANGE_COUNT_LABEL, LABEL, "2", 15, 320, 25, 20, FONT_E},
    ControlRow{FORCED_NUMBER_FRAME, FRAME, "Line1", 5, 250, 180, 50, NO_FONT},
    ControlRow{RANGE_COUNT_CAPTION, LABEL, "Numbers in range", 60, 305, 70, 9, FONT_F},
    ControlRow{RANGE_COUNT_UP, BUTTON, "up", 50, 315, 31, 15, NO_FONT},
    ControlRow{RANGE_COUNT_DOWN, BUTTON, "down", 50, 330, 31, 15, NO_FONT},
    ControlRow{RANGE_LIMIT_CAPTION, LABEL, "in 1-", 85, 325, 30, 15, FONT_H},
    ControlRow{RANGE_LIMIT_LABEL, LABEL, "20", 115, 320, 30, 20, FONT_E},
    ControlRow{RANGE_LIMIT_UP, BUTTON, "up", 150, 315, 31, 15, NO_FONT},
    ControlRow{RANGE_LIMIT_DOWN, BUTTON, "down", 150, 330, 31, 14, NO_FONT},
    ControlRow{RANGE_FRAME, FRAME, "Line1", 5, 300, 345, 50, NO_FONT},
    ControlRow{RANGE_FILTERS_BUTTON, BUTTON, "R+F+SUM+O/E (with storing)", 195, 315, 150, 30, NO_FONT},
    ControlRow{MEMORY_CAPTION, LABEL, "What we have last in memory", 445, 265, 135, 10, FONT_A},
    ControlRow{MEMORY_LABEL, LABEL, "Here you will find info about what is in memory", 355, 275, 300, 20, NO_FONT},
    ControlRow{SEARCH_G4_BUTTON, BUTTON, "7 good numbers/get 4 in comb.", 350, 230, 160, 15, NO_FONT},
    ControlRow{VIEW_G4_BUTTON, BUTTON, "view abbreviated system G4", 515, 230, 145, 15, NO_FONT},
    ControlRow{SEARCH_G5_BUTTON, BUTTON, "7 good numbers/get 5 in comb.", 350, 245, 160, 15, NO_FONT},
    ControlRow{VIEW_G5_BUTTON, BUTTON, "view abbreviated system G5", 515, 245, 145, 15, NO_FONT},
    ControlRow{MIN_NUMBER_LABEL, LABEL, "1", 370, 320, 25, 21, FONT_E},
    ControlRow{MIN_NUMBER_UP, BUTTON, "up", 405, 315, 30, 15, NO_FONT},
    ControlRow{MIN_NUMBER_DOWN, BUTTON, "down", 405, 330, 30, 15, NO_FONT},
    ControlRow{MIN_NUMBER_CAPTION, LABEL, "min number", 365, 300, 45, 9, FONT_F},
    ControlRow{MAX_NUMBER_LABEL, LABEL, "39", 445, 320, 26, 21, FONT_E},
    ControlRow{MAX_NUMBER_UP, BUTTON, "up", 475, 315, 31, 15, NO_FONT},
    ControlRow{MAX_NUMBER_DOWN, BUTTON, "down", 475, 330, 31, 15, NO_FONT},
    ControlRow{MAX_NUMBER_CAPTION, LABEL, "max number in combination", 445, 300, 105, 11, FONT_F},
    ControlRow{MIN_MAX_FILTERS_BUTTON, BUTTON, "Min/Max num+R+F+SUM+O/E", 515, 315, 145, 30, NO_FONT},
    ControlRow{MEMORY_FRAME, GROUP, "", 350, 260, 310, 40, NO_FONT},
    ControlRow{MAX_NEIGHBOURS_LABEL, LABEL, "3", 10, 370, 25, 21, FONT_E},
    // "down" before "up": Tab reaches it first although "up" is drawn above it.
    ControlRow{MAX_NEIGHBOURS_DOWN, BUTTON, "down", 50, 380, 31, 15, NO_FONT},
    ControlRow{MAX_NEIGHBOURS_UP, BUTTON, "up", 50, 365, 31, 15, NO_FONT},
    ControlRow{NEIGHBOURS_FILTERS_BUTTON, BUTTON, "N+MM+R+F+SUM+O/E (with storing)", 85, 365, 125, 30, NO_FONT},
    ControlRow{MAX_NEIGHBOURS_CAPTION, LABEL, "Max Neighboring numbers 1x", 10, 355, 100, 9, FONT_F},
};

// Column i of the excluded numbers: excludedLabel(i) (showing i at first), excludedUp(i), excludedDown(i).
struct ExcludedColumn {
    const char* firstText;
    int buttonX, labelX, labelWidth, labelHeight;
};

constexpr std::array<ExcludedColumn, 7> EXCLUDED_COLUMNS{{
    {"1", 230, 235, 25, 21},
    {"2", 270, 270, 30, 21},
    {"3", 310, 310, 30, 20},
    {"4", 350, 350, 30, 21},
    {"5", 390, 390, 30, 20},
    {"6", 430, 430, 30, 21},
    {"7", 470, 470, 30, 21},
}};
constexpr int EXCLUDED_LABEL_Y = 370, EXCLUDED_UP_Y = 355, EXCLUDED_DOWN_Y = 395;
constexpr int EXCLUDED_BUTTON_WIDTH = 30, EXCLUDED_BUTTON_HEIGHT = 15;

constexpr std::array TRAILING_CONTROLS{
    ControlRow{ALL_EXCLUDED_FILTERS_BUTTON, BUTTON, "All  num  OUT+N+MM+R+F+SUM+O/E", 515, 355, 145, 25, NO_FONT},
    ControlRow{ANY_FIVE_EXCLUDED_FILTERS_BUTTON, BUTTON, "any 5 num OUT+N+MM+R+F+SUM+O/E", 515, 385, 145, 25, NO_FONT},
};

// Controls added to the window later, created after all of the above so that those keep their
// creation order: "Smaller systems..." stands in the free space above the notice, in the column
// of the view buttons, and "Check a system..." beside it, in the column of the write buttons.
constexpr std::array ADDED_CONTROLS{
    ControlRow{SMALLER_SYSTEMS_BUTTON, BUTTON, "Smaller systems...", 515, 10, 145, 25, NO_FONT},
    ControlRow{CHECK_SYSTEM_BUTTON, BUTTON, "Check a system...", 350, 10, 160, 25, NO_FONT},
    // Below the neighbouring numbers, in the free space at the window's bottom left.
    ControlRow{SET_VALUES_BUTTON, BUTTON, "Set values...", 10, 399, 71, 15, NO_FONT},
    // Under the two buttons above the notice, so that it shows while a search runs.
    ControlRow{SEARCH_PROGRESS_LABEL, LABEL, "", 350, 35, 310, 10, NO_FONT},
    // "Past draws..." under the neighbouring-numbers button, in the free strip along the bottom edge.
    ControlRow{PAST_DRAWS_BUTTON, BUTTON, "Past draws...", 85, 398, 125, 15, NO_FONT},
    // "Wheel my numbers..." right of "max number in combination", between the memory frame and the
    // Min/Max button: the bottom row has no room left beside "Past draws...".
    ControlRow{WHEEL_MY_NUMBERS_BUTTON, BUTTON, "Wheel my numbers...", 555, 301, 105, 13, NO_FONT},
};

// Fonts A to H, all "MS Sans Serif".
const std::vector<FontTemplate> MAIN_WINDOW_FONTS{
    {10, true, false, DEFAULT_CHARACTER_SET},  // A
    {12, true, false, DEFAULT_CHARACTER_SET},  // B
    {12, false, false, DEFAULT_CHARACTER_SET}, // C
    {14, true, true, DEFAULT_CHARACTER_SET},   // D
    {24, true, false, DEFAULT_CHARACTER_SET},  // E
    {8, true, false, DEFAULT_CHARACTER_SET},   // F
    {24, false, false, DEFAULT_CHARACTER_SET}, // G
    {14, true, false, DEFAULT_CHARACTER_SET},  // H
};

}  // namespace

WindowTemplate mainWindowTemplate() {
    WindowTemplate window = programWindowFrame(8, 55, 668, 418, MAIN_WINDOW_STYLE);
    window.extendedStyle = EX_CONTROL_PARENT;
    window.iconResource = PROGRAM_ICON_RESOURCE;
    window.isMainWindow = true;
    window.fonts = MAIN_WINDOW_FONTS;

    for (const ControlRow& row : CONTROLS) window.controls.push_back(row.toControl());
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) {
        const ExcludedColumn& c = EXCLUDED_COLUMNS[i - 1];
        window.controls.push_back(
            {excludedLabel(i), LABEL, c.firstText, c.labelX, EXCLUDED_LABEL_Y, c.labelWidth, c.labelHeight, FONT_E});
    }
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) {
        window.controls.push_back({excludedUp(i), BUTTON, "up", EXCLUDED_COLUMNS[i - 1].buttonX, EXCLUDED_UP_Y,
                                   EXCLUDED_BUTTON_WIDTH, EXCLUDED_BUTTON_HEIGHT, NO_FONT});
    }
    for (int i = 1; i <= EXCLUDED_ENTRIES; ++i) {
        window.controls.push_back({excludedDown(i), BUTTON, "down", EXCLUDED_COLUMNS[i - 1].buttonX, EXCLUDED_DOWN_Y,
                                   EXCLUDED_BUTTON_WIDTH, EXCLUDED_BUTTON_HEIGHT, NO_FONT});
    }
    for (const ControlRow& row : TRAILING_CONTROLS) window.controls.push_back(row.toControl());
    for (const ControlRow& row : ADDED_CONTROLS) window.controls.push_back(row.toControl());
    // Held down, the up and down buttons repeat their step as a spin control's arrows do.
    for (int id : parameterStepButtons()) window.find(id)->repeatsWhileHeld = true;
    window.systemMenuItems.push_back({ABOUT_MENU_ITEM, "About Quillstep..."});
    return window;
}

void runMainWindow(SharedState& state, Platform& platform) {
    WindowHandler handler;
    handler.onCreated = [&platform] { disableStoreCommands(platform); };
    handler.onCommand = [&state, &platform](int controlId) {
        handleMainWindowCommand(state, platform, controlId);
        return WindowAction::Continue;
    };
    platform.runModalWindow(mainWindowTemplate(), handler);
}

}  // namespace quillstep
