// CTest label: threads
// The writer and the search when the system refuses: a file-size limit, no second thread, not
// enough memory. Each case runs in a child process that lowers its own limits, so that nothing
// else in the test program feels them.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include "usecases/abbreviated_system_command.h"
#include "files/combination_file.h"
#include "windows/file_reports.h"
#include "app/generation_command.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"

#if defined(__linux__)
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLSTEP_ADDRESS_SANITIZER 1  // or the thread sanitizer: both reserve far more address space
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLSTEP_ADDRESS_SANITIZER 1
#endif
#endif

namespace quillstep {
namespace {

namespace fs = std::filesystem;

#if defined(__linux__)

size_t entriesIn(const fs::path& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
    return n;
}

// Ends the child: 0 when every check held, otherwise 1 after naming the first that did not.
[[noreturn]] void endChild(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "%s\n", problem.c_str());
    std::fflush(stderr);
    std::_Exit(problem.empty() ? 0 : 1);
}

// The address space in use now, in bytes.
rlim_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * rlim_t(sysconf(_SC_PAGESIZE));
}

void limitAddressSpace(rlim_t bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_AS, &limit);
}

class ResourceLimits : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = freshTestFolder("quillstep-limits-");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    // A state holding the full wheel of `total` numbers, writing into the test's folder.
    std::unique_ptr<SharedState> storedFullWheel(int total) {
        auto state = createSharedState();
        state->parameters.totalNumbers = total;
        HeadlessPlatform platform;
        runGenerationCommand(*state, platform, 2);
        state->outputFolder = folder_;
        return state;
    }
    fs::path folder_;
};

TEST_F(ResourceLimits, AFileSizeLimitFailsTheWriteLikeAnyOtherFailure) {
    auto state = storedFullWheel(9);
    std::ofstream(folder_ / COMBINATION_FILE_NAME) << "previous";
    EXPECT_EXIT(
        {
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 256;  // the file of 36 rows needs about 700 bytes
            setrlimit(RLIMIT_FSIZE, &limit);
            HeadlessPlatform platform;
            const FileWriteResult result = writeCombinationFile(*state, platform);
            endChild(result.written                                ? "written beyond the limit"
                     : result.error != "File too large"             ? "error: " + result.error
                     : platform.messages.back().rfind("Could not write mb_comb_file.txt: File too large", 0) != 0
                         ? "message: " + platform.messages.back()
                     : readFile(folder_ / COMBINATION_FILE_NAME) != "previous" ? "the previous file is lost"
                     : entriesIn(folder_) != 1                               ? "a temporary file is left"
                                                                             : "");
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ResourceLimits, WithoutASecondThreadTheCallingThreadWrites) {
#if defined(QUILLSTEP_ADDRESS_SANITIZER)
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit this case sets";
#else
    auto state = storedFullWheel(20);  // 77,520 rows, many blocks
    HeadlessPlatform platform;
    ASSERT_TRUE(writeCombinationFile(*state, platform).written);
    const std::string expected = readFile(folder_ / COMBINATION_FILE_NAME);
    fs::remove(folder_ / COMBINATION_FILE_NAME);
    EXPECT_EXIT(
        {
            // Threads get a stack larger than the address space left: none can start.
            pthread_attr_t attributes;
            pthread_attr_init(&attributes);
            pthread_attr_setstacksize(&attributes, size_t{256} << 20);
            pthread_setattr_default_np(&attributes);
            limitAddressSpace(addressSpaceInUse() + (rlim_t{32} << 20));
            try {
                std::thread([] {}).join();
                endChild("a thread could still be started");
            } catch (const std::system_error&) {
            }
            HeadlessPlatform childPlatform;
            const FileWriteResult result = writeCombinationFile(*state, childPlatform);
            endChild(!result.written                                        ? "not written: " + result.error
                     : readFile(folder_ / COMBINATION_FILE_NAME) != expected ? "the file differs"
                     : entriesIn(folder_) != 1                              ? "a temporary file is left"
                                                                            : "");
        },
        ::testing::ExitedWithCode(0), "");
#endif
}

TEST_F(ResourceLimits, ASearchWithoutMemoryForItsTablesSaysSoAndTheProgramGoesOn) {
#if defined(QUILLSTEP_ADDRESS_SANITIZER)
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit this case sets";
#else
    // 10,295,472 combinations: tables of 82 MB, more than a malloc arena of an earlier thread may
    // hold in reserve (64 MiB) without asking the system.
    auto state = storedFullWheel(37);
    EXPECT_EXIT(
        {
            alarm(120);  // a search that did get its memory would take far longer
            // Large blocks come from fresh mappings, never from holes that earlier tests freed.
            mallopt(M_MMAP_THRESHOLD, 128 * 1024);
            limitAddressSpace(addressSpaceInUse() + (rlim_t{1} << 20));
            const AbbreviatedSearchResult result = findAbbreviatedSystem(*state, 4, {});
            endChild(result.searched()                              ? "searched"
                     : result.refusal.reason != FaultReason::SearchOutOfMemory ? "refused for another reason"
                     : entriesIn(folder_) != 0                      ? "a file was written"
                                                                    : "");
        },
        ::testing::ExitedWithCode(0), "");
#endif
}

#endif

}  // namespace
}  // namespace quillstep
