#pragma once
// The file-open dialog of the common dialog library (comdlg32).

#include <windows.h>

#include <filesystem>
#include <string>

namespace quillstep {

// Shows the system's file-open dialog over `owner` with the title `title` (in the ANSI code
// page), text files first; returns the chosen file's full path, or an empty path when the user
// cancelled or the dialog could not be shown.
std::filesystem::path chooseFileWithDialog(HWND owner, const std::string& title);

}  // namespace quillstep
