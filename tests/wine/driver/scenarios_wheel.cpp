// The "Wheel my numbers" window: opened from the main window with nothing stored, a malformed
// choice said in the window with nothing written, ten numbers chosen on the slip at 3 if 3 with a
// short time limit, the wheel's size and file read from the window and the file checked here
// against every three of the ten by a plain loop, "Save as..." in the system's save dialog, and
// Escape ending a long search that still writes a covering wheel.

#include <bit>
#include <chrono>
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

using namespace std::chrono_literals;

// The window's controls.
constexpr int slipNumber(int n) { return 2401 + n; }
constexpr int MARK_KEYS = 2441, CLEAR_SLIP = 2442, CHOICE_LABEL = 2443;
constexpr int HITS_LABEL = 2445, HITS_UP = 2446, HITS_DOWN = 2447;
constexpr int DRAWN_LABEL = 2449, DRAWN_UP = 2450, DRAWN_DOWN = 2451;
constexpr int TIME_LABEL = 2453, TIME_UP = 2454, TIME_DOWN = 2455;
constexpr int START = 2457, SAVE_AS = 2458, CLOSE = 2459, PROGRESS = 2460, SIZE_LABEL = 2461, SHARES_LABEL = 2462;
constexpr int FILE_LABEL = 2463;
constexpr int WINDOW_MARKER = START;
constexpr const char* SAVE_DIALOG_TITLE = "Save the wheel as";

bool isChecked(HWND window, int id) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(control(window, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state))
        fail("the button " + std::to_string(id) + " did not answer");
    return state == BST_CHECKED;
}

void clickUntil(HWND window, int button, int label, const std::string& wanted) {
    for (int k = 0; k < 20 && controlText(window, label) != wanted; ++k) clickAndWait(window, button);
    expectEqual(controlText(window, label), wanted, "label " + std::to_string(label));
}

HWND openWheelWindow(ProgramUnderTest& program, HWND mainWindow) {
    pressButton(mainWindow, WHEEL_MY_NUMBERS_BUTTON);
    HWND window = program.waitForWindow(WINDOW_MARKER, "\"Wheel my numbers\" window");
    settle(window);
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window takes input while \"Wheel my numbers\" is open");
    return window;
}

// Waits until a run has ended (Start enabled again with a size said); returns the size label.
std::string waitForWheel(HWND window, std::chrono::milliseconds timeout) {
    std::string size;
    waitUntil(
        [&] {
            size = controlText(window, SIZE_LABEL);
            return !size.empty() && controlEnabled(window, START);
        },
        "the wheel", timeout);
    settle(window);
    return size;
}

int ticketsInSize(const std::string& size) {
    std::smatch match;
    if (!std::regex_search(size, match, std::regex(R"(^Size: (\d+) tickets?)")))
        fail("the size label names no size: \"" + size + "\"");
    return std::stoi(match[1]);
}

// The tickets of a wheel file, after checking its header; every ticket seven numbers of the pool.
std::vector<uint64_t> wheelRows(ProgramUnderTest& program, const std::string& name, const std::string& headerLines,
                                uint64_t pool) {
    const std::string text = program.readFile(name);
    expect(text.rfind(headerLines, 0) == 0, name + " does not start with its header: " + text.substr(0, 160));
    std::vector<uint64_t> rows;
    std::istringstream lines(text.substr(headerLines.size()));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        expect(field == std::to_string(rows.size() + 1), name + ": row \"" + line + "\" is out of order");
        uint64_t mask = 0;
        while (std::getline(fields, field, ',')) mask |= uint64_t{1} << std::stoi(field);
        expect(std::popcount(mask) == 7 && (mask & ~pool) == 0, name + ": \"" + line + "\" is not seven of the pool");
        rows.push_back(mask);
    }
    return rows;
}

