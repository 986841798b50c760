#include "platform/win32/modal_dialog.h"

#include <array>
#include <utility>
#include <vector>

#include "platform/win32/bar_chart.h"
#include "platform/win32/dialog_template_bytes.h"
#include "platform/win32/dpi_scaling.h"
#include "platform/win32/held_button_repeat.h"
#include "platform/win32/owned_handle.h"

namespace quillstep {

namespace {

constexpr const wchar_t* FONT_FACE = L"MS Sans Serif";

struct ControlClass {
    ControlKind kind;
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle = 0;
};

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

constexpr std::array<ControlClass, 9> CONTROL_CLASSES{{
    {ControlKind::Label, L"STATIC", CHILD | SS_LEFT},
    {ControlKind::CentredLabel, L"STATIC", CHILD | SS_CENTER},
    {ControlKind::Button, L"BUTTON", CHILD | WS_TABSTOP | BS_PUSHBUTTON},
    {ControlKind::EtchedFrame, L"STATIC", CHILD | SS_ETCHEDFRAME},
    {ControlKind::GroupBox, L"BUTTON", CHILD | BS_GROUPBOX},
    // Not an automatic check box: a click only reports itself, and the handler sets the mark, so
    // that the mark always shows the handler's own state.
    {ControlKind::CheckBox, L"BUTTON", CHILD | WS_TABSTOP | BS_CHECKBOX},
    // The same, drawn as a push button that stays pressed in while checked.
    {ControlKind::ToggleButton, L"BUTTON", CHILD | WS_TABSTOP | BS_CHECKBOX | BS_PUSHLIKE},
    {ControlKind::Edit, L"EDIT", CHILD | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    // Drawn by drawBarChart on WM_DRAWITEM, from the control's text.
    {ControlKind::BarChart, L"STATIC", CHILD | SS_OWNERDRAW},
}};

const ControlClass& controlClass(ControlKind kind) {
    for (const auto& entry : CONTROL_CLASSES)
        if (entry.kind == kind) return entry;
    return CONTROL_CLASSES.front();
}

// What one open dialog keeps for itself.
struct DialogSession {
    HINSTANCE instance;
    const WindowTemplate* window;
    const WindowHandler* handler;
    HWND* openWindow;
    std::vector<OwnedFont> fonts;
    OwnedFont dialogFont{};  // the dialog font at a new DPI, once the window has moved to one
    std::vector<HWND> controls{};  // one per control of the template, in its order
    OwnedIcon bigIcon{};
    OwnedIcon smallIcon{};
    HWND savedFocus = nullptr;  // the control that had the focus when the window was deactivated
    bool commandRunning = false;
};

DialogSession* sessionOf(HWND dialog) {
    return reinterpret_cast<DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

OwnedFont createFont(const FontTemplate& font, UINT dpi) {
    return OwnedFont(CreateFontW(fontHeightAt(font.pointSize, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE, FALSE, FALSE,
                       static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, FONT_FACE));
}

void createControls(HWND dialog, DialogSession& session, UINT dpi) {
    const auto dialogFont = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const ControlTemplate& control : session.window->controls) {
        const RECT box = dialogUnitsToPixels(control.x, control.y, control.width, control.height, dpi);
        const ControlClass& kind = controlClass(control.kind);
        HWND child = CreateWindowExW(kind.extendedStyle, kind.className, widen(control.text).c_str(), kind.style, box.left, box.top,
                                     box.right - box.left, box.bottom - box.top, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), session.instance,
                                     nullptr);
        SendMessageW(child, WM_SETFONT, dialogFont, FALSE);
        if (control.repeatsWhileHeld) repeatWhileHeld(child);
        session.controls.push_back(child);
    }
}

void createAndAssignFonts(HWND dialog, DialogSession& session) {
    const UINT dpi = dpiOfWindow(dialog);
    for (const FontTemplate& font : session.window->fonts) session.fonts.push_back(createFont(font, dpi));
    for (const ControlTemplate& control : session.window->controls) {
        if (control.font < 0 || control.font >= static_cast<int>(session.fonts.size())) continue;
        SendMessageW(GetDlgItem(dialog, control.id), WM_SETFONT,
                     reinterpret_cast<WPARAM>(session.fonts[control.font].get()), FALSE);
    }
}

// The icons in the sizes of the window's DPI; those of an earlier DPI go once replaced.
void setIcons(HWND dialog, DialogSession& session, UINT dpi) {
    const int resource = session.window->iconResource;
    if (resource == 0) return;
    const auto load = [&](bool big) {
        const int pixels = iconPixelsAt(big, dpi);
        return OwnedIcon(static_cast<HICON>(
            LoadImageW(session.instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, pixels, pixels, 0)));
    };
    // The old icons are freed only once the window holds the new ones.
    OwnedIcon oldBig = std::exchange(session.bigIcon, load(true));
    OwnedIcon oldSmall = std::exchange(session.smallIcon, load(false));
    if (session.bigIcon) SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(session.bigIcon.get()));
    if (session.smallIcon)
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(session.smallIcon.get()));
}

OwnedFont createDialogFont(UINT dpi) {
    return OwnedFont(CreateFontW(fontHeightAt(DIALOG_FONT_POINTS, dpi), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, DIALOG_FONT_FACE));
}

// The window's outer size at `dpi`: its client area in dialog units.
SIZE windowSizeForDpi(HWND dialog, const WindowTemplate& window, UINT dpi) {
    const RECT client = dialogUnitsToPixels(0, 0, window.width, window.height, dpi);
    return windowSizeAt(static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                        static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), SIZE{client.right, client.bottom},
                        dpi);
}

