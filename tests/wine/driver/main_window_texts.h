#pragma once
// What the main window shows at first display, control by control.

#include <array>
#include <string_view>

namespace driver {

struct ControlText {
    int id;
    std::string_view text;
};

// Every button, every field name and every value label with its first text.
constexpr std::array<ControlText, 99> MAIN_WINDOW_FIRST_TEXTS{{
    {1002, "Total numbers in system"},
    {1039, "39"},
    {1045, "up"},
    {1046, "down"},
    {1003, "Numbers in combination"},
    {1040, "7"},
    {1029, "Full wheel (without storing in memory)"},
    {1030, "Full wheel (with storing in memory)"},
    {1008, "Min SUM of numbers in combination"},
    {1041, "140"},
    {1047, "up"},
    {1048, "down"},
    {1009, "Max SUM of numbers in combination"},
    {1042, "150"},
    {1049, "up"},
    {1050, "down"},
    {1024, "Min ODD numbers in combination"},
    {1043, "3"},
    {1051, "up"},
    {1052, "down"},
    {1025, "Min EVEN numbers in combination"},
    {1044, "4"},
    {1053, "up"},
    {1054, "down"},
    {1031, "Use sum condition (without storing in memory)"},
    {1032, "Use sum condition (with storring in memory)"},
    {1033, "Use o/e condition (without storing in memory)"},
    {1034, "Use o/e condition (with storing in memory)"},
    {1035, "Use SUM+ODD/EVEN condition (without storing in memory)"},
    {1036, "Use SUM+ODD/EVEN condition (with storing in memory)"},
    {1055, "Force this Number"},
    {1056, "25"},
    {1057, "up"},
    {1058, "down"},
    {1059, "F+SUM+O/E (with storing)"},
    {1060, "2"},
    {1063, "Numbers in range"},
    {1064, "up"},
    {1065, "down"},
    {1066, "in 1-"},
    {1067, "20"},
    {1068, "up"},
    {1069, "down"},
    {1071, "R+F+SUM+O/E (with storing)"},
    {1126, "3"},
    {1127, "down"},
    {1128, "up"},
    {1129, "N+MM+R+F+SUM+O/E (with storing)"},
    {1130, "Max Neighboring numbers 1x"},
    {1131, "1"},
    {1132, "2"},
    {1133, "3"},
    {1134, "4"},
    {1135, "5"},
    {1136, "6"},
    {1137, "7"},
    {1138, "up"},
    {1139, "up"},
    {1140, "up"},
    {1141, "up"},
    {1142, "up"},
    {1143, "up"},
    {1144, "up"},
    {1145, "down"},
    {1146, "down"},
    {1147, "down"},
    {1148, "down"},
    {1149, "down"},
    {1150, "down"},
    {1151, "down"},
    {1152, "All  num  OUT+N+MM+R+F+SUM+O/E"},
    {1153, "any 5 num OUT+N+MM+R+F+SUM+O/E"},
    {1116, "1"},
    {1117, "up"},
    {1118, "down"},
    {1119, "min number"},
    {1120, "39"},
    {1121, "up"},
    {1122, "down"},
    {1123, "max number in combination"},
    {1124, "Min/Max num+R+F+SUM+O/E"},
    {1080, "Statistics of numbers in generated combinations"},
    {1004, "Number of generated combinations"},
    {1005, "0"},
    {1006, "Used time in seconds"},
    {1007, "0.00"},
    {1037, "Last data to mb_comb_file.txt"},
    {1038, "View mb_comb_file.txt"},
    {1074, "7 good numbers/get 4 in comb."},
    {1075, "view abbreviated system G4"},
    {1076, "7 good numbers/get 5 in comb."},
    {1077, "view abbreviated system G5"},
    {1125, ""},
    {1072, "What we have last in memory"},
    {1073, "Here you will find info about what is in memory"},
    {1012, "Quillstep"},
    {1026, "Line1"},
    {1062, "Line1"},
    {1070, "Line1"},
}};

// The notice labels carry text of their own choosing; only their presence is fixed.
constexpr std::array<int, 9> NOTICE_LABELS{1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021};

// The store buttons, greyed out until a storing run.
constexpr std::array<int, 7> STORE_BUTTONS{1037, 1038, 1074, 1075, 1076, 1077, 1080};

// Open the "Smaller systems" and "Check a system" windows; greyed out with the store buttons,
// though not among them.
constexpr int SMALLER_SYSTEMS_BUTTON = 1154;
constexpr int CHECK_SYSTEM_BUTTON = 1155;

// Controls added after the original ones, in creation order, with their first texts.
constexpr std::array<ControlText, 2> ADDED_CONTROLS{
    {{SMALLER_SYSTEMS_BUTTON, "Smaller systems..."}, {CHECK_SYSTEM_BUTTON, "Check a system..."}}};

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
