#include "platform/win32/common_controls.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/owned_handle.h"

namespace quillstep {

namespace {

// The record InitCommonControlsEx takes: its own size, then the classes to register.
struct CommonControlsRecord {
    uint32_t size;
    uint32_t classes;
};

constexpr uint32_t STANDARD_CLASSES = 0xFF;   // the Windows 95 classes
constexpr uint32_t DATE_CLASSES = 0x100;
constexpr uint32_t INTERNET_CLASSES = 0x800;

using InitCommonControlsExEntry = BOOL(WINAPI*)(const CommonControlsRecord*);
using InitCommonControlsEntry = void(WINAPI*)();

}  // namespace

void initCommonControls() {
    const OwnedLibrary library(LoadLibraryA("COMCTL32.DLL"));
    if (!library) return;
    if (auto extended = reinterpret_cast<InitCommonControlsExEntry>(
            reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControlsEx")))) {
        const CommonControlsRecord record{sizeof(CommonControlsRecord),
                                          STANDARD_CLASSES | DATE_CLASSES | INTERNET_CLASSES};
        extended(&record);
    } else if (auto plain = reinterpret_cast<InitCommonControlsEntry>(
                   reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControls")))) {
        plain();
    }
}

}  // namespace quillstep
