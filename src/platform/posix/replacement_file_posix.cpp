// The replacement file on POSIX systems. On Linux the temporary file is opened with O_TMPFILE: it
// has no name, so nobody else can open it and a killed writer leaves nothing behind; once complete
// it is linked under a fresh temporary name and renamed over the target. Where O_TMPFILE is not
// available the temporary file is created under a fresh name with O_EXCL and O_NOFOLLOW.

#if !defined(_WIN32)

#include "commands/replacement_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace quillstep {
namespace {

// Names are tried with the serials 0, 1, ... until one is free (creating or linking a name that
// exists fails), at most this many.
constexpr unsigned NAME_ATTEMPTS = 100;

// Beyond a file-size limit a write fails with EFBIG instead of killing the process.
void ignoreFileSizeSignal() {
#if defined(SIGXFSZ)
    static const bool ignored = [] {
        signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
#endif
}

int descriptorOf(intptr_t handle) { return static_cast<int>(handle); }

#if defined(__linux__) && defined(O_TMPFILE)
// An unnamed file in the target's folder, or -1 where the folder's file system cannot have one
// (or the file cannot be given a name later, without /proc).
int openUnnamed(const std::filesystem::path& folder) {
    if (access("/proc/self/fd", X_OK) != 0) return -1;
    return open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
}

// Links the unnamed file under a fresh temporary name; returns errno's value, or 0.
int linkUnder(int descriptor, const std::filesystem::path& target, std::filesystem::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    for (unsigned serial = 0; serial < NAME_ATTEMPTS; ++serial) {
        name = temporaryNameOf(target, currentProcessId(), serial);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
        if (errno != EEXIST) break;
    }
    const int code = errno;
    name.clear();
    return code;
}
#endif

}  // namespace

uint64_t currentProcessId() { return static_cast<uint64_t>(getpid()); }

bool processIsRunning(uint64_t processId) {
    const pid_t pid = static_cast<pid_t>(processId);
    if (pid <= 0 || static_cast<uint64_t>(pid) != processId) return false;
    return kill(pid, 0) == 0 || errno == EPERM;
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    ignoreFileSizeSignal();
    removeLeftoverTemporaries(target_);
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
#if defined(__linux__) && defined(O_TMPFILE)
    handle_ = openUnnamed(folder);
    if (handle_ >= 0) {
        unnamed_ = true;
        return;
    }
#endif
    for (unsigned serial = 0; serial < NAME_ATTEMPTS; ++serial) {
        temporaryName_ = temporaryNameOf(target_, currentProcessId(), serial);
        handle_ = open(temporaryName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle_ >= 0 || errno != EEXIST) break;
    }
    if (handle_ < 0) {
        fail(errno);
        temporaryName_.clear();
    }
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::fail(int code) {
    if (error_.empty()) error_ = code != 0 ? std::generic_category().message(code) : "write error";
}

void ReplacementFile::write(const char* data, size_t size) {
    while (ok() && size > 0) {
        const ssize_t written = ::write(descriptorOf(handle_), data, size);
        if (written < 0) {
            if (errno != EINTR) fail(errno);
            continue;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

int64_t ReplacementFile::readAt(uint64_t offset, char* buffer, size_t size) {
    if (handle_ < 0) return -1;
    for (;;) {
        const ssize_t got = pread(descriptorOf(handle_), buffer, size, static_cast<off_t>(offset));
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

bool ReplacementFile::commit() {
    if (!ok()) {
        discard();
        return false;
    }
    // The permissions of the file replaced; a new file keeps those it was created with.
    struct stat old {};
    if (lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        fchmod(descriptorOf(handle_), old.st_mode & 0777) != 0)
        fail(errno);
#if defined(__linux__) && defined(O_TMPFILE)
    if (ok() && unnamed_) {
        if (const int code = linkUnder(descriptorOf(handle_), target_, temporaryName_); code != 0) fail(code);
    }
#endif
    if (close(descriptorOf(handle_)) != 0 && ok()) fail(errno);  // some file systems report here
    handle_ = -1;
    if (ok() && rename(temporaryName_.c_str(), target_.c_str()) != 0) fail(errno);
    if (!ok()) {
        discard();
        return false;
    }
    temporaryName_.clear();
    return true;
}

void ReplacementFile::discard() {
    if (handle_ >= 0) close(descriptorOf(handle_));
    handle_ = -1;
    if (!temporaryName_.empty()) unlink(temporaryName_.c_str());
    temporaryName_.clear();
}

}  // namespace quillstep

#endif
