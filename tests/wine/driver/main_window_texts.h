#pragma once
// What the main window shows at first display, control by control.

#include <array>
#include <string_view>

#include "windows/control_ids.h"

namespace driver {

using namespace quillstep;  // the main window's control ids

struct ControlText {
    int id;
    std::string_view text;
};

// Every button, every field name and every value label with its first text.
constexpr std::array<ControlText, 99> MAIN_WINDOW_FIRST_TEXTS{{
    {TOTAL_NUMBERS_CAPTION, "Total numbers in system"},
    {TOTAL_NUMBERS_LABEL, "39"},
    {TOTAL_NUMBERS_UP, "up"},
    {TOTAL_NUMBERS_DOWN, "down"},
    {NUMBERS_PER_COMBINATION_CAPTION, "Numbers in combination"},
    {NUMBERS_PER_COMBINATION_LABEL, "7"},
    {FULL_WHEEL_BUTTON, "Full wheel (without storing in memory)"},
    {FULL_WHEEL_STORING_BUTTON, "Full wheel (with storing in memory)"},
    {MIN_SUM_CAPTION, "Min SUM of numbers in combination"},
    {MIN_SUM_LABEL, "140"},
    {MIN_SUM_UP, "up"},
    {MIN_SUM_DOWN, "down"},
    {MAX_SUM_CAPTION, "Max SUM of numbers in combination"},
    {MAX_SUM_LABEL, "150"},
    {MAX_SUM_UP, "up"},
    {MAX_SUM_DOWN, "down"},
    {MIN_ODD_CAPTION, "Min ODD numbers in combination"},
    {MIN_ODD_LABEL, "3"},
    {MIN_ODD_UP, "up"},
    {MIN_ODD_DOWN, "down"},
    {MIN_EVEN_CAPTION, "Min EVEN numbers in combination"},
    {MIN_EVEN_LABEL, "4"},
    {MIN_EVEN_UP, "up"},
    {MIN_EVEN_DOWN, "down"},
    {SUM_BUTTON, "Use sum condition (without storing in memory)"},
    {SUM_STORING_BUTTON, "Use sum condition (with storring in memory)"},
    {ODD_EVEN_BUTTON, "Use o/e condition (without storing in memory)"},
    {ODD_EVEN_STORING_BUTTON, "Use o/e condition (with storing in memory)"},
    {SUM_ODD_EVEN_BUTTON, "Use SUM+ODD/EVEN condition (without storing in memory)"},
    {SUM_ODD_EVEN_STORING_BUTTON, "Use SUM+ODD/EVEN condition (with storing in memory)"},
    {FORCED_NUMBER_CAPTION, "Force this Number"},
    {FORCED_NUMBER_LABEL, "25"},
    {FORCED_NUMBER_UP, "up"},
    {FORCED_NUMBER_DOWN, "down"},
    {FORCED_FILTERS_BUTTON, "F+SUM+O/E (with storing)"},
    {RANGE_COUNT_LABEL, "2"},
    {RANGE_COUNT_CAPTION, "Numbers in range"},
    {RANGE_COUNT_UP, "up"},
    {RANGE_COUNT_DOWN, "down"},
    {RANGE_LIMIT_CAPTION, "in 1-"},
    {RANGE_LIMIT_LABEL, "20"},
    {RANGE_LIMIT_UP, "up"},
    {RANGE_LIMIT_DOWN, "down"},
    {RANGE_FILTERS_BUTTON, "R+F+SUM+O/E (with storing)"},
    {MAX_NEIGHBOURS_LABEL, "3"},
    {MAX_NEIGHBOURS_DOWN, "down"},
    {MAX_NEIGHBOURS_UP, "up"},
    {NEIGHBOURS_FILTERS_BUTTON, "N+MM+R+F+SUM+O/E (with storing)"},
    {MAX_NEIGHBOURS_CAPTION, "Max Neighboring numbers 1x"},
    {excludedLabel(1), "1"},
    {excludedLabel(2), "2"},
    {excludedLabel(3), "3"},
    {excludedLabel(4), "4"},
    {excludedLabel(5), "5"},
    {excludedLabel(6), "6"},
    {excludedLabel(7), "7"},
    {excludedUp(1), "up"},
    {excludedUp(2), "up"},
    {excludedUp(3), "up"},
    {excludedUp(4), "up"},
    {excludedUp(5), "up"},
    {excludedUp(6), "up"},
    {excludedUp(7), "up"},
    {excludedDown(1), "down"},
    {excludedDown(2), "down"},
    {excludedDown(3), "down"},
    {excludedDown(4), "down"},
    {excludedDown(5), "down"},
    {excludedDown(6), "down"},
    {excludedDown(7), "down"},
    {ALL_EXCLUDED_FILTERS_BUTTON, "All  num  OUT+N+MM+R+F+SUM+O/E"},
    {ANY_FIVE_EXCLUDED_FILTERS_BUTTON, "any 5 num OUT+N+MM+R+F+SUM+O/E"},
    {MIN_NUMBER_LABEL, "1"},
    {MIN_NUMBER_UP, "up"},
    {MIN_NUMBER_DOWN, "down"},
    {MIN_NUMBER_CAPTION, "min number"},
    {MAX_NUMBER_LABEL, "39"},
    {MAX_NUMBER_UP, "up"},
    {MAX_NUMBER_DOWN, "down"},
    {MAX_NUMBER_CAPTION, "max number in combination"},
    {MIN_MAX_FILTERS_BUTTON, "Min/Max num+R+F+SUM+O/E"},
    {STATISTICS_BUTTON, "Statistics of numbers in generated combinations"},
    {COUNT_CAPTION, "Number of generated combinations"},
    {COUNT_LABEL, "0"},
    {TIME_CAPTION, "Used time in seconds"},
    {TIME_LABEL, "0.00"},
    {WRITE_COMBINATIONS_BUTTON, "Last data to mb_comb_file.txt"},
    {VIEW_COMBINATIONS_BUTTON, "View mb_comb_file.txt"},
    {SEARCH_G4_BUTTON, "7 good numbers/get 4 in comb."},
    {VIEW_G4_BUTTON, "view abbreviated system G4"},
    {SEARCH_G5_BUTTON, "7 good numbers/get 5 in comb."},
    {VIEW_G5_BUTTON, "view abbreviated system G5"},
    {MEMORY_FRAME, ""},
    {MEMORY_CAPTION, "What we have last in memory"},
    {MEMORY_LABEL, "Here you will find info about what is in memory"},
    {PROGRAM_NAME_LABEL, "Quillstep"},
    {TOTAL_NUMBERS_FRAME, "Line1"},
    {FORCED_NUMBER_FRAME, "Line1"},
    {RANGE_FRAME, "Line1"},
}};

// The notice labels carry text of their own choosing; only their presence is fixed.
constexpr std::array<int, 9> NOTICE_LABELS{NOTICE_HEADLINE, NOTICE_LINE_1, NOTICE_LINE_2, NOTICE_LINE_3, NOTICE_LINE_4,
                                           NOTICE_LINE_5,   NOTICE_LINE_6, NOTICE_LINE_7, NOTICE_LINE_8};

// The store buttons, greyed out until a storing run.
constexpr std::array<int, 7> STORE_BUTTONS = StoreCommands;

// Controls added after the original ones, in creation order, with their first texts.
constexpr std::array<ControlText, 6> ADDED_CONTROLS{{{SMALLER_SYSTEMS_BUTTON, "Smaller systems..."},
                                                     {CHECK_SYSTEM_BUTTON, "Check a system..."},
                                                     {SET_VALUES_BUTTON, "Set values..."},
                                                     {SEARCH_PROGRESS_LABEL, ""},
                                                     {PAST_DRAWS_BUTTON, "Past draws..."},
                                                     {WHEEL_MY_NUMBERS_BUTTON, "Wheel my numbers..."}}};

// Creation order of the original controls, which is also the tab order of the buttons.
constexpr int MAIN_WINDOW_CREATION_ORDER[] = {
    1002, 1003, 1004, 1080, 1005, 1006, 1007, 1008, 1009, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019,
    1020, 1021, 1024, 1025, 1026, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040,
    1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1056, 1057,
    1058, 1059, 1060, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1075,
    1076, 1077, 1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129, 1130,
    1131, 1132, 1133, 1134, 1135, 1136, 1137, 1138, 1139, 1140, 1141, 1142, 1143, 1144, 1145, 1146, 1147,
    1148, 1149, 1150, 1151, 1152, 1153};

}  // namespace driver
