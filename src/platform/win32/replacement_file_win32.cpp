// The replacement file on Windows: the temporary file is created under a fresh name with
// CREATE_NEW, which never opens an existing file or link, and is shared with nobody while it is
// written; once complete it takes the target's attributes and is moved over the target.

#if defined(_WIN32)

#include "commands/replacement_file.h"

#include <windows.h>

#include <system_error>

namespace quillstep {
namespace {

// Names are tried with the serials 0, 1, ... until one is free, at most this many.
constexpr unsigned NAME_ATTEMPTS = 100;

// The attributes a replaced file hands on to its successor.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE handleOf(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
intptr_t noHandle() { return reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE); }

}  // namespace

uint64_t currentProcessId() { return GetCurrentProcessId(); }

bool processIsRunning(uint64_t processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // it exists, but is not ours to look at
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target), handle_(noHandle()) {
    removeLeftoverTemporaries(target_);
    for (unsigned serial = 0; serial < NAME_ATTEMPTS; ++serial) {
        temporaryName_ = temporaryNameOf(target_, currentProcessId(), serial);
        HANDLE file = CreateFileW(temporaryName_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        handle_ = reinterpret_cast<intptr_t>(file);
        if (file != INVALID_HANDLE_VALUE) return;
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
    }
    fail(static_cast<int>(GetLastError()));
    temporaryName_.clear();
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::fail(int code) {
    if (error_.empty()) error_ = code != 0 ? std::system_category().message(code) : "write error";
}

void ReplacementFile::write(const char* data, size_t size) {
    while (ok() && size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handleOf(handle_), data, chunk, &written, nullptr)) {
            fail(static_cast<int>(GetLastError()));
            return;
        }
        data += written;
        size -= written;
    }
}

bool ReplacementFile::commit() {
    if (handleOf(handle_) != INVALID_HANDLE_VALUE && !CloseHandle(handleOf(handle_)))
        fail(static_cast<int>(GetLastError()));
    handle_ = noHandle();
    const DWORD old = GetFileAttributesW(target_.c_str());
    if (ok() && old != INVALID_FILE_ATTRIBUTES && !(old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
        (old & KEPT_ATTRIBUTES) != 0 && !SetFileAttributesW(temporaryName_.c_str(), old & KEPT_ATTRIBUTES))
        fail(static_cast<int>(GetLastError()));
    if (ok() && !MoveFileExW(temporaryName_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING))
        fail(static_cast<int>(GetLastError()));
    if (!ok()) {
        if (!temporaryName_.empty()) {
            SetFileAttributesW(temporaryName_.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only copy could not go
            DeleteFileW(temporaryName_.c_str());
        }
        temporaryName_.clear();
        return false;
    }
    temporaryName_.clear();
    return true;
}

void ReplacementFile::discard() {
    if (handleOf(handle_) != INVALID_HANDLE_VALUE) CloseHandle(handleOf(handle_));
    handle_ = noHandle();
    if (!temporaryName_.empty()) DeleteFileW(temporaryName_.c_str());
    temporaryName_.clear();
}

}  // namespace quillstep

#endif
