#pragma once
// A file written in place of another. Its bytes go to a temporary file that belongs to this writer
// alone and is never an existing file or link; only when every byte has been written does it take
// the place of the old file, in one rename, with the old file's permissions. A writer that dies on
// the way leaves nothing visible where the system allows it (on Linux the temporary file has no
// name until it is complete); elsewhere it leaves a name that the next write beside it removes.
// A temporary file is recognised as left over without trusting process ids, which another
// process namespace (a container sharing the folder) numbers differently: on POSIX systems a
// writer holds an exclusive lock (flock) on its temporary file from its creation to the rename,
// and a file nobody holds a lock on is left over; on Windows a writer holds its file open without
// sharing, so that nobody can remove it, and its process id names it until the move.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quillstep {

class ReplacementFile {
public:
    // Creates the temporary file beside `target`, after removing what writers that are no longer
    // running left there. See ok() and error().
    explicit ReplacementFile(const std::filesystem::path& target);
    ~ReplacementFile();  // discards whatever was not committed
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // Appends the bytes; does nothing once something has failed. One thread at a time.
    void write(const char* data, size_t size);
    // Reads up to `size` of the bytes written, from `offset` on, through the file itself (before
    // commit, so that what is read is this writer's file even when another writer replaces the
    // target at the same time). Returns how many bytes it read, 0 at the end, -1 on a failure.
    int64_t readAt(uint64_t offset, char* buffer, size_t size);
    // Puts the written file in the place of the target. False when that failed (see error());
    // the target is then as it was and the temporary file is gone.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

private:
    void fail(int code);  // keeps the first failure

    std::filesystem::path target_;
    std::filesystem::path temporaryName_;  // empty while the file has no name
    intptr_t handle_ = -1;                 // a descriptor, or a Windows handle
    bool unnamed_ = false;
    std::string error_;
};

// The name a temporary file of `target` gets: "<target>.<process id>-<serial>.partial".
std::filesystem::path temporaryNameOf(const std::filesystem::path& target, uint64_t processId, unsigned serial);

// Removes the temporary files of `target` that no running writer holds.
void removeLeftoverTemporaries(const std::filesystem::path& target);

// Removes one file named as a temporary file of the process `writer` when it is left over (see
// above); the system's part of removeLeftoverTemporaries.
void removeIfLeftOver(const std::filesystem::path& temporary, uint64_t writer);

// Whether a process with this id is running (the current one included).
bool processIsRunning(uint64_t processId);
uint64_t currentProcessId();

}  // namespace quillstep
