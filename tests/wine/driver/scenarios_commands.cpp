// Generation runs, the statistics window, the combination file, the abbreviated systems and
// stopping a long search.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>

#include "scenarios.h"

namespace driver {

namespace {

constexpr int FULL_WHEEL_COUNTING = FULL_WHEEL_BUTTON, FULL_WHEEL_STORING = FULL_WHEEL_STORING_BUTTON;
constexpr int WRITE_FILE = WRITE_COMBINATIONS_BUTTON, SEARCH_G4 = SEARCH_G4_BUTTON, SEARCH_G5 = SEARCH_G5_BUTTON, STATISTICS = STATISTICS_BUTTON;
constexpr int STATISTICS_COUNT_BASE = 1044, STATISTICS_MESSAGE = 1086;

const std::regex SECONDS_TEXT(R"(-?\d+\.\d*)");

void expectSecondsText(const std::string& text, const std::string& what) {
    expect(std::regex_match(text, SECONDS_TEXT), what + ": \"" + text + "\" is not a number of seconds");
}

std::string quotedLine(const char* text) {
    std::string line = "\"";
    line.append(text).append("\"\r\n");
    return line;
}

std::string header(const char* description, const char* guarantee = nullptr) {
    std::string text = quotedLine("Marrowby - Quillstep") + quotedLine(description);
    if (guarantee) text += quotedLine(guarantee);
    return text + "\r\n";
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void fullWheelAt39(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    auto started = std::chrono::steady_clock::now();
    pressAndSettle(mainWindow, FULL_WHEEL_COUNTING);
    std::printf("full wheel without storing at 39: %.2f s (time label \"%s\")\n", secondsSince(started),
                controlText(mainWindow, TIME_LABEL).c_str());
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 15380937(FULL SYSTEM)", "count after the full wheel without storing");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "", "memory after the full wheel without storing");
    expectSecondsText(controlText(mainWindow, TIME_LABEL), "time after the full wheel without storing");
    expectStoreButtons(mainWindow, false, "after the full wheel without storing");
    expect(IsWindowEnabled(mainWindow) != FALSE, "the main window stays disabled after a run");

    started = std::chrono::steady_clock::now();
    pressAndSettle(mainWindow, FULL_WHEEL_STORING);
    std::printf("full wheel with storing at 39: %.2f s (time label \"%s\")\n", secondsSince(started),
                controlText(mainWindow, TIME_LABEL).c_str());
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 15380937 (FULL SYSTEM)", "count after the full wheel with storing");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "FULL SYSTEM 7/ 39", "memory after the full wheel with storing");
    expectSecondsText(controlText(mainWindow, TIME_LABEL), "time after the full wheel with storing");
    expectStoreButtons(mainWindow, true, "after the full wheel with storing");
    program.picture(mainWindow, "main-window-after-run");

    // Every number occurs in C(38, 6) of the stored combinations.
    pressButton(mainWindow, STATISTICS);
    HWND statistics = program.waitForWindow(STATISTICS_WINDOW_MARKER, "statistics window");
    settle(statistics);
    for (int n = 1; n <= 39; ++n)
        expectEqual(controlText(statistics, STATISTICS_COUNT_BASE + n), "2760681", "count of number " + std::to_string(n));
    const std::string message = controlText(statistics, STATISTICS_MESSAGE);
    expect(message.rfind(" 15380937 combinations counted in:", 0) == 0, "counting message \"" + message + "\"");
    pressButton(statistics, STATISTICS_WINDOW_MARKER);
    program.waitUntilClosed(STATISTICS_WINDOW_MARKER, "statistics window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");

    // At five hits no system of the full wheel stays under 1000: proven at once, the answer comes in
    // seconds, with every progress text the passes would have shown.
    started = std::chrono::steady_clock::now();
    pressButton(mainWindow, SEARCH_G5);
    expectEqual(program.acknowledgeMessage(std::chrono::seconds(120)),
                "Best starting combination number: 1, abbreviated system: 1000", "first message of the G5 search");
    const double answered = secondsSince(started);
    std::printf("G5 search of the full wheel at 39: first message after %.2f s\n", answered);
    expect(answered < 10, "the proven answer took " + std::to_string(answered) + " s");
    expectEqual(program.acknowledgeMessage(), "We found for now  1000 combinations/5 of any 7 under given conditions",
                "second message of the G5 search");
    expectEqual(program.acknowledgeMessage(), "Not usefull! Try something else", "third message of the G5 search");
    settle(mainWindow);
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 15380937", "count label after the G5 search");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void statisticsAt8(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 8);
    pressButton(mainWindow, STATISTICS);
    HWND statistics = program.waitForWindow(STATISTICS_WINDOW_MARKER, "statistics window");
    settle(statistics);
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window takes input while the statistics window is open");
    for (int n = 1; n <= 39; ++n)
        expectEqual(controlText(statistics, STATISTICS_COUNT_BASE + n), n <= 8 ? "7" : "",
                    "count of number " + std::to_string(n));
    expectEqual(controlText(statistics, 1002), "Statistics of numbers in our combinations", "statistics heading");
    const std::string message = controlText(statistics, STATISTICS_MESSAGE);
    expect(message.rfind(" 8 combinations counted in:", 0) == 0 && message.size() > 8 &&
               message.substr(message.size() - 8) == " seconds",
           "counting message \"" + message + "\"");
    expect((GetWindowLongPtrW(statistics, GWL_STYLE) & WS_SYSMENU) == 0, "the statistics window has a close box");

    pressEscapeAndWait(statistics);
    expect(program.findWindow(STATISTICS_WINDOW_MARKER) == statistics, "Escape closed the statistics window");
    program.picture(statistics, "statistics-window");

    pressButton(statistics, STATISTICS_WINDOW_MARKER);
    program.waitUntilClosed(STATISTICS_WINDOW_MARKER, "statistics window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    waitUntil([&] { return activeWindowOf(program.threadId()) == mainWindow; },
              "the main window to be active again after the statistics window closed");
    expectStoreButtons(mainWindow, true, "after the statistics window");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void combinationFileAt8(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 8);
    pressButton(mainWindow, WRITE_FILE);
    const std::string message = program.acknowledgeMessage();
    const std::string prefix = "We store combinations  in file mb_comb_file.txt in ";
    expect(message.rfind(prefix, 0) == 0 && message.size() > prefix.size() + 8 &&
               message.substr(message.size() - 8) == " seconds",
           "message after writing the file: \"" + message + "\"");
    settle(mainWindow);
    expectSecondsText(controlText(mainWindow, TIME_LABEL), "time label after writing the file");
    program.expectFile("mb_comb_file.txt",
                       header("FULL SYSTEM 7/ 8") + crlfLines({"1,1,2,3,4,5,6,7", "2,1,2,3,4,5,6,8", "3,1,2,3,4,5,7,8",
                                                               "4,1,2,3,4,6,7,8", "5,1,2,3,5,6,7,8", "6,1,2,4,5,6,7,8",
                                                               "7,1,3,4,5,6,7,8", "8,2,3,4,5,6,7,8"}));
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// Runs one search and checks its messages, the count label and the system file.
void expectSearch(ProgramUnderTest& program, HWND mainWindow, int button, const std::string& bestMessage,
                  const std::string& foundMessage, const std::string& fileName, const std::string& expectedFile) {
    pressButton(mainWindow, button);
    expectEqual(program.acknowledgeMessage(), bestMessage, "first message of search " + std::to_string(button));
    expectEqual(program.acknowledgeMessage(), foundMessage, "second message of search " + std::to_string(button));
    const std::string written = program.acknowledgeMessage();
    expect(written.rfind("We store combinations  in file " + fileName + " in ", 0) == 0,
           "message after writing " + fileName + ": \"" + written + "\"");
    settle(mainWindow);
    program.expectFile(fileName, expectedFile);
}

void abbreviatedSystemsAt10(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 10);
    expectSearch(program, mainWindow, SEARCH_G4, "Best starting combination number: 1, abbreviated system: 1",
                 "We found for now  1 combinations/4 of any 7 under given conditions", "mb_comb_file_ab.txt",
                 header("FULL SYSTEM 7/ 10", "gar.:4 from 7 OK numbers") + crlfLines({"1,1,2,3,4,5,6,7"}));
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 120", "count label after the G4 search");
    expectSearch(program, mainWindow, SEARCH_G5, "Best starting combination number: 1, abbreviated system: 3",
                 "We found for now  3 combinations/5 of any 7 under given conditions", "mb_comb_file_ab5.txt",
                 header("FULL SYSTEM 7/ 10", "gar.:5 from 7 OK numbers") +
                     crlfLines({"1,1,2,3,4,5,6,7", "2,1,2,3,4,8,9,10", "3,1,5,6,7,8,9,10"}));
    program.expectFile("mb_comb_file_ab.txt",
                       header("FULL SYSTEM 7/ 10", "gar.:4 from 7 OK numbers") + crlfLines({"1,1,2,3,4,5,6,7"}));
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void abbreviatedSystemsAt11(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 11);
    expectSearch(program, mainWindow, SEARCH_G4, "Best starting combination number: 1, abbreviated system: 2",
                 "We found for now  2 combinations/4 of any 7 under given conditions", "mb_comb_file_ab.txt",
                 header("FULL SYSTEM 7/ 11", "gar.:4 from 7 OK numbers") +
                     crlfLines({"1,1,2,3,4,5,6,7", "2,1,2,3,8,9,10,11"}));
    expectSearch(program, mainWindow, SEARCH_G5, "Best starting combination number: 330, abbreviated system: 3",
                 "We found for now  3 combinations/5 of any 7 under given conditions", "mb_comb_file_ab5.txt",
                 header("FULL SYSTEM 7/ 11", "gar.:5 from 7 OK numbers") +
                     crlfLines({"1,5,6,7,8,9,10,11", "2,1,2,3,4,5,6,7", "3,1,2,3,4,8,9,10"}));
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 330", "count label after the G5 search");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

void escapeStopsSearch(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 30);  // 2,035,800 combinations: a search of minutes
    pressButton(mainWindow, SEARCH_G4);
    waitUntil([&] { return controlText(mainWindow, COUNT_LABEL).find("checked systems") != std::string::npos; },
              "progress of the search in the count label");
    std::printf("progress while searching: \"%s\"\n", controlText(mainWindow, COUNT_LABEL).c_str());
    program.picture(mainWindow, "main-window-searching");
    // Clicks that reach the window while the search runs must not start a second command: a step
    // of the total of numbers and a counting run (which would grey the store buttons).
    PostMessageW(GetDlgItem(mainWindow, TOTAL_NUMBERS_DOWN), BM_CLICK, 0, 0);
    PostMessageW(GetDlgItem(mainWindow, ODD_EVEN_BUTTON), BM_CLICK, 0, 0);
    Sleep(300);
    const auto pressed = std::chrono::steady_clock::now();
    pressKey(mainWindow, VK_ESCAPE);
    const std::string stopped = program.acknowledgeMessage();
    std::printf("search stopped %.2f s after Escape: \"%s\"\n", secondsSince(pressed), stopped.c_str());
    expect(stopped.rfind("Search stopped after", 0) == 0, "message after Escape: \"" + stopped + "\"");
    expect(program.acknowledgeMessage().rfind("Best starting combination number:", 0) == 0,
           "the best start is not reported after a stop");
    expect(program.acknowledgeMessage().rfind("We found for now  ", 0) == 0, "the system size is not reported after a stop");
    expect(program.acknowledgeMessage().rfind("We store combinations  in file mb_comb_file_ab.txt in ", 0) == 0,
           "the system file is not written after a stop");
    settle(mainWindow);
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 2035800", "count label after the stopped search");
    expectEqual(controlText(mainWindow, TOTAL_NUMBERS_LABEL), "30", "total of numbers after clicks during the search");
    expectEqual(controlText(mainWindow, MEMORY_LABEL), "FULL SYSTEM 7/ 30", "memory label after clicks during the search");
    expectStoreButtons(mainWindow, true, "after clicks during the search");
    const std::string file = program.readFile("mb_comb_file_ab.txt");
    const std::string expectedHeader = header("FULL SYSTEM 7/ 30", "gar.:4 from 7 OK numbers");
    expect(file.rfind(expectedHeader, 0) == 0, "header of the system file after a stopped search");
    expect(file.find("\r\n1,", expectedHeader.size() - 2) != std::string::npos, "the system file has no rows");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// The share done and the time left of a long G4 search in a label of their own, while the count
// label keeps its text; the label is emptied when the search ends.
void searchProgressLabel(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 30);  // 2,035,800 combinations: a search of minutes
    expectEqual(controlText(mainWindow, SEARCH_PROGRESS_LABEL), "", "progress label before the search");
    pressButton(mainWindow, SEARCH_G4);
    const std::regex shape(R"((\d+\.\d)% done, (time left not known yet|[0-9.]+/s, about .+ left))");
    std::string first;
    waitUntil([&] { return std::regex_match(first = controlText(mainWindow, SEARCH_PROGRESS_LABEL), shape); },
              "the share done in the progress label");
    std::string later;
    std::smatch match;
    waitUntil(
        [&] {
            later = controlText(mainWindow, SEARCH_PROGRESS_LABEL);
            return later != first && std::regex_match(later, match, shape) && match[2] != "time left not known yet";
        },
        "the progress label to change and tell the time left", 120s);
    const std::string count = controlText(mainWindow, COUNT_LABEL);
    std::printf("progress label: \"%s\", then \"%s\"; count label \"%s\"\n", first.c_str(), later.c_str(),
                count.c_str());
    expect(count.rfind(" 2035800 checked systems:  ", 0) == 0, "count label while searching: \"" + count + "\"");
    expect(std::stod(match[1]) < 100.0, "the share done is not below 100%");
    program.picture(mainWindow, "main-window-search-progress");
    pressKey(mainWindow, VK_ESCAPE);
    const std::string stopped = program.acknowledgeMessage();
    expect(stopped.rfind("Search stopped after", 0) == 0, "message after Escape: \"" + stopped + "\"");
    for (int box = 0; box < 3; ++box) std::printf("message: \"%s\"\n", program.acknowledgeMessage(60s).c_str());
    settle(mainWindow);
    expectEqual(controlText(mainWindow, SEARCH_PROGRESS_LABEL), "", "progress label after the search");
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 2035800", "count label after the search");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr const wchar_t* WORDPAD = L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe";
constexpr const wchar_t* HIDDEN_WORDPAD = L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.hidden";

// Keeps WordPad out of its place for as long as it lives.
class WordPadHidden {
public:
    WordPadHidden() {
        expect(MoveFileW(WORDPAD, HIDDEN_WORDPAD) != FALSE, "WordPad could not be moved out of the way");
    }
    ~WordPadHidden() { MoveFileW(HIDDEN_WORDPAD, WORDPAD); }
};

// "View mb_comb_file.txt": the main window waits, without answering, until the editor that shows
// the file has been closed.
void expectViewerWaits(ProgramUnderTest& program, HWND mainWindow, const std::string& editorName) {
    pressButton(mainWindow, VIEW_COMBINATIONS_BUTTON);
    HWND editor = nullptr;
    waitUntil(
        [&] {
            if (program.findMessageBox()) fail("a message box instead of the editor: \"" + windowText(program.findMessageBox()) + "\"");
            editor = findForeignWindow(program.processId(), "mb_comb_file.txt");
            return editor != nullptr;
        },
        editorName + " showing mb_comb_file.txt");
    std::printf("%s: \"%s\"\n", editorName.c_str(), windowText(editor).c_str());
    expect(!answersWithin(mainWindow, 500ms), "the main window responds while " + editorName + " is open");
    PostMessageW(editor, WM_CLOSE, 0, 0);
    settle(mainWindow);
    expect(program.findMessageBox() == nullptr, "a message box appeared after " + editorName + " was closed");
    activate(mainWindow);  // as a click on it would, whichever window the system activated
}

void viewerWaitsForEditor(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 8);
    pressButton(mainWindow, WRITE_FILE);
    program.acknowledgeMessage();
    settle(mainWindow);
    expectViewerWaits(program, mainWindow, "WordPad");
    {
        WordPadHidden hidden;
        expectViewerWaits(program, mainWindow, "the default program for text files");
    }
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// A file in the program's working folder, with the given bytes.
void plantFile(const DriverOptions& options, const std::wstring& name, const std::string& bytes) {
    std::ofstream((options.workFolder + L"\\" + name).c_str(), std::ios::binary) << bytes;
}

// "Last data to mb_comb_file.txt" over a hidden file: the new file is hidden too; a temporary file
// that a writer which has ended left beside it is removed; a file that only looks like one is not.
void fileReplacementKeepsAttributes(const DriverOptions& options) {
    const std::wstring target = options.workFolder + L"\\mb_comb_file.txt";
    plantFile(options, L"mb_comb_file.txt", "previous");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    plantFile(options, L"mb_comb_file.txt.4000000-0.partial", "left by a writer that has ended");
    plantFile(options, L"mb_comb_file.txt.partial", "not the program's");

    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 8);
    pressButton(mainWindow, WRITE_FILE);
    const std::string message = program.acknowledgeMessage();
    expect(message.rfind("We store combinations  in file mb_comb_file.txt in ", 0) == 0,
           "message after writing over a hidden file: \"" + message + "\"");
    settle(mainWindow);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    expect(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN),
           "the replaced file is no longer hidden");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    expect(program.readFile("mb_comb_file.txt").rfind(header("FULL SYSTEM 7/ 8") + "1,1,2,3,4,5,6,7\r\n", 0) == 0,
           "mb_comb_file.txt does not hold the full wheel at 8");
    expect(!program.fileExists("mb_comb_file.txt.4000000-0.partial"), "the leftover temporary file is still there");
    expectEqual(program.readFile("mb_comb_file.txt.partial"), std::string("not the program's"),
                "the file that only looks like a temporary one");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// 3,432 stored: both searches take the path that runs 64 starting combinations per walk, and must
// give what one pass after another gives.
void abbreviatedSystemsAt14(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = storeFullWheel(program, 14);
    expectSearch(program, mainWindow, SEARCH_G4, "Best starting combination number: 3432, abbreviated system: 2",
                 "We found for now  2 combinations/4 of any 7 under given conditions", "mb_comb_file_ab.txt",
                 header("FULL SYSTEM 7/ 14", "gar.:4 from 7 OK numbers") +
                     crlfLines({"1,8,9,10,11,12,13,14", "2,1,2,3,4,5,6,7"}));
    expectSearch(
        program, mainWindow, SEARCH_G5, "Best starting combination number: 3347, abbreviated system: 24",
        "We found for now  24 combinations/5 of any 7 under given conditions", "mb_comb_file_ab5.txt",
        header("FULL SYSTEM 7/ 14", "gar.:5 from 7 OK numbers") +
            crlfLines({"1,5,6,7,11,12,13,14", "2,1,2,3,4,5,6,7",    "3,1,2,3,4,8,9,10",    "4,1,2,3,4,11,12,13",
                       "5,1,2,3,5,8,11,14",   "6,1,2,3,6,9,12,14",  "7,1,2,3,7,10,13,14",  "8,1,2,4,5,9,13,14",
                       "9,1,2,4,6,10,11,14",  "10,1,2,4,7,8,12,14", "11,1,2,5,6,8,10,12",  "12,1,2,5,7,9,10,11",
                       "13,1,2,6,7,8,9,13",   "14,1,3,4,5,10,12,14", "15,1,3,4,6,8,13,14", "16,1,3,4,7,9,11,14",
                       "17,1,3,5,6,9,10,13",  "18,1,3,5,7,8,9,12",  "19,1,3,6,7,8,10,11",  "20,1,4,5,6,8,9,11",
                       "21,1,4,5,7,8,10,13",  "22,1,4,6,7,9,10,12", "23,1,8,9,10,11,12,13", "24,5,6,7,8,9,10,14"}));
    expectEqual(controlText(mainWindow, COUNT_LABEL), " 3432", "count label after the G5 search");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario COMMAND_SCENARIOS[] = {
    {"full-wheel-39", "count and store the full wheel of 39: count, memory, store buttons, statistics", fullWheelAt39},
    {"statistics-8", "statistics window after storing at 8: counts, Escape, closing re-enables the main window",
     statisticsAt8},
    {"combination-file-8", "mb_comb_file.txt of the full wheel at 8, byte for byte, and its message",
     combinationFileAt8},
    {"abbreviated-10", "G4 and G5 systems of the full wheel at 10 in their files", abbreviatedSystemsAt10},
    {"abbreviated-11", "G4 and G5 systems of the full wheel at 11 in their files", abbreviatedSystemsAt11},
    {"abbreviated-14", "G4 and G5 systems of the full wheel at 14, 64 starting combinations per walk",
     abbreviatedSystemsAt14},
    {"viewer", "View mb_comb_file.txt waits for WordPad, or for the default program without WordPad",
     viewerWaitsForEditor},
    {"escape-stops-search", "Escape ends a long search, which then reports and writes its best system",
     escapeStopsSearch},
    {"file-replacement", "writing over a hidden file keeps it hidden and removes an ended writer's leftovers",
     fileReplacementKeepsAttributes},
    {"search-progress", "the share done and the time left of a long G4 search in a label of their own",
     searchProgressLabel},
};

}  // namespace

std::span<const Scenario> commandScenarios() { return COMMAND_SCENARIOS; }

}  // namespace driver
