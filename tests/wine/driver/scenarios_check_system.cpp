// The "Check a system" window: opened after a storing run, a file of another program chosen in
// the system's file-open dialog and its labels read against counts worked out here, a malformed
// file that changes nothing, and a system with holes completed and its file checked.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "main_window_texts.h"
#include "scenarios.h"

namespace driver {

namespace {

// The window's controls.
constexpr int GUARANTEE_LABEL = 1183, GUARANTEE_DOWN = 1185, OPEN_FILE = 1186, COMPLETE = 1187, CLOSE = 1188;
constexpr int FILE_LABEL = 1189, SIZE_LABEL = 1190, UNCOVERED_LABEL = 1191, STORE_PROFILE_LABEL = 1192;
constexpr int DRAW_PROFILE_LABEL = 1193, SHARES_LABEL = 1194, STORED_SHARE_LABEL = 1195, HOLES_LABEL = 1196;
constexpr int RESULT_LABEL = 1197, SAVE_AS = 2201;
constexpr int MODE_12_STORING = NEIGHBOURS_FILTERS_BUTTON, SEARCH_G4 = SEARCH_G4_BUTTON;
constexpr int WINDOW_MARKER = OPEN_FILE;
constexpr const char* DIALOG_TITLE = "Open a system file";

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (const int v : numbers) mask |= uint64_t{1} << v;
    return mask;
}

// Every draw of 1..total in lexicographic order, with the most numbers a line shares with it.
template <typename Visit>
void forEveryDraw(const std::vector<uint64_t>& lines, int total, Visit&& visit) {
    int d[7] = {1, 2, 3, 4, 5, 6, 7};
    for (;;) {
        uint64_t draw = 0;
        for (int v : d) draw |= uint64_t{1} << v;
        int best = 0;
        for (uint64_t line : lines) best = std::max(best, std::popcount(draw & line));
        visit(draw, best);
        int k = 6;
        while (k >= 0 && d[k] == total - 6 + k) --k;
        if (k < 0) return;
        ++d[k];
        for (int j = k + 1; j < 7; ++j) d[j] = d[j - 1] + 1;
    }
}

// For every draw: how many share exactly k numbers with their best line, counted plainly.
std::array<int64_t, 8> bestMatches(const std::vector<uint64_t>& lines, int total) {
    std::array<int64_t, 8> counts{};
    forEveryDraw(lines, total, [&](uint64_t, int best) { ++counts[static_cast<size_t>(best)]; });
    return counts;
}

// The holes label for a full wheel: the first three draws with fewer than `hits` hits.
std::string holesText(const std::vector<uint64_t>& lines, int total, int hits) {
    std::vector<std::string> holes;
    forEveryDraw(lines, total, [&](uint64_t draw, int best) {
        if (best >= hits) return;
        std::string text;
        for (int v = 1; v <= total; ++v)
            if (draw >> v & 1) text += (text.empty() ? "" : ",") + std::to_string(v);
        holes.push_back(text);
    });
    if (holes.empty()) return "No holes.";
    std::string text = holes.size() == 1 ? "The hole:" : "First holes:";
    for (size_t h = 0; h < std::min<size_t>(3, holes.size()); ++h) text += (h == 0 ? " " : "; ") + holes[h];
    return text + (holes.size() > 3 ? " and more." : ".");
}

std::string countsText(const std::array<int64_t, 8>& counts) {
    std::string text;
    for (int k = 7; k >= 0; --k) text += (k < 7 ? " " : "") + std::to_string(k) + "=" + std::to_string(counts[k]);
    return text;
}

}  // namespace

std::wstring pathInWorkFolder(const DriverOptions& options, const std::string& name) {
    return options.workFolder + L"\\" + wide(name);
}

namespace {

void writeWorkFile(const DriverOptions& options, const std::string& name, const std::string& text) {
    std::ofstream out(pathInWorkFolder(options, name).c_str(), std::ios::binary);
    out << text;
    expect(static_cast<bool>(out), "the driver could not write " + name);
}

// The first visible edit field among the dialog's descendants: the file name.
HWND fileNameField(HWND dialog) {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            if (_stricmp(windowClass(child).c_str(), "Edit") != 0 || !IsWindowVisible(child)) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The file dialog's rows of controls may take a moment to be filled in under Wine.
HWND waitForFileDialog(ProgramUnderTest& program, const std::string& title) {
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topLevelWindows(program.processId()))
                if (windowText(window) == title && fileNameField(window)) dialog = window;
            return dialog != nullptr;
        },
        "the file dialog \"" + title + "\"");
    return dialog;
}

}  // namespace