// The window has moved to a monitor of another DPI: fonts, icons, every control and the window
// itself are made anew for it from the template's dialog units, as when the window opened, and
// the window takes the suggested place.
void followDpi(HWND dialog, DialogSession& session, UINT dpi, const RECT& suggested) {
    OwnedFont dialogFont = createDialogFont(dpi);
    std::vector<OwnedFont> fonts;
    for (const FontTemplate& font : session.window->fonts) fonts.push_back(createFont(font, dpi));
    for (size_t i = 0; i < session.controls.size() && i < session.window->controls.size(); ++i) {
        const ControlTemplate& control = session.window->controls[i];
        HWND child = session.controls[i];
        const RECT box = dialogUnitsToPixels(control.x, control.y, control.width, control.height, dpi);
        SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        const bool ownFont = control.font >= 0 && control.font < static_cast<int>(fonts.size());
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(ownFont ? fonts[control.font].get() : dialogFont.get()),
                     FALSE);
    }
    // No control uses the old fonts any more: they go as the new ones take their place.
    session.fonts = std::move(fonts);
    session.dialogFont = std::move(dialogFont);
    setIcons(dialog, session, dpi);
    const SIZE size = windowSizeForDpi(dialog, *session.window, dpi);
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(dialog, nullptr, TRUE);
}

// The window's own entries at the end of its system menu, after a separator.
void addSystemMenuItems(HWND dialog, const WindowTemplate& window) {
    if (window.systemMenuItems.empty()) return;
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const MenuItemTemplate& item : window.systemMenuItems)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), widen(item.text).c_str());
}

bool isSystemMenuItem(const WindowTemplate& window, WPARAM command) {
    for (const MenuItemTemplate& item : window.systemMenuItems)
        if (static_cast<WPARAM>(item.id) == (command & 0xFFF0)) return true;
    return false;
}

// A command of the window's handler: a control's notification or a system-menu entry.
void runCommand(HWND dialog, DialogSession& session, int controlId) {
    // A long command keeps the windows painted by dispatching their messages; a command message
    // that arrives meanwhile (a click sent by another program) must not start a second command
    // inside the first.
    if (session.commandRunning) return;
    session.commandRunning = true;
    const bool close = session.handler->onCommand && session.handler->onCommand(controlId) == WindowAction::Close;
    session.commandRunning = false;
    if (close) EndDialog(dialog, 0);
}

void initialise(HWND dialog, DialogSession& session) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
    leaveDpiChangesToDialogProcedure(dialog);
    const UINT dpi = dpiOfWindow(dialog);
    setIcons(dialog, session, dpi);
    // The dialog manager sized the window in its own units, which differ from those of the layout
    // at DPIs other than 96 (see dialogUnitsToPixels).
    const SIZE size = windowSizeForDpi(dialog, *session.window, dpi);
    SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    createControls(dialog, session, dpi);
    createAndAssignFonts(dialog, session);
    addSystemMenuItems(dialog, *session.window);
    *session.openWindow = dialog;
    if (session.handler->onCreated) session.handler->onCreated();
    // The dialog had no items when the dialog manager chose a focus, so choose it here: the first
    // enabled tab stop.
    if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);
}

// Keeps the focused control while the window is inactive and gives it back on reactivation.
void trackFocus(DialogSession& session, bool becomingActive) {
    if (!becomingActive) {
        session.savedFocus = GetFocus();
    } else if (session.savedFocus) {
        if (IsWindow(session.savedFocus)) SetFocus(session.savedFocus);
        session.savedFocus = nullptr;
    }
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<DialogSession*>(lParam));
        return FALSE;  // the focus has been set
    }
    DialogSession* session = sessionOf(dialog);
    if (!session) return FALSE;
    switch (message) {
        case WM_NCACTIVATE:
            trackFocus(*session, wParam != 0);
            return FALSE;  // the default processing draws the caption
        case WM_COMMAND:
            // The low word is the control id; the notification code is not looked at.
            runCommand(dialog, *session, LOWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            if (!isSystemMenuItem(*session->window, wParam)) return FALSE;  // the system's own
            runCommand(dialog, *session, static_cast<int>(wParam & 0xFFF0));
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const ControlTemplate* control = session->window->find(static_cast<int>(item.CtlID));
            if (item.CtlType != ODT_STATIC || !control || control->kind != ControlKind::BarChart) return FALSE;
            drawBarChart(item);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        case DPI_SCALED_SIZE_MESSAGE:
            *reinterpret_cast<SIZE*>(lParam) = windowSizeForDpi(dialog, *session->window, static_cast<UINT>(wParam));
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case DPI_CHANGED_MESSAGE:
            followDpi(dialog, *session, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            *session->openWindow = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void runModalDialog(HINSTANCE instance, const WindowTemplate& window, const WindowHandler& handler, HWND& openWindow) {
    DialogSession session{instance, &window, &handler, &openWindow, {}};
    const std::vector<WORD> bytes = buildDialogTemplate(window);
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr, dialogProcedure,
                            reinterpret_cast<LPARAM>(&session));
    openWindow = nullptr;
}  // the window is gone: the session's fonts and icons go with it

}  // namespace quillstep
