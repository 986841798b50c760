// The replacement file on POSIX systems. On Linux the temporary file is opened with O_TMPFILE: it
// has no name, so nobody else can open it and a killed writer leaves nothing behind; once complete
// it is linked under a fresh temporary name and renamed over the target. Where O_TMPFILE is not
// available the temporary file is created under a fresh name with O_EXCL and O_NOFOLLOW.
// Either way the writer holds an exclusive flock on it from the start: the lock belongs to the open
// file, wherever its process is numbered, and ends with the writer, so that a named temporary
// file nobody holds a lock on is one a writer left behind.

#if !defined(_WIN32)

#include "base/replacement_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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

// Takes the writer's lock on its temporary file. Where the file system has no locks the write goes
// on without one: no writer can lock a file there, so none takes another's file for a leftover.
void lockExclusively(int descriptor) {
    while (flock(descriptor, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// Whether `name` is still the file open as `descriptor` (not removed or replaced meanwhile).
bool nameIsOpenFile(const std::filesystem::path& name, int descriptor) {
    struct stat named {}, open {};
    return lstat(name.c_str(), &named) == 0 && fstat(descriptor, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

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
        lockExclusively(descriptorOf(handle_));
        return;
    }
#endif
    int code = 0;
    for (unsigned serial = 0; serial < NAME_ATTEMPTS; ++serial) {
        temporaryName_ = temporaryNameOf(target_, currentProcessId(), serial);
        handle_ = open(temporaryName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle_ < 0) {
            code = errno;
            if (code != EEXIST) break;
            continue;
        }
        lockExclusively(descriptorOf(handle_));
        // Between the creation and the lock another writer may have taken the file for a leftover
        // and removed it: then the next name is tried.
        if (nameIsOpenFile(temporaryName_, descriptorOf(handle_))) return;
        close(descriptorOf(handle_));
        handle_ = -1;
        code = EEXIST;
    }
    fail(code);
    temporaryName_.clear();
}

void removeIfLeftOver(const std::filesystem::path& temporary, uint64_t) {
    // Only a regular file can be a writer's; a link or anything else planted under such a name
    // is left alone (the writers never open an existing name).
    const int descriptor = open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return;
    struct stat status {};
    // A lock that cannot be had at once is a live writer's; a file locked here is nobody's. It is
    // removed only while it is still the file under that name.
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
        nameIsOpenFile(temporary, descriptor))
        unlink(temporary.c_str());
    close(descriptor);
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
    // The lock stays until the rename is done: a copy of the descriptor shares it while the
    // descriptor written through is closed, which is where some file systems report a failed write.
    const int lockHolder = fcntl(descriptorOf(handle_), F_DUPFD_CLOEXEC, 0);
    if (close(descriptorOf(handle_)) != 0 && ok()) fail(errno);
    handle_ = lockHolder;
    if (ok() && rename(temporaryName_.c_str(), target_.c_str()) != 0) fail(errno);
    if (!ok()) {
        discard();
        return false;
    }
    temporaryName_.clear();
    discard();
    return true;
}

void ReplacementFile::discard() {
    // The name goes before the lock, so that no other writer takes it for a leftover meanwhile.
    if (!temporaryName_.empty()) unlink(temporaryName_.c_str());
    temporaryName_.clear();
    if (handle_ >= 0) close(descriptorOf(handle_));
    handle_ = -1;
}

}  // namespace quillstep

#endif
