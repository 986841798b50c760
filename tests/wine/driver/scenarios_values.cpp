// The "Set values" window, the up/down buttons held down and the About window, on the real
// program: values typed into the edit fields as a user types them, a button held with the mouse,
// the About entry chosen from the main window's system menu.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "quillstep_version.h"
#include "scenarios.h"

namespace driver {

namespace {

// The "Set values" window's own controls (src/windows/set_values_window.h): field i has its edit
// field SET_VALUES_EDIT + i, in the order total, numbers in combination, min sum, max sum, min
// odd, min even, forced, range count, range limit, min number, max number, max neighbours,
// excluded numbers.
constexpr int SET_VALUES_EDIT = 2121, SET_VALUES_RANGE = 2141, SET_VALUES_MESSAGE = 2160;
constexpr int SET_VALUES_OK = 2161, SET_VALUES_CANCEL = 2162;
constexpr int TOTAL_FIELD = 0, MIN_SUM_FIELD = 2, MAX_SUM_FIELD = 3, MIN_ODD_FIELD = 4, MIN_EVEN_FIELD = 5,
              EXCLUDED_FIELD = 12;
// The About window (src/windows/about_window.h) and its entry in the system menu.
constexpr const char* ABOUT_TITLE = "About Quillstep";
constexpr int ABOUT_VERSION_LABEL = 2170, ABOUT_PURPOSE_LABEL = 2171, ABOUT_FILES_LABEL = 2172,
              ABOUT_GUARANTEE_LABEL = 2173, ABOUT_OK_BUTTON = 2174;

constexpr int MODE_12_STORING = NEIGHBOURS_FILTERS_BUTTON;

HWND openSetValuesWindow(ProgramUnderTest& program, HWND mainWindow) {
    pressButton(mainWindow, SET_VALUES_BUTTON);
    HWND window = program.waitForWindow(SET_VALUES_OK, "\"Set values\" window");
    settle(window);
    waitUntil([&] { return IsWindowEnabled(mainWindow) == FALSE; }, "the main window to be disabled");
    return window;
}

// The text of an edit field, which keeps it itself (the window manager's copy of a window's text
// is not kept up to date for it): asked of the field.
std::string editText(HWND window, int field) {
    wchar_t text[256] = L"";
    DWORD_PTR length = 0;
    expect(SendMessageTimeoutW(control(window, SET_VALUES_EDIT + field), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, 10'000, &length) != 0,
           "the program did not answer for the text of field " + std::to_string(field));
    return narrow(std::wstring(text, length));
}

// Replaces the text of an edit field, as selecting it and typing does: the field tells the
// program of the change.
void typeInto(HWND window, int field, const std::string& text) {
    HWND edit = control(window, SET_VALUES_EDIT + field);
    DWORD_PTR result = 0;
    expect(SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()), SMTO_NORMAL, 10'000,
                               &result) != 0,
           "the program did not take the text typed into field " + std::to_string(field));
    settle(window);
}

void closeWith(ProgramUnderTest& program, HWND mainWindow, HWND window, int button) {
    pressButton(window, button);
    program.waitUntilClosed(SET_VALUES_OK, "\"Set values\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    settle(mainWindow);
}

void setValues(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    pressAndSettle(mainWindow, MODE_12_STORING);
    expectStoreButtons(mainWindow, true, "after the mode-12 store");

    HWND window = openSetValuesWindow(program, mainWindow);
    expectEqual(editText(window, MIN_SUM_FIELD), "140", "the min-sum field at first");
    expectEqual(editText(window, EXCLUDED_FIELD), "1,2,3,4,5,6,7", "the excluded field at first");
    expectEqual(controlText(window, SET_VALUES_RANGE + MIN_SUM_FIELD), "28 to 150 (at most max-sum)",
                "the min-sum range at first");
    program.picture(window, "set-values-window");

    // A state the steps cannot reach: refused with the command line's message, nothing applied.
    typeInto(window, MIN_EVEN_FIELD, "5");
    pressAndSettle(window, SET_VALUES_OK);
    expectEqual(controlText(window, SET_VALUES_MESSAGE),
                "--min-even 5 is out of range: allowed 0 to 4 (min-odd + min-even at most 7)", "the refusal");
    program.picture(window, "set-values-refused");
    // Text that is no number is named by its field.
    typeInto(window, MIN_EVEN_FIELD, "four");
    pressAndSettle(window, SET_VALUES_OK);
    expectEqual(controlText(window, SET_VALUES_MESSAGE), "Min even numbers (min-even) needs a whole number, got 'four'",
                "the message for text that is no number");
    closeWith(program, mainWindow, window, SET_VALUES_CANCEL);
    expectEqual(controlText(mainWindow, MIN_EVEN_LABEL), "4", "min even after Cancel");
    expectStoreButtons(mainWindow, true, "after Cancel");

    // Valid values: applied, the labels show them and the store buttons are greyed as by a step.
    window = openSetValuesWindow(program, mainWindow);
    typeInto(window, MAX_SUM_FIELD, "200");
    expectEqual(controlText(window, SET_VALUES_RANGE + MIN_SUM_FIELD), "28 to 200 (at most max-sum)",
                "the min-sum range after max-sum 200 was typed");
    typeInto(window, MIN_SUM_FIELD, "100");
    typeInto(window, MIN_ODD_FIELD, "2");
    typeInto(window, MIN_EVEN_FIELD, "5");
    typeInto(window, TOTAL_FIELD, "30");
    typeInto(window, EXCLUDED_FIELD, "2,4,6,8,10,12,14");
    closeWith(program, mainWindow, window, SET_VALUES_OK);
    expectEqual(controlText(mainWindow, TOTAL_NUMBERS_LABEL), "30", "total numbers after OK");
    expectEqual(controlText(mainWindow, MIN_SUM_LABEL), "100", "min sum after OK");
    expectEqual(controlText(mainWindow, MAX_SUM_LABEL), "200", "max sum after OK");
    expectEqual(controlText(mainWindow, MIN_ODD_LABEL), "2", "min odd after OK");
    expectEqual(controlText(mainWindow, MIN_EVEN_LABEL), "5", "min even after OK");
    expectEqual(controlText(mainWindow, excludedLabel(1)), "2", "excluded 1 after OK");
    expectEqual(controlText(mainWindow, excludedLabel(7)), "14", "excluded 7 after OK");
    expectStoreButtons(mainWindow, false, "after values were set");

    // The run uses them: mode 8 (sum and odd/even, stored) on 1..30 with sums 100 to 200.
    pressAndSettle(mainWindow, SUM_ODD_EVEN_STORING_BUTTON);
    std::printf("mode 8 after Set values: %s\n", controlText(mainWindow, COUNT_LABEL).c_str());
    expectStoreButtons(mainWindow, true, "after a storing run");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// Holds a button down with the mouse (the messages a press and a release send it) for `held`.
void holdButton(HWND dialog, int id, std::chrono::milliseconds held, const std::function<void()>& whileHeld) {
    HWND button = control(dialog, id);
    RECT box;
    GetClientRect(button, &box);
    const LPARAM centre = MAKELPARAM((box.right - box.left) / 2, (box.bottom - box.top) / 2);
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    whileHeld();
    std::this_thread::sleep_until(start + held);
    PostMessageW(button, WM_LBUTTONUP, 0, centre);
    settle(dialog);
}

int labelNumber(HWND window, int id) { return std::stoi(controlText(window, id)); }

void heldSteps(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    // A click is one step.
    pressAndSettle(mainWindow, MIN_SUM_DOWN);
    expectEqual(controlText(mainWindow, MIN_SUM_LABEL), "139", "min sum after one click");
    // Held for 2 s: steps come while the button is still down, about 12 a second after 0.4 s.
    bool steppedWhileHeld = false;
    holdButton(mainWindow, MIN_SUM_DOWN, 2000ms, [&] {
        const auto until = std::chrono::steady_clock::now() + 1500ms;
        while (!steppedWhileHeld && std::chrono::steady_clock::now() < until) {
            steppedWhileHeld = labelNumber(mainWindow, MIN_SUM_LABEL) < 138;
            std::this_thread::sleep_for(20ms);
        }
    });
    const int steps = 139 - labelNumber(mainWindow, MIN_SUM_LABEL);
    std::printf("held for 2 s: %d steps (20 on an idle machine)\n", steps);
    expect(steppedWhileHeld, "the value did not change while the button was held");
    // Timers come late on a loaded machine, never early, and the release may come late too: at
    // least a few steps, and not many more than 12 a second.
    expect(steps >= 4 && steps <= 30, "held for 2 s the button made " + std::to_string(steps) + " steps");
    // Released, it stops.
    std::this_thread::sleep_for(500ms);
    expectEqual(controlText(mainWindow, MIN_SUM_LABEL), std::to_string(139 - steps), "min sum after the release");
    // Held against a bound, it stops there: min odd rises to 3 beside min even 4.
    holdButton(mainWindow, MIN_ODD_UP, 1500ms, [] {});
    expectEqual(controlText(mainWindow, MIN_ODD_LABEL), "3", "min odd held up against its bound");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

HWND findAboutWindow(const ProgramUnderTest& program) {
    for (HWND window : topLevelWindows(program.processId()))
        if (windowText(window) == ABOUT_TITLE && GetDlgItem(window, ABOUT_OK_BUTTON)) return window;
    return nullptr;
}

void about(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    // Chosen from the system menu as with the keyboard: Alt+Space opens it, Up goes round to its
    // last entry, Enter chooses it.
    PostMessageW(mainWindow, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND menu = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topLevelWindows(program.processId()))
                if (windowClass(window) == "#32768") menu = window;
            return menu != nullptr;
        },
        "the system menu of the main window");
    pressKey(mainWindow, VK_UP);
    pressKey(mainWindow, VK_RETURN);
    HWND window = nullptr;
    waitUntil([&] { return (window = findAboutWindow(program)) != nullptr; }, "the About window");
    settle(window);
    expectEqual(controlText(window, ABOUT_VERSION_LABEL), std::string("Quillstep ") + QUILLSTEP_VERSION_TEXT,
                "the About window's version");
    const std::string purpose = controlText(window, ABOUT_PURPOSE_LABEL);
    expect(std::count(purpose.begin(), purpose.end(), '\n') == 2, "what the program does is not three lines: " + purpose);
    const std::string files = controlText(window, ABOUT_FILES_LABEL);
    std::printf("%s\n", files.c_str());
    expect(files.find("the working directory") != std::string::npos && files.find(narrow(options.workFolder)) != std::string::npos,
           "the About window does not name the working directory " + narrow(options.workFolder) + ": " + files);
    expect(controlText(window, ABOUT_GUARANTEE_LABEL).find("holds only when the drawn combination is one of the stored") !=
               std::string::npos,
           "the About window does not say when the guarantee holds");
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window is enabled while the About window is open");
    program.picture(window, "about-window");
    pressButton(window, ABOUT_OK_BUTTON);
    waitUntil([&] { return findAboutWindow(program) == nullptr; }, "the About window to close");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario VALUES_SCENARIOS[] = {
    {"set-values", "values typed in the Set values window: refused, cancelled, applied to the main window",
     setValues},
    {"held-steps", "an up/down button held down repeats its step; a click is one step", heldSteps},
    {"about", "About Quillstep from the system menu: version, purpose, files, guarantee", about},
};

}  // namespace

std::span<const Scenario> valuesScenarios() { return VALUES_SCENARIOS; }

}  // namespace driver
