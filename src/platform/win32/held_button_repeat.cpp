#include "platform/win32/held_button_repeat.h"

#include "platform/window.h"

namespace quillstep {

namespace {

// The button's own window procedure, kept while it is replaced.
constexpr const wchar_t* BUTTON_PROCEDURE_PROPERTY = L"QuillstepButtonProcedure";
constexpr UINT_PTR REPEAT_TIMER = 1;
// GWLP_USERDATA of the button: whether the current press has sent a repeat (the button class
// leaves that slot to the program).
constexpr LONG_PTR NOT_REPEATED = 0, REPEATED = 1;

// A repeat is the button's own click notification, as its parent gets it.
void sendRepeat(HWND button) {
    const int id = GetDlgCtrlID(button);
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool heldDown(HWND button) {
    return GetCapture() == button && IsWindowEnabled(button) &&
           (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

LRESULT CALLBACK repeatingButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(button, BUTTON_PROCEDURE_PROPERTY));
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetWindowLongPtrW(button, GWLP_USERDATA, NOT_REPEATED);
            SetTimer(button, REPEAT_TIMER, HELD_REPEAT_DELAY_MILLISECONDS, nullptr);
            break;
        case WM_TIMER:
            if (wParam != REPEAT_TIMER) break;
            if (GetCapture() != button) {
                KillTimer(button, REPEAT_TIMER);
                return 0;
            }
            SetTimer(button, REPEAT_TIMER, HELD_REPEAT_INTERVAL_MILLISECONDS, nullptr);
            // Dragged off the button it pauses, as a spin control does, and goes on when back.
            if (heldDown(button)) {
                SetWindowLongPtrW(button, GWLP_USERDATA, REPEATED);
                sendRepeat(button);
            }
            return 0;
        case WM_LBUTTONUP:
            KillTimer(button, REPEAT_TIMER);
            if (GetWindowLongPtrW(button, GWLP_USERDATA) == REPEATED) {
                // The press has had its commands: give the capture back without the click that
                // the release would send (the button lets go of its pushed state on losing it).
                SetWindowLongPtrW(button, GWLP_USERDATA, NOT_REPEATED);
                if (GetCapture() == button) ReleaseCapture();
                SendMessageW(button, BM_SETSTATE, FALSE, 0);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            if (reinterpret_cast<HWND>(lParam) != button) KillTimer(button, REPEAT_TIMER);
            break;
        case WM_NCDESTROY:
            KillTimer(button, REPEAT_TIMER);
            SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            RemovePropW(button, BUTTON_PROCEDURE_PROPERTY);
            break;
        default:
            break;
    }
    return CallWindowProcW(original, button, message, wParam, lParam);
}

}  // namespace

void repeatWhileHeld(HWND button) {
    if (!button || GetPropW(button, BUTTON_PROCEDURE_PROPERTY)) return;
    const auto original = GetWindowLongPtrW(button, GWLP_WNDPROC);
    SetPropW(button, BUTTON_PROCEDURE_PROPERTY, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(repeatingButtonProcedure));
}

}  // namespace quillstep
