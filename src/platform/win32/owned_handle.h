#pragma once

// Owners of the system's handles: each frees its handle once, when it goes out of scope or is
// given another, so that no path (an early return, an exception, a window made anew for another
// DPI) forgets one or frees one twice. This header is the only place that calls the release
// functions; everything else holds its fonts, brushes, pens, icons, device contexts, kernel
// objects, files and libraries through the owners below.
//
// An owner is moved, never copied. A handle Windows takes over (an icon given to a window with
// WM_SETICON stays ours; a font given with WM_SETFONT too) is still freed by its owner, which must
// then outlive its use: the dialog keeps its owners until the window is gone.

#include <windows.h>

#include <utility>

namespace quillstep {

// What a kind of handle needs: its empty value and the function that frees it (true when the
// system reports success).
template <typename Handle, typename Release>
class OwnedHandle {
public:
    OwnedHandle() noexcept = default;
    explicit OwnedHandle(Handle handle) noexcept : handle_(handle) {}
    ~OwnedHandle() { reset(); }

    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != empty(); }

    // Gives the handle up without freeing it.
    Handle release() noexcept { return std::exchange(handle_, empty()); }

    // Frees the handle held, if any, and holds `handle` instead.
    void reset(Handle handle = empty()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != empty()) Release::free(old);
    }

    // Frees the handle now and says whether the system did (true when none was held): for the
    // handles whose closing can fail in a way that matters, as a written file's.
    bool close() noexcept {
        if (handle_ == empty()) return true;
        return Release::free(release());
    }

private:
    static Handle empty() noexcept { return static_cast<Handle>(Release::empty()); }

    Handle handle_ = empty();
};

// The release of each kind of handle.
struct GdiObjectRelease {
    static HGDIOBJ empty() noexcept { return nullptr; }
    static bool free(HGDIOBJ object) noexcept { return DeleteObject(object) != 0; }
};

struct IconRelease {
    static HICON empty() noexcept { return nullptr; }
    static bool free(HICON icon) noexcept { return DestroyIcon(icon) != 0; }
};

// Threads, processes, events: empty is null.
struct KernelHandleRelease {
    static HANDLE empty() noexcept { return nullptr; }
    static bool free(HANDLE handle) noexcept { return CloseHandle(handle) != 0; }
};

// Files: CreateFile's failure is INVALID_HANDLE_VALUE, not null.
struct FileHandleRelease {
    static HANDLE empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool free(HANDLE handle) noexcept { return CloseHandle(handle) != 0; }
};

struct LibraryRelease {
    static HMODULE empty() noexcept { return nullptr; }
    static bool free(HMODULE library) noexcept { return FreeLibrary(library) != 0; }
};

using OwnedFont = OwnedHandle<HFONT, GdiObjectRelease>;
using OwnedBrush = OwnedHandle<HBRUSH, GdiObjectRelease>;
using OwnedPen = OwnedHandle<HPEN, GdiObjectRelease>;
using OwnedIcon = OwnedHandle<HICON, IconRelease>;
using OwnedKernelHandle = OwnedHandle<HANDLE, KernelHandleRelease>;
using OwnedFile = OwnedHandle<HANDLE, FileHandleRelease>;
using OwnedLibrary = OwnedHandle<HMODULE, LibraryRelease>;

// A window's device context from GetDC (null: the screen's), given back with ReleaseDC, which
// needs the window as well as the context.
class WindowDeviceContext {
public:
    explicit WindowDeviceContext(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDeviceContext() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDeviceContext(const WindowDeviceContext&) = delete;
    WindowDeviceContext& operator=(const WindowDeviceContext&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced is selected back at
// the scope's end. The object itself stays with its owner, which must outlive the selection.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quillstep
