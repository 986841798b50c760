#include "platform/win32/file_open_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/dialog_template_bytes.h"

namespace quillstep {
namespace {

// Pairs of a description and a pattern, each ended by a zero, the list by a second zero.
constexpr wchar_t FILE_TYPES[] = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
// Room for a long path: the dialog fails with FNERR_BUFFERTOOSMALL rather than cut a name.
constexpr DWORD PATH_ROOM = 32768;

// What the open and the save dialog share: the owner, the file types, the path and the title.
OPENFILENAMEW dialogFields(HWND owner, std::vector<wchar_t>& path, const std::wstring& title) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = FILE_TYPES;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.c_str();
    return dialog;
}

}  // namespace

std::filesystem::path chooseFileWithDialog(HWND owner, const std::string& title) {
    std::vector<wchar_t> path(PATH_ROOM, L'\0');
    const std::wstring wideTitle = widen(title);
    OPENFILENAMEW dialog = dialogFields(owner, path, wideTitle);
    // The working folder stays where the output files go; only existing files can be chosen.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return {};
    return std::filesystem::path(std::wstring(path.data()));
}

std::filesystem::path chooseFileToSaveWithDialog(HWND owner, const std::string& title,
                                                 const std::string& suggestedName) {
    std::vector<wchar_t> path(PATH_ROOM, L'\0');
    const std::wstring suggested = widen(suggestedName);
    if (suggested.size() < PATH_ROOM) std::copy(suggested.begin(), suggested.end(), path.begin());
    const std::wstring wideTitle = widen(title);
    OPENFILENAMEW dialog = dialogFields(owner, path, wideTitle);
    dialog.lpstrDefExt = L"txt";
    // The working folder stays where the output files go; replacing a file is asked first.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return {};
    return std::filesystem::path(std::wstring(path.data()));
}

}  // namespace quillstep
