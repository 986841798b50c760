// The fonts the windows are drawn in: the dialog base units the layout was made for, and every
// caption fitting its control. The texts are measured inside the program's own process, in the
// fonts its controls really use, by quillstep-text-probe.dll (tests/wine/text_probe), which the
// driver hooks into the program's user-interface thread.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scenarios.h"

namespace driver {

namespace {

constexpr int FULL_WHEEL_STORING = 1030, STATISTICS = 1080, MODE_12_STORING = 1129;

// The dialog base units of "MS Sans Serif" at 8 points on a 96-dpi screen, for which the
// windows were laid out.
constexpr long BASE_UNIT_X = 6, BASE_UNIT_Y = 13;

struct MeasuredText {
    int id = 0;
    std::string kind;  // "label" or "button"
    long neededWidth = 0, neededHeight = 0, roomWidth = 0, roomHeight = 0, descent = 0, bearing = 0;
    std::string face;
};

struct TextReport {
    long baseX = 0, baseY = 0;
    std::vector<MeasuredText> texts;
};

std::wstring folderOfThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring reportPath() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"quillstep-text-probe-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

TextReport readReport(const std::wstring& path) {
    std::ifstream in(path.c_str());
    expect(static_cast<bool>(in), "the text probe wrote no report (was it loaded into the program?)");
    TextReport report;
    std::string word;
    in >> word >> report.baseX >> report.baseY;
    expect(word == "base", "the text probe's report does not start with the base units");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        MeasuredText text;
        if (!(fields >> text.id >> text.kind >> text.neededWidth >> text.neededHeight >> text.roomWidth >> text.roomHeight >> text.descent >> text.bearing))
            continue;
        std::getline(fields >> std::ws, text.face);
        report.texts.push_back(text);
    }
    return report;
}

// Hooks the probe into the thread of `window`, has it measure the window's texts and reads them.
TextReport measureTexts(HWND window) {
    HMODULE probe = LoadLibraryW((folderOfThisProgram() + L"\\quillstep-text-probe.dll").c_str());
    expect(probe != nullptr, "quillstep-text-probe.dll is not beside the driver");
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "measureTextsHook")));
    expect(hook != nullptr, "quillstep-text-probe.dll has no measureTextsHook");
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, hook, probe, threadId);
    expect(installed != nullptr, "the text probe could not be hooked into the program");
    const std::wstring path = reportPath();
    DeleteFileW(path.c_str());
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, RegisterWindowMessageW(L"QuillstepTextProbe"),
                                              GetCurrentProcessId(), 0, SMTO_NORMAL, 10'000, &result) != 0;
    UnhookWindowsHookEx(installed);
    expect(answered, "the program did not answer the text probe");
    TextReport report = readReport(path);
    DeleteFileW(path.c_str());
    FreeLibrary(probe);
    return report;
}

// Whether the text is shown whole: its ink is no wider than the control (a one-word text may
// leave its last character's blank outside), and every line lies inside it, save the part of
// the last line below the baseline (the layout cuts that off on Windows too, for the large
// numbers and for two-line captions of 8-point labels 15 units high).
bool fits(const MeasuredText& t) {
    return t.neededWidth - t.bearing <= t.roomWidth && t.neededHeight - t.descent <= t.roomHeight;
}

// Fails with every control of the window whose text needs more room than the control has.
void expectCaptionsFit(HWND window, const std::string& name) {
    const TextReport report = measureTexts(window);
    std::printf("%s: dialog base units %ld x %ld, %zu texts measured\n", name.c_str(), report.baseX, report.baseY,
                report.texts.size());
    expect(report.texts.size() > 3, name + ": the text probe measured almost nothing");
    std::string problems;
    if (report.baseX != BASE_UNIT_X || report.baseY != BASE_UNIT_Y)
        problems += "\n  dialog base units " + std::to_string(report.baseX) + " x " + std::to_string(report.baseY) +
                    " instead of 6 x 13 (is \"MS Sans Serif\" substituted in the Wine prefix?)";
    std::string cut;
    for (const MeasuredText& t : report.texts) {
        if (fits(t)) continue;
        cut += "\n  " + std::to_string(t.id) + " (" + t.kind + ", " + t.face + ") \"" + controlText(window, t.id) +
               "\" needs " + std::to_string(t.neededWidth) + " x " + std::to_string(t.neededHeight) + " pixels, has " +
               std::to_string(t.roomWidth) + " x " + std::to_string(t.roomHeight);
    }
    if (!cut.empty()) problems += "\n  captions cut off:" + cut;
    expect(problems.empty(), name + ":" + problems);
}

void captionsFit(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND intro = program.waitForWindow(INTRO_WINDOW_MARKER, "introductory window");
    settle(intro);
    expectCaptionsFit(intro, "introductory window");

    HWND mainWindow = program.openMainWindow();
    expectCaptionsFit(mainWindow, "main window");

    setTotalNumbers(mainWindow, 8);
    pressAndSettle(mainWindow, FULL_WHEEL_STORING);
    pressButton(mainWindow, STATISTICS);
    HWND statistics = program.waitForWindow(STATISTICS_WINDOW_MARKER, "statistics window");
    settle(statistics);
    expectCaptionsFit(statistics, "statistics window");
    pressButton(statistics, STATISTICS_WINDOW_MARKER);
    program.waitUntilClosed(STATISTICS_WINDOW_MARKER, "statistics window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");

    // "Check a system" with its longest texts: the mode-12 store at 39 numbers and a system of
    // 300 lines whose counts run to seven digits, with holes of two-digit numbers.
    setTotalNumbers(mainWindow, 39);
    pressAndSettle(mainWindow, MODE_12_STORING);
    HWND check = openCheckSystemWindow(program, mainWindow);
    expectCaptionsFit(check, "\"Check a system\" window");
    const std::wstring path = options.workFolder + L"\\long.txt";
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        uint64_t seed = 12345;
        for (int line = 0; line < 300; ++line) {
            uint64_t mask = 0;
            while (std::popcount(mask) < 7) {
                seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
                mask |= uint64_t{1} << (1 + (seed >> 33) % 39);
            }
            std::string text;
            for (int v = 1; v <= 39; ++v)
                if (mask >> v & 1) text += (text.empty() ? "" : ",") + std::to_string(v);
            out << text << "\r\n";
        }
    }
    openFileInCheckSystemWindow(program, check, path);
    std::printf("draw profile: \"%s\"\n", controlText(check, 1193).c_str());
    expectCaptionsFit(check, "\"Check a system\" window with a file");
    closeCheckSystemWindow(program, mainWindow, check);
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario FONT_SCENARIOS[] = {
    {"captions-fit", "dialog base units of 6 x 13 and every caption inside its control, measured in its own font",
     captionsFit},
};

}  // namespace

std::span<const Scenario> fontScenarios() { return FONT_SCENARIOS; }

}  // namespace driver
