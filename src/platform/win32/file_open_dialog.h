#pragma once
// The file-open and save dialogs of the common dialog library (comdlg32).

#include <windows.h>

#include <filesystem>
#include <string>

namespace quillstep {

// Shows the system's file-open dialog over `owner` with the title `title` (in the ANSI code
// page), text files first; returns the chosen file's full path, or an empty path when the user
// cancelled or the dialog could not be shown.
std::filesystem::path chooseFileWithDialog(HWND owner, const std::string& title);

// Shows the system's save dialog over `owner` with the title `title`, starting with the name
// `suggestedName` (both in the ANSI code page); a name without an extension gets ".txt", and a
// name that exists is chosen only after the dialog's own question. Returns the chosen full path,
// or an empty path when the user cancelled or the dialog could not be shown.
std::filesystem::path chooseFileToSaveWithDialog(HWND owner, const std::string& title,
                                                 const std::string& suggestedName);

}  // namespace quillstep
