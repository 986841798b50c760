// A system file is read back through the written file itself, before it replaces the old one:
// what another writer puts under the target's name meanwhile does not count.

#include "commands/system_read_back.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quillstep {
namespace {

namespace fs = std::filesystem;

constexpr int32_t ROWS[] = {1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 8, 9, 10};
const std::string HEADER = "\"Marrowby - Quillstep\"\r\n\"FULL SYSTEM 7/ 10\"\r\n\"gar.:5 from 7 OK numbers\"\r\n\r\n";

class SystemReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quillstep-read-back-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    static void put(ReplacementFile& file, const std::string& text) { file.write(text.data(), text.size()); }
    fs::path folder;
};

TEST_F(SystemReadBack, ReadsTheWrittenFileNotWhatTheNameHoldsMeanwhile) {
    const fs::path target = folder / "mb_comb_file_ab5.txt";
    ReplacementFile file(target);
    ASSERT_TRUE(file.ok()) << file.error();
    put(file, HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n");
    std::ofstream(target) << "another writer's file\r\n";  // lands under the name before this one's rename
    EXPECT_TRUE(readsBackAsRows(file, ROWS, 2));
    EXPECT_FALSE(readsBackAsRows(file, ROWS, 1));       // a row more than written
    EXPECT_FALSE(readsBackAsRows(file, ROWS + 7, 1));   // other numbers
    ASSERT_TRUE(file.commit());
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3,4,8,9,10\r\n");
}

TEST_F(SystemReadBack, ATornOrMalformedFileDoesNotReadBack) {
    ReplacementFile torn(folder / "torn.txt");
    put(torn, HEADER + "1,1,2,3,4,5,6,7\r\n2,1,2,3");
    EXPECT_FALSE(readsBackAsRows(torn, ROWS, 2));
    ReplacementFile empty(folder / "empty.txt");
    EXPECT_TRUE(readsBackAsRows(empty, ROWS, 0));
    EXPECT_FALSE(readsBackAsRows(empty, ROWS, 1));
    torn.discard();
    EXPECT_FALSE(readsBackAsRows(torn, ROWS, 0));  // nothing left to read: not taken as an empty system
}

}  // namespace
}  // namespace quillstep
