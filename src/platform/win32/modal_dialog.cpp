#include "platform/win32/modal_dialog.h"

#include <array>
#include <vector>

#include "platform/win32/dialog_template_bytes.h"

namespace quillstep {

namespace {

constexpr int BIG_ICON_PIXELS = 32;
constexpr int SMALL_ICON_PIXELS = 16;
constexpr const wchar_t* FONT_FACE = L"MS Sans Serif";

struct ControlClass {
    ControlKind kind;
    const wchar_t* className;
    DWORD style;
};

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

constexpr std::array<ControlClass, 6> CONTROL_CLASSES{{
    {ControlKind::Label, L"STATIC", CHILD | SS_LEFT},
    {ControlKind::CentredLabel, L"STATIC", CHILD | SS_CENTER},
    {ControlKind::Button, L"BUTTON", CHILD | WS_TABSTOP | BS_PUSHBUTTON},
    {ControlKind::EtchedFrame, L"STATIC", CHILD | SS_ETCHEDFRAME},
    {ControlKind::GroupBox, L"BUTTON", CHILD | BS_GROUPBOX},
    // Not an automatic check box: a click only reports itself, and the handler sets the mark, so
    // that the mark always shows the handler's own state.
    {ControlKind::CheckBox, L"BUTTON", CHILD | WS_TABSTOP | BS_CHECKBOX},
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
    std::vector<HFONT> fonts;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    HWND savedFocus = nullptr;  // the control that had the focus when the window was deactivated
    bool commandRunning = false;
};

DialogSession* sessionOf(HWND dialog) {
    return reinterpret_cast<DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

HFONT createFont(HWND dialog, const FontTemplate& font) {
    HDC screen = GetDC(dialog);
    const int height = -MulDiv(font.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(dialog, screen);
    return CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE, FALSE, FALSE,
                       static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, FONT_FACE);
}

void createControls(HWND dialog, DialogSession& session) {
    const auto dialogFont = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const ControlTemplate& control : session.window->controls) {
        RECT box{control.x, control.y, control.x + control.width, control.y + control.height};
        MapDialogRect(dialog, &box);
        const ControlClass& kind = controlClass(control.kind);
        HWND child = CreateWindowExW(0, kind.className, widen(control.text).c_str(), kind.style, box.left, box.top,
                                     box.right - box.left, box.bottom - box.top, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), session.instance,
                                     nullptr);
        SendMessageW(child, WM_SETFONT, dialogFont, FALSE);
    }
}

void createAndAssignFonts(HWND dialog, DialogSession& session) {
    for (const FontTemplate& font : session.window->fonts) session.fonts.push_back(createFont(dialog, font));
    for (const ControlTemplate& control : session.window->controls) {
        if (control.font < 0 || control.font >= static_cast<int>(session.fonts.size())) continue;
        SendMessageW(GetDlgItem(dialog, control.id), WM_SETFONT, reinterpret_cast<WPARAM>(session.fonts[control.font]),
                     FALSE);
    }
}

void setIcons(HWND dialog, DialogSession& session) {
    const int resource = session.window->iconResource;
    if (resource == 0) return;
    session.bigIcon = static_cast<HICON>(LoadImageW(session.instance, MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                                    BIG_ICON_PIXELS, BIG_ICON_PIXELS, 0));
    session.smallIcon = static_cast<HICON>(LoadImageW(session.instance, MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                                      SMALL_ICON_PIXELS,
                                                      SMALL_ICON_PIXELS, 0));
    if (session.bigIcon) SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(session.bigIcon));
    if (session.smallIcon) SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(session.smallIcon));
}

void initialise(HWND dialog, DialogSession& session) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&session));
    setIcons(dialog, session);
    createControls(dialog, session);
    createAndAssignFonts(dialog, session);
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
        case WM_COMMAND: {
            // The low word is the control id; the notification code is not looked at.
            // A long command keeps the windows painted by dispatching their messages; a command
            // message that arrives meanwhile (a click sent by another program) must not start a
            // second command inside the first.
            if (session->commandRunning) return TRUE;
            const int controlId = LOWORD(wParam);
            session->commandRunning = true;
            const bool close =
                session->handler->onCommand && session->handler->onCommand(controlId) == WindowAction::Close;
            session->commandRunning = false;
            if (close) EndDialog(dialog, 0);
            return TRUE;
        }
        case WM_CLOSE:
            EndDialog(dialog, 0);
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
    for (HFONT font : session.fonts) DeleteObject(font);
    if (session.bigIcon) DestroyIcon(session.bigIcon);
    if (session.smallIcon) DestroyIcon(session.smallIcon);
}

}  // namespace quillstep
