// CTest label: threads
// The writer against what else may be in its folder: links planted where it writes, the
// permissions of the file it replaces, temporary files of writers that died, a cancelled write.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/file_viewer.h"
#include "files/combination_file.h"
#include "windows/file_reports.h"
#include "app/generation_command.h"
#include "base/replacement_file.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"

#if defined(__unix__)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quillstep {
namespace {

namespace fs = std::filesystem;

class FileSafety : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        state_ = createSharedState().release();
        state_->parameters.totalNumbers = 9;
        HeadlessPlatform platform;
        runGenerationCommand(*state_, platform, 2);  // 36 rows
    }
    static void TearDownTestSuite() { delete state_; }
    void SetUp() override {
        folder_ = freshTestFolder("quillstep-safety-");
        state_->outputFolder = folder_;
    }
    void TearDown() override {
        clearWriteCancel();
        std::error_code ec;
        fs::remove_all(folder_, ec);
        state_->outputFolder.clear();
    }
    static void plant(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::set<std::string> namesInFolder() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
        return names;
    }
    std::string expectedFile() {
        const fs::path reference = folder_ / "reference";
        fs::create_directory(reference);
        state_->outputFolder = reference;
        EXPECT_TRUE(writeCombinationFile(*state_, platform_).written);
        state_->outputFolder = folder_;
        const std::string text = readFile(reference / COMBINATION_FILE_NAME);
        fs::remove_all(reference);
        return text;
    }

    static SharedState* state_;
    HeadlessPlatform platform_;
    fs::path folder_;
};
SharedState* FileSafety::state_ = nullptr;

#if defined(__unix__)

TEST_F(FileSafety, LinksWhereTheWriterWritesAreNeverFollowed) {
    const std::string expected = expectedFile();
    plant(folder_ / "victim.txt", "not to be touched\n");
    // The temporary name every earlier writer used, and the names this process would pick.
    fs::create_symlink(folder_ / "victim.txt", folder_ / "mb_comb_file.txt.partial");
    for (unsigned serial = 0; serial < 8; ++serial)
        fs::create_symlink(folder_ / "victim.txt",
                           temporaryNameOf(folder_ / COMBINATION_FILE_NAME, currentProcessId(), serial));
    const size_t plantedLinks = namesInFolder().size() - 1;

    for (int round = 0; round < 2; ++round) {  // a new file, then a replaced one
        const FileWriteResult result = writeCombinationFile(*state_, platform_);
        ASSERT_TRUE(result.written) << result.error;
        EXPECT_EQ(readFile(folder_ / COMBINATION_FILE_NAME), expected);
        EXPECT_FALSE(fs::is_symlink(folder_ / COMBINATION_FILE_NAME));
        EXPECT_EQ(readFile(folder_ / "victim.txt"), "not to be touched\n");
        EXPECT_EQ(namesInFolder().size(), plantedLinks + 2);  // the links, the victim and the file: no leftovers
    }

    // The target itself a link: the link is replaced, what it points to stays.
    fs::remove(folder_ / COMBINATION_FILE_NAME);
    fs::create_symlink(folder_ / "victim.txt", folder_ / COMBINATION_FILE_NAME);
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_FALSE(fs::is_symlink(folder_ / COMBINATION_FILE_NAME));
    EXPECT_EQ(readFile(folder_ / COMBINATION_FILE_NAME), expected);
    EXPECT_EQ(readFile(folder_ / "victim.txt"), "not to be touched\n");
}

TEST_F(FileSafety, AReplacedFileKeepsItsPermissionsAndANewOneGetsTheDefault) {
    const mode_t mask = umask(022);
    const fs::path target = folder_ / COMBINATION_FILE_NAME;
    auto modeOf = [](const fs::path& path) {
        struct stat s {};
        EXPECT_EQ(stat(path.c_str(), &s), 0);
        return s.st_mode & 0777;
    };
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_EQ(modeOf(target), 0644u);
    for (const mode_t kept : {0600u, 0640u, 0604u}) {
        ASSERT_EQ(chmod(target.c_str(), kept), 0);
        ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
        EXPECT_EQ(modeOf(target), kept);
    }
    fs::remove(target);
    umask(077);
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_EQ(modeOf(target), 0600u);
    umask(mask);
}

TEST_F(FileSafety, TemporaryFilesThatNoWriterHoldsAreRemovedWhateverTheirProcessIds) {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);  // a process id that is no longer running here
    const fs::path target = folder_ / COMBINATION_FILE_NAME;
    const fs::path dead = temporaryNameOf(target, uint64_t(child), 3);
    // A live process's id on a file nobody writes: another namespace's writer that died, or an
    // id used again.
    const fs::path unheld = temporaryNameOf(target, uint64_t(getppid()), 3);
    // A writer of another PID namespace (a container sharing the folder) names its file after an
    // id that is not running here, and holds its lock while it writes.
    const fs::path elsewhere = temporaryNameOf(target, uint64_t(child), 4);
    const fs::path planted = temporaryNameOf(target, uint64_t(child), 5);
    plant(dead, "half a file");
    plant(unheld, "half a file");
    plant(elsewhere, "being written");
    fs::create_symlink(folder_ / "victim.txt", planted);
    plant(folder_ / "victim.txt", "not to be touched\n");
    plant(folder_ / "mb_comb_file.txt.notes.partial", "someone else's");
    plant(folder_ / "mb_comb_file_ab.txt.1-1.partial", "another file's");
    const int writer = open(elsewhere.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(flock(writer, LOCK_EX), 0);

    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_EQ(namesInFolder(),
              (std::set<std::string>{elsewhere.filename().string(), planted.filename().string(), "victim.txt",
                                     "mb_comb_file.txt", "mb_comb_file.txt.notes.partial",
                                     "mb_comb_file_ab.txt.1-1.partial"}));
    EXPECT_EQ(readFile(elsewhere), "being written");
    EXPECT_EQ(readFile(folder_ / "victim.txt"), "not to be touched\n");

    // Once its writer has let go, the file is a leftover like any other.
    close(writer);
    ASSERT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_FALSE(fs::exists(elsewhere));
}

#endif

TEST_F(FileSafety, ACancelledWriteKeepsThePreviousFileAndLeavesNothing) {
    plant(folder_ / COMBINATION_FILE_NAME, "previous");
    requestWriteCancel();
    const FileWriteResult result = writeCombinationFile(*state_, platform_);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.error, WRITE_INTERRUPTED_ERROR);
    EXPECT_EQ(platform_.messages.back(),
              "Could not write mb_comb_file.txt: interrupted. The previous mb_comb_file.txt is unchanged.");
    EXPECT_EQ(readFile(folder_ / COMBINATION_FILE_NAME), "previous");
    EXPECT_EQ(namesInFolder(), (std::set<std::string>{COMBINATION_FILE_NAME}));

    clearWriteCancel();
    EXPECT_TRUE(writeCombinationFile(*state_, platform_).written);
    EXPECT_NE(readFile(folder_ / COMBINATION_FILE_NAME), "previous");
}

TEST(ViewerCommandLine, QuotesThePathWithBlanksAndTheFileName) {
    HeadlessPlatform platform;
    platform.processesStart = true;
    viewFile(platform, G5_SYSTEM_FILE_NAME);
    EXPECT_EQ(platform.startedCommandLines,
              (std::vector<std::string>{
                  "\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" \"mb_comb_file_ab5.txt\""}));
}

}  // namespace
}  // namespace quillstep
