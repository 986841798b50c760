#pragma once
// The main window's control ids, one name each, in the order of their numbers. The window's
// template (app/main_window.cpp), the commands that write its labels, the tests and the Wine
// driver all use these names.

#include <array>

namespace quillstep {

// Captions, frames and the notice.
constexpr int TOTAL_NUMBERS_CAPTION = 1002;            // "Total numbers in system"
constexpr int NUMBERS_PER_COMBINATION_CAPTION = 1003;  // "Numbers in combination"
constexpr int COUNT_CAPTION = 1004;                    // "Number of generated combinations"
constexpr int TIME_CAPTION = 1006;                     // "Used time in seconds"
constexpr int MIN_SUM_CAPTION = 1008;
constexpr int MAX_SUM_CAPTION = 1009;
constexpr int PROGRAM_NAME_LABEL = 1012;               // "Quillstep"
// The notice's lines, read from top to bottom: NOTICE_HEADLINE, then lines 1 to 8.
constexpr int NOTICE_LINE_4 = 1013;
constexpr int NOTICE_LINE_5 = 1014;
constexpr int NOTICE_LINE_8 = 1015;
constexpr int NOTICE_LINE_1 = 1016;
constexpr int NOTICE_LINE_2 = 1017;
constexpr int NOTICE_LINE_3 = 1018;
constexpr int NOTICE_LINE_6 = 1019;
constexpr int NOTICE_LINE_7 = 1020;
constexpr int NOTICE_HEADLINE = 1021;
constexpr int MIN_ODD_CAPTION = 1024;
constexpr int MIN_EVEN_CAPTION = 1025;
constexpr int TOTAL_NUMBERS_FRAME = 1026;
constexpr int FORCED_NUMBER_CAPTION = 1055;            // "Force this Number"
constexpr int FORCED_NUMBER_FRAME = 1062;
constexpr int RANGE_COUNT_CAPTION = 1063;              // "Numbers in range"
constexpr int RANGE_LIMIT_CAPTION = 1066;              // "in 1-"
constexpr int RANGE_FRAME = 1070;
constexpr int MEMORY_CAPTION = 1072;                   // "What we have last in memory"
constexpr int MIN_NUMBER_CAPTION = 1119;
constexpr int MAX_NUMBER_CAPTION = 1123;
constexpr int MEMORY_FRAME = 1125;
constexpr int MAX_NEIGHBOURS_CAPTION = 1130;           // "Max Neighboring numbers 1x"

// The labels the commands write.
constexpr int COUNT_LABEL = 1005;
constexpr int TIME_LABEL = 1007;
constexpr int MEMORY_LABEL = 1073;

// The parameters' value labels and their "up" and "down" buttons.
constexpr int TOTAL_NUMBERS_LABEL = 1039;
constexpr int NUMBERS_PER_COMBINATION_LABEL = 1040;
constexpr int MIN_SUM_LABEL = 1041;
constexpr int MAX_SUM_LABEL = 1042;
constexpr int MIN_ODD_LABEL = 1043;
constexpr int MIN_EVEN_LABEL = 1044;
constexpr int TOTAL_NUMBERS_UP = 1045;
constexpr int TOTAL_NUMBERS_DOWN = 1046;
constexpr int MIN_SUM_UP = 1047;
constexpr int MIN_SUM_DOWN = 1048;
constexpr int MAX_SUM_UP = 1049;
constexpr int MAX_SUM_DOWN = 1050;
constexpr int MIN_ODD_UP = 1051;
constexpr int MIN_ODD_DOWN = 1052;
constexpr int MIN_EVEN_UP = 1053;
constexpr int MIN_EVEN_DOWN = 1054;
constexpr int FORCED_NUMBER_LABEL = 1056;
constexpr int FORCED_NUMBER_UP = 1057;
constexpr int FORCED_NUMBER_DOWN = 1058;
constexpr int RANGE_COUNT_LABEL = 1060;
constexpr int RANGE_COUNT_UP = 1064;
constexpr int RANGE_COUNT_DOWN = 1065;
constexpr int RANGE_LIMIT_LABEL = 1067;
constexpr int RANGE_LIMIT_UP = 1068;
constexpr int RANGE_LIMIT_DOWN = 1069;
constexpr int MIN_NUMBER_LABEL = 1116;
constexpr int MIN_NUMBER_UP = 1117;
constexpr int MIN_NUMBER_DOWN = 1118;
constexpr int MAX_NUMBER_LABEL = 1120;
constexpr int MAX_NUMBER_UP = 1121;
constexpr int MAX_NUMBER_DOWN = 1122;
constexpr int MAX_NEIGHBOURS_LABEL = 1126;
constexpr int MAX_NEIGHBOURS_DOWN = 1127;  // created before its "up" button
constexpr int MAX_NEIGHBOURS_UP = 1128;

// Excluded number `entry` (1 to 7): its label and its two buttons.
constexpr int EXCLUDED_ENTRIES = 7;
constexpr int excludedLabel(int entry) { return 1130 + entry; }
constexpr int excludedUp(int entry) { return 1137 + entry; }
constexpr int excludedDown(int entry) { return 1144 + entry; }

// The fourteen generation buttons, by mode.
constexpr int FULL_WHEEL_BUTTON = 1029;                 // mode 1
constexpr int FULL_WHEEL_STORING_BUTTON = 1030;         // mode 2
constexpr int SUM_BUTTON = 1031;                        // mode 3
constexpr int SUM_STORING_BUTTON = 1032;                // mode 4
constexpr int ODD_EVEN_BUTTON = 1033;                   // mode 5
constexpr int ODD_EVEN_STORING_BUTTON = 1034;           // mode 6
constexpr int SUM_ODD_EVEN_BUTTON = 1035;               // mode 7
constexpr int SUM_ODD_EVEN_STORING_BUTTON = 1036;       // mode 8
constexpr int FORCED_FILTERS_BUTTON = 1059;             // mode 9: "F+SUM+O/E (with storing)"
constexpr int RANGE_FILTERS_BUTTON = 1071;              // mode 10: "R+F+SUM+O/E (with storing)"
constexpr int MIN_MAX_FILTERS_BUTTON = 1124;            // mode 11: "Min/Max num+R+F+SUM+O/E"
constexpr int NEIGHBOURS_FILTERS_BUTTON = 1129;         // mode 12: "N+MM+R+F+SUM+O/E (with storing)"
constexpr int ALL_EXCLUDED_FILTERS_BUTTON = 1152;       // mode 13: "All  num  OUT+N+MM+R+F+SUM+O/E"
constexpr int ANY_FIVE_EXCLUDED_FILTERS_BUTTON = 1153;  // mode 14: "any 5 num OUT+N+MM+R+F+SUM+O/E"

// The buttons that work on the stored combinations.
constexpr int WRITE_COMBINATIONS_BUTTON = 1037;
constexpr int VIEW_COMBINATIONS_BUTTON = 1038;
constexpr int SEARCH_G4_BUTTON = 1074;
constexpr int VIEW_G4_BUTTON = 1075;
constexpr int SEARCH_G5_BUTTON = 1076;
constexpr int VIEW_G5_BUTTON = 1077;
constexpr int STATISTICS_BUTTON = 1080;

// The buttons that work on the stored combinations, in the order they are enabled and disabled.
constexpr std::array<int, 7> StoreCommands{WRITE_COMBINATIONS_BUTTON, VIEW_COMBINATIONS_BUTTON, SEARCH_G4_BUTTON,
                                           VIEW_G4_BUTTON,            SEARCH_G5_BUTTON,         VIEW_G5_BUTTON,
                                           STATISTICS_BUTTON};

// "Smaller systems...": created after the controls above, it opens a window of its own and works
// on the stored combinations too, so it is enabled and disabled together with StoreCommands,
// though not one of them.
constexpr int SMALLER_SYSTEMS_BUTTON = 1154;
// "Check a system...": created after "Smaller systems...", enabled and disabled with it.
constexpr int CHECK_SYSTEM_BUTTON = 1155;
// "Set values...": opens a window in which the parameters are typed; always enabled.
constexpr int SET_VALUES_BUTTON = 1156;
// "About Quillstep...": an entry of the main window's system menu (a multiple of 16, as the
// system wants of its menu's commands), not a control.
constexpr int ABOUT_MENU_ITEM = 2192;

// The G4/G5 search's share done and time left while it runs (empty otherwise); under the
// "Check a system..." and "Smaller systems..." buttons, where nothing else stands.
constexpr int SEARCH_PROGRESS_LABEL = 1157;
// "Past draws...": needs no store and is always enabled.
constexpr int PAST_DRAWS_BUTTON = 1158;
// "Wheel my numbers...": needs no store and is always enabled.
constexpr int WHEEL_MY_NUMBERS_BUTTON = 1159;

}  // namespace quillstep
