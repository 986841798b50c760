#pragma once
// What every window of the program shows of it: the title bar's text and the icon's resource id
// (resources/quillstep.rc).

namespace quillstep {

constexpr const char* PROGRAM_WINDOW_TITLE = "Marrowby - Quillstep";
constexpr int PROGRAM_ICON_RESOURCE = 102;

}  // namespace quillstep
