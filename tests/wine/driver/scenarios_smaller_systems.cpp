// The "Smaller systems" window: opened after a storing run, its steps, a search to its end with
// the system file checked against every stored combination, the any-combination box, the file
// opened by the main window's viewer button, and Escape during a long search.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "main_window_texts.h"
#include "scenarios.h"

namespace driver {

namespace {

constexpr int VIEW_G5 = VIEW_G5_BUTTON;
// The window's controls.
constexpr int GUARANTEE_LABEL = 1163, GUARANTEE_UP = 1164, GUARANTEE_DOWN = 1165;
constexpr int TIME_LIMIT_LABEL = 1167, TIME_LIMIT_UP = 1168, TIME_LIMIT_DOWN = 1169;
constexpr int ANY_COMBINATION_BOX = 1170, START = 1171, CLOSE = 1172, PROGRESS = 1173, RESULT = 1174;
constexpr int SAVE_AS = 2200;
constexpr const char* SAVE_DIALOG_TITLE = "Save the system as";
constexpr int WINDOW_MARKER = START;

HWND openSmallerSystemsWindow(ProgramUnderTest& program, HWND mainWindow) {
    pressButton(mainWindow, SMALLER_SYSTEMS_BUTTON);
    HWND window = program.waitForWindow(WINDOW_MARKER, "\"Smaller systems\" window");
    settle(window);
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window takes input while \"Smaller systems\" is open");
    return window;
}

void closeSmallerSystemsWindow(ProgramUnderTest& program, HWND mainWindow, HWND window) {
    pressButton(window, CLOSE);
    program.waitUntilClosed(WINDOW_MARKER, "\"Smaller systems\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
}

// Presses a step button and expects the label to read `expected` afterwards.
void step(HWND window, int button, int label, const char* expected) {
    clickAndWait(window, button);
    expectEqual(controlText(window, label), expected,
                "label " + std::to_string(label) + " after pressing " + std::to_string(button));
}

bool isChecked(HWND window, int id) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(control(window, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state))
        fail("the check box " + std::to_string(id) + " did not answer");
    return state == BST_CHECKED;
}

// Presses "Start" and returns once the search runs (its input greyed out; a search lasts at least
// the five seconds of the shortest time limit).
void startSearch(HWND window) {
    pressButton(window, START);
    waitUntil([&] { return !controlEnabled(window, START); }, "the search to start");
}

// Waits until the search has ended, acknowledging any message box it shows; returns the result.
std::string waitForResult(ProgramUnderTest& program, HWND window, std::chrono::milliseconds timeout) {
    std::string result;
    waitUntil(
        [&] {
            if (program.findMessageBox()) std::printf("message: \"%s\"\n", program.acknowledgeMessage().c_str());
            result = controlText(window, RESULT);
            return !result.empty() && controlEnabled(window, START);
        },
        "the result of the search", timeout);
    settle(window);
    activate(window);  // as a click on it would, whichever window the system activated after a message box
    return result;
}

// The rows of a system file as masks (bit v for number v), after checking the header.
std::vector<uint64_t> systemRows(ProgramUnderTest& program, const std::string& fileName, int totalNumbers,
                                 int hits) {
    const std::string text = program.readFile(fileName);
    const std::string header = "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ " + std::to_string(totalNumbers) +
                               "\"\r\n\"gar.:" + std::to_string(hits) + " from 7 OK numbers\"\r\n\r\n";
    expect(text.rfind(header, 0) == 0, fileName + " does not start with its header");
    std::vector<uint64_t> rows;
    std::istringstream lines(text.substr(header.size()));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        expect(field == std::to_string(rows.size() + 1), fileName + ": row \"" + line + "\" is out of order");
        uint64_t mask = 0;
        int count = 0;
        while (std::getline(fields, field, ',')) {
            const int number = std::stoi(field);
            expect(number >= 1 && number <= totalNumbers, fileName + ": number out of range in \"" + line + "\"");
            mask |= uint64_t{1} << number;
            ++count;
        }
        expect(count == 7 && std::popcount(mask) == 7, fileName + ": \"" + line + "\" is not seven numbers");
        rows.push_back(mask);
    }
    return rows;
}

// Every seven of 1..totalNumbers (the stored full wheel) shares at least `hits` numbers with a row.
void expectCoversFullWheel(const std::vector<uint64_t>& rows, int totalNumbers, int hits, const std::string& what) {
    expect(!rows.empty(), what + " is empty");
    int n[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        uint64_t mask = 0;
        for (int k = 1; k <= 7; ++k) mask |= uint64_t{1} << n[k];
        bool covered = false;
        for (uint64_t row : rows)
            if (std::popcount(row & mask) >= hits) {
                covered = true;
                break;
            }
        if (!covered) {
            std::string combination;
            for (int k = 1; k <= 7; ++k) combination += (k > 1 ? "," : "") + std::to_string(n[k]);
            fail(what + " does not cover " + combination + " with " + std::to_string(hits) + " hits");
        }
        int k = 7;
        while (k >= 1 && n[k] == totalNumbers - 7 + k) --k;
        if (k == 0) return;
        ++n[k];
        for (int j = k + 1; j <= 7; ++j) n[j] = n[j - 1] + 1;
    }
}

