// The "Past draws" window: opened from the main window with nothing stored, a file of dated past
// draws chosen in the system's file-open dialog, its labels and bar chart read against counts
// worked out here by a plain loop, a malformed file that changes nothing, and the window opened
// again after a parameter step, which tries the new parameters.

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
constexpr int OPEN_FILE = 2302, FILE_LABEL = 2303, SPAN_LABEL = 2304, CHART = 2306, MODES_LABEL = 2310;
constexpr int CONDITIONS_LABEL = 2311, RESULT_LABEL = 2312, CLOSE = 2313;
constexpr int WINDOW_MARKER = OPEN_FILE;
constexpr const char* DIALOG_TITLE = "Open a file of past draws";
// The past-draws part of the "Check a system" window.
constexpr int DRAW_FIELD = 2321, MATCH = 2322, MATCH_LABEL = 2323, PRICE_FIELD = 2325, PRIZES_FIELD = 2327;
constexpr int CHECK_PAST_DRAWS = 2328, WINS_LABEL = 2329;

// Types `text` into an edit field as the keyboard would leave it.
void typeInto(HWND dialog, int id, const std::string& text) {
    const std::wstring typed = wide(text);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()), SMTO_NORMAL,
                             5000, &result))
        fail("edit field " + std::to_string(id) + " did not answer");
}

std::string countsText(const std::array<int64_t, 8>& counts) {
    std::string text;
    for (int k = 7; k >= 0; --k) text += (k < 7 ? " " : "") + std::to_string(k) + "=" + std::to_string(counts[k]);
    return text;
}

void writeWorkFile(const DriverOptions& options, const std::string& name, const std::string& text) {
    std::ofstream out(pathInWorkFolder(options, name).c_str(), std::ios::binary);
    out << text;
    expect(static_cast<bool>(out), "the driver could not write " + name);
}

struct DrawDay {
    int year, month, day;
};

// Draw k: 2015-01-03 plus k weeks (2016, 2020 and 2024 are the leap years on the way).
DrawDay drawDay(int k) {
    int year = 2015, rest = 3 + 7 * k;
    const auto daysOfYear = [](int y) { return y % 4 == 0 ? 366 : 365; };
    while (rest > daysOfYear(year)) rest -= daysOfYear(year++);
    const int months[12] = {31, year % 4 == 0 ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (rest > months[month]) rest -= months[month++];
    return {year, month + 1, rest};
}

std::string isoDate(int k) {
    const DrawDay day = drawDay(k);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", day.year, day.month, day.day);
    return date;
}

// 520 draws of a generator of its own, a week apart from 2015-01-03 on, newest first as lottery
// sites list them; the draws oldest first for the counts.
std::string historyFile(std::vector<uint64_t>& oldestFirst) {
    uint64_t seed = 2026;
    for (int k = 0; k < 520; ++k) {
        uint64_t mask = 0;
        while (std::popcount(mask) < 7) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            mask |= uint64_t{1} << (1 + (seed >> 33) % 39);
        }
        oldestFirst.push_back(mask);
    }
    std::string text = "Date;N1;N2;N3;N4;N5;N6;N7\r\n";
    for (int k = 519; k >= 0; --k) {
        const DrawDay day = drawDay(k);
        char date[16];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", day.day, day.month, day.year);
        text += date;
        for (int v = 1; v <= 39; ++v)
            if (oldestFirst[static_cast<size_t>(k)] >> v & 1) text += ";" + std::to_string(v);
        text += "\r\n";
    }
    return text;
}

// The chart's line of number v: its count, then v and the draws since it last came, counted plainly.
std::string chartLinePrefix(const std::vector<uint64_t>& draws, int v) {
    int64_t times = 0, since = -1;
    for (size_t d = 0; d < draws.size(); ++d)
        if (draws[d] >> v & 1) ++times, since = static_cast<int64_t>(draws.size() - 1 - d);
    return std::to_string(times) + "\t" + std::to_string(v) + "\t" + (since < 0 ? "-" : std::to_string(since)) + "\t";
}

HWND openPastDrawsWindow(ProgramUnderTest& program, HWND mainWindow) {
    pressButton(mainWindow, PAST_DRAWS_BUTTON);
    HWND window = program.waitForWindow(WINDOW_MARKER, "\"Past draws\" window");
    settle(window);
    expect(IsWindowEnabled(mainWindow) == FALSE, "the main window takes input while \"Past draws\" is open");
    return window;
}

