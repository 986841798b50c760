// The fonts the windows are drawn in: the dialog base units the layout was made for, and every
// caption fitting its control. The texts are measured inside the program's own process, in the
// fonts its controls really use, by quillstep-text-probe.dll (tests/wine/text_probe), which the
// driver hooks into the program's user-interface thread. The same scenario runs at 96, 144 and
// 192 DPI (the Wine prefix's LogPixels, see run_wine_test.sh); a second one moves the main window
// to other DPIs as Windows does when it is dragged onto another monitor.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scenarios.h"

namespace driver {

namespace {

constexpr int FULL_WHEEL_STORING = FULL_WHEEL_STORING_BUTTON, STATISTICS = STATISTICS_BUTTON;
constexpr int MODE_12_STORING = NEIGHBOURS_FILTERS_BUTTON;
// OK and Cancel of the "Set values" window, OK of the About window (src/windows/).
constexpr int SET_VALUES_WINDOW_MARKER = 2161, SET_VALUES_CANCEL_BUTTON = 2162, ABOUT_WINDOW_MARKER = 2174;

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
    long baseX = 0, baseY = 0, dpi = 0;
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
    in >> word >> report.baseX >> report.baseY >> report.dpi;
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

// Hooks the probe into the thread of `window` and sends the window the probe's registered message
// `message` with `wParam`; returns when the program has handled it.
void sendThroughProbe(HWND window, const wchar_t* message, WPARAM wParam) {
    HMODULE probe = LoadLibraryW((folderOfThisProgram() + L"\\quillstep-text-probe.dll").c_str());
    expect(probe != nullptr, "quillstep-text-probe.dll is not beside the driver");
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "measureTextsHook")));
    expect(hook != nullptr, "quillstep-text-probe.dll has no measureTextsHook");
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, hook, probe, threadId);
    expect(installed != nullptr, "the text probe could not be hooked into the program");
    DWORD_PTR result = 0;
    const bool answered =
        SendMessageTimeoutW(window, RegisterWindowMessageW(message), wParam, 0, SMTO_NORMAL, 10'000, &result) != 0;
    UnhookWindowsHookEx(installed);
    FreeLibrary(probe);
    expect(answered, "the program did not answer the text probe");
}

// Has the probe measure the window's texts and reads them.
TextReport measureTexts(HWND window) {
    const std::wstring path = reportPath();
    DeleteFileW(path.c_str());
    sendThroughProbe(window, L"QuillstepTextProbe", GetCurrentProcessId());
    TextReport report = readReport(path);
    DeleteFileW(path.c_str());
    return report;
}

// The WM_DPICHANGED of a move to a monitor of `dpi`, sent inside the program's thread.
void moveToMonitorOfDpi(HWND window, UINT dpi) {
    sendThroughProbe(window, L"QuillstepDpiChange", dpi);
    settle(window);
}

// Whether the text is shown whole: its ink is no wider than the control (a one-word text may
// leave its last character's blank outside), and every line lies inside it, save the part of
// the last line below the baseline (the layout cuts that off on Windows too, for the large
// numbers and for two-line captions of 8-point labels 15 units high).
bool fits(const MeasuredText& t) {
    return t.neededWidth - t.bearing <= t.roomWidth && t.neededHeight - t.descent <= t.roomHeight;
}

// Whether the base units are those of "MS Sans Serif" (substituted by the prefix's font) at `dpi`:
// exactly 6 x 13 at 96 DPI; at other DPIs the font's own rounding of its larger sizes allows a
// pixel or two.
bool baseUnitsFitDpi(long baseX, long baseY, long dpi) {
    if (dpi == 96) return baseX == BASE_UNIT_X && baseY == BASE_UNIT_Y;
    const double scale = dpi / 96.0;
    return std::fabs(baseX - BASE_UNIT_X * scale) <= 1.0 && std::fabs(baseY - BASE_UNIT_Y * scale) <= 2.0;
}

