// The main window as built, its parameter steps, the store buttons' rules and the focus.

#include <algorithm>
#include <array>
#include <iterator>

#include "main_window_texts.h"
#include "scenarios.h"

namespace driver {

namespace {

constexpr std::array<int, 12> INTRO_CONTROLS{1103, 1104, 1105, 1106, 1107, 1108, 1109, 1110, 1111, 1113, 1114, 1115};
constexpr DWORD FORBIDDEN_FRAME_STYLES = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

bool isStoreButton(int id) { return std::find(STORE_BUTTONS.begin(), STORE_BUTTONS.end(), id) != STORE_BUTTONS.end(); }

void expectIntroWindow(ProgramUnderTest& program, HWND intro) {
    for (int id : INTRO_CONTROLS) control(intro, id);
    expectEqual(controlText(intro, 1103), "Hello", "greeting of the introductory window");
    expectEqual(controlText(intro, 1115), "Start", "button of the introductory window");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(intro, GWL_STYLE));
    expect((style & WS_SYSMENU) == 0, "the introductory window has a system menu (close box)");
    pressEscapeAndWait(intro);
    expect(program.findWindow(INTRO_WINDOW_MARKER) == intro, "Escape closed the introductory window");
    expect(program.findWindow(MAIN_WINDOW_MARKER) == nullptr, "Escape in the introductory window opened the main window");
}

void expectMainWindowFrame(HWND mainWindow) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(mainWindow, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(mainWindow, GWL_EXSTYLE));
    expect((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU), "the main window lacks its caption or close box");
    expect((style & FORBIDDEN_FRAME_STYLES) == 0, "the main window can be resized, minimised or maximised");
    expect((extendedStyle & WS_EX_CONTROLPARENT) != 0, "the main window lacks WS_EX_CONTROLPARENT");
}

void expectMainWindowControls(HWND mainWindow) {
    for (const ControlText& expected : MAIN_WINDOW_FIRST_TEXTS)
        expectEqual(controlText(mainWindow, expected.id), std::string(expected.text),
                    "first text of control " + std::to_string(expected.id));
    for (int id : NOTICE_LABELS) expect(!controlText(mainWindow, id).empty(), "notice label " + std::to_string(id) + " is empty");

    for (const ControlText& added : ADDED_CONTROLS)
        expectEqual(controlText(mainWindow, added.id), std::string(added.text),
                    "first text of control " + std::to_string(added.id));

    // The original controls in their order, then the added ones.
    std::vector<int> creationOrder(std::begin(MAIN_WINDOW_CREATION_ORDER), std::end(MAIN_WINDOW_CREATION_ORDER));
    for (const ControlText& added : ADDED_CONTROLS) creationOrder.push_back(added.id);
    const std::vector<HWND> children = childWindows(mainWindow);
    expect(children.size() == creationOrder.size(), "the main window has " + std::to_string(children.size()) +
                                                        " controls instead of " +
                                                        std::to_string(creationOrder.size()));
    RECT client;
    GetClientRect(mainWindow, &client);
    for (size_t i = 0; i < children.size(); ++i) {
        const int id = GetDlgCtrlID(children[i]);
        expect(id == creationOrder[i], "control " + std::to_string(i + 1) + " in creation order is " +
                                           std::to_string(id) + " instead of " + std::to_string(creationOrder[i]));
        RECT box;
        GetWindowRect(children[i], &box);
        MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&box), 2);
        // Placed inside the client area (one notice label is one unit wider than the room left of it).
        expect(box.left >= 0 && box.top >= 0 && box.left < client.right && box.top < client.bottom &&
                   box.right > box.left && box.bottom > box.top,
               "control " + std::to_string(id) + " lies outside the client area");
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(children[i], GWL_STYLE));
        const bool isButton = _stricmp(windowClass(children[i]).c_str(), "Button") == 0;
        const bool isPushButton = isButton && (style & BS_TYPEMASK) == BS_PUSHBUTTON;
        expect(!isPushButton || (style & WS_TABSTOP), "button " + std::to_string(id) + " is not a tab stop");
        const bool greyedAtFirst = isStoreButton(id) || id == SMALLER_SYSTEMS_BUTTON || id == CHECK_SYSTEM_BUTTON;
        if (isPushButton)
            expect(controlEnabled(mainWindow, id) != greyedAtFirst,
                   "button " + std::to_string(id) + (greyedAtFirst ? " is enabled" : " is greyed out") +
                       " at first display");
    }
}

