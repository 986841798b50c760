#include <string>

#include "main_window_texts.h"
#include "scenarios.h"

namespace driver {

constexpr int FULL_WHEEL_STORING = FULL_WHEEL_STORING_BUTTON;

HWND startAtMainWindow(ProgramUnderTest& program) { return program.openMainWindow(); }

void pressAndSettle(HWND window, int id) { clickAndWait(window, id); }

void stepParameter(HWND mainWindow, int upId, int downId, int labelId, int target) {
    for (int presses = 0; presses < 300; ++presses) {
        const int shown = std::stoi(controlText(mainWindow, labelId));
        if (shown == target) return;
        pressAndSettle(mainWindow, shown < target ? upId : downId);
        if (std::stoi(controlText(mainWindow, labelId)) == shown)
            fail("label " + std::to_string(labelId) + " stays at " + std::to_string(shown) + " on its way to " +
                 std::to_string(target));
    }
    fail("label " + std::to_string(labelId) + " did not reach " + std::to_string(target));
}

void setTotalNumbers(HWND mainWindow, int totalNumbers) {
    stepParameter(mainWindow, TOTAL_NUMBERS_UP, TOTAL_NUMBERS_DOWN, TOTAL_NUMBERS_LABEL, totalNumbers);
}

void expectStoreButtons(HWND mainWindow, bool enabled, const std::string& when) {
    for (int id : STORE_BUTTONS)
        expect(controlEnabled(mainWindow, id) == enabled, "store button " + std::to_string(id) + " (\"" +
                                                              controlText(mainWindow, id) + "\") is " +
                                                              (enabled ? "greyed out" : "enabled") + " " + when);
    for (int id : {SMALLER_SYSTEMS_BUTTON, CHECK_SYSTEM_BUTTON})
        expect(controlEnabled(mainWindow, id) == enabled, "\"" + controlText(mainWindow, id) + "\" is " +
                                                              (enabled ? "greyed out" : "enabled") + " " + when +
                                                              ", unlike the store buttons");
}

HWND storeFullWheel(ProgramUnderTest& program, int totalNumbers) {
    HWND mainWindow = startAtMainWindow(program);
    setTotalNumbers(mainWindow, totalNumbers);
    pressAndSettle(mainWindow, FULL_WHEEL_STORING);
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "FULL SYSTEM 7/ " + std::to_string(totalNumbers),
                "memory label after the full wheel with storing");
    expectStoreButtons(mainWindow, true, "after the full wheel with storing");
    return mainWindow;
}

std::string crlfLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

}  // namespace driver
