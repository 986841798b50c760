// The replacement file on Windows: the temporary file is created under a fresh name with
// CREATE_NEW, which never opens an existing file or link, and is shared with nobody while it is
// written; once complete it takes the target's attributes and is moved over the target. The move
// is tried again for a moment while someone else has the target open (another writer replacing
// it at the same time, a virus scanner, an indexer): MoveFileEx then fails with a sharing
// violation or "access denied" that passes within milliseconds.

#if defined(_WIN32)

#include "base/replacement_file.h"

#include <windows.h>

#include <system_error>
#include <utility>

#include "platform/win32/owned_handle.h"

namespace quillstep {
namespace {

// Names are tried with the serials 0, 1, ... until one is free, at most this many.
constexpr unsigned NAME_ATTEMPTS = 100;

// The attributes a replaced file hands on to its successor.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// How long the move over the target is tried again while the target is held open elsewhere: the
// pauses grow from 1 ms to 64 ms, about a second in all, before the error is reported.
constexpr DWORD FIRST_MOVE_PAUSE_MS = 1;
constexpr DWORD LONGEST_MOVE_PAUSE_MS = 64;
constexpr DWORD MOVE_RETRY_BUDGET_MS = 1000;

bool isPassingConflict(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Moves `from` over `to`; 0, or the error of the last attempt.
DWORD moveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    DWORD waited = 0;
    for (DWORD pause = FIRST_MOVE_PAUSE_MS;; pause = pause < LONGEST_MOVE_PAUSE_MS ? pause * 2 : pause) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
        const DWORD code = GetLastError();
        if (!isPassingConflict(code) || waited >= MOVE_RETRY_BUDGET_MS) return code;
        Sleep(pause);
        waited += pause;
    }
}

HANDLE handleOf(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
intptr_t noHandle() { return reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE); }

// The file is held in the portable class's integer; closing hands it to its owner type, which
// closes it and says whether the system did (true when none was open).
bool closeFile(intptr_t& handle) { return OwnedFile(handleOf(std::exchange(handle, noHandle()))).close(); }

}  // namespace

uint64_t currentProcessId() { return GetCurrentProcessId(); }

bool processIsRunning(uint64_t processId) {
    const OwnedKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId)));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // it exists, but is not ours to look at
    DWORD exitCode = 0;
    return GetExitCodeProcess(process.get(), &exitCode) && exitCode == STILL_ACTIVE;
}

// A writer holds its temporary file open without sharing until it moves it, so that the file
// cannot be removed while written; between the closing and the move its process id protects it
// (the ids of Windows are the whole machine's).
void removeIfLeftOver(const std::filesystem::path& temporary, uint64_t writer) {
    if (writer == currentProcessId() || processIsRunning(writer)) return;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);  // the name itself, even when it is a link
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target), handle_(noHandle()) {
    removeLeftoverTemporaries(target_);
    for (unsigned serial = 0; serial < NAME_ATTEMPTS; ++serial) {
        temporaryName_ = temporaryNameOf(target_, currentProcessId(), serial);
        HANDLE file = CreateFileW(temporaryName_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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

// ReadFile at an offset moves the file pointer as well: used only once everything is written.
int64_t ReplacementFile::readAt(uint64_t offset, char* buffer, size_t size) {
    if (handleOf(handle_) == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(handleOf(handle_), buffer, chunk, &got, &at)) return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return got;
}

bool ReplacementFile::commit() {
    if (!closeFile(handle_)) fail(static_cast<int>(GetLastError()));
    const DWORD old = GetFileAttributesW(target_.c_str());
    if (ok() && old != INVALID_FILE_ATTRIBUTES && !(old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
        (old & KEPT_ATTRIBUTES) != 0 && !SetFileAttributesW(temporaryName_.c_str(), old & KEPT_ATTRIBUTES))
        fail(static_cast<int>(GetLastError()));
    if (ok()) {
        if (const DWORD code = moveOver(temporaryName_, target_); code != 0) {
            // Said as "cannot replace <name>: <the system's reason>", so that a target held open
            // or read-only is named as the cause.
            error_ = "cannot replace " + target_.filename().string() + ": " +
                     std::system_category().message(static_cast<int>(code));
        }
    }
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
    closeFile(handle_);
    if (!temporaryName_.empty()) DeleteFileW(temporaryName_.c_str());
    temporaryName_.clear();
}

}  // namespace quillstep

#endif
