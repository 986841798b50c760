#pragma once
// What every window of the program shows of it: the title bar's text and the icon's resource id
// (resources/quillstep.rc), and the frame each window's template starts from.

#include <cstdint>

#include "platform/window.h"

namespace quillstep {

constexpr const char* PROGRAM_WINDOW_TITLE = "Marrowby - Quillstep";
constexpr int PROGRAM_ICON_RESOURCE = 102;

// A window of the program at x, y of width by height (dialog units, see WindowTemplate) with the
// program's title; the caller adds its fonts and controls.
inline WindowTemplate programWindowFrame(int x, int y, int width, int height,
                                         uint32_t style = AUXILIARY_WINDOW_STYLE) {
    WindowTemplate window;
    window.title = PROGRAM_WINDOW_TITLE;
    window.x = x;
    window.y = y;
    window.width = width;
    window.height = height;
    window.style = style;
    return window;
}

// The short names the control tables of the program's smaller windows share: the fonts by their
// index in WindowTemplate::fonts (DIALOG_FONT: the dialog's own; VALUE_FONT: values and emphasis),
// the character set of their fonts, and the two kinds of control they list most.
namespace window_rows {
enum FontIndex : int { DIALOG_FONT = -1, HEADING_FONT, VALUE_FONT };
constexpr int DEFAULT_CHARACTER_SET = 1;
constexpr ControlKind LABEL = ControlKind::Label;
constexpr ControlKind BUTTON = ControlKind::Button;
}  // namespace window_rows

}  // namespace quillstep