void firstDisplay(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND intro = program.waitForWindow(INTRO_WINDOW_MARKER, "introductory window");
    expect(program.findWindow(MAIN_WINDOW_MARKER) == nullptr, "the main window opened before the introductory window");
    expectIntroWindow(program, intro);
    program.picture(intro, "intro-window");
    std::printf("first window visible after %.0f ms\n", program.firstWindowMilliseconds());

    HWND mainWindow = program.openMainWindow();
    expectMainWindowFrame(mainWindow);
    expectMainWindowControls(mainWindow);
    expectStoreButtons(mainWindow, false, "at first display");
    pressEscapeAndWait(mainWindow);
    expect(program.findWindow(MAIN_WINDOW_MARKER) == mainWindow, "Escape closed the main window");
    program.picture(mainWindow, "main-window");

    const DWORD exitCode = program.closeMainWindowAndWaitForExit(mainWindow);
    expect(exitCode == 0, "the program ended with exit code " + std::to_string(exitCode));
    for (const char* name : {"mb_comb_file.txt", "mb_comb_file_ab.txt", "mb_comb_file_ab5.txt"})
        expect(!program.fileExists(name), std::string("closing the program wrote ") + name);
}

// However the introductory window ends, the main window follows.
void introClosedBySystem(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND intro = program.waitForWindow(INTRO_WINDOW_MARKER, "introductory window");
    PostMessageW(intro, WM_CLOSE, 0, 0);
    HWND mainWindow = program.waitForWindow(MAIN_WINDOW_MARKER, "main window after the introductory window was closed");
    expect(program.findWindow(INTRO_WINDOW_MARKER) == nullptr, "the introductory window is still open");
    const DWORD exitCode = program.closeMainWindowAndWaitForExit(mainWindow);
    expect(exitCode == 0, "the program ended with exit code " + std::to_string(exitCode));
}

// One step: press `button`, then the label must read `expected`.
struct Step {
    int button;
    int label;
    const char* expected;
};

void expectSteps(HWND mainWindow, std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
        pressAndSettle(mainWindow, step.button);
        expectEqual(controlText(mainWindow, step.label), step.expected,
                    "label " + std::to_string(step.label) + " after pressing " + std::to_string(step.button));
    }
}

