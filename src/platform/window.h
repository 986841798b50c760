#pragma once
// Windows are data: a template of controls plus a handler. A platform turns them into real windows.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillstep {

enum class ControlKind {
    Label,         // static text, left-aligned, wraps within its box
    CentredLabel,  // static text, centred
    Button,        // push button, tab stop
    EtchedFrame,   // static etched rectangle, shows no text
    GroupBox,      // button-class group box
    CheckBox,      // button-class check box, tab stop; its mark is set by the window's handler
    // A push button that stays pressed in while it is checked, tab stop; as a check box, a click only
    // reports itself and the window's handler sets the mark (Platform::checkWindowControl).
    ToggleButton,
    Edit,          // one-line edit field, tab stop; every change is reported as a command of its id
    // A bar chart drawn by the platform from its text, lines separated by '\n': first the value of a
    // line drawn across the bars and its caption ("538.46\texpected"; empty: no line), then the
    // captions of the rows of labels under the bars, separated by tabs, then one line per bar: its
    // value, then its labels, separated by tabs ("612\t17\t3"). Shows nothing while the text is empty.
    BarChart,
};

// A font of the face "MS Sans Serif"; the height follows from the point size and the screen's
// pixels per inch.
struct FontTemplate {
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
    int charset = 0;  // 0 ANSI/default, 238 Central European
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units of the window font
    int font = -1;                            // index into WindowTemplate::fonts; -1 keeps the dialog font
    // A button held down repeats its command, as a spin control's arrows do (see commandsWhileHeld).
    bool repeatsWhileHeld = false;
};

// A held button that repeats: one command after HELD_REPEAT_DELAY_MILLISECONDS, then one every
// HELD_REPEAT_INTERVAL_MILLISECONDS (about 12 a second) until it is let go; a shorter press is one
// click, one command.
constexpr int HELD_REPEAT_DELAY_MILLISECONDS = 400;
constexpr int HELD_REPEAT_INTERVAL_MILLISECONDS = 83;

// The commands a repeating button sends when held down for `heldMilliseconds` and let go.
constexpr int commandsWhileHeld(int heldMilliseconds) {
    return heldMilliseconds < HELD_REPEAT_DELAY_MILLISECONDS
               ? 1
               : 1 + (heldMilliseconds - HELD_REPEAT_DELAY_MILLISECONDS) / HELD_REPEAT_INTERVAL_MILLISECONDS;
}

// An entry the window adds to its system menu (the menu of its title bar's icon). Choosing it is
// reported to the handler as a command of `id`, which the system wants a multiple of 16 below
// 0xF000.
struct MenuItemTemplate {
    int id;
    std::string text;
};

// A control as a row of a constant table, for windows whose controls are fixed at compile time.
struct ControlRow {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    int font;

    ControlTemplate toControl() const { return {id, kind, text, x, y, width, height, font}; }
};

struct WindowTemplate {
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;  // client area in dialog units, from the screen's corner
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int iconResource = 0;        // 0: no icon
    bool isMainWindow = false;   // the target of Platform's control calls while it is open
                                 // (the other windows are reached by Platform's window-control calls)
    std::vector<FontTemplate> fonts;
    std::vector<ControlTemplate> controls;  // in creation (tab) order
    std::vector<MenuItemTemplate> systemMenuItems;  // after the system's own entries and a separator

    const ControlTemplate* find(int id) const {
        for (const auto& c : controls)
            if (c.id == id) return &c;
        return nullptr;
    }
    ControlTemplate* find(int id) {
        for (auto& c : controls)
            if (c.id == id) return &c;
        return nullptr;
    }
};

enum class WindowAction { Continue, Close };

struct WindowHandler {
    std::function<void()> onCreated;                       // after every control and font exists
    std::function<WindowAction(int controlId)> onCommand;  // a click (any notification) on a control,
                                                           // or a system-menu entry chosen
};

// Window styles used by the templates (values of the Windows API, kept here so that the core
// needs no platform header).
constexpr uint32_t MAIN_WINDOW_STYLE = 0x94C800D4;  // popup, visible, clip siblings, caption, sysmenu,
                                                    // modal frame, set font, no-fail create, 3-D look
constexpr uint32_t AUXILIARY_WINDOW_STYLE = 0x90C000C4;  // popup, visible, caption, modal frame, set font,
                                                         // 3-D look; no system menu, so no close box
constexpr uint32_t EX_CONTROL_PARENT = 0x00010000;

}  // namespace quillstep
