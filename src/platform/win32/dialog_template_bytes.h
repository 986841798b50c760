#pragma once
// The in-memory DLGTEMPLATE of a window: its frame, title and dialog font, without items (the
// controls are created afterwards, when the dialog initialises).

#include <windows.h>

#include <vector>

#include "platform/window.h"

namespace quillstep {

constexpr const wchar_t* DIALOG_FONT_FACE = L"MS Sans Serif";
constexpr WORD DIALOG_FONT_POINTS = 8;

// WORD-sized pieces; the vector's storage is suitably aligned for DialogBoxIndirectParamW.
std::vector<WORD> buildDialogTemplate(const WindowTemplate& window);

// Single-byte (ANSI code page) text to UTF-16.
std::wstring widen(const std::string& text);

}  // namespace quillstep