void parameterSteps(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    expectSteps(mainWindow, {
                                {TOTAL_NUMBERS_UP, TOTAL_NUMBERS_LABEL, "39"},  // total numbers at 39: "up" refused
                                {MIN_ODD_UP, MIN_ODD_LABEL, "3"},   // odd 3 + even 4: both "up" refused
                                {MIN_EVEN_UP, MIN_EVEN_LABEL, "4"},
                                {MIN_ODD_DOWN, MIN_ODD_LABEL, "2"},   // lowering odd frees even
                                {MIN_EVEN_UP, MIN_EVEN_LABEL, "5"},
                                {MAX_NEIGHBOURS_UP, MAX_NEIGHBOURS_LABEL, "4"},   // neighbours up to 6, no further
                                {MAX_NEIGHBOURS_UP, MAX_NEIGHBOURS_LABEL, "5"},
                                {MAX_NEIGHBOURS_UP, MAX_NEIGHBOURS_LABEL, "6"},
                                {MAX_NEIGHBOURS_UP, MAX_NEIGHBOURS_LABEL, "6"},
                                {excludedUp(1), excludedLabel(1), "1"},   // excluded 1 to 7: only entry 7 can rise
                                {excludedUp(6), excludedLabel(6), "6"},
                                {excludedUp(7), excludedLabel(7), "8"},
                                {excludedUp(6), excludedLabel(6), "7"},
                                {excludedDown(7), excludedLabel(7), "8"},   // entry 7 cannot step onto entry 6
                                {RANGE_COUNT_UP, RANGE_COUNT_LABEL, "3"},   // numbers in range: from 2 up
                                {MIN_NUMBER_DOWN, MIN_NUMBER_LABEL, "1"},   // min number 1: "down" refused
                            });
    stepParameter(mainWindow, FORCED_NUMBER_UP, FORCED_NUMBER_DOWN, FORCED_NUMBER_LABEL, 1);  // forced number down to 1, no further
    expectSteps(mainWindow, {{FORCED_NUMBER_DOWN, FORCED_NUMBER_LABEL, "1"}});
    stepParameter(mainWindow, MIN_SUM_UP, MIN_SUM_DOWN, MIN_SUM_LABEL, 28);  // min sum down to 28, no further
    expectSteps(mainWindow, {{MIN_SUM_DOWN, MIN_SUM_LABEL, "28"}});
    stepParameter(mainWindow, RANGE_LIMIT_UP, RANGE_LIMIT_DOWN, RANGE_LIMIT_LABEL, 7);   // range limit down to 7, no further
    expectSteps(mainWindow, {{RANGE_LIMIT_DOWN, RANGE_LIMIT_LABEL, "7"}});
    setTotalNumbers(mainWindow, 8);
    expectSteps(mainWindow, {{TOTAL_NUMBERS_DOWN, TOTAL_NUMBERS_LABEL, "8"}, {MAX_NUMBER_UP, MAX_NUMBER_LABEL, "39"}, {MAX_NUMBER_DOWN, MAX_NUMBER_LABEL, "38"}});
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void storeButtonRules(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    setTotalNumbers(mainWindow, 8);
    expectStoreButtons(mainWindow, false, "before any run");
    pressAndSettle(mainWindow, FULL_WHEEL_STORING_BUTTON);
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 8 (FULL SYSTEM)", "count after the full wheel with storing at 8");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "FULL SYSTEM 7/ 8", "memory after the full wheel with storing at 8");
    expectStoreButtons(mainWindow, true, "after a storing run");
    pressAndSettle(mainWindow, excludedUp(7));  // an excluded number: no effect on the store buttons
    expectStoreButtons(mainWindow, true, "after a step of an excluded number");
    pressAndSettle(mainWindow, TOTAL_NUMBERS_DOWN);  // refused: total numbers already 8
    expectStoreButtons(mainWindow, true, "after a refused step");
    pressAndSettle(mainWindow, MIN_SUM_UP);  // min sum 140 -> 141
    expectStoreButtons(mainWindow, false, "after a step of the minimum sum");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "FULL SYSTEM 7/ 8", "memory after a parameter step");
    pressAndSettle(mainWindow, FULL_WHEEL_STORING_BUTTON);
    expectStoreButtons(mainWindow, true, "after a second storing run");
    pressAndSettle(mainWindow, FULL_WHEEL_BUTTON);
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 8(FULL SYSTEM)", "count after the full wheel without storing at 8");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "", "memory after a counting-only run");
    expectStoreButtons(mainWindow, false, "after a counting-only run");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void focusRestored(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    activate(mainWindow);
    waitUntil([&] { return activeWindowOf(program.threadId()) == mainWindow; }, "the main window to become active");
    HWND upButton = control(mainWindow, TOTAL_NUMBERS_UP);
    pressAndSettle(mainWindow, TOTAL_NUMBERS_UP);  // refused at 39, but a click moves the focus to it
    waitUntil([&] { return focusOf(program.threadId()) == upButton; }, "the focus on the \"up\" button TOTAL_NUMBERS_UP");

    ForeignWindow elsewhere;
    for (int round = 1; round <= 2; ++round) {
        elsewhere.activate();
        waitUntil([&] { return activeWindowOf(program.threadId()) != mainWindow; }, "the main window to lose activation");
        activate(mainWindow);
        waitUntil([&] { return activeWindowOf(program.threadId()) == mainWindow; }, "the main window to be active again");
        settle(mainWindow);
        HWND focus = focusOf(program.threadId());
        expect(focus == upButton, "round " + std::to_string(round) + ": after reactivation the focus is on control " +
                                      std::to_string(focus ? GetDlgCtrlID(focus) : 0) + " instead of TOTAL_NUMBERS_UP");
    }
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario MAIN_WINDOW_SCENARIOS[] = {
    {"first-display", "introductory window first, then the main window with every first text; exit code 0",
     firstDisplay},
    {"intro-closed", "closing the introductory window by the system opens the main window", introClosedBySystem},
    {"parameter-steps", "one-step changes within their bounds; refused steps change nothing", parameterSteps},
    {"store-buttons", "store buttons enabled by a storing run, disabled by steps and counting runs",
     storeButtonRules},
    {"focus-restored", "the focused button gets the focus back after switching away and back", focusRestored},
};

}  // namespace

std::span<const Scenario> mainWindowScenarios() { return MAIN_WINDOW_SCENARIOS; }

}  // namespace driver