// Every `drawn` numbers of the pool share at least `hits` with some row, counted by a plain walk.
void expectCovers(const std::vector<uint64_t>& rows, uint64_t pool, int hits, int drawn, const std::string& what) {
    std::vector<int> numbers;
    for (int v = 1; v <= 39; ++v)
        if (pool >> v & 1) numbers.push_back(v);
    const int size = static_cast<int>(numbers.size());
    int64_t targets = 0;
    for (uint64_t pick = 0; pick < (uint64_t{1} << size); ++pick) {
        if (std::popcount(pick) != drawn) continue;
        uint64_t target = 0;
        for (int i = 0; i < size; ++i)
            if (pick >> i & 1) target |= uint64_t{1} << numbers[static_cast<size_t>(i)];
        ++targets;
        bool covered = false;
        for (uint64_t row : rows) covered = covered || std::popcount(row & target) >= hits;
        if (!covered) fail(what + " leaves a choice of " + std::to_string(drawn) + " without " + std::to_string(hits));
    }
    std::printf("%s covers all %lld choices of %d\n", what.c_str(), static_cast<long long>(targets), drawn);
}

void wheelMyNumbers(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    expect(controlEnabled(mainWindow, WHEEL_MY_NUMBERS_BUTTON), "\"Wheel my numbers...\" is greyed out");
    HWND window = openWheelWindow(program, mainWindow);
    expect(!controlEnabled(window, SAVE_AS), "\"Save as...\" can be pressed before a wheel");

    // Nothing chosen, then a key outside the pool: said in the window, nothing written.
    clickAndWait(window, START);
    expectEqual(controlText(window, PROGRESS), "Not started: a wheel needs at least 8 numbers in the pool, not 0.",
                "the window's line with nothing chosen");
    const int chosen[] = {3, 5, 8, 11, 14, 17, 20, 23, 26, 29};
    uint64_t pool = 0;
    for (int v : chosen) {
        clickAndWait(window, slipNumber(v));
        pool |= uint64_t{1} << v;
    }
    for (int v = 1; v <= 39; ++v)
        expect(isChecked(window, slipNumber(v)) == ((pool >> v & 1) != 0), "number " + std::to_string(v) + " on the slip");
    expectEqual(controlText(window, CHOICE_LABEL), "10 numbers chosen: 3, 5, 8, 11, 14, 17, 20, 23, 26, 29.", "choice label");
    clickAndWait(window, MARK_KEYS);
    expect(isChecked(window, MARK_KEYS), "\"Mark keys\" is not pressed in");
    clickAndWait(window, slipNumber(35));
    expectEqual(controlText(window, slipNumber(35)), "35 key", "the key on the slip");
    clickAndWait(window, START);
    expectEqual(controlText(window, PROGRESS), "Not started: the key 35 is not in the pool.", "a key outside the pool");
    expect(!program.fileExists("mb_comb_file_wheel.txt"), "a refused choice wrote a file");
    clickAndWait(window, slipNumber(35));
    clickAndWait(window, MARK_KEYS);
    expectEqual(controlText(window, slipNumber(35)), "35", "number 35 after its key was taken off");

    // 3 if 3 within 5 seconds.
    clickUntil(window, HITS_DOWN, HITS_LABEL, "3");
    clickUntil(window, DRAWN_DOWN, DRAWN_LABEL, "3");
    clickUntil(window, TIME_DOWN, TIME_LABEL, "5");
    pressButton(window, START);
    const std::string size = waitForWheel(window, 120s);
    std::printf("size: \"%s\"\nshares: \"%s\"\nfile: \"%s\"\n", size.c_str(), controlText(window, SHARES_LABEL).c_str(),
                controlText(window, FILE_LABEL).c_str());
    const int tickets = ticketsInSize(size);
    expectEqual(controlText(window, FILE_LABEL),
                "File: mb_comb_file_wheel.txt, " + std::to_string(tickets) + (tickets == 1 ? " ticket" : " tickets") +
                    ", checked over all 120 sets of drawn numbers.",
                "file label");
    expect(controlText(window, SHARES_LABEL).rfind("Of all 15380937 draws of 1 to 39, one ticket gets at least 3 hits on ", 0) == 0,
           "shares label");
    const std::string header = "\"Marrowby - Quillstep\"\r\n\"wheel of 10 numbers\"\r\n\"pool: 3,5,8,11,14,17,20,23,26,29\"\r\n"
                               "\"keys: none\"\r\n\"guarantee: 3 if 3\"\r\n\r\n";
    const std::vector<uint64_t> rows = wheelRows(program, "mb_comb_file_wheel.txt", header, pool);
    expect(static_cast<int>(rows.size()) == tickets, "the file and the size label disagree");
    expectCovers(rows, pool, 3, 3, "mb_comb_file_wheel.txt");
    program.picture(window, "wheel-my-numbers-window");

    // "Save as...": the same wheel under a name of one's own.
    expect(controlEnabled(window, SAVE_AS), "\"Save as...\" is greyed after a wheel");
    const std::string name = "my wheel.txt";
    pressButton(window, SAVE_AS);
    answerFileDialog(program, SAVE_DIALOG_TITLE, pathInWorkFolder(options, name));
    settle(window);
    activate(window);
    expectEqual(controlText(window, PROGRESS),
                "Saved as " + name + ": " + std::to_string(tickets) + (tickets == 1 ? " ticket." : " tickets."),
                "the window's line after Save as");
    expectEqual(program.readFile(name), program.readFile("mb_comb_file_wheel.txt"), name);

    // Escape during a long search of 4 if 5 on 1..20 keeps the smallest wheel found, checked.
    clickAndWait(window, CLEAR_SLIP);
    expect(!isChecked(window, slipNumber(3)), "Clear left number 3 chosen");
    for (int v = 1; v <= 20; ++v) clickAndWait(window, slipNumber(v));
    clickUntil(window, DRAWN_UP, DRAWN_LABEL, "5");
    clickUntil(window, HITS_UP, HITS_LABEL, "4");
    clickUntil(window, TIME_UP, TIME_LABEL, "600");
    pressButton(window, START);
    waitUntil([&] { return controlText(window, PROGRESS).find("Smallest wheel so far") != std::string::npos; },
              "progress with a wheel size", 120s);
    std::printf("progress before Escape: \"%s\"\n", controlText(window, PROGRESS).c_str());
    program.picture(window, "wheel-my-numbers-searching");
    pressKey(window, VK_ESCAPE);
    const std::string stopped = waitForWheel(window, 120s);
    std::printf("after Escape: \"%s\"\n", stopped.c_str());
    expect(stopped.find("Escape stopped the search") != std::string::npos, "the size label does not tell of the stop");
    const uint64_t twenty = (uint64_t{1} << 21) - 2;
    const std::vector<uint64_t> kept =
        wheelRows(program, "mb_comb_file_wheel.txt",
                  "\"Marrowby - Quillstep\"\r\n\"wheel of 20 numbers\"\r\n\"pool: 1-20\"\r\n\"keys: none\"\r\n"
                  "\"guarantee: 4 if 5\"\r\n\r\n",
                  twenty);
    expect(static_cast<int>(kept.size()) == ticketsInSize(stopped), "the file and the size label disagree after Escape");
    expectCovers(kept, twenty, 4, 5, "mb_comb_file_wheel.txt after Escape");
    expect(program.findWindow(WINDOW_MARKER) == window, "Escape closed the window");

    pressButton(window, CLOSE);
    program.waitUntilClosed(WINDOW_MARKER, "\"Wheel my numbers\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario WHEEL_SCENARIOS[] = {
    {"wheel-my-numbers", "Wheel my numbers: the slip, refusals, a checked wheel of ten numbers at 3 if 3, Save as... "
                         "and Escape in a long search",
     wheelMyNumbers},
};

}  // namespace

std::span<const Scenario> wheelScenarios() { return WHEEL_SCENARIOS; }

}  // namespace driver
