#include "app/main_window.h"

#include <array>

#include "app/dispatch.h"
#include "commands/control_ids.h"
#include "commands/store_commands.h"

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
    ControlRow{1002, LABEL, "Total numbers in system", 10, 13, 80, 25, FONT_A},
    ControlRow{1003, LABEL, "Numbers in combination", 10, 45, 75, 25, FONT_B},
    ControlRow{1004, LABEL, "Number of generated combinations", 350, 185, 70, 15, NO_FONT},
    ControlRow{1080, BUTTON, "Statistics of numbers in generated combinations", 350, 170, 305, 15, NO_FONT},
    ControlRow{1005, LABEL, "0", 420, 185, 240, 15, FONT_C},
    ControlRow{1006, LABEL, "Used time in seconds", 350, 203, 70, 10, NO_FONT},
    ControlRow{1007, LABEL, "0.00", 420, 200, 240, 14, FONT_C},
    ControlRow{1008, LABEL, "Min SUM of numbers in combination", 10, 85, 80, 20, NO_FONT},
    ControlRow{1009, LABEL, "Max SUM of numbers in combination", 10, 120, 80, 19, NO_FONT},
    ControlRow{1012, CENTRED, "Quillstep", 210, 250, 125, 45, FONT_D},
    // The notice, read from top to bottom: 1021, 1016, 1017, 1018, 1013, 1014, 1019, 1020, 1015.
    ControlRow{1013, LABEL, "While a run lasts the window rests and the priority is raised.",
               350, 99, 319, 14, NO_FONT},
    ControlRow{1014, LABEL, "It was written in C++ as one small program with no outside libraries.",
               350, 106, 315, 20, NO_FONT},
    ControlRow{1015, LABEL, "Every window is described by a table and built in memory as it opens.",
               350, 154, 315, 8, NO_FONT},
    ControlRow{1016, LABEL, "All 15,380,937 combinations of 7 out of 39 are stepped through in order.",
               350, 65, 315, 10, NO_FONT},
    ControlRow{1017, LABEL, "Counting the full wheel without storing takes only a moment.",
               350, 75, 315, 10, NO_FONT},
    ControlRow{1018, LABEL, "The conditions are tested in turn, and the first failed one ends the test.",
               350, 83, 300, 15, NO_FONT},
    ControlRow{1019, LABEL, "Nothing is allocated while a run lasts.", 350, 121, 190, 15, NO_FONT},
    ControlRow{1020, LABEL, "The stored combinations stay in memory until the next storing run.",
               350, 136, 305, 20, NO_FONT},
    ControlRow{1021, CENTRED, "Quillstep generates lottery combinations at high speed.", 350, 45, 300, 20, FONT_A},
    ControlRow{1024, LABEL, "Min ODD numbers in combination", 200, 85, 70, 20, NO_FONT},
    ControlRow{1025, LABEL, "Min EVEN numbers in combination", 200, 120, 70, 19, NO_FONT},
    ControlRow{1026, FRAME, "Line1", 5, 5, 190, 70, NO_FONT},
    ControlRow{1029, BUTTON, "Full wheel (without storing in memory)", 200, 5, 145, 30, NO_FONT},
    ControlRow{1030, BUTTON, "Full wheel (with storing in memory)", 200, 40, 145, 35, NO_FONT},
    ControlRow{1031, BUTTON, "Use sum condition (without storing in memory)", 5, 150, 180, 20, NO_FONT},
    ControlRow{1032, BUTTON, "Use sum condition (with storring in memory)", 5, 175, 180, 20, NO_FONT},
    ControlRow{1033, BUTTON, "Use o/e condition (without storing in memory)", 195, 150, 150, 20, NO_FONT},
    ControlRow{1034, BUTTON, "Use o/e condition (with storing in memory)", 195, 175, 150, 20, NO_FONT},
    ControlRow{1035, BUTTON, "Use SUM+ODD/EVEN condition (without storing in memory)", 5, 200, 340, 20, NO_FONT},
    ControlRow{1036, BUTTON, "Use SUM+ODD/EVEN condition (with storing in memory)", 5, 225, 340, 20, NO_FONT},
    ControlRow{1037, BUTTON, "Last data to mb_comb_file.txt", 350, 215, 160, 15, NO_FONT},
    ControlRow{1038, BUTTON, "View mb_comb_file.txt", 515, 215, 145, 15, NO_FONT},
    ControlRow{1039, LABEL, "39", 95, 15, 30, 25, FONT_E},
    ControlRow{1040, LABEL, "7", 95, 45, 25, 25, FONT_E},
    ControlRow{1041, LABEL, "140", 100, 85, 40, 25, FONT_E},
    ControlRow{1042, LABEL, "150", 100, 120, 40, 20, FONT_E},
    ControlRow{1043, LABEL, "3", 280, 80, 20, 25, FONT_E},
    ControlRow{1044, LABEL, "4", 280, 120, 20, 25, FONT_E},
    ControlRow{1045, BUTTON, "up", 150, 10, 30, 15, NO_FONT},
    ControlRow{1046, BUTTON, "down", 150, 25, 30, 20, NO_FONT},
    ControlRow{1047, BUTTON, "up", 150, 80, 30, 15, NO_FONT},
    ControlRow{1048, BUTTON, "down", 150, 95, 30, 15, NO_FONT},
    ControlRow{1049, BUTTON, "up", 150, 115, 30, 14, NO_FONT},
    ControlRow{1050, BUTTON, "down", 150, 130, 30, 15, NO_FONT},
    ControlRow{1051, BUTTON, "up", 315, 80, 30, 15, NO_FONT},
    ControlRow{1052, BUTTON, "down", 315, 95, 30, 15, NO_FONT},
    ControlRow{1053, BUTTON, "up", 315, 115, 30, 15, NO_FONT},
    ControlRow{1054, BUTTON, "down", 315, 130, 30, 15, NO_FONT},
    ControlRow{1055, LABEL, "Force this Number", 10, 255, 75, 9, FONT_F},
    ControlRow{1056, LABEL, "25", 15, 270, 30, 20, FONT_G},
    ControlRow{1057, BUTTON, "up", 50, 265, 31, 15, NO_FONT},
    ControlRow{1058, BUTTON, "down", 50, 280, 31, 15, NO_FONT},
    ControlRow{1059, BUTTON, "F+SUM+O/E (with storing)", 85, 265, 95, 30, NO_FONT},
    ControlRow{1060, LABEL, "2", 15, 320, 25, 20, FONT_E},
    ControlRow{1062, FRAME, "Line1", 5, 250, 180, 50, NO_FONT},
    ControlRow{1063, LABEL, "Numbers in range", 60, 305, 70, 9, FONT_F},
    ControlRow{1064, BUTTON, "up", 50, 315, 31, 15, NO_FONT},
    ControlRow{1065, BUTTON, "down", 50, 330, 31, 15, NO_FONT},
    ControlRow{1066, LABEL, "in 1-", 85, 325, 30, 15, FONT_H},
    ControlRow{1067, LABEL, "20", 115, 320, 30, 20, FONT_E},
    ControlRow{1068, BUTTON, "up", 150, 315, 31, 15, NO_FONT},
    ControlRow{1069, BUTTON, "down", 150, 330, 31, 14, NO_FONT},
    ControlRow{1070, FRAME, "Line1", 5, 300, 345, 50, NO_FONT},
    ControlRow{1071, BUTTON, "R+F+SUM+O/E (with storing)", 195, 315, 150, 30, NO_FONT},
    ControlRow{1072, LABEL, "What we have last in memory", 445, 265, 135, 10, FONT_A},
    ControlRow{1073, LABEL, "Here you will find info about what is in memory", 355, 275, 300, 20, NO_FONT},
    ControlRow{1074, BUTTON, "7 good numbers/get 4 in comb.", 350, 230, 160, 15, NO_FONT},
    ControlRow{1075, BUTTON, "view abbreviated system G4", 515, 230, 145, 15, NO_FONT},
    ControlRow{1076, BUTTON, "7 good numbers/get 5 in comb.", 350, 245, 160, 15, NO_FONT},
    ControlRow{1077, BUTTON, "view abbreviated system G5", 515, 245, 145, 15, NO_FONT},
    ControlRow{1116, LABEL, "1", 370, 320, 25, 21, FONT_E},
    ControlRow{1117, BUTTON, "up", 405, 315, 30, 15, NO_FONT},
    ControlRow{1118, BUTTON, "down", 405, 330, 30, 15, NO_FONT},
    ControlRow{1119, LABEL, "min number", 365, 300, 45, 9, FONT_F},
    ControlRow{1120, LABEL, "39", 445, 320, 26, 21, FONT_E},
    ControlRow{1121, BUTTON, "up", 475, 315, 31, 15, NO_FONT},
    ControlRow{1122, BUTTON, "down", 475, 330, 31, 15, NO_FONT},
    ControlRow{1123, LABEL, "max number in combination", 445, 300, 105, 11, FONT_F},
    ControlRow{1124, BUTTON, "Min/Max num+R+F+SUM+O/E", 515, 315, 145, 30, NO_FONT},
    ControlRow{1125, GROUP, "", 350, 260, 310, 40, NO_FONT},
    ControlRow{1126, LABEL, "3", 10, 370, 25, 21, FONT_E},
    // "down" before "up": Tab reaches it first although "up" is drawn above it.
    ControlRow{1127, BUTTON, "down", 50, 380, 31, 15, NO_FONT},
    ControlRow{1128, BUTTON, "up", 50, 365, 31, 15, NO_FONT},
    ControlRow{1129, BUTTON, "N+MM+R+F+SUM+O/E (with storing)", 85, 365, 125, 30, NO_FONT},
    ControlRow{1130, LABEL, "Max Neighboring numbers 1x", 10, 355, 100, 9, FONT_F},
};