void closePastDrawsWindow(ProgramUnderTest& program, HWND mainWindow, HWND window) {
    pressButton(window, CLOSE);
    program.waitUntilClosed(WINDOW_MARKER, "\"Past draws\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
}

void pastDraws(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    expect(controlEnabled(mainWindow, PAST_DRAWS_BUTTON), "\"Past draws...\" is greyed out with nothing stored");
    HWND window = openPastDrawsWindow(program, mainWindow);

    std::vector<uint64_t> draws;
    writeWorkFile(options, "draws.csv", historyFile(draws));
    openFileThroughDialog(program, window, OPEN_FILE, DIALOG_TITLE, pathInWorkFolder(options, "draws.csv"));
    expectEqual(controlText(window, FILE_LABEL), "File: draws.csv", "file label");
    expectEqual(controlText(window, SPAN_LABEL), "520 draws, from 2015-01-03 to 2024-12-14.", "span label");
    const std::string chart = controlText(window, CHART);
    expect(chart.rfind("93.33\texpected\n", 0) == 0, "the chart's expected line (520 x 7 / 39): " + chart.substr(0, 40));
    std::istringstream lines(chart);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    for (int v = 1; v <= 39; ++v) {
        std::getline(lines, line);
        const std::string expected = chartLinePrefix(draws, v);
        expect(line.rfind(expected, 0) == 0, "chart bar " + std::to_string(v) + ": \"" + line + "\", expected \"" +
                                                 expected + "...\"");
    }
    const std::string modes = controlText(window, MODES_LABEL);
    expect(modes.rfind("Mode 1: kept 520 (100.00%), keeps 100.00% of all combinations\n", 0) == 0,
           "modes label: " + modes);
    std::printf("%s\n%s\n", modes.c_str(), controlText(window, CONDITIONS_LABEL).c_str());
    program.picture(window, "past-draws-window");

    // A malformed file: its line and fault; the labels of the file before stay.
    writeWorkFile(options, "bad.csv", "2024-01-06;1;2;3;4;5;6;7\r\n2024-01-13;1;2;3;4;5;6;40\r\n");
    openFileThroughDialog(program, window, OPEN_FILE, DIALOG_TITLE, pathInWorkFolder(options, "bad.csv"));
    expectEqual(controlText(window, RESULT_LABEL),
                "bad.csv was not opened: line 2: number 40 is outside 1 to 39. Nothing else has changed.",
                "result label");
    expectEqual(controlText(window, FILE_LABEL), "File: draws.csv", "file label after a malformed file");
    closePastDrawsWindow(program, mainWindow, window);

    // A step of the total: opened again, the window tries the new parameters on the same file.
    setTotalNumbers(mainWindow, 38);
    window = openPastDrawsWindow(program, mainWindow);
    expectEqual(controlText(window, FILE_LABEL), "File: draws.csv", "file label when opened again");
    int64_t above = 0;
    for (const uint64_t draw : draws) above += (draw >> 39) & 1;
    const std::string conditions = controlText(window, CONDITIONS_LABEL);
    expect(conditions.find("Above the total of 38 numbers: " + std::to_string(above) + ", which no mode keeps") !=
               std::string::npos,
           "conditions label at 38 numbers: " + conditions);
    closePastDrawsWindow(program, mainWindow, window);

    // "Check a system": one typed draw against the file's lines, then the system over the past
    // draws with a price and prizes, counted here line by line and draw by draw.
    setTotalNumbers(mainWindow, 12);
    pressAndSettle(mainWindow, FULL_WHEEL_STORING_BUTTON);
    HWND check = openCheckSystemWindow(program, mainWindow);
    const std::vector<uint64_t> system{0xFEull, 0x7F00000ull};  // 1..7 and 20..26
    writeWorkFile(options, "system.txt", "1,2,3,4,5,6,7\r\n20,21,22,23,24,25,26\r\n");
    openFileInCheckSystemWindow(program, check, pathInWorkFolder(options, "system.txt"));
    typeInto(check, DRAW_FIELD, "26 25 24 23 22 1 2");
    clickAndWait(check, MATCH);
    expectEqual(controlText(check, MATCH_LABEL),
                "Lines by the numbers they share with the draw: 7=0 6=0 5=1 4=0 3=0 2=1 1=0 0=0. Best: 5 on line 2.",
                "match label");
    typeInto(check, PRICE_FIELD, "1.50");
    typeInto(check, PRIZES_FIELD, "3=1,4=10,5=100,6=1000,7=100000");
    openFileThroughDialog(program, check, CHECK_PAST_DRAWS, DIALOG_TITLE, pathInWorkFolder(options, "draws.csv"));
    std::array<int64_t, 8> best{}, hits{};
    const std::array<int64_t, 8> prize{0, 0, 0, 1, 10, 100, 1000, 100000};
    int64_t won = 0;
    int bestOfAll = -1, lastMost = 0;
    size_t bestDraw = 0, bestDrawLine = 0, lastLine = 0;
    for (size_t d = 0; d < draws.size(); ++d) {
        int most = -1;
        size_t at = 0;
        for (size_t k = 0; k < system.size(); ++k) {
            const int h = std::popcount(draws[d] & system[k]);
            ++hits[static_cast<size_t>(h)];
            won += prize[static_cast<size_t>(h)];
            if (h > most) most = h, at = k;
        }
        ++best[static_cast<size_t>(most)];
        if (most > bestOfAll) bestOfAll = most, bestDraw = d, bestDrawLine = at;
        lastMost = most, lastLine = at;
    }
    // 2 lines x 1.50 x 520 draws = 1560.
    const std::string balance = won - 1560 >= 0 ? std::to_string(won - 1560) : "-" + std::to_string(1560 - won);
    expectEqual(controlText(check, WINS_LABEL),
                "draws.csv: Over 520 draws, best match per draw: " + countsText(best) +
                    ". Hits of every line in every draw: " + countsText(hits) + ". The latest draw (of " +
                    isoDate(static_cast<int>(draws.size()) - 1) + "): " + std::to_string(lastMost) + " hits on line " +
                    std::to_string(lastLine + 1) + "; the first with " + std::to_string(bestOfAll) + " hits: draw of " +
                    isoDate(static_cast<int>(bestDraw)) + ", line " + std::to_string(bestDrawLine + 1) + ". Cost 1560, won " +
                    std::to_string(won) + ", balance " + balance + ".",
                "wins label");
    program.picture(check, "check-system-past-draws");
    closeCheckSystemWindow(program, mainWindow, check);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario PAST_DRAWS_SCENARIOS[] = {
    {"past-draws", "Past draws: a file of dated draws chosen in the file-open dialog, its chart against a plain "
                   "count, a malformed file, the parameters of the next opening",
     pastDraws},
};

}  // namespace

std::span<const Scenario> pastDrawsScenarios() { return PAST_DRAWS_SCENARIOS; }

}  // namespace driver