// The rectangle of a label's text in the window's client area: its wrapped lines from the top of
// the label, as wide and as high as they need, within the label.
RECT labelTextRect(HWND label, const MeasuredText& t, HWND window) {
    RECT box;
    GetWindowRect(label, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    const long width = std::min(t.neededWidth, t.roomWidth), height = std::min(t.neededHeight, t.roomHeight);
    const auto align = static_cast<DWORD>(GetWindowLongPtrW(label, GWL_STYLE)) & SS_TYPEMASK;
    const long left = align == SS_CENTER ? box.left + (t.roomWidth - width) / 2
                      : align == SS_RIGHT ? box.right - width
                                          : box.left;
    return RECT{left, box.top, left + width, box.top + height};
}

// Whether a control paints its box: every visible one but frames and group boxes, which draw
// only their lines.
bool paintsItsBox(HWND control) {
    if (!IsWindowVisible(control)) return false;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const std::string name = windowClass(control);
    if (_stricmp(name.c_str(), "Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP;
    }
    if (_stricmp(name.c_str(), "Button") == 0) return (style & BS_TYPEMASK) != BS_GROUPBOX;
    return true;
}

// The labels whose text a control created after them covers: that control paints its box over
// the tops or the descenders of their letters (the text itself fitting its own label).
std::string coveredLabels(HWND window, const TextReport& report) {
    const std::vector<HWND> children = childWindows(window);
    std::string covered;
    for (size_t i = 0; i < children.size(); ++i) {
        const int id = GetDlgCtrlID(children[i]);
        const auto measured = std::find_if(report.texts.begin(), report.texts.end(),
                                           [&](const MeasuredText& t) { return t.id == id && t.kind == "label"; });
        if (measured == report.texts.end()) continue;
        const RECT text = labelTextRect(children[i], *measured, window);
        for (size_t j = i + 1; j < children.size(); ++j) {
            if (!paintsItsBox(children[j])) continue;
            RECT box, common;
            GetWindowRect(children[j], &box);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
            if (!IntersectRect(&common, &text, &box)) continue;
            covered += "\n  " + std::to_string(id) + " \"" + controlText(window, id) + "\": its text at " +
                       std::to_string(text.left) + "," + std::to_string(text.top) + " " +
                       std::to_string(text.right - text.left) + " x " + std::to_string(text.bottom - text.top) +
                       " lies under control " + std::to_string(GetDlgCtrlID(children[j])) + " from " +
                       std::to_string(box.left) + "," + std::to_string(box.top);
        }
    }
    return covered;
}

// Fails with every control of the window whose text needs more room than the control has, and
// with every label whose text lies under a control created after it.
TextReport expectCaptionsFit(HWND window, const std::string& name) {
    const TextReport report = measureTexts(window);
    std::printf("%s: %ld DPI, dialog base units %ld x %ld, %zu texts measured\n", name.c_str(), report.dpi,
                report.baseX, report.baseY, report.texts.size());
    expect(report.texts.size() > 3, name + ": the text probe measured almost nothing");
    std::string problems;
    if (!baseUnitsFitDpi(report.baseX, report.baseY, report.dpi))
        problems += "\n  dialog base units " + std::to_string(report.baseX) + " x " + std::to_string(report.baseY) +
                    " at " + std::to_string(report.dpi) +
                    " DPI instead of 6 x 13 scaled to it (is \"MS Sans Serif\" substituted in the Wine prefix?)";
    std::string cut;
    for (const MeasuredText& t : report.texts) {
        if (fits(t)) continue;
        cut += "\n  " + std::to_string(t.id) + " (" + t.kind + ", " + t.face + ") \"" + controlText(window, t.id) +
               "\" needs " + std::to_string(t.neededWidth) + " x " + std::to_string(t.neededHeight) + " pixels, has " +
               std::to_string(t.roomWidth) + " x " + std::to_string(t.roomHeight);
    }
    if (!cut.empty()) problems += "\n  captions cut off:" + cut;
    if (const std::string covered = coveredLabels(window, report); !covered.empty())
        problems += "\n  labels partly covered by another control:" + covered;
    expect(problems.empty(), name + ":" + problems);
    return report;
}

// At DPIs other than 96 (whose pictures other scenarios take), "main-window-144dpi" and the like.
void pictureAtDpi(const ProgramUnderTest& program, HWND window, const std::string& name, const TextReport& report) {
    if (report.dpi != 96) program.picture(window, name + "-" + std::to_string(report.dpi) + "dpi");
}

void captionsFit(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND intro = program.waitForWindow(INTRO_WINDOW_MARKER, "introductory window");
    settle(intro);
    pictureAtDpi(program, intro, "intro-window", expectCaptionsFit(intro, "introductory window"));

    HWND mainWindow = program.openMainWindow();
    pictureAtDpi(program, mainWindow, "main-window", expectCaptionsFit(mainWindow, "main window"));

    setTotalNumbers(mainWindow, 8);
    pressAndSettle(mainWindow, FULL_WHEEL_STORING);
    pressButton(mainWindow, STATISTICS);
    HWND statistics = program.waitForWindow(STATISTICS_WINDOW_MARKER, "statistics window");
    settle(statistics);
    pictureAtDpi(program, statistics, "statistics-window", expectCaptionsFit(statistics, "statistics window"));
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

    // The windows of "Set values..." and of "About Quillstep..." in the system menu.
    pressButton(mainWindow, SET_VALUES_BUTTON);
    HWND values = program.waitForWindow(SET_VALUES_WINDOW_MARKER, "\"Set values\" window");
    settle(values);
    pictureAtDpi(program, values, "set-values-window", expectCaptionsFit(values, "\"Set values\" window"));
    pressButton(values, SET_VALUES_CANCEL_BUTTON);
    program.waitUntilClosed(SET_VALUES_WINDOW_MARKER, "\"Set values\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    PostMessageW(mainWindow, WM_SYSCOMMAND, ABOUT_MENU_ITEM, 0);
    HWND about = nullptr;
    const auto findAbout = [&] {
        for (HWND window : topLevelWindows(program.processId()))
            if (GetDlgItem(window, ABOUT_WINDOW_MARKER)) return window;
        return HWND{};
    };
    waitUntil([&] { return (about = findAbout()) != nullptr; }, "the About window");
    settle(about);
    pictureAtDpi(program, about, "about-window", expectCaptionsFit(about, "About window"));
    pressButton(about, ABOUT_WINDOW_MARKER);
    waitUntil([&] { return findAbout() == nullptr; }, "the About window to close");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");

    // "Wheel my numbers..." with its longest choice: every other number, the last three as keys.
    constexpr int WHEEL_START = 2457, WHEEL_CLOSE = 2459, WHEEL_MARK_KEYS = 2441;
    const auto slipNumber = [](int v) { return 2401 + v; };
    pressButton(mainWindow, WHEEL_MY_NUMBERS_BUTTON);
    HWND wheel = program.waitForWindow(WHEEL_START, "\"Wheel my numbers\" window");
    settle(wheel);
    for (int v = 1; v <= 39; v += 2) clickAndWait(wheel, slipNumber(v));
    clickAndWait(wheel, WHEEL_MARK_KEYS);
    for (int v : {35, 37, 39}) clickAndWait(wheel, slipNumber(v));
    pictureAtDpi(program, wheel, "wheel-my-numbers", expectCaptionsFit(wheel, "\"Wheel my numbers\" window"));
    pressButton(wheel, WHEEL_CLOSE);
    program.waitUntilClosed(WHEEL_START, "\"Wheel my numbers\" window");
    waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, "the main window to be enabled again");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

// The window's size and its controls' rectangles in its client area, in creation order.
struct Layout {
    SIZE window{};
    std::vector<RECT> controls;
};

Layout layoutOf(HWND dialog) {
    Layout layout;
    RECT frame;
    GetWindowRect(dialog, &frame);
    layout.window = SIZE{frame.right - frame.left, frame.bottom - frame.top};
    for (HWND child : childWindows(dialog)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        layout.controls.push_back(box);
    }
    return layout;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " x " +
           std::to_string(r.bottom - r.top);
}

void expectSameLayout(const Layout& expected, const Layout& actual, const std::string& when) {
    expect(actual.window.cx == expected.window.cx && actual.window.cy == expected.window.cy,
           when + ": the window is " + std::to_string(actual.window.cx) + " x " + std::to_string(actual.window.cy) +
               " instead of " + std::to_string(expected.window.cx) + " x " + std::to_string(expected.window.cy));
    expect(actual.controls.size() == expected.controls.size(), when + ": controls came or went");
    for (size_t i = 0; i < expected.controls.size(); ++i)
        expect(EqualRect(&actual.controls[i], &expected.controls[i]) != FALSE,
               when + ": control " + std::to_string(i + 1) + " is at " + rectText(actual.controls[i]) +
                   " instead of " + rectText(expected.controls[i]));
}

// Whether `scaled` is `original` grown by about `factor` (the base units of the larger font are
// rounded on their own, so a few per cent either way).
bool grownBy(long original, long scaled, double factor) {
    return std::fabs(scaled - original * factor) <= 0.08 * original * factor + 2;
}

long totalDescent(const TextReport& report) {
    long total = 0;
    for (const MeasuredText& t : report.texts) total += t.descent;
    return total;
}

// The main window moved to a monitor of twice the DPI, as Windows reports it with WM_DPICHANGED:
// the window, every control and every font grow with it and every caption still fits; moved to a
// monitor of the same DPI nothing changes, and moved back everything is as it opened, to the
// pixel (the program lays the window out anew from its dialog units as the dialog manager did).
void dpiChange(const DriverOptions& options) {
    ProgramUnderTest program(options);
    HWND mainWindow = startAtMainWindow(program);
    const TextReport opened = expectCaptionsFit(mainWindow, "main window as opened");
    const Layout openedLayout = layoutOf(mainWindow);
    const UINT dpi = static_cast<UINT>(opened.dpi);

    moveToMonitorOfDpi(mainWindow, dpi);
    expectSameLayout(openedLayout, layoutOf(mainWindow), "moved to a monitor of the same DPI");

    moveToMonitorOfDpi(mainWindow, 2 * dpi);
    const Layout doubled = layoutOf(mainWindow);
    std::printf("main window at %u DPI: %ld x %ld, at %u DPI: %ld x %ld\n", dpi, openedLayout.window.cx,
                openedLayout.window.cy, 2 * dpi, doubled.window.cx, doubled.window.cy);
    expect(doubled.controls.size() == openedLayout.controls.size(), "controls came or went at twice the DPI");
    for (size_t i = 0; i < doubled.controls.size(); ++i) {
        const RECT& a = openedLayout.controls[i];
        const RECT& b = doubled.controls[i];
        expect(grownBy(a.left, b.left, 2) && grownBy(a.top, b.top, 2) && grownBy(a.right - a.left, b.right - b.left, 2) &&
                   grownBy(a.bottom - a.top, b.bottom - b.top, 2),
               "at twice the DPI control " + std::to_string(i + 1) + " is at " + rectText(b) + ", from " + rectText(a));
    }
    const TextReport grown = expectCaptionsFit(mainWindow, "main window at twice the DPI");
    expect(totalDescent(grown) >= 1.6 * totalDescent(opened),
           "the fonts did not grow with the DPI: descents " + std::to_string(totalDescent(grown)) + " against " +
               std::to_string(totalDescent(opened)));
    program.picture(mainWindow, "main-window-moved-to-" + std::to_string(2 * dpi) + "dpi");

    moveToMonitorOfDpi(mainWindow, dpi);
    expectSameLayout(openedLayout, layoutOf(mainWindow), "moved back to a monitor of the first DPI");
    expectCaptionsFit(mainWindow, "main window moved back");
    program.closeMainWindowAndWaitForExit(mainWindow);
}

constexpr Scenario FONT_SCENARIOS[] = {
    {"dpi-change", "the main window moved to a monitor of twice the DPI and back: layout, fonts, captions",
     dpiChange},
    {"captions-fit", "dialog base units of 6 x 13 and every caption inside its control, measured in its own font",
     captionsFit},
};

}  // namespace

std::span<const Scenario> fontScenarios() { return FONT_SCENARIOS; }

}  // namespace driver
