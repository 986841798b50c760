#pragma once
// Ids of the main window's controls that the commands write or enable.

#include <array>

namespace quillstep {

constexpr int COUNT_LABEL = 1005;
constexpr int TIME_LABEL = 1007;
constexpr int MEMORY_LABEL = 1073;

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

}  // namespace quillstep
