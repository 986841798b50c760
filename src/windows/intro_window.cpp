#include "windows/intro_window.h"

#include <array>

#include "windows/program_identity.h"

namespace quillstep {
namespace {


enum FontIndex : int { DIALOG_FONT = -1, INTRO_FONT, NOTICE_FONT };
constexpr int ANSI_CHARSET = 0;

constexpr ControlKind LABEL = ControlKind::Label;

// Each text is kept short enough to wrap inside its box at its font.
constexpr std::array<ControlRow, 12> CONTROLS{{
    {1103, LABEL, "Hello", 25, 0, 30, 15, INTRO_FONT},
    {1104, LABEL, "Dear reader, please take a moment for this short notice.", 25, 15, 340, 10, NOTICE_FONT},
    {1105, LABEL,
     "Quillstep generates the lottery combinations of seven numbers "
     "drawn from 8 to 39 numbers, in order, and counts them.",
     25, 25, 405, 25, NOTICE_FONT},
    {1106, LABEL, "It can keep all of them in memory, or only those that pass your conditions.", 25, 50, 410, 15,
     NOTICE_FONT},
    {1107, LABEL,
     "The conditions are the sum of the numbers, the odd and even numbers, a forced number, "
     "a range, the smallest and largest number, neighbours and excluded numbers.",
     25, 65, 470, 35, NOTICE_FONT},
    {1108, LABEL,
     "Speed is the point: all 15,380,937 combinations of 39 numbers "
     "are stepped through in a moment.",
     25, 105, 455, 25, NOTICE_FONT},
    {1109, LABEL,
     "The stored combinations can be written to a text file, searched for an abbreviated system "
     "with four or five guaranteed hits, or counted number by number. Escape stops a long search "
     "and keeps the best system found so far.",
     25, 130, 440, 30, NOTICE_FONT},
    {1110, LABEL,
     "Values move one step at a time with their up and down buttons; lowering the total leaves "
     "the forced number, range limit and largest number as set, even above it.",
     25, 165, 450, 25, NOTICE_FONT},
    {1111, LABEL,
     "No combination can promise a win: the draw stays a matter of chance, and Quillstep "
     "only helps you choose and sort your numbers. Play for fun and within your means.",
     25, 190, 445, 45, NOTICE_FONT},
    {1113, LABEL, "We hope Quillstep saves you time and makes your choices easier. Good luck!", 25, 235, 450, 40,
     INTRO_FONT},
    {1114, LABEL, "Press Start to begin.", 25, 285, 220, 15, INTRO_FONT},
    {INTRO_START_BUTTON, ControlKind::Button, "Start", 275, 280, 145, 20, DIALOG_FONT},
}};

}  // namespace

WindowTemplate introWindowTemplate() {
    WindowTemplate window = programWindowFrame(82, 70, 501, 309);
    window.fonts = {{12, false, false, ANSI_CHARSET}, {10, false, false, ANSI_CHARSET}};
    for (const ControlRow& row : CONTROLS)
        window.controls.push_back(row.toControl());
    return window;
}

WindowAction introWindowCallback(int controlId) {
    return controlId == INTRO_START_BUTTON ? WindowAction::Close : WindowAction::Continue;
}

void showIntroWindow(Platform& platform) {
    WindowHandler handler;
    handler.onCommand = introWindowCallback;
    platform.runModalWindow(introWindowTemplate(), handler);
}

}  // namespace quillstep