// The size the result text names ("System of 3 combinations, ...").
int sizeInResult(const std::string& result) {
    std::smatch match;
    if (!std::regex_search(result, match, std::regex(R"(System of (\d+) combinations?)")))
        fail("the result names no system size: \"" + result + "\"");
    return std::stoi(match[1]);
}

// The main window's viewer button opens the file that the window wrote; the editor is closed again.
void expectViewerShows(ProgramUnderTest& program, HWND mainWindow, int viewButton, const std::string& fileName) {
    pressButton(mainWindow, viewButton);
    HWND editor = nullptr;
    waitUntil(
        [&] {
            if (HWND box = program.findMessageBox())
                fail("a message box instead of the editor: \"" + windowText(box) + "\"");
            editor = findForeignWindow(program.processId(), fileName);
            return editor != nullptr;
        },
        "an editor showing " + fileName);
    PostMessageW(editor, WM_CLOSE, 0, 0);
    settle(mainWindow);
    activate(mainWindow);
}

void searchAt12(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 12);
    HWND window = openSmallerSystemsWindow(program, mainWindow);
    expectEqual(controlText(window, GUARANTEE_LABEL), "4", "guarantee at first");
    expectEqual(controlText(window, TIME_LIMIT_LABEL), "30", "time limit at first");
    expect(!isChecked(window, ANY_COMBINATION_BOX), "the any-combination box is ticked at first");
    step(window, GUARANTEE_DOWN, GUARANTEE_LABEL, "4");  // 4 to 5 only
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "20");
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "15");
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "10");
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "5");
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "5");  // 5 s at least
    step(window, TIME_LIMIT_UP, TIME_LIMIT_LABEL, "10");
    step(window, TIME_LIMIT_DOWN, TIME_LIMIT_LABEL, "5");
    program.picture(window, "smaller-systems-window");

    const auto started = std::chrono::steady_clock::now();
    startSearch(window);
    expectEqual(controlText(window, RESULT), "", "result while the search runs");
    waitUntil([&] { return controlText(window, PROGRESS).find(" s left.") != std::string::npos; },
              "progress with the seconds left");
    const std::string progress = controlText(window, PROGRESS);
    std::printf("progress: \"%s\"\n", progress.c_str());
    const std::string result = waitForResult(program, window, 60s);
    std::printf("G4 at 12 after %.1f s: \"%s\"\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(), result.c_str());
    expect(result.find("mb_comb_file_ab.txt") != std::string::npos, "the result names no file: \"" + result + "\"");
    const std::vector<uint64_t> g4 = systemRows(program, "mb_comb_file_ab.txt", 12, 4);
    expect(static_cast<int>(g4.size()) == sizeInResult(result),
           "the file holds " + std::to_string(g4.size()) + " rows, the result says otherwise: \"" + result + "\"");
    expectCoversFullWheel(g4, 12, 4, "mb_comb_file_ab.txt");
    program.picture(window, "smaller-systems-result");

    // Five hits, members from any seven numbers: the full wheel holds them all, so none lies
    // outside the filters.
    step(window, GUARANTEE_UP, GUARANTEE_LABEL, "5");
    step(window, GUARANTEE_UP, GUARANTEE_LABEL, "5");
    clickAndWait(window, ANY_COMBINATION_BOX);
    expect(isChecked(window, ANY_COMBINATION_BOX), "a click left the any-combination box empty");
    startSearch(window);
    const std::string anyResult = waitForResult(program, window, 60s);
    std::printf("G5 at 12, any combination: \"%s\"\n", anyResult.c_str());
    expect(anyResult.find("mb_comb_file_ab5.txt") != std::string::npos,
           "the result names no file: \"" + anyResult + "\"");
    expect(anyResult.find("Every one of them is a stored combination.") != std::string::npos,
           "the result does not say where the members lie: \"" + anyResult + "\"");
    const std::vector<uint64_t> g5 = systemRows(program, "mb_comb_file_ab5.txt", 12, 5);
    expect(static_cast<int>(g5.size()) == sizeInResult(anyResult), "the G5 file and its result disagree");
    expectCoversFullWheel(g5, 12, 5, "mb_comb_file_ab5.txt");

    closeSmallerSystemsWindow(program, mainWindow, window);
    expectStoreButtons(mainWindow, true, "after the \"Smaller systems\" window");
    expectViewerShows(program, mainWindow, VIEW_G5, "mb_comb_file_ab5.txt");
    // Opened again, the window starts from the last choice.
    window = openSmallerSystemsWindow(program, mainWindow);
    expectEqual(controlText(window, GUARANTEE_LABEL), "5", "guarantee when opened again");
    expectEqual(controlText(window, TIME_LIMIT_LABEL), "5", "time limit when opened again");
    expect(isChecked(window, ANY_COMBINATION_BOX), "the any-combination box is empty when opened again");
    closeSmallerSystemsWindow(program, mainWindow, window);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void escapeStopsOptimiser(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 20);  // 77,520 combinations
    HWND window = openSmallerSystemsWindow(program, mainWindow);
    for (int k = 0; k < 20; ++k) clickAndWait(window, TIME_LIMIT_UP);
    expectEqual(controlText(window, TIME_LIMIT_LABEL), "600", "time limit at its top");
    startSearch(window);
    waitUntil([&] { return controlText(window, PROGRESS).find("Smallest system so far") != std::string::npos; },
              "progress with a system size", 120s);
    Sleep(1000);
    std::printf("progress before Escape: \"%s\"\n", controlText(window, PROGRESS).c_str());
    program.picture(window, "smaller-systems-searching");
    const auto pressed = std::chrono::steady_clock::now();
    pressKey(window, VK_ESCAPE);
    const std::string result = waitForResult(program, window, 60s);
    const double afterEscape = std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
    std::printf("ended %.2f s after Escape: \"%s\"\n", afterEscape, result.c_str());
    expect(result.find("Stopped by Escape") != std::string::npos,
           "the result does not tell of the stop: \"" + result + "\"");
    expect(afterEscape < 30, "the search went on after Escape");
    const std::vector<uint64_t> g4 = systemRows(program, "mb_comb_file_ab.txt", 20, 4);
    expect(static_cast<int>(g4.size()) == sizeInResult(result), "the file and the result disagree");
    expectCoversFullWheel(g4, 20, 4, "mb_comb_file_ab.txt after Escape");
    expect(program.findWindow(WINDOW_MARKER) == window, "Escape closed the window");
    closeSmallerSystemsWindow(program, mainWindow, window);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// "Save as..." answered in the system's own save dialog: the system of the last search under a name
// of one's own, byte for byte the file of its guarantee, which stays; "Cancel" writes nothing.
void saveAsAt12(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 12);
    HWND window = openSmallerSystemsWindow(program, mainWindow);
    expect(!controlEnabled(window, SAVE_AS), "\"Save as...\" can be pressed before a search");
    for (int k = 0; k < 4; ++k) clickAndWait(window, TIME_LIMIT_DOWN);
    expectEqual(controlText(window, TIME_LIMIT_LABEL), "5", "time limit");
    startSearch(window);
    expect(!controlEnabled(window, SAVE_AS), "\"Save as...\" can be pressed while the search runs");
    const std::string result = waitForResult(program, window, 60s);
    expect(result.find("mb_comb_file_ab.txt") != std::string::npos, "the result names no file: \"" + result + "\"");
    expect(controlEnabled(window, SAVE_AS), "\"Save as...\" is greyed after the search");

    const std::string name = "my own system.txt";
    pressButton(window, SAVE_AS);
    answerFileDialog(program, SAVE_DIALOG_TITLE, pathInWorkFolder(options, name));
    const std::string message = program.acknowledgeMessage();
    std::printf("message: \"%s\"\n", message.c_str());
    expect(message.rfind("We store combinations  in file ", 0) == 0 && message.find(name) != std::string::npos,
           "the writer's message does not name the file: \"" + message + "\"");
    settle(window);
    activate(window);
    const std::string saved = controlText(window, PROGRESS);
    std::printf("after Save as: \"%s\"\n", saved.c_str());
    const std::vector<uint64_t> rows = systemRows(program, name, 12, 4);
    expectEqual(saved.substr(0, 9), "Saved as ", "the window's line after Save as");
    expect(saved.find(name + ": " + std::to_string(rows.size()) + " combinations.") != std::string::npos,
           "the window's line names another file or size: \"" + saved + "\"");
    expectEqual(program.readFile(name), program.readFile("mb_comb_file_ab.txt"), name);
    expectCoversFullWheel(rows, 12, 4, name);
    program.picture(window, "smaller-systems-save-as");

    // Cancel: nothing is written and the line stays.
    pressButton(window, SAVE_AS);
    answerFileDialog(program, SAVE_DIALOG_TITLE, L"");
    settle(window);
    expect(program.findMessageBox() == nullptr, "a message box after \"Cancel\"");
    expectEqual(controlText(window, PROGRESS), saved, "the window's line after \"Cancel\"");
    closeSmallerSystemsWindow(program, mainWindow, window);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario SMALLER_SYSTEMS_SCENARIOS[] = {
    {"smaller-systems-12", "Smaller systems after the full wheel of 12: steps, G4 and G5 files that cover it",
     searchAt12},
    {"smaller-systems-escape", "Escape ends a long optimiser run, which still writes a covering system",
     escapeStopsOptimiser},
    {"smaller-systems-save-as", "Save as... of the Smaller systems window answered in the system's save dialog",
     saveAsAt12},
};

}  // namespace

std::span<const Scenario> smallerSystemsScenarios() { return SMALLER_SYSTEMS_SCENARIOS; }

}  // namespace driver