void answerFileDialog(ProgramUnderTest& program, const std::string& title, const std::wstring& path) {
    HWND dialog = waitForFileDialog(program, title);
    if (!path.empty()) {
        HWND field = fileNameField(dialog);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000,
                                 &result))
            fail("the file name field of the file dialog did not answer");
    }
    pressButton(dialog, path.empty() ? IDCANCEL : IDOK);
    waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, "the file dialog to close");
}

HWND openCheckSystemWindow(ProgramUnderTest& program, HWND mainWindow) {
    pressButton(mainWindow, CHECK_SYSTEM_BUTTON);
    HWND window = program.waitForWindow(WINDOW_MARKER, "\"Check a system\" window");
    settle(window);
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window takes input while \"Check a system\" is open");
    return window;
}

void closeCheckSystemWindow(ProgramUnderTest& program, HWND mainWindow, HWND window) {
    pressButton(window, CLOSE);
    program.waitUntilClosed(WINDOW_MARKER, "\"Check a system\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
}

void openFileInCheckSystemWindow(ProgramUnderTest& program, HWND window, const std::wstring& path) {
    openFileThroughDialog(program, window, OPEN_FILE, DIALOG_TITLE, path);
}

void openFileThroughDialog(ProgramUnderTest& program, HWND window, int button, const std::string& title,
                           const std::wstring& path) {
    pressButton(window, button);
    answerFileDialog(program, title, path);
    // The file is read once the dialog has closed: wait until the window has handled the click.
    settle(window);
}

namespace {

void checkSystemAt12(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 12);  // 792 stored
    HWND window = openCheckSystemWindow(program, mainWindow);
    clickAndWait(window, GUARANTEE_DOWN);
    expectEqual(controlText(window, GUARANTEE_LABEL), "4", "guarantee after \"down\"");
    expect(!controlEnabled(window, COMPLETE), "\"Complete\" can be pressed before a file is open");

    // 1..7 and 6..12 together hold every number and share 6 and 7: every draw shares at least
    // four numbers with one of them. A file of another program: a header, semicolons, CR LF.
    const std::vector<uint64_t> lines{maskOf({1, 2, 3, 4, 5, 6, 7}), maskOf({6, 7, 8, 9, 10, 11, 12})};
    writeWorkFile(options, "other.csv", "N1;N2;N3;N4;N5;N6;N7\r\n1;2;3;4;5;6;7\r\n12;11;10;9;8;7;6\r\n");
    openFileInCheckSystemWindow(program, window, pathInWorkFolder(options, "other.csv"));
    const std::string profile = countsText(bestMatches(lines, 12));
    expectEqual(controlText(window, FILE_LABEL), "File: other.csv", "file label");
    expectEqual(controlText(window, SIZE_LABEL), "System size: 2 combinations", "size label");
    expectEqual(controlText(window, UNCOVERED_LABEL), "Every one of the 792 stored combinations gets at least 4 hits.",
                "uncovered label");
    // Every draw of 12 numbers is stored, so both profiles are the same.
    expectEqual(controlText(window, STORE_PROFILE_LABEL), "Best match over the stored combinations: " + profile,
                "store profile");
    expectEqual(controlText(window, DRAW_PROFILE_LABEL), "Best match over all 792 draws of 1 to 12: " + profile,
                "draw profile");
    expect(controlText(window, SHARES_LABEL).find("4 hits: 100.00%") != std::string::npos,
           "shares label: \"" + controlText(window, SHARES_LABEL) + "\"");
    expectEqual(controlText(window, STORED_SHARE_LABEL),
                "The guarantee holds for the stored combinations only: 792 of 792 draws (100.00%).", "stored share");
    expectEqual(controlText(window, HOLES_LABEL), holesText(lines, 12, 4), "holes label");
    expect(controlEnabled(window, COMPLETE), "\"Complete\" is greyed out with a file open");
    program.picture(window, "check-system-window");

    // A malformed file: its line and fault, and the labels of the file before stay.
    writeWorkFile(options, "bad.txt", "1 2 3 4 5 6 7\r\n1 2 3 4 5 5 7\r\n");
    openFileInCheckSystemWindow(program, window, pathInWorkFolder(options, "bad.txt"));
    expectEqual(controlText(window, RESULT_LABEL),
                "bad.txt was not opened: line 2: number 5 appears twice. Nothing else has changed.", "result label");
    expectEqual(controlText(window, FILE_LABEL), "File: other.csv", "file label after a malformed file");
    expectEqual(controlText(window, DRAW_PROFILE_LABEL), "Best match over all 792 draws of 1 to 12: " + profile,
                "draw profile after a malformed file");

    // 1..7 alone leaves the draws with at most three of its numbers: those with four or more of 8..12.
    writeWorkFile(options, "holed.txt", "1,2,3,4,5,6,7\n");
    openFileInCheckSystemWindow(program, window, pathInWorkFolder(options, "holed.txt"));
    const std::array<int64_t, 8> alone = bestMatches({lines[0]}, 12);
    const int64_t holes = alone[0] + alone[1] + alone[2] + alone[3];
    expectEqual(controlText(window, UNCOVERED_LABEL),
                "Uncovered: " + std::to_string(holes) + " of the 792 stored combinations get fewer than 4 hits.",
                "uncovered label of the holed system");
    expectEqual(controlText(window, HOLES_LABEL), holesText({lines[0]}, 12, 4), "holes label");
    pressButton(window, COMPLETE);
    std::string result;
    std::string message;
    waitUntil(
        [&] {
            // The writer of the system file tells its time in a message box, as after every search.
            if (program.findMessageBox()) message = program.acknowledgeMessage();
            result = controlText(window, RESULT_LABEL);
            return result.rfind("Completed", 0) == 0 || result.rfind("Not completed", 0) == 0;
        },
        "the result of \"Complete\"", 120s);
    settle(window);
    activate(window);  // as a click on it would, whichever window the system activated after the box
    std::printf("complete: \"%s\" (message \"%s\")\n", result.c_str(), message.c_str());
    expect(message.find("mb_comb_file_ab.txt") != std::string::npos, "no message of the written file");
    expectEqual(result,
                "Completed: 1 combination added to the 1 line of the file, a system of 2 combinations with 4 hits "
                "guaranteed, written to mb_comb_file_ab.txt.",
                "result of \"Complete\"");
    expectEqual(controlText(window, FILE_LABEL), "File: mb_comb_file_ab.txt", "file label after \"Complete\"");
    expectEqual(controlText(window, UNCOVERED_LABEL), "Every one of the 792 stored combinations gets at least 4 hits.",
                "uncovered label after \"Complete\"");
    const std::string written = program.readFile("mb_comb_file_ab.txt");
    expect(written.find("\r\n1,1,2,3,4,5,6,7\r\n2,") != std::string::npos,
           "mb_comb_file_ab.txt does not keep the file's line first: " + written);
    program.picture(window, "check-system-completed");

    // "Save as..." puts the completed system under a name of one's own, byte for byte.
    expect(controlEnabled(window, SAVE_AS), "\"Save as...\" is greyed after \"Complete\"");
    pressButton(window, SAVE_AS);
    answerFileDialog(program, "Save the system as", pathInWorkFolder(options, "completed.txt"));
    const std::string savedMessage = program.acknowledgeMessage();
    expect(savedMessage.find("completed.txt") != std::string::npos, "message after Save as: \"" + savedMessage + "\"");
    settle(window);
    activate(window);
    expectEqual(program.readFile("completed.txt"), written, "completed.txt");
    expect(controlText(window, RESULT_LABEL).find("completed.txt: 2 combinations.") != std::string::npos,
           "result label after Save as: \"" + controlText(window, RESULT_LABEL) + "\"");
    closeCheckSystemWindow(program, mainWindow, window);
    expectStoreButtons(mainWindow, true, "after the \"Check a system\" window");

    // The greedy system of the mode-12 store at 39 numbers: it covers the 10,276 stored
    // combinations, a small share of every possible draw.
    setTotalNumbers(mainWindow, 39);
    pressAndSettle(mainWindow, MODE_12_STORING);
    pressButton(mainWindow, SEARCH_G4);
    for (int box = 0; box < 3; ++box) std::printf("message: \"%s\"\n", program.acknowledgeMessage(60s).c_str());
    settle(mainWindow);
    activate(mainWindow);
    window = openCheckSystemWindow(program, mainWindow);
    openFileInCheckSystemWindow(program, window, pathInWorkFolder(options, "mb_comb_file_ab.txt"));
    expectEqual(controlText(window, UNCOVERED_LABEL),
                "Every one of the 10276 stored combinations gets at least 4 hits.", "uncovered label at mode 12");
    expectEqual(controlText(window, STORED_SHARE_LABEL),
                "The guarantee holds for the stored combinations only: 10276 of 15380937 draws (0.07%).",
                "stored share at mode 12");
    std::printf("%s\n%s\n", controlText(window, DRAW_PROFILE_LABEL).c_str(), controlText(window, SHARES_LABEL).c_str());
    program.picture(window, "check-system-mode12");
    closeCheckSystemWindow(program, mainWindow, window);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario CHECK_SYSTEM_SCENARIOS[] = {
    {"check-system-12", "Check a system after the full wheel of 12: a file chosen in the file-open dialog, its "
                        "labels, a malformed file, a holed system completed",
     checkSystemAt12},
};

}  // namespace

std::span<const Scenario> checkSystemScenarios() { return CHECK_SYSTEM_SCENARIOS; }

}  // namespace driver
