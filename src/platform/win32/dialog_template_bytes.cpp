#include "platform/win32/dialog_template_bytes.h"

namespace quillstep {

namespace {

void appendDword(std::vector<WORD>& out, DWORD value) {
    out.push_back(LOWORD(value));
    out.push_back(HIWORD(value));
}

void appendString(std::vector<WORD>& out, const std::wstring& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

}  // namespace

std::wstring widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::vector<WORD> buildDialogTemplate(const WindowTemplate& window) {
    // Every window uses the default dialog font, so DS_SETFONT is always present.
    const DWORD style = window.style | DS_SETFONT;
    std::vector<WORD> out;
    appendDword(out, style);
    appendDword(out, window.extendedStyle);
    out.push_back(0);  // no items: the controls are created when the dialog initialises
    out.push_back(static_cast<WORD>(window.x));
    out.push_back(static_cast<WORD>(window.y));
    out.push_back(static_cast<WORD>(window.width));
    out.push_back(static_cast<WORD>(window.height));
    out.push_back(0);  // no menu
    out.push_back(0);  // the predefined dialog class
    appendString(out, widen(window.title));
    out.push_back(DIALOG_FONT_POINTS);
    appendString(out, DIALOG_FONT_FACE);
    return out;
}

}  // namespace quillstep