// Column i of the excluded numbers: label 1130 + i (showing i at first), "up" 1137 + i, "down" 1144 + i.
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
    ControlRow{1152, BUTTON, "All  num  OUT+N+MM+R+F+SUM+O/E", 515, 355, 145, 25, NO_FONT},
    ControlRow{1153, BUTTON, "any 5 num OUT+N+MM+R+F+SUM+O/E", 515, 385, 145, 25, NO_FONT},
};

// Controls added to the window later, created after all of the above so that those keep their
// creation order: "Smaller systems..." stands in the free space above the notice, in the column
// of the view buttons, and "Check a system..." beside it, in the column of the write buttons.
constexpr std::array ADDED_CONTROLS{
    ControlRow{SMALLER_SYSTEMS_BUTTON, BUTTON, "Smaller systems...", 515, 10, 145, 25, NO_FONT},
    ControlRow{CHECK_SYSTEM_BUTTON, BUTTON, "Check a system...", 350, 10, 160, 25, NO_FONT},
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
    WindowTemplate window;
    window.title = PROGRAM_WINDOW_TITLE;
    window.x = 8;
    window.y = 55;
    window.width = 668;
    window.height = 418;
    window.style = MAIN_WINDOW_STYLE;
    window.extendedStyle = EX_CONTROL_PARENT;
    window.iconResource = PROGRAM_ICON_RESOURCE;
    window.isMainWindow = true;
    window.fonts = MAIN_WINDOW_FONTS;

    for (const ControlRow& row : CONTROLS) window.controls.push_back(row.toControl());
    for (int i = 1; i <= 7; ++i) {
        const ExcludedColumn& c = EXCLUDED_COLUMNS[i - 1];
        window.controls.push_back(
            {1130 + i, LABEL, c.firstText, c.labelX, EXCLUDED_LABEL_Y, c.labelWidth, c.labelHeight, FONT_E});
    }
    for (int i = 1; i <= 7; ++i) {
        window.controls.push_back({1137 + i, BUTTON, "up", EXCLUDED_COLUMNS[i - 1].buttonX, EXCLUDED_UP_Y,
                                   EXCLUDED_BUTTON_WIDTH, EXCLUDED_BUTTON_HEIGHT, NO_FONT});
    }
    for (int i = 1; i <= 7; ++i) {
        window.controls.push_back({1144 + i, BUTTON, "down", EXCLUDED_COLUMNS[i - 1].buttonX, EXCLUDED_DOWN_Y,
                                   EXCLUDED_BUTTON_WIDTH, EXCLUDED_BUTTON_HEIGHT, NO_FONT});
    }
    for (const ControlRow& row : TRAILING_CONTROLS) window.controls.push_back(row.toControl());
    for (const ControlRow& row : ADDED_CONTROLS) window.controls.push_back(row.toControl());
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
